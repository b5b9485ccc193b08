#pragma once

#include "core/SettingsRow.h"

#include <QString>

namespace zarn {

// The serial port's share of Zarn.ini. A default-constructed value holds the defaults
// of its rows. Main thread only.
struct SerialSettings {
    SerialSettings();
    static std::span<const SettingsRow> keys();

    int portIndex = 0;         // CBPort.ItemIndex, as stored; -1: none
    QString devicePath;        // [COM-Port] DevicePath: the serial device, empty = from portIndex
    int rtoExtraDelayTime = 0; // ms
    int rtoCharDelayTime = 0;  // microseconds

    bool operator==(const SerialSettings&) const = default;
};

} // namespace zarn
