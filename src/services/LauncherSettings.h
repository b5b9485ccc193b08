#pragma once

#include "core/SettingsRow.h"

#include <QString>

namespace zarn {

// The application launcher's share of Zarn.ini. A default-constructed value holds the
// defaults of its rows. Main thread only.
struct LauncherSettings {
    LauncherSettings();
    static std::span<const SettingsRow> keys();

    QString application1;    // started automatically at start-up
    QString launchButtonExe; // started by the Launch item

    bool operator==(const LauncherSettings&) const = default;

    bool launchItemVisible() const { return !launchButtonExe.isEmpty(); }
};

} // namespace zarn
