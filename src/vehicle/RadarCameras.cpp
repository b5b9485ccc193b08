#include "vehicle/RadarCameras.h"

#include "core/Geodesy.h"
#include "core/StatusLog.h"

#include <QFile>
#include <QtEndian>

#include <cmath>
#include <cstring>

namespace zarn {

namespace {

double readDouble(const char* p)
{
    const quint64 bits = qFromLittleEndian<quint64>(p);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Degrees to whole degrees and minutes and then to radians, the way the position
// fixes of the car are converted, so both sides of a distance round alike.
double degreesToRadians(double degrees)
{
    const double whole = std::trunc(degrees);
    return (whole * 60.0 + (degrees - whole) * 60.0) * RadiansPerArcMinute;
}

bool usable(const RadarCamera& camera)
{
    return std::isfinite(camera.latitudeDeg) && std::isfinite(camera.longitudeDeg)
        && std::abs(camera.latitudeDeg) <= 90.0 && std::abs(camera.longitudeDeg) <= 180.0;
}

} // namespace

RadarCamera radarCameraFromRecord(const char* record)
{
    RadarCamera camera;
    camera.latitudeDeg = readDouble(record);
    camera.longitudeDeg = readDouble(record + 8);
    camera.kind = qFromLittleEndian<qint32>(record + 16);
    camera.limitKmh = qFromLittleEndian<qint32>(record + 20);
    camera.latitudeRad = degreesToRadians(camera.latitudeDeg);
    camera.longitudeRad = -degreesToRadians(camera.longitudeDeg);
    camera.sinLatitude = std::sin(camera.latitudeRad);
    camera.cosLatitude = std::cos(camera.latitudeRad);
    return camera;
}

RadarCameraList loadradarpositions(const QString& path, StatusLog& log)
{
    RadarCameraList list;
    QFile file(path);
    if (!file.exists()) {
        log.AddStatusLine(QStringLiteral("file radar.bin not found - speed control system disabled"));
        return list;
    }
    list.available = true;

    const qsizetype recordSize = RadarCameraList::RecordSize;
    bool readFailed = !file.open(QIODevice::ReadOnly);
    qint64 records = 0;
    qint64 rest = 0;
    if (!readFailed) {
        const qint64 size = file.size();
        records = size / recordSize;
        rest = size % recordSize;
        const qint64 wanted = std::min<qint64>(records, RadarCameraList::Capacity) * recordSize;
        const QByteArray data = file.read(wanted);
        readFailed = data.size() != wanted;
        const qsizetype got = data.size() / recordSize;
        list.cameras.reserve(got);
        qsizetype dropped = 0;
        for (qsizetype i = 0; i < got; ++i) {
            const RadarCamera camera = radarCameraFromRecord(data.constData() + i * recordSize);
            if (usable(camera))
                list.cameras.append(camera);
            else
                ++dropped;
        }
        if (dropped > 0)
            log.addWarning(QStringLiteral("radar.bin: %1 records without a valid position ignored").arg(dropped));
    }
    if (readFailed) {
        log.addError(QStringLiteral(
            "An error occurred in the loadradarpositions subroutine - radar position not all loaded "));
    } else {
        if (records > RadarCameraList::Capacity)
            log.addWarning(QStringLiteral("radar.bin: %1 records beyond the capacity of %2 ignored")
                               .arg(records - RadarCameraList::Capacity)
                               .arg(RadarCameraList::Capacity));
        if (rest > 0)
            log.addWarning(QStringLiteral("radar.bin: %1 bytes at the end do not fill a record - ignored")
                               .arg(rest));
    }
    log.AddStatusLine(QStringLiteral("Radar list created - items=%1").arg(list.cameras.size()));
    return list;
}

} // namespace zarn
