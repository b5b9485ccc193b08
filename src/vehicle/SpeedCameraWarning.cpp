#include "vehicle/SpeedCameraWarning.h"

#include "core/StartupSequence.h"
#include "core/StatusLog.h"
#include "ibus/BusOptions.h"
#include "ibus/IbusSender.h"
#include "ibus/VehicleState.h"

#include <QFileInfo>

#include <cmath>
#include <exception>

namespace zarn {

SpeedCameraWarning::SpeedCameraWarning(const VehicleState& vehicle, IbusSender& sender, StatusLog& log,
                                       const BusOptions& options, QObject* parent)
    : QObject(parent)
    , vehicle_(vehicle)
    , sender_(sender)
    , log_(log)
    , options_(options)
{
    connect(&AlertDisappearTimer, &Timer::timeout, this, &SpeedCameraWarning::AlertDisappearTimerTimer);
}

void SpeedCameraWarning::registerStartup(StartupSequence& startup, const QString& appDir)
{
    // A whole list of 12000 records reads in a few milliseconds: no events need to run
    // in the middle of it.
    startup.add(QStringLiteral("radar.bin"),
                [this, appDir](const StartupSequence::Splash&) { loadradarpositions(appDir + QStringLiteral("radar.bin")); });
}

void SpeedCameraWarning::loadradarpositions(const QString& path)
{
    setCameras(zarn::loadradarpositions(path, log_));
}

void SpeedCameraWarning::setCameras(RadarCameraList list)
{
    cameras_ = std::move(list);
    approachCamera_ = -1;
    emit camerasLoaded(cameras_.available);
    RadarCheck(true);
}

void SpeedCameraWarning::setSettings(const RadarSettings& settings)
{
    // Switched on again, the camera ahead is announced afresh.
    if (!settings.radarWarning)
        approachCamera_ = -1;
    settings_ = settings;
    emit settingsChanged(settings_, false);
    RadarCheck(true);
}

RadarMap::Input SpeedCameraWarning::mapInput() const
{
    RadarMap::Input in;
    in.scaleKm = settings_.radarScaleKm == 0 ? 1 : settings_.radarScaleKm;
    in.warningOn = settings_.radarWarning;
    in.thresholdKm = settings_.warningThresholdKm;
    in.fix = vehicle_.LastFix;
    in.courseOverGround = vehicle_.CourseOverGround;
    return in;
}

void SpeedCameraWarning::setMapSize(QSize size)
{
    if (size == map_.size() || size.isEmpty())
        return;
    map_.setSize(size);
    RadarCheck(true);
}

void SpeedCameraWarning::setMapColors(const RadarMap::Colors& colors)
{
    map_.setColors(colors);
    RadarCheck(true);
}

bool SpeedCameraWarning::RadarCheck(bool drawOnly)
{
    if (!available())
        return true;
    try {
        const RadarMap::Input mapIn = mapInput();
        map_.drawBase(mapIn);
        // Before the first fix there is no car to measure from.
        const bool noFix = vehicle_.LastFix.latDeg == 0 && vehicle_.LastFix.latMin == 0;
        if (!warningOn() || noFix) {
            emit mapDrawn();
            return true;
        }
        RadarCheckInput input;
        input.fix = vehicle_.LastFix;
        input.courseOverGround = vehicle_.CourseOverGround;
        input.currentSpeed = vehicle_.CurrentSpeed;
        input.miles = options_.miles;
        input.warningOn = true;
        input.drawOnly = drawOnly;
        input.onlyWarnIfTooFast = settings_.radarOnlyWarnIfTooFast;
        input.warningThresholdKm = settings_.warningThresholdKm;
        input.mapScaleKm = mapIn.scaleKm;
        last_ = zarn::RadarCheck(cameras_.cameras, input);
        map_.drawCameras(mapIn, cameras_.cameras, last_);
        emit mapDrawn();
        if (!last_.examined)
            return true;
        emit checked(last_);
        if (drawOnly)
            return true;

        // Speed plays no part here: slowing down inside the zone does not end the approach.
        const bool inZone = last_.nearestIndex >= 0 && last_.nearest < input.warningThresholdKm
            && !last_.sideMark.isEmpty();
        const qsizetype camera = inZone ? last_.nearestIndex : -1;
        if (camera != approachCamera_) {
            approachCamera_ = camera;
            textSent_ = false;
            soundPlayed_ = false;
        }
        if (last_.warn)
            warn(last_);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void SpeedCameraWarning::BMWpanel92Click(const QString& radarCaption)
{
    settings_.radarWarning = !settings_.radarWarning;
    if (!settings_.radarWarning)
        approachCamera_ = -1;
    if (!sender_.SendInProgress())
        sender_.SendClusterText(radarCaption + (settings_.radarWarning ? QStringLiteral(" on") : QStringLiteral(" off")));
    emit settingsChanged(settings_, true);
}

void SpeedCameraWarning::BMWpanel93Click()
{
    settings_.radarOnlyWarnIfTooFast = !settings_.radarOnlyWarnIfTooFast;
    emit settingsChanged(settings_, false);
}

void SpeedCameraWarning::stepThreshold(double km)
{
    // Rounded to the metre, so repeated steps do not drift into long fractions.
    settings_.warningThresholdKm = std::round((settings_.warningThresholdKm + km) * 1e6) / 1e6;
    emit settingsChanged(settings_, true);
}

void SpeedCameraWarning::BMWpanel97Click()
{
    stepThreshold(0.1);
}

void SpeedCameraWarning::BMWPanel96Click()
{
    stepThreshold(-0.1);
}

void SpeedCameraWarning::BMWpanel108Click()
{
    settings_.radarAcousticSignal = !settings_.radarAcousticSignal;
    if (settings_.radarAcousticSignal && !sender_.SendInProgress())
        sender_.SendClusterText(QStringLiteral("Radar sound on"));
    emit settingsChanged(settings_, false);
}

void SpeedCameraWarning::stepScale(int scaleKm)
{
    settings_.radarScaleKm = scaleKm;
    emit settingsChanged(settings_, false);
    RadarCheck(true);
}

void SpeedCameraWarning::BMWpanel105Click()
{
    stepScale(RadarMap::scaleUp(settings_.radarScaleKm));
}

void SpeedCameraWarning::MapScaleDown()
{
    stepScale(RadarMap::scaleDown(settings_.radarScaleKm));
}

void SpeedCameraWarning::warn(const RadarCheckResult& result)
{
    if (!soundPlayed_ && settings_.radarAcousticSignal && !settings_.radarsound.isEmpty()) {
        soundPlayed_ = true;
        if (QFileInfo::exists(settings_.radarsound))
            emit soundRequested(settings_.radarsound);
    }
    if (!textSent_ && !sender_.SendInProgress()) {
        sender_.SendCheckControlText(result.checkControlText);
        textSent_ = true;
    }
    emit alertShown(result.limitText, result.distanceText);
    AlertDisappearTimer.restart(AlertShowMs);
}

void SpeedCameraWarning::AlertDisappearTimerTimer()
{
    log_.timerTrace(QStringLiteral("AlertDisappearTimerTimer"));
    emit alertHidden();
    AlertDisappearTimer.stop();
}

} // namespace zarn
