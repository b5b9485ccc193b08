#include "vehicle/RadarMap.h"

#include "core/Geodesy.h"

#include <QGuiApplication>
#include <QPainter>

#include <cmath>
#include <numbers>

namespace zarn {

namespace {
constexpr int Scales[] = {1, 2, 3, 5, 10, 20, 50, 100, 200, 500, 1000};
constexpr double DegToRad = std::numbers::pi / 180.0;
const QColor Red{0xFF, 0x00, 0x00};

// Halves to the even neighbour (the default rounding mode), like the map's Round.
int roundEven(double v)
{
    if (!std::isfinite(v) || std::abs(v) > 1e9)
        return 0;
    return int(std::nearbyint(v));
}

int trunc(double v)
{
    if (!std::isfinite(v) || std::abs(v) > 1e9)
        return 0;
    return int(std::trunc(v));
}

// The outline and the fill of the rectangle (x1, y1) to (x2, y2), right and bottom
// edges excluded, as the map's ellipses are given.
void ellipse(QPainter& p, int x1, int y1, int x2, int y2)
{
    p.drawEllipse(QRectF(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
}

// A point at angle degrees (0 up, clockwise) and the given lengths from the centre.
QPoint polar(const RadarMap::Geometry& g, double angleDeg, int lengthX, int lengthY)
{
    const double a = angleDeg * DegToRad;
    return {trunc(g.w / 2.0 + trunc(lengthX * std::sin(a))), g.h - trunc(g.h / 2.0 + trunc(lengthY * std::cos(a)))};
}

int effectiveScale(int scaleKm)
{
    return scaleKm == 0 ? 1 : scaleKm;
}
} // namespace

int RadarMap::scaleUp(int scaleKm)
{
    const auto* it = std::find(std::begin(Scales), std::end(Scales), scaleKm);
    if (it == std::end(Scales))
        return scaleKm;
    return ++it == std::end(Scales) ? Scales[0] : *it;
}

int RadarMap::scaleDown(int scaleKm)
{
    const auto* it = std::find(std::begin(Scales), std::end(Scales), scaleKm);
    if (it == std::end(Scales))
        return scaleKm;
    return it == std::begin(Scales) ? Scales[std::size(Scales) - 1] : *(it - 1);
}

int RadarMap::dotRadius(int scaleKm)
{
    switch (scaleKm) {
    case 1: case 2: case 3: return 4;
    case 5: case 10: case 20: return 3;
    case 50: case 100: return 2;
    default: return 1;
    }
}

RadarMap::Geometry RadarMap::Geometry::of(QSize size, int scaleKm)
{
    Geometry g;
    const int scale = effectiveScale(scaleKm);
    g.w = size.width();
    g.h = size.height();
    g.cx = g.w / 2;
    g.cy = g.h / 2;
    g.kx = ((g.w - 10) / 2.0) / scale;
    g.ky = ((g.h - 10) / 2.0) / scale;
    g.rx = roundEven(g.kx);
    g.ry = roundEven(g.ky);
    return g;
}

double RadarMap::kmPerLongitudeMinute(const PositionFix& fix)
{
    const double lat = Nav2Rad_Angle(fix.latDeg, u"N", fix.latMin);
    const double lon30 = Nav2Rad_Angle(fix.lonDeg, u"E", 30);
    const double lon31 = Nav2Rad_Angle(fix.lonDeg, u"E", 31);
    const double km = RadToNm(CentralAngle(lon31, lat, lon30, lat)) * KmPerNauticalMile;
    return std::isfinite(km) ? km : 0;
}

QPoint RadarMap::dotOffset(const Geometry& g, const PositionFix& fix, const RadarCamera& camera)
{
    return dotOffset(g, fix, camera, kmPerLongitudeMinute(fix));
}

QPoint RadarMap::dotOffset(const Geometry& g, const PositionFix& fix, const RadarCamera& camera, double kmPerLonMinute)
{
    const double carLat = fix.latDeg * 60.0 + fix.latMin;
    const double carLon = fix.lonDeg * 60.0 + fix.lonMin;
    const double dx = (camera.longitudeDeg * 60.0 - carLon) * kmPerLonMinute;
    const double dy = (camera.latitudeDeg * 60.0 - carLat) * KmPerNauticalMile;
    return {roundEven(g.kx * dx), roundEven(-g.ky * dy)};
}

QPoint RadarMap::courseEnd(const Geometry& g, double courseOverGround)
{
    const int length = trunc(g.w / 2.0) - 10; // the width serves both axes
    return polar(g, roundEven(courseOverGround), length, length);
}

QPoint RadarMap::sectorEnd(const Geometry& g, double angleDeg, double thresholdKm, int scaleKm)
{
    const int scale = effectiveScale(scaleKm);
    const double rx = g.h / 2.0 >= g.rx * thresholdKm ? g.rx * thresholdKm : double(g.rx) * scale;
    const double ry = g.h / 2.0 >= g.ry * thresholdKm ? g.ry * thresholdKm : double(g.ry) * scale;
    return polar(g, roundEven(angleDeg), trunc(rx), trunc(ry));
}

RadarMap::RadarMap(QSize size)
    : image_(size, QImage::Format_RGB32)
{
    image_.fill(colors_.background);
}

void RadarMap::setSize(QSize size)
{
    if (size == image_.size() || size.isEmpty())
        return;
    image_ = QImage(size, QImage::Format_RGB32);
    image_.fill(colors_.background);
}

void RadarMap::drawBase(const Input& input)
{
    const int scale = effectiveScale(input.scaleKm);
    const Geometry g = Geometry::of(image_.size(), scale);
    image_.fill(colors_.background);
    QPainter p(&image_);

    p.setPen(QPen(colors_.schwarz, 1));
    p.setBrush(colors_.schwarz);
    ellipse(p, 0, 0, g.w, g.h);

    p.setPen(QPen(colors_.hellblau, 1, Qt::SolidLine));
    p.setBrush(colors_.dunkelblau);
    ellipse(p, g.cx - 5, g.cy - 5, g.cx + 5, g.cy + 5);

    p.setBrush(Qt::NoBrush);
    if (scale < 50)
        for (int i = 1; i <= scale; ++i)
            ellipse(p, g.cx - i * g.rx, g.cy - i * g.ry, g.cx + i * g.rx, g.cy + i * g.ry);

    // Fonts need the GUI application; a tool or test without one gets the map unlettered.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    QFont font(QStringLiteral("Arial Narrow"));
    font.setPixelSize(37); // 28 points on a 96 dpi screen
    p.setFont(font);
    const QFontMetrics metrics(font);
    const struct {
        const char* letter;
        QPoint at;
    } letters[] = {
        {"N", {g.w / 2 - 12, 0}},
        {"S", {g.w / 2 - 12, g.h - 38}},
        {"W", {4, g.h / 2 - 28}},
        {"E", {g.w - 25, g.h / 2 - 28}},
    };
    for (const auto& l : letters) {
        const QString text = QLatin1String(l.letter);
        const QRect box(l.at, QSize(metrics.horizontalAdvance(text), metrics.height()));
        p.fillRect(box, colors_.schwarz);
        p.setPen(colors_.hellblau);
        p.drawText(box, Qt::AlignLeft | Qt::AlignTop, text);
    }
}

void RadarMap::drawCameras(const Input& input, const QList<RadarCamera>& cameras, const RadarCheckResult& result)
{
    if (!input.warningOn)
        return;
    const int scale = effectiveScale(input.scaleKm);
    const Geometry g = Geometry::of(image_.size(), scale);
    const double t = input.thresholdKm;
    QPainter p(&image_);

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Red, 1));
    if (g.h / 2.0 >= g.rx * t)
        ellipse(p, g.cx - trunc(g.rx * t), g.cy - trunc(g.ry * t), g.cx + trunc(g.rx * t), g.cy + trunc(g.ry * t));

