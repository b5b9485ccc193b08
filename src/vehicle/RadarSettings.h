#pragma once

#include "core/SettingsRow.h"

#include <QString>

namespace zarn {

// The speed camera warning's and the radar map's share of Zarn.ini. A
// default-constructed value holds the defaults of its rows. Main thread only.
struct RadarSettings {
    RadarSettings();
    static std::span<const SettingsRow> keys();

    double warningThresholdKm = 0; // RadarSensitivitylabel
    bool radarWarning = false;
    bool radarAcousticSignal = false;
    bool radarOnlyWarnIfTooFast = false;
    int radarScaleKm = 0; // BMWpanel105.tag
    QString radarsound;

    bool operator==(const RadarSettings&) const = default;

    // What the pages show for these values.
    QString warningThresholdLabel() const; // " Warning Threshold is now 1100 m"
    QString radarWarningCaption() const;   // "Radarwarning now ON" / "... OFF"
    QString radarSoundCaption() const;     // "Sound=ON" / "Sound=OFF"
    QString radarTooFastCaption() const;   // "Only warn if too fast" / "Warn regardless of speed"
    QString radarScaleCaption() const;     // "3 km"
};

} // namespace zarn
