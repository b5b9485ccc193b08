#pragma once

#include "ibus/VehicleState.h"
#include "vehicle/RadarCameras.h"
#include "vehicle/RadarCheck.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QSize>

namespace zarn {

// The round radar map: north up, the car in the centre, rings a kilometre apart and,
// while the warning is on, the cameras within the scale, the course line, the threshold
// circle and the warning sector. Painted into an image with QPainter; no window, so the
// camera check draws it after every fix and the page only copies it. Main thread only.
class RadarMap {
public:
    // The scale item's steps, in kilometres.
    static int scaleUp(int scaleKm);   // 1 -> 2 -> 3 -> 5 ... 1000 -> 1; others stay
    static int scaleDown(int scaleKm); // the same cycle backwards
    static int dotRadius(int scaleKm);

    struct Colors {
        QColor background; // outside the disc
        QColor schwarz{0x00, 0x00, 0x40};     // the disc
        QColor dunkelblau{0x00, 0x00, 0x40};  // the car marker
        QColor hellblau{0x7A, 0x8A, 0xE7};    // rings, letters, course line
        QColor orange{0xFF, 0x80, 0x00};      // camera dots
        bool operator==(const Colors&) const = default;
    };

    struct Geometry {
        int w = 0, h = 0;
        int cx = 0, cy = 0;
        double kx = 0, ky = 0; // pixels per kilometre
        int rx = 0, ry = 0;    // the same, rounded
        static Geometry of(QSize size, int scaleKm);
    };

    struct Input {
        int scaleKm = 3;              // 0 counts as 1
        bool warningOn = false;
        double thresholdKm = 1.1;     // in the displayed unit
        PositionFix fix;              // the car
        double courseOverGround = 0;  // degrees
    };

    // Where a camera's dot lies, relative to the centre, in pixels (north up).
    static QPoint dotOffset(const Geometry& g, const PositionFix& fix, const RadarCamera& camera);
    static QPoint dotOffset(const Geometry& g, const PositionFix& fix, const RadarCamera& camera, double kmPerLonMinute);
    // The great-circle length of one minute of longitude at the fix's latitude.
    static double kmPerLongitudeMinute(const PositionFix& fix);
    // Ends of the course line and of the two sector lines.
    static QPoint courseEnd(const Geometry& g, double courseOverGround);
    static QPoint sectorEnd(const Geometry& g, double angleDeg, double thresholdKm, int scaleKm);

    explicit RadarMap(QSize size = QSize(400, 411));

    QSize size() const { return image_.size(); }
    // A new size takes effect at the next drawing.
    void setSize(QSize size);
    void setColors(const Colors& colors) { colors_ = colors; }
    const Colors& colors() const { return colors_; }
    const QImage& image() const { return image_; }

    // Everything the warning-off map shows: disc, car marker, rings and letters.
    void drawBase(const Input& input);
    // The rest, after drawBase with the warning on: threshold circle, the dots of the
    // check's cameras on the map, course and sector lines.
    void drawCameras(const Input& input, const QList<RadarCamera>& cameras, const RadarCheckResult& result);
    // Both, as one check draws them.
    void draw(const Input& input, const QList<RadarCamera>& cameras, const RadarCheckResult& result);

private:
    QImage image_;
    Colors colors_;
};

} // namespace zarn
