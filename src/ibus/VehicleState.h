#pragma once

#include <QObject>
#include <QString>

namespace zarn {

// One position as the navigation system reports it. West longitudes and (south)
// latitudes carry a negative sign in every field.
struct PositionFix {
    int latDeg = 0;
    int latMinInt = 0;
    int lonDeg = 0;
    int lonMinInt = 0;
    double latMin = 0; // minutes + seconds / 60
    double lonMin = 0;
    double latSec = 0;
    double lonSec = 0;

    friend bool operator==(const PositionFix&, const PositionFix&) = default;
};

// What the car reports on the bus, and the texts shown for it. Plain fields so the
// pages can read them; whoever changes them emits changed(). Main thread only.
class VehicleState : public QObject {
    Q_OBJECT
public:
    explicit VehicleState(QObject* parent = nullptr);

    int CurrentSpeed = 0;     // twice the speed byte
    int CurrentRpm = 0;       // 100 x the engine-speed byte
    int LastKnownMileage = 0; // loaded from Zarn.ini, then from the odometer
    PositionFix CurrentFix;
    PositionFix LastFix;      // latDeg == 0: no position yet
    double CourseOverGround = 0; // degrees, previous fix to last fix

    QString Speedo_Display = QStringLiteral("xxx km/h ");
    QString Umin_Display = QStringLiteral("xxxx rpm");
    // Position fields: degrees, minutes, seconds, decimal minutes; latitude then longitude.
    QString Label54, Label55, Label56, Label57;
    QString Label58, Label59, Label60, Label61;
    QString BMWpanel106; // city
    QString BMWpanel107; // street
    QString BMWpanel110; // mileage
    QString Driverslog_Msg;

    // Mileage from Zarn.ini: the number and its caption.
    void setLastKnownMileage(int mileage);

signals:
    void changed();
};

} // namespace zarn
