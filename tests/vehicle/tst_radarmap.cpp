// The radar map painted into a 400 x 400 image: geometry, rings, dots, the threshold
// circle and the heading lines, checked on the pixels at computed points.
#include "RadarFixture.h"

#include "vehicle/RadarMap.h"

#include <QTest>

#include <cmath>
#include <limits>
#include <numbers>

using namespace zarn;
using radarfixture::Point;

namespace {
const Point Car{48.0, 11.0};
const QSize Square(400, 400);
const QColor Red(0xFF, 0x00, 0x00);

struct Drawn {
    RadarMap map{Square};
    QList<RadarCamera> cameras;
    RadarCheckResult result;
    RadarMap::Input input;

    Drawn(int scale, bool warningOn, double threshold = 1.1, double course = 0, Point car = Car)
    {
        map.setColors(RadarMap::Colors{QColor(0x80, 0x80, 0x80)});
        input.scaleKm = scale;
        input.warningOn = warningOn;
        input.thresholdKm = threshold;
        input.fix = radarfixture::fixAt(car);
        input.courseOverGround = course;
    }
    // A camera km away from the car at a true bearing; it goes on the map.
    QPoint addCamera(double km, double bearing, Point car = Car)
    {
        const Point p = radarfixture::destination(car, km, bearing);
        cameras << radarCameraFromRecord(radarfixture::record(p.latitude, p.longitude, 1, 50).constData());
        result.onMap << cameras.size() - 1;
        return RadarMap::dotOffset(RadarMap::Geometry::of(Square, input.scaleKm), input.fix, cameras.last());
    }
    QColor at(QPoint p) const { return map.image().pixelColor(p); }
    const RadarMap::Colors& colors() const { return map.colors(); }
    void draw() { map.draw(input, cameras, result); }
    // Whether any pixel of colour lies on the ray from the centre at angle degrees
    // between the two distances (a dotted line leaves gaps).
    bool rayHas(double angle, int from, int to, const QColor& colour) const
    {
        const double a = angle * std::numbers::pi / 180.0;
        for (int d = from; d <= to; ++d) {
            const QPoint p(200 + int(std::lround(d * std::sin(a))), 200 - int(std::lround(d * std::cos(a))));
            if (at(p) == colour)
                return true;
        }
        return false;
    }
    // Whether colour lies within 2 pixels of p (a 1-pixel outline may fall either side).
    bool near(QPoint p, const QColor& colour) const
    {
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                if (at(p + QPoint(dx, dy)) == colour)
                    return true;
        return false;
    }
    int count(const QColor& colour) const
    {
        int n = 0;
        const QImage& img = map.image();
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                n += img.pixelColor(x, y) == colour;
        return n;
    }
};
} // namespace

class TestRadarMap : public QObject {
    Q_OBJECT
private slots:
    void scaleSteps_data()
    {
        QTest::addColumn<int>("scale");
        QTest::addColumn<int>("up");
        QTest::addColumn<int>("down");
        QTest::addColumn<int>("dotRadius");
        QTest::newRow("1") << 1 << 2 << 1000 << 4;
        QTest::newRow("3") << 3 << 5 << 2 << 4;
        QTest::newRow("5") << 5 << 10 << 3 << 3;
        QTest::newRow("20") << 20 << 50 << 10 << 3;
        QTest::newRow("50") << 50 << 100 << 20 << 2;
        QTest::newRow("100") << 100 << 200 << 50 << 2;
        QTest::newRow("200") << 200 << 500 << 100 << 1;
        QTest::newRow("1000 wraps to 1") << 1000 << 1 << 500 << 1;
        QTest::newRow("outside the cycle stays") << 7 << 7 << 7 << 1;
    }
    void scaleSteps()
    {
        QFETCH(int, scale);
        QFETCH(int, up);
        QFETCH(int, down);
        QFETCH(int, dotRadius);
        QCOMPARE(RadarMap::scaleUp(scale), up);
        QCOMPARE(RadarMap::scaleDown(scale), down);
        QCOMPARE(RadarMap::dotRadius(scale), dotRadius);
    }

