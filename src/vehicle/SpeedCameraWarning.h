#pragma once

#include "core/Timer.h"
#include "vehicle/RadarCameras.h"
#include "vehicle/RadarCheck.h"
#include "vehicle/RadarMap.h"
#include "vehicle/RadarSettings.h"

#include <QObject>
#include <QString>

namespace zarn {

class IbusSender;
class StartupSequence;
class StatusLog;
class VehicleState;
struct BusOptions;

// The speed camera warning: the camera list from radar.bin, the check at every
// position fix and what a warning does.
//
// Contract (main thread only):
//  - registerStartup() adds the radar.bin step; the list is loaded once, never again.
//    Without radar.bin the warning stays off for the run (available() false).
//  - positionFix() is called after VehicleState holds a new LastFix and
//    CourseOverGround (the position decoder's hook) while warningOn().
//  - Signals: checked() after every check that examined the cameras (the radar page's
//    labels); alertShown() / alertHidden() for the alert sign (shown for AlertShowMs,
//    restarted by every warning); soundRequested() with an existing sound file to play
//    without waiting; camerasLoaded() once after the start-up step.
//  - The check-control text goes to the cluster once per approach: a camera that stays
//    nearest, ahead and within the threshold is announced once, and again only after
//    the car has left that zone (or another camera became the one ahead). A text that
//    could not go out because a send was in progress is tried at the next fix. The
//    sound follows the same rule; the sign shows every warning.
//  - The map: every check (and a draw-only redraw) paints map() anew and emits
//    mapDrawn(). Before the first position fix only the disc, marker, rings and
//    letters are drawn.
//  - The radar page's toggles and steps change settings() and emit settingsChanged();
//    with save true the caller writes Zarn.ini at once.
class SpeedCameraWarning : public QObject {
    Q_OBJECT
public:
    static constexpr int AlertShowMs = 5000;

    SpeedCameraWarning(const VehicleState& vehicle, IbusSender& sender, StatusLog& log, const BusOptions& options,
                       QObject* parent = nullptr);

    // The step "radar.bin": loads appDir + "radar.bin".
    void registerStartup(StartupSequence& startup, const QString& appDir);
    void loadradarpositions(const QString& path);
    // Tests and tools: a list without a file.
    void setCameras(RadarCameraList list);

    const RadarSettings& settings() const { return settings_; }
    void setSettings(const RadarSettings& settings);

    bool available() const { return cameras_.available; }
    qsizetype RadarCount() const { return cameras_.cameras.size(); }
    bool warningOn() const { return available() && settings_.radarWarning; }

    // The check after a position fix; false when it failed (the caller reports it).
    bool positionFix() { return RadarCheck(false); }
    // One check with its map; draw only never warns. False when it failed.
    bool RadarCheck(bool drawOnly);
    const RadarMap& map() const { return map_; }
    void setMapSize(QSize size);
    void setMapColors(const RadarMap::Colors& colors);

    // The radar page's items. radarCaption is the Radar menu item's caption.
    void BMWpanel92Click(const QString& radarCaption); // warning on/off, saved
    void BMWpanel93Click();                            // only if too fast, not saved
    void BMWpanel97Click();                            // threshold + 0.1 km, saved
    void BMWPanel96Click();                            // threshold - 0.1 km, saved
    void BMWpanel108Click();                           // sound on/off, not saved
    void BMWpanel105Click();                           // next larger map scale
    void MapScaleDown();                               // next smaller map scale
    const RadarCheckResult& lastResult() const { return last_; }

    Timer AlertDisappearTimer{QStringLiteral("AlertDisappearTimer")};

signals:
    void camerasLoaded(bool available);
    void checked(const zarn::RadarCheckResult& result);
    void alertShown(const QString& limitText, const QString& distanceText);
    void alertHidden();
    void soundRequested(const QString& path);
    void mapDrawn();
    void settingsChanged(const zarn::RadarSettings& settings, bool save);

private:
    void warn(const RadarCheckResult& result);
    void stepThreshold(double km);
    void stepScale(int scaleKm);
    RadarMap::Input mapInput() const;
    void AlertDisappearTimerTimer();

    const VehicleState& vehicle_;
    IbusSender& sender_;
    StatusLog& log_;
    const BusOptions& options_;
    RadarSettings settings_;
    RadarCameraList cameras_;
    RadarCheckResult last_;
    RadarMap map_;

    // The approach in progress: the camera ahead within the threshold (-1: none).
    qsizetype approachCamera_ = -1;
    bool textSent_ = false;
    bool soundPlayed_ = false;
};

} // namespace zarn
