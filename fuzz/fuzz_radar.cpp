// Arbitrary bytes as radar.bin through the camera list reader. Every kept camera must
// be a finite position on the globe, no more cameras than whole records (and never
// beyond the capacity), and the count line must match what was kept.
#include "ScratchFile.h"
#include "core/StatusLog.h"
#include "vehicle/RadarCameras.h"

#include <QFile>
#include <QString>
#include <QStringList>

#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = zarn::fuzz::scratchFile(data, size);

    zarn::StatusLog log;
    QStringList lines;
    log.setAlertSink([](const QString&) {});
    QObject::connect(&log, &zarn::StatusLog::lineAdded, [&lines](const QString& line) { lines << line; });
    const zarn::RadarCameraList list = zarn::loadradarpositions(path, log);
    if (!list.available)
        std::abort();
    const qsizetype records = qsizetype(size) / zarn::RadarCameraList::RecordSize;
    if (list.cameras.size() > records || list.cameras.size() > zarn::RadarCameraList::Capacity)
        std::abort();
    for (const zarn::RadarCamera& c : list.cameras) {
        if (!std::isfinite(c.latitudeRad) || !std::isfinite(c.longitudeRad) || std::abs(c.latitudeDeg) > 90
            || std::abs(c.longitudeDeg) > 180)
            std::abort();
    }
    const QString count = QStringLiteral("Radar list created - items=%1").arg(list.cameras.size());
    bool counted = false;
    for (const QString& line : lines)
        counted = counted || line.endsWith(count);
    if (!counted)
        std::abort();
    return 0;
}
