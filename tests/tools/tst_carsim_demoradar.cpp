// The demo home's radar.bin: the simulated drive meets its cameras as the program's
// check sees them.
#include "carsim/DemoHome.h"
#include "carsim/DemoRadar.h"
#include "carsim/Route.h"
#include "core/Geodesy.h"
#include "vehicle/RadarCheck.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace zarn;
using namespace zarn::carsim;

namespace {
PositionFix fixAt(GeoPoint p)
{
    PositionFix fix;
    fix.latDeg = int(std::trunc(p.latitude));
    fix.latMin = (p.latitude - fix.latDeg) * 60.0;
    fix.lonDeg = int(std::trunc(p.longitude));
    fix.lonMin = (p.longitude - fix.lonDeg) * 60.0;
    return fix;
}

double westRadians(const PositionFix& f)
{
    return -(f.lonDeg * 60.0 + f.lonMin) * RadiansPerArcMinute;
}
} // namespace

class TestCarsimDemoRadar : public QObject {
    Q_OBJECT
private slots:
    void theDriveOutMeetsTheCamerasAhead()
    {
        QList<RadarCamera> cameras;
        const QByteArray bin = radarBin(demoCameras(munichRoute()));
        QCOMPARE(bin.size(), 5 * 24);
        for (qsizetype i = 0; i < bin.size(); i += 24)
            cameras << radarCameraFromRecord(bin.constData() + i);

        // The streets once forward, a fix every 100 m, as the navigation reports them.
        Route route(munichRoute());
        QSet<qsizetype> warned;
        QSet<QString> kinds;
        PositionFix last = fixAt(route.position());
        for (int streets = 0; streets < 5;) {
            if (route.advance(100))
                ++streets;
            const PositionFix fix = fixAt(route.position());
            RadarCheckInput in;
            in.fix = fix;
            in.courseOverGround = RadToDeg360(TrueCourse(westRadians(fix), Nav2Rad_Angle(fix.latDeg, u"N", fix.latMin),
                                                         westRadians(last), Nav2Rad_Angle(last.latDeg, u"N", last.latMin)));
            in.currentSpeed = 50;
            in.warningOn = true;
            in.warningThresholdKm = 1.1;
            last = fix;
            const RadarCheckResult r = RadarCheck(cameras, in);
            if (r.warn) {
                warned << r.nearestIndex;
                kinds << r.kindText;
            }
        }
        QVERIFY2(warned.size() >= 3, qPrintable(QString::number(warned.size())));
        QVERIFY(kinds.contains(QStringLiteral("Ampel")));
        QVERIFY(kinds.contains(QStringLiteral("Street")));
        // The camera behind the start never lies ahead on the way out.
        QVERIFY(!warned.contains(0));
    }

    void demoHomeGetsRadarBinAndTheWarningOn()
    {
        QTemporaryDir dir;
        zarn::test::writeAll(dir.filePath(QStringLiteral("Zarn.ini")), "[Pathes]\nmp3=/music\n");
        QString error;
        QVERIFY2(prepareDemoHome(dir.path(), QStringLiteral("/tmp/ttyCAR"), &error), qPrintable(error));
        QCOMPARE(QFile(dir.filePath(QStringLiteral("radar.bin"))).size(), 5 * 24);
        const QByteArray ini = zarn::test::readAll(dir.filePath(QStringLiteral("Zarn.ini")));
        QVERIFY(ini.contains("[Radarwarning]\nglobal_radarwarning=1\n"));
        QVERIFY(ini.contains("mp3=/music"));
    }
};

QTEST_GUILESS_MAIN(TestCarsimDemoRadar)
#include "tst_carsim_demoradar.moc"
