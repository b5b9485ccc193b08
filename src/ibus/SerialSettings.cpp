#include "ibus/SerialSettings.h"

namespace zarn {

namespace {
using enum KeyType;
using enum LoadStep;
#define FIELD(member) ZARN_SETTINGS_FIELD(SerialSettings, member)

// clang-format off
const SettingsRow kKeys[] = {
    {ComPort,   "COM-Port",      "CBPort.ItemIndex",        Integer, "0",    true, FIELD(portIndex)},
    {ComPort,   "COM-Port",      "DevicePath",              String,  "",     true, FIELD(devicePath)},
    {ComPort,   "SerialPortNG1", "RTOExtraDelayTime",       Integer, "50",   true, FIELD(rtoExtraDelayTime)},
    {ComPort,   "SerialPortNG1", "RTOCharDelayTime",        Integer, "1100", true, FIELD(rtoCharDelayTime)},
    // Written for the old program's sake; nothing reads it. The parity is always even.
    {WriteOnly, "COMPORT",       "SerialPortNG1.ParityTyp", Integer, "2",    true,
        ZARN_SETTINGS_TEXT(SerialSettings, QStringLiteral("2"))},
};
// clang-format on
#undef FIELD
} // namespace

SerialSettings::SerialSettings()
{
    applyDefaults(keys(), this);
}

std::span<const SettingsRow> SerialSettings::keys()
{
    return kKeys;
}

} // namespace zarn
