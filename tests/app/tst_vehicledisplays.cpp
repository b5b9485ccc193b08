// The car's values and the speed camera warning in the real main window, on a
// temporary home and virtual time, as frames arrive through the dispatcher.
#include "../vehicle/RadarFixture.h"

#include "app/MainWindow.h"
#include "ibus/ClockSetter.h"
#include "media/WavePlayer.h"
#include "ui/AlertSign.h"
#include "ui/Controls.h"
#include "ui/FocusNavigator.h"
#include "ui/SelectActions.h"
#include "ui/TmKnob.h"
#include "ui/Tcompass.h"
#include "ui/PlainPanel.h"
#include "ui/TBMWpanel.h"
#include "ui/ZarnWindow.h"
#include "TestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace zarn;
using radarfixture::Point;

namespace {
struct NoClock : ClockSetter {
    bool SetLocalTime(const QDateTime&) override { return false; }
};

const Point Start{48.15, 11.58};

// Records the cues instead of playing them.
struct CueLog : WavePlayer {
    QStringList played;
    bool play(const QString& path) override
    {
        played << path;
        return true;
    }
    void stop() override {}
};

// The paint events of every control, by name, with the first one's rectangle.
struct PaintLog : QObject {
    QStringList painted;
    QHash<QString, QRect> rects;
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Paint) {
            painted << o->objectName();
            rects.insert(o->objectName(), static_cast<QPaintEvent*>(e)->rect());
        }
        return false;
    }
};

using test::frame;

struct Program {
    test::VirtualTime time;
    NoClock clock;
    CueLog cues;
    QTemporaryDir home;
    std::unique_ptr<MainWindow> main;

