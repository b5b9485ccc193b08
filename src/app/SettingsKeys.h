#pragma once

#include "app/Settings.h"
#include "core/SettingsRow.h"

#include <QLocale>
#include <QString>

#include <span>

namespace zarn {

// A row of an owner's table with the way to its owner inside Settings.
struct SettingsKey : SettingsRow {
    void* (*owner)(Settings&);
};

// Every owner's rows (the site list aside); within one load step in the order the
// owners are listed in Settings, each owner's rows in its own order.
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

} // namespace zarn
