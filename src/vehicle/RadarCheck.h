#pragma once

#include "ibus/VehicleState.h"
#include "vehicle/RadarCameras.h"

#include <QList>
#include <QString>

namespace zarn {

inline constexpr double KmPerNauticalMile = 1.852;
inline constexpr double MilesPerNauticalMile = 1.151018;

struct RadarCheckInput {
    PositionFix fix;             // signed degrees and minutes, negative in the west
    double courseOverGround = 0; // degrees
    int currentSpeed = 0;        // km/h
    bool miles = false;          // the mph box: distances in statute miles
    bool warningOn = false;
    bool drawOnly = false;       // a repaint: compute, never warn
    bool onlyWarnIfTooFast = false;
    double warningThresholdKm = 1.1;
    double mapScaleKm = 0;       // cameras this near go on the map

    double distanceFactor() const { return miles ? MilesPerNauticalMile : KmPerNauticalMile; }
};

// What one check found. With the warning off nothing is examined and examined is
// false: the page keeps what it showed.
struct RadarCheckResult {
    bool examined = false;
    qsizetype nearestIndex = -1; // into the camera list; -1: none
    double nearest = 999999;     // in the unit of the distance factor
    double second = 1000000;
    QString limitText;           // "50"
    QString distanceText;        // "734 m"
    QString kindText;            // "Ampel" / "Street"
    QString secondText;          // "(..2nd in 1500 m !)", empty without a second camera
    QString unitText;            // "km/h" / "mph"
    double bearingToCamera = 0;  // true bearing car -> camera, degrees
    int relativeBearing = 0;     // 0 straight ahead, clockwise, 0..359
    QString sideMark;            // "/" ahead right, "\\" ahead left, empty otherwise
    QList<qsizetype> onMap;      // cameras within the map scale
    bool warn = false;
    QString checkControlText;    // "50 km/h in 734 m /" when warn

    bool showAmpel() const { return kindText == QLatin1String("Ampel"); }
};

// 360 - trunc(course) + trunc(bearing), brought into 0..359.
int relativeBearing(double courseOverGround, double bearingToCamera);
// "/" for 0..35, "\\" for 325..359, empty for a camera not ahead.
QString radarSideMark(int relativeBearing);
// A known limit the car does not exceed gives no warning while only too fast counts.
bool radarTooFastAllows(int limitKmh, int currentSpeed, bool onlyWarnIfTooFast);

// Nearest camera, second nearest, the map's cameras and whether to warn. Pure: the
// caller plays the sound, sends the text and shows the alert sign.
RadarCheckResult RadarCheck(const QList<RadarCamera>& cameras, const RadarCheckInput& input);

} // namespace zarn
