#include "carsim/CarFrames.h"

#include "carsim/Devices.h"
#include "carsim/Hex.h"

#include <cmath>

namespace zarn::carsim::frames {

namespace {
constexpr int NavTextBytes = 30;

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

char bcd(int value)
{
    return char(((value / 10) % 10) << 4 | (value % 10));
}

// Degrees as BCD degrees, minutes, seconds and a last byte of tenths (high digit) and
// hemisphere (low digit, 0 = north or east).
QByteArray dms(double degrees, int degreeBytes)
{
    const int hemisphere = degrees < 0 ? 1 : 0;
    const auto tenths = qint64(std::llround(std::fabs(degrees) * 36000.0));
    const int deg = int(tenths / 36000);
    const int min = int(tenths % 36000 / 600);
    const int sec = int(tenths % 600 / 10);
    const int tenth = int(tenths % 10);
    QByteArray out;
    if (degreeBytes == 2)
        out.append(bcd(deg / 100));
    out.append(bcd(deg % 100));
    out.append(bcd(min));
    out.append(bcd(sec));
    out.append(char(tenth << 4 | hemisphere));
    return out;
}

QByteArray navText(quint8 kind, const QString& text)
{
    QByteArray latin1 = text.toLatin1().left(NavTextBytes);
    latin1.append(QByteArray(NavTextBytes - latin1.size(), '\0'));
    return makeFrame(device::Navigation, device::Telephone, bytes({0xA4, 0x00, kind}) + latin1);
}
} // namespace

QByteArray cdPoll() { return makeFrame(device::Radio, device::CdChanger, bytes({0x01})); }
QByteArray cdStateRequest() { return makeFrame(device::Radio, device::CdChanger, bytes({0x38, 0x00, 0x00})); }
QByteArray cdPlay() { return makeFrame(device::Radio, device::CdChanger, bytes({0x38, 0x03, 0x00})); }
QByteArray cdStop() { return makeFrame(device::Radio, device::CdChanger, bytes({0x38, 0x01, 0x00})); }

QByteArray tapeText(bool dolbyC)
{
    return makeFrame(device::Radio, device::ScreenUnit,
                     bytes({0xA5, 0x62, 0x01, 0x45}) + QByteArray(dolbyC ? "Dolby C" : "Dolby B"));
}

QByteArray radioTitleText(const QString& text)
{
    return makeFrame(device::Radio, device::ScreenUnit,
                     bytes({0x23, 0x62, 0x10}) + text.toLatin1().leftJustified(13, ' ', true));
}

QByteArray knobTurn(bool right, int steps)
{
    steps = qBound(1, steps, 9);
    return makeFrame(device::Monitor, device::ScreenUnit, bytes({0x49, (right ? 0x80 : 0x00) | steps}));
}

QByteArray clusterTime(QTime time, quint8 flag)
{
    const QByteArray text = time.toString(QStringLiteral("HH:mm")).toLatin1() + "  ";
    return makeFrame(device::Cluster, device::DisplayGroup, bytes({0x24, 0x01, flag}) + text);
}

QByteArray speedAndRpm(int kmh, int rpm)
{
    return makeFrame(device::Cluster, device::ClusterGroup,
                     bytes({0x18, qBound(0, kmh / 2, 255), qBound(0, rpm / 100, 255)}));
}

QByteArray odometer(int km)
{
    // The four bytes after the reading are copied from a real cluster.
    return makeFrame(device::Cluster, device::ClusterGroup,
                     bytes({0x17, km & 0xFF, (km >> 8) & 0xFF, (km >> 16) & 0xFF, 0x80, 0x18, 0x32, 0xCC}));
}

QByteArray checkControlButton()
{
    return makeFrame(device::Cluster, device::Broadcast, bytes({0x57, 0x01}));
}

QByteArray position(const NavFix& fix)
{
    QByteArray data = bytes({0xA2, 0x01, 0x00}); // 01: the receiver has a fix
    data += dms(fix.latitude, 1);
    data += dms(fix.longitude, 2);
    const int altitude = qBound(0, fix.altitudeM, 9999);
    data.append(bcd(altitude / 100));
    data.append(bcd(altitude % 100));
    data.append('\0');
    const QTime utc = fix.utc.isValid() ? fix.utc : QTime(0, 0);
    data.append(bcd(utc.hour()));
    data.append(bcd(utc.minute()));
    data.append(bcd(utc.second()));
    return makeFrame(device::Navigation, device::Telephone, data);
}

QByteArray city(const QString& name) { return navText(0x01, name); }
QByteArray street(const QString& name) { return navText(0x02, name.left(NavTextBytes - 1) + QLatin1Char(';')); }

QByteArray phoneState(quint8 state)
{
    return makeFrame(device::Telephone, device::DisplayGroup, bytes({0x2C, state}));
}

} // namespace zarn::carsim::frames
