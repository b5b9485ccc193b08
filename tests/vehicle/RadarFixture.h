#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>

#include <cmath>
#include <cstring>
#include <numbers>

// radar.bin records as the camera databases write them.
namespace radarfixture {

inline QByteArray record(double latitude, double longitude, qint32 kind, qint32 limit)
{
    QByteArray bytes(24, '\0');
    quint64 bits;
    std::memcpy(&bits, &latitude, sizeof bits);
    qToLittleEndian(bits, bytes.data());
    std::memcpy(&bits, &longitude, sizeof bits);
    qToLittleEndian(bits, bytes.data() + 8);
    qToLittleEndian(kind, bytes.data() + 16);
    qToLittleEndian(limit, bytes.data() + 20);
    return bytes;
}

inline bool write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

struct Point {
    double latitude;  // degrees, north positive
    double longitude; // degrees, east positive
};

// The point km away from origin at true bearing degrees, on the sphere where one
// nautical mile (1.852 km) is one minute of arc.
inline Point destination(Point origin, double km, double bearing)
{
    constexpr double rad = std::numbers::pi / 180.0;
    const double delta = km / 1.852 / 60.0 * rad;
    const double lat1 = origin.latitude * rad;
    const double theta = bearing * rad;
    const double lat2 = std::asin(std::sin(lat1) * std::cos(delta) + std::cos(lat1) * std::sin(delta) * std::cos(theta));
    const double dlon = std::atan2(std::sin(theta) * std::sin(delta) * std::cos(lat1),
                                   std::cos(delta) - std::sin(lat1) * std::sin(lat2));
    return {lat2 / rad, origin.longitude + dlon / rad};
}

} // namespace radarfixture
