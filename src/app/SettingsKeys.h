#pragma once

#include "app/Settings.h"

#include <QLocale>
#include <QString>

#include <span>
#include <variant>

namespace zarn {

// How a key's text is stored in Zarn.ini.
enum class KeyType {
    String,      // up to 2047 characters
    ShortString, // the 255-character reader ([Grafix], [Pathes])
    Integer,     // decimal or hex; no number gives the default
    Boolean,     // integer, non-zero is true; written 1/0
    Float,       // the system's decimal separator
    Color,       // name or $00BBGGRR; anything else is reported
    IntegerText, // decimal text converted with a check; anything else is reported
};

// The LoadSettings step that reads a key; each has its splash line.
enum class LoadStep {
    Captions, HeaderFont, Shutdown, ComPort, DriversLog, Colors, ScreenPosition,
    RadarDetails, Randomizer, ShutdownSettings, CdEmulation, Email, Bitmaps, Pathes,
    WriteOnly, // written by SaveSettings, read by nothing
};

// Where a key's value lives in Settings. Write-only keys compute their text.
using StringField = QString& (*)(Settings&);
using IntField = int& (*)(Settings&);
using BoolField = bool& (*)(Settings&);
using FloatField = double& (*)(Settings&);
using ColorField = quint32& (*)(Settings&);
using WrittenText = QString (*)(const Settings&);
using SettingsField = std::variant<StringField, IntField, BoolField, FloatField, ColorField, WrittenText>;

struct SettingsKey {
    LoadStep step;
    const char* section;
    const char* key;         // as LoadSettings reads it
    KeyType type;
    const char* defaultText; // as the file would hold it; "@key": the value just read for that key
    bool saved;
    SettingsField field;
};

// Every key except the site list, in the order LoadSettings reads them.
std::span<const SettingsKey> settingsKeys();
// Case-insensitive, like the file; nullptr when unknown.
const SettingsKey* findSettingsKey(const QString& section, const QString& key);

// The key's default as the file would hold it; "@key" is resolved against settings.
QString defaultText(const SettingsKey& key, const Settings& settings);
// Converts text as the file holds it into the key's field; false (field untouched)
// when the text is not of the key's type. Floats use locale's decimal separator.
bool assignFromText(const SettingsKey& key, Settings& settings, const QString& text, const QLocale& locale);
// Every field of the table set to its default.
void applyDefaults(Settings& settings);

// SaveSettings' order, with the spelling it writes. A null key stands for the site list.
struct SavedKey {
    const char* section;
    const char* key;
};
std::span<const SavedKey> saveOrder();

inline constexpr const char* WebsitesSection = "Websites";
inline constexpr int LastSiteKey = 100; // Site0 .. Site100
inline constexpr const char* SiteValueUnused = "x";

} // namespace zarn
