#include "vehicle/RadarCheck.h"

#include "core/Geodesy.h"

#include <cmath>

namespace zarn {

namespace {
QString metres(double distance)
{
    return QString::number(std::llround(distance * 1000.0)) + QStringLiteral(" m");
}
} // namespace

int relativeBearing(double courseOverGround, double bearingToCamera)
{
    // A course not yet known (or garbage) must not reach the integer conversion.
    if (!std::isfinite(courseOverGround) || std::abs(courseOverGround) > 1e9)
        courseOverGround = 0;
    if (!std::isfinite(bearingToCamera) || std::abs(bearingToCamera) > 1e9)
        bearingToCamera = 0;
    const long long raw = 360 - static_cast<long long>(std::trunc(courseOverGround))
        + static_cast<long long>(std::trunc(bearingToCamera));
    return static_cast<int>(((raw % 360) + 360) % 360);
}

QString radarSideMark(int relativeBearing)
{
    if (relativeBearing >= 0 && relativeBearing < 36)
        return QStringLiteral("/");
    if (relativeBearing >= 325 && relativeBearing <= 359)
        return QStringLiteral("\\");
    return {};
}

bool radarTooFastAllows(int limitKmh, int currentSpeed, bool onlyWarnIfTooFast)
{
    return !onlyWarnIfTooFast || limitKmh == 0 || limitKmh < currentSpeed;
}

RadarCheckResult RadarCheck(const QList<RadarCamera>& cameras, const RadarCheckInput& input)
{
    RadarCheckResult result;
    if (!input.warningOn)
        return result;
    result.examined = true;
    result.unitText = input.miles ? QStringLiteral("mph") : QStringLiteral("km/h");

    const PositionFix& fix = input.fix;
    const double carLat = Nav2Rad_Angle(fix.latDeg, u"N", fix.latMin);
    const double carLon = -(fix.lonDeg * 60.0 + fix.lonMin) * RadiansPerArcMinute;
    const double factor = input.distanceFactor();
    const bool carFinite = std::isfinite(carLat) && std::isfinite(carLon);
    const double carSin = std::sin(carLat);
    const double carCos = std::cos(carLat);

    for (qsizetype k = 0; k < cameras.size(); ++k) {
        const RadarCamera& camera = cameras[k];
        double angle = CentralAngle(camera.longitudeRad, camera.sinLatitude, camera.cosLatitude, carLon, carSin, carCos);
        if (std::isnan(angle)) {
            // Finite positions give NaN only when rounding pushes the arc cosine's
            // argument past 1: the car is on the camera.
            if (!carFinite)
                continue;
            angle = 0;
        }
        const double dist = RadToNm(angle) * factor;
        if (dist < result.nearest) {
            // The old nearest is now the second nearest.
            if (result.nearestIndex >= 0)
                result.second = result.nearest;
            result.nearest = dist;
            result.nearestIndex = k;
        } else if (dist < result.second) {
            result.second = dist;
        }
        if (dist <= input.mapScaleKm)
            result.onMap.append(k);
    }
    if (result.nearestIndex < 0)
        return result;

    const RadarCamera& camera = cameras[result.nearestIndex];
    result.limitText = QString::number(camera.limitKmh);
    result.distanceText = metres(result.nearest);
    result.kindText = camera.redLight() ? QStringLiteral("Ampel") : QStringLiteral("Street");
    result.bearingToCamera = RadToDeg360(TrueCourse(camera.longitudeRad, camera.latitudeRad, carLon, carLat));
    if (cameras.size() > 1 && result.second < 1000000)
        result.secondText = QStringLiteral("(..2nd in ") + QString::number(std::llround(result.second * 1000.0))
            + QStringLiteral(" m !)");
    result.relativeBearing = relativeBearing(input.courseOverGround, result.bearingToCamera);
    result.sideMark = radarSideMark(result.relativeBearing);

    result.warn = !input.drawOnly && result.nearest < input.warningThresholdKm && !result.sideMark.isEmpty()
        && radarTooFastAllows(camera.limitKmh, input.currentSpeed, input.onlyWarnIfTooFast);
    if (result.warn)
        result.checkControlText = result.limitText + QLatin1Char(' ') + result.unitText + QStringLiteral(" in ")
            + result.distanceText + QLatin1Char(' ') + result.sideMark;
    return result;
}

} // namespace zarn
