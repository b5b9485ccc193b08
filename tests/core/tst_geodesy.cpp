#include "core/Geodesy.h"

#include <QTest>

#include <cmath>

using namespace zarn;

namespace {
double rad(double degrees)
{
    return degrees * Pi / 180.0;
}
double arcMinutes(double minutes)
{
    return minutes * Pi / 10800.0;
}
// Difference of two courses in degrees, across north.
double courseError(double actualDeg, double expectedDeg)
{
    const double d = std::fmod(std::abs(actualDeg - expectedDeg), 360.0);
    return std::min(d, 360.0 - d);
}
} // namespace

class TestGeodesy : public QObject {
    Q_OBJECT
private slots:
    void constants()
    {
        QCOMPARE(NmPerRadian, 3437.7467707849392);
        QCOMPARE(DegreesPerRadian, 57.295779513082321);
        QCOMPARE(RadiansPerArcMinute, 0.00029088820866572158);
        QCOMPARE(TwoPi, 6.2831853071795865);
    }

    void nav2RadAngle_data()
    {
        QTest::addColumn<int>("degrees");
        QTest::addColumn<QString>("hemisphere");
        QTest::addColumn<double>("minutes");
        QTest::addColumn<double>("expected");
        QTest::addRow("east is negative") << 7 << "E" << 30.0 << -rad(7.5);
        QTest::addRow("west is positive") << 7 << "W" << 30.0 << rad(7.5);
        QTest::addRow("north") << 48 << "N" << 0.0 << rad(48);
        QTest::addRow("south is negative") << 48 << "S" << 30.0 << -rad(48.5);
        QTest::addRow("signed value with N keeps its sign") << -48 << "N" << -30.0 << -rad(48.5);
        QTest::addRow("unknown letter keeps the sign") << 10 << "x" << 0.0 << rad(10);
    }
    void nav2RadAngle()
    {
        QFETCH(int, degrees);
        QFETCH(QString, hemisphere);
        QFETCH(double, minutes);
        QFETCH(double, expected);
        QCOMPARE(Nav2Rad_Angle(degrees, hemisphere, minutes), expected);
    }

    void oneMinuteOfLatitudeIsOneNauticalMile()
    {
        const double lon = arcMinutes(-11 * 60 - 34.945);
        const double lat = rad(48);
        const double d = CentralAngle(lon, lat + arcMinutes(1), lon, lat);
        QVERIFY(std::abs(d - Pi / 10800) < 1e-9);
        QVERIFY(std::abs(RadToNm(d) - 1.0) < 1e-5);
    }

    void centralAnglePushedAboveOneIsInvalid()
    {
        // sin^2 + cos^2 of 8 degrees rounds to 1 + 2^-52.
        QVERIFY(std::isnan(CentralAngle(0.1, rad(8), 0.1, rad(8))));
    }

    void radToDeg360_data()
    {
        QTest::addColumn<double>("angle");
        QTest::addColumn<double>("degrees");
        QTest::addRow("2 pi is 0") << TwoPi << 0.0;
        QTest::addRow("pi") << Pi << 180.0;
        QTest::addRow("nothing else normalised") << -Pi / 2 << -90.0;
    }
    void radToDeg360()
    {
        QFETCH(double, angle);
        QFETCH(double, degrees);
        QCOMPARE(RadToDeg360(angle), degrees);
    }

    // Positions in degrees, west-positive; destination first, origin second.
    void trueCourse_data()
    {
        QTest::addColumn<double>("lon1");
        QTest::addColumn<double>("lat1");
        QTest::addColumn<double>("lon2");
        QTest::addColumn<double>("lat2");
        QTest::addColumn<double>("courseDeg");
        const double m = 1.0 / 60;
        QTest::addRow("due north") << -11.0 << 48 + m << -11.0 << 48.0 << 0.0;
        QTest::addRow("due east (smaller longitude)") << -11 - m << 48.0 << -11.0 << 48.0 << 90.0;
        QTest::addRow("due south") << -11.0 << 48 - m << -11.0 << 48.0 << 180.0;
        // Bus positions (tenths of a second) 200 m apart: the ratio comes out at -1 - 6e-8.
        QTest::addRow("due south, 200 m") << -11.58 << 48 + 10.62 * m << -11.58 << 48 + (10 + 43.7 / 60) * m << 180.0;
        QTest::addRow("due west (larger longitude)") << -11 + m << 48.0 << -11.0 << 48.0 << 270.0;
        QTest::addRow("north-east from the equator")
            << -1.0 << 1.0 << 0.0 << 0.0 << std::atan(std::cos(rad(1))) * 180 / Pi;
        QTest::addRow("due east across the date line")
            << 179.75 << 0.0 << -179.75 << 0.0 << 90.0;
    }
    void trueCourse()
    {
        QFETCH(double, lon1);
        QFETCH(double, lat1);
        QFETCH(double, lon2);
        QFETCH(double, lat2);
        QFETCH(double, courseDeg);
        const double course = TrueCourse(rad(lon1), rad(lat1), rad(lon2), rad(lat2));
        QVERIFY(course >= 0 && course <= TwoPi);
        QVERIFY2(courseError(RadToDeg360(course), courseDeg) < 0.01,
                 qPrintable(QString::number(RadToDeg360(course))));
    }

    void trueCourseFailuresGiveZero_data()
    {
        QTest::addColumn<double>("lon");
        QTest::addColumn<double>("lat");
        QTest::addRow("identical positions") << -11.5 << 48.0;
        QTest::addRow("identical positions, distance not a number") << 0.1 * 180 / Pi << 8.0;
    }
    void trueCourseFailuresGiveZero()
    {
        QFETCH(double, lon);
        QFETCH(double, lat);
        QCOMPARE(TrueCourse(rad(lon), rad(lat), rad(lon), rad(lat)), 0.0);
    }
};

QTEST_GUILESS_MAIN(TestGeodesy)
#include "tst_geodesy.moc"
