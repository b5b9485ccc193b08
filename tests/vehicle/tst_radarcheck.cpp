#include "RadarFixture.h"

#include "vehicle/RadarCheck.h"

#include <QTest>

using namespace zarn;
using radarfixture::Point;

namespace {
const Point Munich{48.0, 11.0};

RadarCamera camera(Point p, qint32 kind = 1, qint32 limit = 50)
{
    return radarCameraFromRecord(radarfixture::record(p.latitude, p.longitude, kind, limit).constData());
}

RadarCamera cameraAt(Point car, double km, double bearing, qint32 kind = 1, qint32 limit = 50)
{
    return camera(radarfixture::destination(car, km, bearing), kind, limit);
}

using radarfixture::fixAt;

RadarCheckInput drivingAt(Point car, double course = 0, int speed = 80)
{
    RadarCheckInput in;
    in.fix = fixAt(car);
    in.courseOverGround = course;
    in.currentSpeed = speed;
    in.warningOn = true;
    in.warningThresholdKm = 1.1;
    return in;
}
} // namespace

class TestRadarCheck : public QObject {
    Q_OBJECT
private slots:
    void relativeBearingAndSide_data()
    {
        QTest::addColumn<double>("course");
        QTest::addColumn<double>("bearing");
        QTest::addColumn<int>("relative");
        QTest::addColumn<QString>("side");
        QTest::newRow("straight ahead") << 0.0 << 0.0 << 0 << "/";
        QTest::newRow("truncated, wraps past 359") << 359.9 << 0.5 << 1 << "/";
        QTest::newRow("35 right is ahead") << 90.0 << 125.9 << 35 << "/";
        QTest::newRow("36 right is not") << 90.0 << 126.0 << 36 << "";
        QTest::newRow("35 left is ahead") << 90.0 << 55.0 << 325 << "\\";
        QTest::newRow("36 left is not") << 90.0 << 54.0 << 324 << "";
        QTest::newRow("behind") << 10.0 << 190.0 << 180 << "";
        QTest::newRow("course 360") << 360.0 << 359.5 << 359 << "\\";
        QTest::newRow("unknown course counts as north") << qQNaN() << 20.5 << 20 << "/";
    }
    void relativeBearingAndSide()
    {
        QFETCH(double, course);
        QFETCH(double, bearing);
        QFETCH(int, relative);
        QFETCH(QString, side);
        QCOMPARE(relativeBearing(course, bearing), relative);
        QCOMPARE(radarSideMark(relative), side);
    }

    void warning_data()
    {
        QTest::addColumn<double>("course");
        QTest::addColumn<double>("bearing");
        QTest::addColumn<double>("km");
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("speed");
        QTest::addColumn<bool>("tooFast");
        QTest::addColumn<bool>("drawOnly");
        QTest::addColumn<double>("threshold");
        QTest::addColumn<int>("relative");
        QTest::addColumn<QString>("text"); // empty: no warning

        QTest::newRow("ahead right") << 0.0 << 20.5 << 0.5 << 50 << 80 << false << false << 1.1 << 20 << "50 km/h in 500 m /";
        QTest::newRow("ahead left") << 0.0 << 340.5 << 0.734 << 50 << 80 << false << false << 1.1 << 340 << "50 km/h in 734 m \\";
        QTest::newRow("abeam") << 0.0 << 90.5 << 0.5 << 50 << 80 << false << false << 1.1 << 90 << "";
        QTest::newRow("course east, ahead left") << 90.0 << 60.5 << 0.5 << 50 << 80 << false << false << 1.1 << 330 << "50 km/h in 500 m \\";
        QTest::newRow("beyond threshold") << 0.0 << 10.5 << 1.2 << 50 << 80 << false << false << 1.1 << 10 << "";
        QTest::newRow("too fast") << 0.0 << 10.5 << 0.5 << 50 << 60 << true << false << 1.1 << 10 << "50 km/h in 500 m /";
        QTest::newRow("at the limit, only too fast") << 0.0 << 10.5 << 0.5 << 50 << 50 << true << false << 1.1 << 10 << "";
        QTest::newRow("slower, regardless of speed") << 0.0 << 10.5 << 0.5 << 50 << 30 << false << false << 1.1 << 10 << "50 km/h in 500 m /";
        QTest::newRow("no limit always warns") << 0.0 << 10.5 << 0.5 << 0 << 30 << true << false << 1.1 << 10 << "0 km/h in 500 m /";
        QTest::newRow("repaint never warns") << 0.0 << 10.5 << 0.5 << 50 << 80 << false << true << 1.1 << 10 << "";
        QTest::newRow("negative threshold") << 0.0 << 10.5 << 0.5 << 50 << 80 << false << false << -0.1 << 10 << "";
    }
    void warning()
    {
        QFETCH(double, course);
        QFETCH(double, bearing);
        QFETCH(double, km);
        QFETCH(int, limit);
        QFETCH(int, speed);
        QFETCH(bool, tooFast);
        QFETCH(bool, drawOnly);
        QFETCH(double, threshold);
        QFETCH(int, relative);
        QFETCH(QString, text);

        RadarCheckInput in = drivingAt(Munich, course, speed);
        in.onlyWarnIfTooFast = tooFast;
        in.drawOnly = drawOnly;
        in.warningThresholdKm = threshold;
        const RadarCheckResult r = RadarCheck({cameraAt(Munich, km, bearing, 1, limit)}, in);
        QVERIFY(r.examined);
        QCOMPARE(r.nearestIndex, 0);
        QVERIFY(std::abs(r.bearingToCamera - bearing) < 0.01);
        QCOMPARE(r.relativeBearing, relative);
        QCOMPARE(r.warn, !text.isEmpty());
        QCOMPARE(r.checkControlText, text);
    }

