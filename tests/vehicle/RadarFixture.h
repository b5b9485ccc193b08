#pragma once

#include "ibus/VehicleState.h"

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

// The navigation system's position frame (7F 14 C8 A2) for p, as frame text with its
// checksum: degrees, minutes, seconds and tenths as decimal digits, then the hemisphere
// digit (1: south or west).
inline QString positionFrameText(Point p)
{
    const auto angle = [](double degrees, int degreeDigits) {
        const long long tenths = std::llround(std::abs(degrees) * 36000.0);
        return QStringLiteral("%1%2%3%4%5")
            .arg(tenths / 36000, degreeDigits, 10, QLatin1Char('0'))
            .arg(tenths % 36000 / 600, 2, 10, QLatin1Char('0'))
            .arg(tenths % 600 / 10, 2, 10, QLatin1Char('0'))
            .arg(tenths % 10)
            .arg(degrees < 0 ? 1 : 0);
    };
    QString text = QStringLiteral("7F14C8A20000") + angle(p.latitude, 2) + angle(p.longitude, 4)
        + QStringLiteral("048300170327");
    int sum = 0;
    for (qsizetype i = 0; i + 1 < text.size(); i += 2)
        sum ^= text.mid(i, 2).toInt(nullptr, 16);
    return text + QStringLiteral("%1").arg(sum, 2, 16, QLatin1Char('0')).toUpper();
}

// A fix as the navigation system reports it: signed degrees and minutes.
inline zarn::PositionFix fixAt(Point p)
{
    zarn::PositionFix fix;
    fix.latDeg = int(std::trunc(p.latitude));
    fix.latMin = (p.latitude - fix.latDeg) * 60.0;
    fix.lonDeg = int(std::trunc(p.longitude));
    fix.lonMin = (p.longitude - fix.lonDeg) * 60.0;
    return fix;
}

} // namespace radarfixture
