#include "vehicle/DriversLogSettings.h"

namespace zarn {

namespace {
using enum KeyType;
using enum LoadStep;
#define FIELD(member) ZARN_SETTINGS_FIELD(DriversLogSettings, member)

// clang-format off
const SettingsRow kKeys[] = {
    {DriversLog, "Driverslog", "record",  Integer,     "1", true, FIELD(driversLogRecord)},
    {Pathes,     "Pathes",     "duallog", ShortString, "",  true, FIELD(duallog)},
    // Written for the old program's sake; nothing reads it.
    {WriteOnly,  "Driverslog", "Global_driverslog_private", Boolean, "0", true,
        ZARN_SETTINGS_TEXT(DriversLogSettings, s.businessMode() ? QStringLiteral("0") : QStringLiteral("1"))},
};
// clang-format on
#undef FIELD
} // namespace

DriversLogSettings::DriversLogSettings()
{
    applyDefaults(keys(), this);
}

std::span<const SettingsRow> DriversLogSettings::keys()
{
    return kKeys;
}

QString DriversLogSettings::driversLogMessage() const
{
    return businessMode() ? QStringLiteral(" Business mode set") : QStringLiteral(" Private mode set");
}

QString DriversLogSettings::driversLogModeCaption() const
{
    return businessMode() ? QStringLiteral("Mode is BUSINESS") : QStringLiteral("Mode is PRIVATE");
}

} // namespace zarn