    const int r = dotRadius(scale);
    const double kmPerLonMinute = kmPerLongitudeMinute(input.fix); // once per drawing
    p.setPen(QPen(colors_.orange, 1, Qt::SolidLine));
    p.setBrush(colors_.orange);
    for (qsizetype k : result.onMap) {
        if (k < 0 || k >= cameras.size())
            continue;
        const QPoint d = dotOffset(g, input.fix, cameras[k], kmPerLonMinute);
        // The smallest dot is a 2 x 2 square either way; filled directly it costs far
        // less, which counts at the large scales where every camera is on the map.
        if (r == 1)
            p.fillRect(g.cx + d.x() - 1, g.cy + d.y() - 1, 2, 2, colors_.orange);
        else
            ellipse(p, g.cx + d.x() - r, g.cy + d.y() - r, g.cx + d.x() + r, g.cy + d.y() + r);
    }

    const QPoint centre(g.w / 2, g.h / 2);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colors_.hellblau, 3, Qt::SolidLine));
    p.drawLine(centre, courseEnd(g, input.courseOverGround));
    p.setPen(QPen(Red, 3, Qt::DotLine));
    p.drawLine(centre, sectorEnd(g, input.courseOverGround - 35, t, scale));
    p.drawLine(centre, sectorEnd(g, input.courseOverGround + 35, t, scale));
}

void RadarMap::draw(const Input& input, const QList<RadarCamera>& cameras, const RadarCheckResult& result)
{
    drawBase(input);
    drawCameras(input, cameras, result);
}

} // namespace zarn
