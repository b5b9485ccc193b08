#include "vehicle/SpeedCameraWarning.h"

#include "core/StartupSequence.h"
#include "core/StatusLog.h"
#include "ibus/BusOptions.h"
#include "ibus/IbusSender.h"
#include "ibus/VehicleState.h"

#include <QFileInfo>

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
}

void SpeedCameraWarning::setSettings(const RadarSettings& settings)
{
    // Switched on again, the camera ahead is announced afresh.
    if (!settings.radarWarning)
        approachCamera_ = -1;
    settings_ = settings;
}

bool SpeedCameraWarning::positionFix()
{
    if (!warningOn())
        return true;
    try {
        RadarCheckInput input;
        input.fix = vehicle_.LastFix;
        input.courseOverGround = vehicle_.CourseOverGround;
        input.currentSpeed = vehicle_.CurrentSpeed;
        input.miles = options_.miles;
        input.warningOn = true;
        input.onlyWarnIfTooFast = settings_.radarOnlyWarnIfTooFast;
        input.warningThresholdKm = settings_.warningThresholdKm;
        input.mapScaleKm = settings_.radarScaleKm == 0 ? 1 : settings_.radarScaleKm;
        last_ = RadarCheck(cameras_.cameras, input);
        if (!last_.examined)
            return true;
        emit checked(last_);

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
