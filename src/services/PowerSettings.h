#pragma once

#include "core/SettingsRow.h"

#include <QString>
#include <QtGlobal>

namespace zarn {

// The power options' and the idle shutdown's share of Zarn.ini. A default-constructed
// value holds the defaults of its rows. Main thread only.
struct PowerSettings {
    PowerSettings();
    static std::span<const SettingsRow> keys();

    int powerOption = 0;                // RadioGroup1.ItemIndex, as stored
    bool shutdownAfterIbusIdle = false; // exit after bus silence
    int idleShutdownSeconds = 0;        // shutdownafterIBUSidle_seconds, 60 .. 9999999
    QString explorerShellCommand;       // power option 1's shell command line; empty: none

    bool operator==(const PowerSettings&) const = default;

    // The idle seconds field clamps any value.
    void clampToFields() { idleShutdownSeconds = qBound(60, idleShutdownSeconds, 9999999); }
};

} // namespace zarn