    void geometry_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("scale");
        QTest::addColumn<QPoint>("centre");
        QTest::addColumn<double>("kx");
        QTest::addColumn<int>("rx");
        QTest::addColumn<int>("ry");
        QTest::newRow("square, 3 km") << Square << 3 << QPoint(200, 200) << 65.0 << 65 << 65;
        QTest::newRow("square, 1000 km rounds to 0") << Square << 1000 << QPoint(200, 200) << 0.195 << 0 << 0;
        QTest::newRow("scale 0 counts as 1") << Square << 0 << QPoint(200, 200) << 195.0 << 195 << 195;
        QTest::newRow("page map 400 x 411") << QSize(400, 411) << 2 << QPoint(200, 205) << 97.5 << 98 << 100;
        QTest::newRow("half rounds to even") << QSize(15, 15) << 2 << QPoint(7, 7) << 1.25 << 1 << 1;
    }
    void geometry()
    {
        QFETCH(QSize, size);
        QFETCH(int, scale);
        QFETCH(QPoint, centre);
        QFETCH(double, kx);
        QFETCH(int, rx);
        QFETCH(int, ry);
        const RadarMap::Geometry g = RadarMap::Geometry::of(size, scale);
        QCOMPARE(QPoint(g.cx, g.cy), centre);
        QCOMPARE(g.kx, kx);
        QCOMPARE(g.rx, rx);
        QCOMPARE(g.ry, ry);
    }

    void headingLineEnds_data()
    {
        QTest::addColumn<double>("course");
        QTest::addColumn<QPoint>("end");
        QTest::newRow("north") << 0.0 << QPoint(200, 10);
        QTest::newRow("east") << 90.0 << QPoint(390, 200);
        QTest::newRow("south") << 180.0 << QPoint(200, 390);
        QTest::newRow("rounded course 44.5 -> 44") << 44.5 << QPoint(331, 64);
    }
    void headingLineEnds()
    {
        QFETCH(double, course);
        QFETCH(QPoint, end);
        QCOMPARE(RadarMap::courseEnd(RadarMap::Geometry::of(Square, 3), course), end);
    }

    // The sector lines reach the threshold circle, or the outermost ring when the circle
    // does not fit; at 1000 km the rounded rings have no size and neither have they.
    void sectorLineEnds_data()
    {
        QTest::addColumn<int>("scale");
        QTest::addColumn<double>("threshold");
        QTest::addColumn<double>("angle");
        QTest::addColumn<QPoint>("end");
        QTest::newRow("threshold 1.1 at 3 km, up") << 3 << 1.1 << 0.0 << QPoint(200, 129);
        QTest::newRow("threshold too big: outer ring") << 3 << 4.0 << 90.0 << QPoint(395, 200);
        QTest::newRow("1000 km: no length") << 1000 << 1.1 << 45.0 << QPoint(200, 200);
    }
    void sectorLineEnds()
    {
        QFETCH(int, scale);
        QFETCH(double, threshold);
        QFETCH(double, angle);
        QFETCH(QPoint, end);
        QCOMPARE(RadarMap::sectorEnd(RadarMap::Geometry::of(Square, scale), angle, threshold, scale), end);
    }

    // With the warning off only the disc, the car marker, the rings and the letters.
    void warningOffDrawsBaseOnly_data()
    {
        QTest::addColumn<int>("scale");
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<QString>("role");
        QTest::newRow("outside the disc") << 3 << QPoint(2, 2) << "background";
        QTest::newRow("disc inside the first ring") << 3 << QPoint(240, 200) << "schwarz";
        QTest::newRow("car marker") << 3 << QPoint(200, 200) << "dunkelblau";
        QTest::newRow("first ring") << 3 << QPoint(265, 200) << "ring";
        QTest::newRow("third ring, north-east") << 3 << QPoint(338, 62) << "ring";
        QTest::newRow("20 km: first ring at 10 px") << 20 << QPoint(210, 200) << "ring";
        QTest::newRow("50 km: no rings") << 50 << QPoint(240, 200) << "no ring";
        QTest::newRow("50 km: no outer ring") << 50 << QPoint(338, 62) << "no ring";
    }
    void warningOffDrawsBaseOnly()
    {
        QFETCH(int, scale);
        QFETCH(QPoint, point);
        QFETCH(QString, role);
        Drawn d(scale, false);
        d.addCamera(0.5, 45);
        d.draw();
        const RadarMap::Colors& c = d.colors();
        const QHash<QString, QColor> roles{{"background", c.background}, {"schwarz", c.schwarz},
                                           {"dunkelblau", c.dunkelblau}, {"hellblau", c.hellblau}};
        if (role == QLatin1String("ring") || role == QLatin1String("no ring"))
            QCOMPARE(d.near(point, c.hellblau), role == QLatin1String("ring"));
        else
            QCOMPARE(d.at(point), roles.value(role));
        QCOMPARE(d.count(c.orange), 0);
        QCOMPARE(d.count(Red), 0);
    }

    void lettersOnTheirPlaces()
    {
        Drawn d(3, false);
        d.draw();
        // Each letter sits on its opaque box; some of its pixels carry the letter colour.
        const auto letterIn = [&d](QRect box) {
            for (int y = box.top(); y <= box.bottom(); ++y)
                for (int x = box.left(); x <= box.right(); ++x)
                    if (d.at({x, y}) == d.colors().hellblau)
                        return true;
            return false;
        };
        QVERIFY(letterIn(QRect(188, 4, 20, 30)));  // N
        QVERIFY(letterIn(QRect(188, 364, 20, 30))); // S
        QVERIFY(letterIn(QRect(4, 176, 20, 30)));  // W
        QVERIFY(letterIn(QRect(375, 176, 20, 30))); // E
    }

    // Dots lie where their offset in kilometres puts them, north up, in both hemispheres.
    void dotPlacement_data()
    {
        QTest::addColumn<Point>("car");
        QTest::addColumn<int>("scale");
        QTest::addColumn<double>("km");
        QTest::addColumn<double>("bearing");
        QTest::newRow("1 km north at 3 km") << Car << 3 << 1.0 << 0.0;
        QTest::newRow("2 km east at 3 km") << Car << 3 << 2.0 << 90.0;
        QTest::newRow("1.5 km south-west at 2 km") << Car << 2 << 1.5 << 225.0;
        QTest::newRow("west of Greenwich, 1 km west") << Point{51.5, -0.5} << 3 << 1.0 << 270.0;
        QTest::newRow("southern hemisphere, 1 km north") << Point{-33.9, 18.4} << 3 << 1.0 << 0.0;
        QTest::newRow("1000 km scale, 100 km east, unrounded kx") << Car << 1000 << 100.0 << 90.0;
    }
    void dotPlacement()
    {
        QFETCH(Point, car);
        QFETCH(int, scale);
        QFETCH(double, km);
        QFETCH(double, bearing);
        Drawn d(scale, true, 1.1, 0, car);
        const QPoint offset = d.addCamera(km, bearing, car);
        const RadarMap::Geometry g = RadarMap::Geometry::of(Square, scale);
        const double a = bearing * std::numbers::pi / 180.0;
        const QPoint expected(int(std::lround(g.kx * km * std::sin(a))), int(std::lround(-g.ky * km * std::cos(a))));
        QVERIFY2((offset - expected).manhattanLength() <= 2,
                 qPrintable(QStringLiteral("%1,%2 vs %3,%4").arg(offset.x()).arg(offset.y()).arg(expected.x()).arg(expected.y())));
        d.input.courseOverGround = bearing + 180; // keep the course line off the dot
        d.draw();
        QCOMPARE(d.at(QPoint(200, 200) + offset), d.colors().orange);
    }

    void thresholdCircleAndSector_data()
    {
        QTest::addColumn<double>("threshold");
        QTest::addColumn<double>("course");
        QTest::addColumn<bool>("circle");
        QTest::addColumn<int>("sectorReach"); // pixels from the centre
        QTest::newRow("1.1 km, course 0") << 1.1 << 0.0 << true << 71;
        QTest::newRow("course 10: lines at -25 and 45") << 1.1 << 10.0 << true << 71;
        QTest::newRow("too big for the map: no circle, lines to the ring") << 4.0 << 0.0 << false << 195;
    }
    void thresholdCircleAndSector()
    {
        QFETCH(double, threshold);
        QFETCH(double, course);
        QFETCH(bool, circle);
        QFETCH(int, sectorReach);
        Drawn d(3, true, threshold, course);
        d.draw();
        // The circle's outline, on the left where no line runs.
        QCOMPARE(d.at(QPoint(200 - 71, 200)) == Red, circle);
        for (double side : {-35.0, 35.0}) {
            QVERIFY(d.rayHas(course + side, 10, sectorReach - 2, Red));
            QVERIFY(!d.rayHas(course + side, sectorReach + 4, 193, Red));
        }
        QVERIFY(!d.rayHas(course + 90, 10, 60, Red));
        QVERIFY(d.rayHas(course, 10, 189, d.colors().hellblau));
    }

    // Values no car reports still give a whole map: the disc is there, nothing throws.
    void oddInputsStillDraw_data()
    {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        QTest::addColumn<double>("course");
        QTest::addColumn<double>("threshold");
        QTest::addColumn<Point>("car");
        QTest::newRow("course not a number") << nan << 1.1 << Car;
        QTest::newRow("huge course") << 1e300 << 1.1 << Car;
        QTest::newRow("threshold below zero") << 0.0 << -0.4 << Car;
        QTest::newRow("threshold not a number") << 0.0 << nan << Car;
        QTest::newRow("huge threshold") << 0.0 << 1e300 << Car;
        QTest::newRow("car at the pole") << 0.0 << 1.1 << Point{90.0, 0.0};
    }
    void oddInputsStillDraw()
    {
        QFETCH(double, course);
        QFETCH(double, threshold);
        QFETCH(Point, car);
        Drawn d(3, true, threshold, course, car);
        d.addCamera(1.0, 45.0, Car);
        d.addCamera(0.0, 0.0, Point{-car.latitude, car.longitude + 180});
        d.result.onMap << 99; // an index beyond the list is skipped
        d.draw();
        QCOMPARE(d.at(QPoint(240, 200)) == d.colors().schwarz || d.at(QPoint(160, 200)) == d.colors().schwarz, true);
        QCOMPARE(d.at(QPoint(2, 2)), d.colors().background);
    }
};

QTEST_MAIN(TestRadarMap)
#include "tst_radarmap.moc"
