#include "carsim/DemoRadar.h"

#include "carsim/DemoHome.h"

#include <QDir>
#include <QSaveFile>
#include <QtEndian>

#include <cstring>

namespace zarn::carsim {

namespace {
GeoPoint between(GeoPoint a, GeoPoint b, double f)
{
    return {a.latitude + f * (b.latitude - a.latitude), a.longitude + f * (b.longitude - a.longitude)};
}

void putDouble(char* at, double value)
{
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    qToLittleEndian(bits, at);
}
} // namespace

QList<DemoCamera> demoCameras(const RouteData& route)
{
    QList<DemoCamera> cameras;
    const QList<Street>& s = route.streets;
    if (s.size() < 5)
        return cameras;
    // Behind the start: on the street's line, 400 m before its first point.
    const GeoPoint a = s[0].points.first();
    const GeoPoint b = s[0].points.last();
    const double metres = Route::distanceM(a, b);
    cameras << DemoCamera{between(a, b, -400.0 / metres), 1, s[0].limitKmh};
    cameras << DemoCamera{s[1].points[1], 1, s[1].limitKmh};
    // The crossing where the drive turns into the Leopoldstraße.
    cameras << DemoCamera{s[2].points.last(), 0, s[3].limitKmh};
    cameras << DemoCamera{between(s[3].points.first(), s[3].points.last(), 0.6), 1, s[3].limitKmh};
    cameras << DemoCamera{s[4].points[1], 1, s[4].limitKmh};
    return cameras;
}

QByteArray radarBin(const QList<DemoCamera>& cameras)
{
    QByteArray bytes(cameras.size() * 24, '\0');
    char* at = bytes.data();
    for (const DemoCamera& c : cameras) {
        putDouble(at, c.place.latitude);
        putDouble(at + 8, c.place.longitude);
        qToLittleEndian(c.kind, at + 16);
        qToLittleEndian(c.limitKmh, at + 20);
        at += 24;
    }
    return bytes;
}

bool writeDemoRadar(const QString& dir, QString& iniText, QString* error)
{
    const QString path = QDir(dir).filePath(QStringLiteral("radar.bin"));
    QSaveFile file(path);
    const QByteArray bytes = radarBin(demoCameras(munichRoute()));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    iniText = setIniValue(iniText, QStringLiteral("Radarwarning"), QStringLiteral("global_radarwarning"), QStringLiteral("1"));
    return true;
}

} // namespace zarn::carsim
