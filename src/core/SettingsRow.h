#pragma once

#include <QLocale>
#include <QString>

#include <span>
#include <variant>

namespace zarn {

class IniFile;

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

// The step of reading Zarn.ini at start-up that reads a key; each has its splash line.
enum class LoadStep {
    Captions, HeaderFont, Shutdown, ComPort, DriversLog, Colors, ScreenPosition,
    RadarDetails, Randomizer, ShutdownSettings, CdEmulation, Email, Bitmaps, Pathes,
    WriteOnly, // written with the others, read by nothing
};

// Where a key's value lives in its owner's settings struct, reached through a pointer
// to that struct. A row is only ever used with the struct whose keys() it came from.
// Write-only keys compute their text.
using StringField = QString& (*)(void* owner);
using IntField = int& (*)(void* owner);
using BoolField = bool& (*)(void* owner);
using FloatField = double& (*)(void* owner);
using ColorField = quint32& (*)(void* owner);
using WrittenText = QString (*)(const void* owner);
using SettingsField = std::variant<StringField, IntField, BoolField, FloatField, ColorField, WrittenText>;

// One key of Zarn.ini, a row of its owner's table. Each subsystem's settings struct
// lists its rows in `static std::span<const SettingsRow> keys()`, in reading order.
struct SettingsRow {
    LoadStep step;
    const char* section;
    const char* key;         // as it is read
    KeyType type;
    const char* defaultText; // as the file would hold it; "@key": the value just read for that key
    bool saved;
    SettingsField field;
};

// A row's field: ZARN_SETTINGS_FIELD(RadarSettings, warningThresholdKm).
#define ZARN_SETTINGS_FIELD(Owner, member) +[](void* owner) -> auto& { return static_cast<Owner*>(owner)->member; }
// A write-only row's text, from the owner `s`: ZARN_SETTINGS_TEXT(DriversLogSettings, s.x ? "1" : "0").
#define ZARN_SETTINGS_TEXT(Owner, expression)                                                                  \
    +[](const void* owner) -> QString {                                                                        \
        [[maybe_unused]] const Owner& s = *static_cast<const Owner*>(owner);                                  \
        return expression;                                                                                     \
    }

// Converts text as the file holds it into the row's field; false (field untouched)
// when the text is not of the row's type. Floats use locale's decimal separator.
bool assignFromText(const SettingsRow& row, void* owner, const QString& text, const QLocale& locale);
// The row's value as the file holds it (what a save writes).
void writeRow(IniFile& ini, const SettingsRow& row, const QString& spelling, const void* owner);
// The row's default as the file would hold it; "@key" is resolved against the value
// of that key among rows, read from owner.
QString defaultText(const SettingsRow& row, std::span<const SettingsRow> rows, const void* owner);
// Every readable row of the table set to its default: what an owner's constructor does.
void applyDefaults(std::span<const SettingsRow> rows, void* owner);

} // namespace zarn
