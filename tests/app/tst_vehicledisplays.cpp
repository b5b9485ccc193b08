// The car's values and the speed camera warning in the real main window, on a
// temporary home and virtual time, as frames arrive through the dispatcher.
#include "../vehicle/RadarFixture.h"

#include "app/MainWindow.h"
#include "ibus/ClockSetter.h"
#include "ui/AlertSign.h"
#include "ui/PlainPanel.h"
#include "ui/TBMWpanel.h"
#include "ui/ZarnWindow.h"
#include "TestSupport.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

using namespace zarn;
using radarfixture::Point;

namespace {
struct NoClock : ClockSetter {
    bool SetLocalTime(const QDateTime&) override { return false; }
};

const Point Start{48.15, 11.58};

// Frame text with its checksum.
QString frame(QString hex)
{
    hex.remove(QLatin1Char(' '));
    int sum = 0;
    for (qsizetype i = 0; i + 1 < hex.size(); i += 2)
        sum ^= hex.mid(i, 2).toInt(nullptr, 16);
    return hex + QStringLiteral("%1").arg(sum, 2, 16, QLatin1Char('0')).toUpper();
}

struct Program {
    test::VirtualTime time;
    NoClock clock;
    QTemporaryDir home;
    std::unique_ptr<MainWindow> main;

    void start(const QByteArray& ini = {})
    {
        test::writeAll(home.filePath("Zarn.ini"), "[COM-Port]\nDevicePath=/nonexistent/ttyCAR\n" + ini);
        MainController::Environment env;
        env.arguments = QStringList{QStringLiteral("/opt/zarn/zarn")};
        env.appDir = home.path() + QLatin1Char('/');
        env.clockSetter = &clock;
        env.watchSleep = false;
        main = std::make_unique<MainWindow>(env);
        main->FormCreate();
    }
    void feed(const QString& frameText) { main->core().dispatcher().ProcessIbusText(test::blockText(frameText)); }
    void position(double kmNorth)
    {
        time.advance(6000);
        feed(radarfixture::positionFrameText(radarfixture::destination(Start, kmNorth, 0)));
    }
    QString caption(const char* name) const
    {
        if (auto* p = main->window().findChild<PlainPanel*>(QLatin1String(name)))
            return p->caption();
        if (auto* item = main->window().findChild<TBMWpanel*>(QLatin1String(name)))
            return item->BMW_supercaption();
        return QStringLiteral("<no %1>").arg(QLatin1String(name));
    }
    QWidget* widget(const char* name) const { return main->window().findChild<QWidget*>(QLatin1String(name)); }
};
} // namespace

class TestVehicleDisplays : public QObject {
    Q_OBJECT
private slots:
    void carValuesAppearInTheirControls()
    {
        Program p;
        p.start();
        QCOMPARE(p.caption("Speedo_Display"), QStringLiteral("xxx km/h "));
        QCOMPARE(p.caption("BMWpanel110"), QStringLiteral("4711"));
        // Places not reported yet keep their captions.
        QCOMPARE(p.caption("BMWpanel106"), QStringLiteral("city"));

        p.feed(frame("80 05 BF 18 32 1E"));
        QCOMPARE(p.caption("Speedo_Display"), QStringLiteral("100 km/h"));
        QCOMPARE(p.caption("Umin_Display"), QStringLiteral("3000 rpm"));
        p.feed(frame("80 0A BF 17 40 E2 01 00 00 00 00"));
        QCOMPARE(p.caption("BMWpanel110"), QStringLiteral("123456"));

        p.position(0);
        const QStringList fields{"48", "09", "00.0", "9.00000", "0011", "34", "48.0", "34.80000"};
        for (int i = 0; i < fields.size(); ++i)
            QCOMPARE(p.caption(qPrintable(QStringLiteral("Label%1").arg(54 + i))), fields[i]);

        // RUTESHEIM BEI STUTTG, then BAHNHOFSTR.; (the trailing ";" is dropped)
        p.feed(frame("7F 23 C8 A4 00 01 52 55 54 45 53 48 45 49 4D 20 42 45 49 20 53 54 55 54 54 47 00 00 00 00 00 00 00 00 00 00"));
        p.feed(frame("7F 23 C8 A4 00 02 42 41 48 4E 48 4F 46 53 54 52 2E 3B 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"));
        QCOMPARE(p.caption("BMWpanel106"), QStringLiteral("RUTESHEIM BEI STUTTG"));
        QCOMPARE(p.caption("BMWpanel107"), QStringLiteral("BAHNHOFSTR."));

        // A frame whose checksum fails changes nothing.
        p.feed(QStringLiteral("8005BF18501E00"));
        QCOMPARE(p.caption("Speedo_Display"), QStringLiteral("100 km/h"));

        // Without radar.bin the warning's indicator and menu item stay hidden.
        QVERIFY(p.widget("RadarIndicator")->isHidden());
        QVERIFY(p.widget("BMWpanel89")->isHidden());
    }

