#include "ibus/BusOptions.h"

namespace zarn {

namespace {
using enum KeyType;
using enum LoadStep;
#define FIELD(member) ZARN_SETTINGS_FIELD(BusOptions, member)

// clang-format off
const SettingsRow kKeys[] = {
    {Shutdown,         "Special",        "ShutDownMessage",            String,  "Your code with no blanks between hex pairs here !", true, FIELD(shutDownMessage)},
    {ShutdownSettings, "Special",        "ShutDownMessage_active",     Boolean, "0", true, FIELD(shutDownMessageActive)},
    {ShutdownSettings, "Special",        "Shutdown_with_checkcontrol", Boolean, "0", true, FIELD(shutdownWithCheckControl)},
    {CdEmulation,      "CD_Emulation",   "CD_CheckBox",                Boolean, "0", true, FIELD(cdEmulation)},
    {CdEmulation,      "NOSEND",         "NOSEND_CheckBox",            Boolean, "0", true, FIELD(noSend)},
    {CdEmulation,      "nonmetricworld", "Miles_checkbox",             Boolean, "0", true, FIELD(miles)},
};
// clang-format on
#undef FIELD
} // namespace

std::span<const SettingsRow> BusOptions::keys()
{
    return kKeys;
}

} // namespace zarn
