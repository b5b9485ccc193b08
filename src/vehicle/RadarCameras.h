#pragma once

#include <QList>
#include <QString>

namespace zarn {

class StatusLog;

// One fixed camera from radar.bin, with its position already in the navigation
// convention (radians, longitude west positive) so a check does no conversions.
struct RadarCamera {
    double latitudeDeg = 0;  // north positive
    double longitudeDeg = 0; // east positive
    qint32 kind = 0;         // 0: red-light camera, else speed camera
    qint32 limitKmh = 0;     // 0: no limit given
    double latitudeRad = 0;
    double longitudeRad = 0; // west positive
    double sinLatitude = 0;  // of latitudeRad, for the check's distance loop
    double cosLatitude = 1;

    bool redLight() const { return kind == 0; }
};

struct RadarCameraList {
    static constexpr qsizetype Capacity = 12000;
    static constexpr qsizetype RecordSize = 24;

    bool available = false; // false: no radar.bin, the warning stays off for the run
    QList<RadarCamera> cameras;
};

// Parses little-endian 24-byte records (latitude double, longitude double, kind
// int32, limit int32). Records with a coordinate that is not a finite position on
// the globe are dropped, so a corrupt file cannot put a camera "everywhere".
RadarCamera radarCameraFromRecord(const char* record);

// Reads the camera list from path once at start-up and reports on log: every whole
// record counts, at most Capacity of them; what lies beyond, a partial record at the
// end and unusable records are reported and ignored. Never throws.
RadarCameraList loadradarpositions(const QString& path, StatusLog& log);

} // namespace zarn