    // Every camera counts, the last of the list too, and the one it displaces
    // becomes the second nearest.
    void nearestAndSecond_data()
    {
        QTest::addColumn<QList<double>>("kms");
        QTest::addColumn<qsizetype>("nearest");
        QTest::addColumn<QString>("distance");
        QTest::addColumn<QString>("second");
        QTest::newRow("single camera") << QList<double>{0.8} << qsizetype(0) << "800 m" << "";
        QTest::newRow("increasing") << QList<double>{1, 2, 3} << qsizetype(0) << "1000 m" << "(..2nd in 2000 m !)";
        QTest::newRow("decreasing, nearest last") << QList<double>{3, 2, 1} << qsizetype(2) << "1000 m" << "(..2nd in 2000 m !)";
        QTest::newRow("mixed") << QList<double>{2.5, 4, 1.5, 3} << qsizetype(2) << "1500 m" << "(..2nd in 2500 m !)";
        QTest::newRow("on the car") << QList<double>{0.0, 5} << qsizetype(0) << "0 m" << "(..2nd in 5000 m !)";
    }
    void nearestAndSecond()
    {
        QFETCH(QList<double>, kms);
        QFETCH(qsizetype, nearest);
        QFETCH(QString, distance);
        QFETCH(QString, second);
        QList<RadarCamera> cameras;
        for (double km : kms)
            cameras << (km == 0 ? camera(Munich) : cameraAt(Munich, km, 45));
        const RadarCheckResult r = RadarCheck(cameras, drivingAt(Munich));
        QCOMPARE(r.nearestIndex, nearest);
        QCOMPARE(r.distanceText, distance);
        QCOMPARE(r.secondText, second);
    }

    void distancesInBothHemispheresAndUnits_data()
    {
        QTest::addColumn<double>("latitude");
        QTest::addColumn<double>("longitude");
        QTest::addColumn<bool>("miles");
        QTest::addColumn<QString>("distance");
        QTest::addColumn<QString>("unit");
        QTest::newRow("east") << 48.0 << 7.5 << false << "2000 m" << "km/h";
        QTest::newRow("west") << 48.0 << -7.5 << false << "2000 m" << "km/h";
        QTest::newRow("south-west") << -33.5 << -70.5 << false << "2000 m" << "km/h";
        QTest::newRow("across the zero meridian") << 51.5 << -0.01 << false << "2000 m" << "km/h";
        QTest::newRow("miles") << 48.0 << 7.5 << true << "1243 m" << "mph";
    }
    void distancesInBothHemispheresAndUnits()
    {
        QFETCH(double, latitude);
        QFETCH(double, longitude);
        QFETCH(bool, miles);
        QFETCH(QString, distance);
        QFETCH(QString, unit);
        const Point car{latitude, longitude};
        RadarCheckInput in = drivingAt(car);
        in.miles = miles;
        const RadarCamera c = cameraAt(car, 2, 95, 0, 30);
        const RadarCheckResult r = RadarCheck({c}, in);
        QCOMPARE(r.distanceText, distance);
        QCOMPARE(r.unitText, unit);
        QCOMPARE(r.kindText, QStringLiteral("Ampel"));
        QVERIFY(r.showAmpel());
        QCOMPARE(r.limitText, QStringLiteral("30"));
    }

    void camerasWithinTheMapScale()
    {
        RadarCheckInput in = drivingAt(Munich);
        in.mapScaleKm = 2.5;
        const QList<RadarCamera> cameras{cameraAt(Munich, 3, 0), cameraAt(Munich, 1, 180), cameraAt(Munich, 2, 270)};
        const RadarCheckResult r = RadarCheck(cameras, in);
        QCOMPARE(r.onMap, (QList<qsizetype>{1, 2}));
        QCOMPARE(r.kindText, QStringLiteral("Street"));
        QVERIFY(!r.showAmpel());
    }

    void warningOffExaminesNothing()
    {
        RadarCheckInput in = drivingAt(Munich);
        in.warningOn = false;
        in.mapScaleKm = 10;
        const RadarCheckResult r = RadarCheck({cameraAt(Munich, 0.3, 0)}, in);
        QVERIFY(!r.examined);
        QVERIFY(!r.warn);
        QCOMPARE(r.nearestIndex, -1);
        QVERIFY(r.onMap.isEmpty());
        QVERIFY(r.distanceText.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestRadarCheck)
#include "tst_radarcheck.moc"
