#pragma once

#include "carsim/Route.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace zarn::carsim {

// A fixed camera as radar.bin holds it.
struct DemoCamera {
    GeoPoint place;
    qint32 kind = 1;   // 0: red-light camera
    qint32 limitKmh = 50;
};

// Cameras along the route, so the demo drive meets them: three speed cameras on its
// streets ahead, a red-light camera at a crossing and one behind the starting point.
QList<DemoCamera> demoCameras(const RouteData& route);
// The 24-byte little-endian records of radar.bin.
QByteArray radarBin(const QList<DemoCamera>& cameras);
// Writes dir/radar.bin for the simulated route and turns the warning on in the ini text.
bool writeDemoRadar(const QString& dir, QString& iniText, QString* error);

} // namespace zarn::carsim
