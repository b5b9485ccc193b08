#pragma once

#include "core/SettingsRow.h"

#include <QString>

namespace zarn {

// The driver's log's share of Zarn.ini. A default-constructed value holds the
// defaults of its rows. Main thread only.
struct DriversLogSettings {
    DriversLogSettings();
    static std::span<const SettingsRow> keys();

    int driversLogRecord = 0; // [Driverslog] record: 1 business mode, 0 private
    QString duallog;          // the second directory of the log files

    bool operator==(const DriversLogSettings&) const = default;

    bool businessMode() const { return driversLogRecord == 1; }
    QString driversLogMessage() const;     // " Business mode set" / " Private mode set"
    QString driversLogModeCaption() const; // "Mode is BUSINESS" / "Mode is PRIVATE"
    // Any record other than 1 is private mode (0).
    void clampToFields() { driversLogRecord = businessMode() ? 1 : 0; }
};

} // namespace zarn
