#include "services/LauncherSettings.h"

namespace zarn {

namespace {
using enum KeyType;
using enum LoadStep;
#define FIELD(member) ZARN_SETTINGS_FIELD(LauncherSettings, member)

// clang-format off
const SettingsRow kKeys[] = {
    {Pathes, "Pathes", "Application1",    ShortString, "", true, FIELD(application1)},
    {Pathes, "Pathes", "LaunchButtonExe", ShortString, "", true, FIELD(launchButtonExe)},
};
// clang-format on
#undef FIELD
} // namespace

LauncherSettings::LauncherSettings()
{
    applyDefaults(keys(), this);
}

std::span<const SettingsRow> LauncherSettings::keys()
{
    return kKeys;
}

} // namespace zarn