    // A frame repaints the controls whose text it changed, and no others.
    void onlyChangedControlsRepaint()
    {
        Program p;
        p.start("[Driverslog]\nrecord=0\n"); // business mode would ask again 8 s after the start
        ZarnWindow& w = p.main->window();
        w.show();
        w.ShowPage(PageRadar);
        p.widget("offpanel")->hide(); // the hint that the car has the screen covers it all
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        p.feed(frame("80 05 BF 18 32 1E"));
        p.position(0);
        w.ShowPage(PageRadar); // the random list's read, 6 s after the start, showed the main menu
        QCoreApplication::processEvents();

        struct Counter : QObject {
            QHash<QObject*, int> paints;
            bool eventFilter(QObject* o, QEvent* e) override
            {
                if (e->type() == QEvent::Paint)
                    ++paints[o];
                return false;
            }
        } counter;
        QWidget* speedo = p.widget("Speedo_Display");
        QWidget* rpm = p.widget("Umin_Display");
        QWidget* lat = p.widget("Label54");
        for (QWidget* c : {speedo, rpm, lat})
            c->installEventFilter(&counter);

        p.feed(frame("80 05 BF 18 32 1E")); // the same values
        p.position(0);
        QCoreApplication::processEvents();
        QCOMPARE(counter.paints.value(speedo), 0);
        QCOMPARE(counter.paints.value(lat), 0);

        p.feed(frame("80 05 BF 18 3C 1E")); // 120 km/h, same engine speed
        QTRY_VERIFY(counter.paints.value(speedo) > 0);
        QCOMPARE(counter.paints.value(rpm), 0);
        QCOMPARE(counter.paints.value(lat), 0);
    }

    void speedCameraWarningOnTheWindow()
    {
        Program p;
        const Point camera = radarfixture::destination(Start, 3.0, 0);
        QVERIFY(radarfixture::write(p.home.filePath("radar.bin"),
                                    radarfixture::record(camera.latitude, camera.longitude, 1, 50)
                                        + radarfixture::record(Start.latitude - 0.02, Start.longitude, 0, 0)));
        p.start("[Radarwarning]\nglobal_radarwarning=1\n");
        QVERIFY(!p.widget("RadarIndicator")->isHidden());
        QVERIFY(!p.widget("BMWpanel89")->isHidden());
        auto* alert = p.main->window().alertPanel();
        QVERIFY(alert && alert->isHidden());

        p.feed(frame("80 05 BF 18 32 1E"));
        p.position(0);
        p.position(1.0);
        QCOMPARE(p.caption("RadarWarning_limit"), QStringLiteral("50"));
        QCOMPARE(p.caption("RadarWarning_distance"), QStringLiteral("2000 m"));
        QVERIFY(p.caption("Second_RadarWarning_distance").startsWith(QStringLiteral("(..2nd in ")));
        QVERIFY(p.widget("ampel")->isHidden());
        QVERIFY(alert->isHidden());

        p.position(2.0);
        QVERIFY(!alert->isHidden());
        QCOMPARE(alert->limitText(), QStringLiteral("50"));
        QCOMPARE(alert->distanceText(), p.caption("RadarWarning_distance"));
        p.time.advance(4999);
        QVERIFY(!alert->isHidden());
        p.time.advance(1);
        QVERIFY(alert->isHidden());

        // Turned round: the red-light camera south of the start is the nearest again.
        p.position(0);
        p.position(-1.0);
        QVERIFY(!p.widget("ampel")->isHidden());
    }
};

QTEST_MAIN(TestVehicleDisplays)
#include "tst_vehicledisplays.moc"