    void start(const QByteArray& ini = {})
    {
        test::writeAll(home.filePath("Zarn.ini"), "[COM-Port]\nDevicePath=/nonexistent/ttyCAR\n" + ini);
        MainController::Environment env;
        env.arguments = QStringList{QStringLiteral("/opt/zarn/zarn")};
        env.appDir = home.path() + QLatin1Char('/');
        env.clockSetter = &clock;
        env.wavePlayer = &cues;
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
    QString focused() const
    {
        QWidget* f = main->navigator().focusedControl();
        return f ? f->objectName() : QString();
    }
    QByteArray ini() const { return test::readAll(home.filePath("Zarn.ini")); }
    // A camera 3 km north of the start, a red-light camera 2 km south, the warning on.
    void startWithCameras(const QByteArray& ini = {})
    {
        const Point camera = radarfixture::destination(Start, 3.0, 0);
        QVERIFY(radarfixture::write(home.filePath("radar.bin"),
                                    radarfixture::record(camera.latitude, camera.longitude, 1, 50)
                                        + radarfixture::record(Start.latitude - 0.02, Start.longitude, 0, 0)));
        start("[Radarwarning]\nglobal_radarwarning=1\n" + ini);
    }
    // The radar page on the screen, with the car's first fixes.
    void showRadarPage()
    {
        ZarnWindow& w = main->window();
        w.show();
        widget("offpanel")->hide(); // the hint that the car has the screen covers it all
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        feed(frame("80 05 BF 18 32 1E"));
        position(0);
        position(0.6);
        position(0.8); // the camera ahead is the nearest
        w.ShowPage(PageRadar); // the random list's read, 6 s after the start, showed the main menu
        QCoreApplication::processEvents();
    }
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

    // A fix repaints the map and the labels whose text changed; the compass only when
    // the needle moves.
    void radarFixRepaintsMapAndChangedLabels()
    {
        Program p;
        p.startWithCameras();
        p.showRadarPage();
        PaintLog paints;
        const QList<QWidget*> controls = p.main->window().findChildren<QWidget*>();
        for (QWidget* c : controls)
            c->installEventFilter(&paints);
        QStringList before;
        for (QWidget* c : controls)
            before << Controls::caption(c);

        auto* compass = static_cast<Tcompass*>(p.widget("compass1"));
        const int heading = compass->Heading();
        p.position(1.0); // straight on towards the camera
        QCoreApplication::processEvents();
        // Up, give or take the degree the truncated course and bearing may differ by;
        // the translucent compass repaints the picture behind it when the needle moves.
        QVERIFY2(compass->Heading() <= 1 || compass->Heading() == 359, qPrintable(QString::number(compass->Heading())));
        const bool needleMoved = compass->Heading() != heading;
        QCOMPARE(paints.painted.contains(QLatin1String("compass1")), needleMoved);
        QStringList changed;
        for (qsizetype i = 0; i < controls.size(); ++i)
            if (Controls::caption(controls[i]) != before[i])
                changed << controls[i]->objectName();
        QVERIFY(changed.contains(QLatin1String("RadarWarning_distance")));
        QVERIFY(paints.painted.contains(QLatin1String("seekarte")));
        QCOMPARE(paints.rects.value(QStringLiteral("seekarte")), p.widget("seekarte")->rect());
        for (const QString& name : paints.painted)
            QVERIFY2(name == QLatin1String("seekarte") || changed.contains(name) || (needleMoved && (name == QLatin1String("compass1") || name == QLatin1String("Image4"))),
                     qPrintable(name + QStringLiteral(" repainted; changed: ") + changed.join(QLatin1Char(' '))));

        // Past the camera: it is behind, the needle turns round.
        paints.painted.clear();
        p.position(4.0);
        QCoreApplication::processEvents();
        QVERIFY2(std::abs(compass->Heading() - 180) <= 1, qPrintable(QString::number(compass->Heading())));
        QVERIFY(paints.painted.contains(QLatin1String("compass1")));
    }

    // " Actions" shows the band with "Done !" focused; its items change the settings,
    // the saved ones at once; "Done !" brings the map back with the back item focused.
    void actionBand()
    {
        Program p;
        p.startWithCameras();
        p.showRadarPage();
        QVERIFY(Controls::click(p.widget("BMWpanel91")));
        QVERIFY(p.widget("radaractions")->isVisible());
        QVERIFY(!p.widget("seekartepanel")->isVisible());
        QCOMPARE(p.focused(), QStringLiteral("BMWpanel94"));
        // The knob walks the band only, the header items are out of the order.
        QStringList walk;
        for (int i = 0; i < 6; ++i) {
            p.main->navigator().TurnbottonrightClick();
            walk << p.focused();
        }
        QCOMPARE(walk, (QStringList{"BMWpanel92", "BMWpanel93", "BMWpanel97", "BMWPanel96", "BMWpanel122", "BMWpanel94"}));

        const auto press = [&p](const char* item) {
            p.widget(item)->setFocus();
            p.main->select().SelButton1Click();
        };
        press("BMWpanel97");
        QCOMPARE(static_cast<QLabel*>(p.widget("RadarSensitivitylabel"))->text(), QStringLiteral(" Warning Threshold is now 1200 m"));
        QVERIFY2(p.ini().contains("RadarSensitivitylabel=1.2"), p.ini().constData());
        press("BMWpanel93");
        QCOMPARE(p.caption("BMWpanel93"), QStringLiteral("Only warn if too fast"));
        QVERIFY(!p.ini().contains("Global_radarwarning_only_warn_if_too_fast=1"));
        press("BMWpanel92");
        QCOMPARE(p.caption("BMWpanel92"), QStringLiteral("Radarwarning now OFF"));
        QVERIFY(p.ini().contains("global_radarwarning=0"));
        QVERIFY(p.ini().contains("Global_radarwarning_only_warn_if_too_fast=1"));
        // The hot spot item ignores the press.
        press("BMWpanel122");
        QVERIFY(p.widget("radaractions")->isVisible());

        press("BMWpanel94");
        QVERIFY(!p.widget("radaractions")->isVisible());
        QVERIFY(p.widget("seekartepanel")->isVisible());
        QCOMPARE(p.focused(), QStringLiteral("BMWpanel90"));
        p.main->navigator().TurnbottonrightClick();
        QVERIFY(p.focused() != QLatin1String("BMWpanel90"));
    }

    // The knob in the scale item's adjust mode steps the scale; the knob picture shows
    // it and the next save stores it.
    void scaleByKnob()
    {
        Program p;
        p.startWithCameras();
        p.showRadarPage();
        auto* knob = static_cast<TmKnob*>(p.widget("mKnob1"));
        QVERIFY(!knob->isVisible());
        QCOMPARE(p.caption("BMWpanel105"), QStringLiteral("3 km"));
        p.widget("BMWpanel105")->setFocus();
        p.main->select().SelButton1Click(); // adjust mode on
        QVERIFY(knob->isVisible());
        p.main->navigator().TurnbottonrightClick();
        QCOMPARE(p.caption("BMWpanel105"), QStringLiteral("5 km"));
        QCOMPARE(knob->Position(), 5);
        p.main->navigator().TurnbottonleftClick();
        p.main->navigator().TurnbottonleftClick();
        QCOMPARE(p.caption("BMWpanel105"), QStringLiteral("2 km"));
        QCOMPARE(p.focused(), QStringLiteral("BMWpanel105"));
        p.main->select().SelButton1Click();
        QVERIFY(!knob->isVisible());
        QVERIFY(p.main->SaveSettings());
        QVERIFY2(p.ini().contains("BMWpanel105.tag=2"), p.ini().constData());
    }

    // The warning's sound plays once per approach; "Test sound" plays the field's file.
    void warningSoundAndTestSound()
    {
        Program p;
        const QString sound = p.home.filePath("radar.wav");
        test::writeAll(sound, "RIFF");
        p.startWithCameras("Global_radarwarning_acoutsicsignal=1\n[Pathes]\nRadarsound=" + sound.toUtf8() + "\n");
        p.feed(frame("80 05 BF 18 32 1E"));
        for (double km : {0.0, 1.0, 2.0, 2.2, 2.4})
            p.position(km);
        QCOMPARE(p.cues.played, QStringList{sound});

        auto* field = static_cast<QLineEdit*>(p.widget("RadarSoundEdit"));
        QCOMPARE(field->text(), sound);
        static_cast<QPushButton*>(p.widget("TestSoundButton"))->click();
        QCOMPARE(p.cues.played.size(), 2);
        field->setText(p.home.filePath("missing.wav"));
        static_cast<QPushButton*>(p.widget("TestSoundButton"))->click();
        QCOMPARE(p.cues.played.size(), 2);
    }
};

QTEST_MAIN(TestVehicleDisplays)
#include "tst_vehicledisplays.moc"
