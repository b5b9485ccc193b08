#include "services/PowerSettings.h"

namespace zarn {

namespace {
using enum KeyType;
using enum LoadStep;
#define FIELD(member) ZARN_SETTINGS_FIELD(PowerSettings, member)

// clang-format off
const SettingsRow kKeys[] = {
    {Shutdown,         "Special", "shutdownafterIBUSidle_seconds", Integer, "120", true, FIELD(idleShutdownSeconds)},
    {Shutdown,         "Special", "RadioGroup1.ItemIndex",         Integer, "0",   true, FIELD(powerOption)},
    // Not a key of the old program: what power option 1 starts (empty: nothing).
    {Shutdown,         "Special", "ExplorerShellCommand",          String,  "",    true, FIELD(explorerShellCommand)},
    {ShutdownSettings, "Special", "shutdownafterIBUSidle",         Boolean, "0",   true, FIELD(shutdownAfterIbusIdle)},
};
// clang-format on
#undef FIELD
} // namespace

PowerSettings::PowerSettings()
{
    applyDefaults(keys(), this);
}

std::span<const SettingsRow> PowerSettings::keys()
{
    return kKeys;
}

} // namespace zarn
