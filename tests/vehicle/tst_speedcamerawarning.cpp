// The speed camera warning on virtual time: position frames decoded as the bus
// delivers them, driving along a line toward a camera.
#include "RadarFixture.h"
#include "RecordingSink.h"
#include "TestSupport.h"

#include "core/StartupSequence.h"
#include "core/StatusLog.h"
#include "ibus/BusOptions.h"
#include "ibus/IbusSender.h"
#include "ibus/VehicleHooks.h"
#include "ibus/VehicleMessages.h"
#include "ibus/VehicleState.h"
#include "vehicle/SpeedCameraWarning.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace zarn;
using radarfixture::Point;

namespace {
const Point Start{48.15, 11.58};
const QByteArray CheckControlHead = test::hexBytes("30");

// The camera 3 km north of the start.
const Point Camera = radarfixture::destination(Start, 3.0, 0);

struct Car : VehicleHooks {
    test::VirtualTime time;
    StatusLog log;
    BusOptions options;
    test::RecordingSink sink;
    IbusSender sender{sink, log, options};
    VehicleState state;
    VehicleMessages messages{state, log, options, nullptr, this};
    SpeedCameraWarning warning{state, sender, log, options};
    double kmNorth = 0; // from Start

    Car(qint32 limit = 50, qint32 kind = 1)
    {
        RadarCameraList list;
        list.available = true;
        list.cameras << radarCameraFromRecord(radarfixture::record(Camera.latitude, Camera.longitude, kind, limit).constData());
        // Far away: always second, never the one ahead.
        list.cameras << radarCameraFromRecord(radarfixture::record(49.5, 12.5, 1, 80).constData());
        warning.setCameras(list);
        RadarSettings s;
        s.radarWarning = true;
        warning.setSettings(s);
    }

    bool radarWarningOn() const override { return warning.warningOn(); }
    bool seekartePaint() override { return warning.positionFix(); }
    void processEvents() override {}

    void speed(int kmh)
    {
        messages.DecodeSpeedFrame(QStringLiteral("8005BF18%1%2").arg(kmh / 2, 2, 16, QLatin1Char('0')).arg(30, 2, 16, QLatin1Char('0')));
    }
    void fixAt(double km)
    {
        kmNorth = km;
        QVERIFY(messages.DecodePositionFrame(radarfixture::positionFrameText(radarfixture::destination(Start, km, 0))));
    }
    // Fixes every 200 m from here to km (either direction), 6 s apart.
    void driveTo(double km)
    {
        const double step = km > kmNorth ? 0.2 : -0.2;
        while (std::abs(km - kmNorth) > 1e-9) {
            time.advance(6000);
            fixAt(std::abs(km - kmNorth) < 0.2 ? km : kmNorth + step);
        }
    }
    QStringList checkControlTexts() const
    {
        // 30 len 80 1A 37 10 text checksum
        QStringList texts;
        for (const QByteArray& f : sink.frames)
            if (f.startsWith(CheckControlHead) && f.mid(2, 4) == test::hexBytes("801A3710"))
                texts << QString::fromLatin1(f.mid(6, f.size() - 7));
        return texts;
    }
};
// "50 km/h in 1000 m /" for a camera about that far ahead: positions on the bus are
// good to a few metres.
bool announces(const QString& text, int limit, int metres)
{
    static const QRegularExpression form(QStringLiteral("^(\\d+) km/h in (\\d+) m [/\\\\]$"));
    const auto m = form.match(text);
    return m.hasMatch() && m.captured(1).toInt() == limit && std::abs(m.captured(2).toInt() - metres) <= 3;
}
} // namespace

class TestSpeedCameraWarning : public QObject {
    Q_OBJECT
private slots:
    void checkControlTextOncePerApproach_data()
    {
        QTest::addColumn<bool>("warningOn");
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("limit");
        QTest::addColumn<bool>("onlyTooFast");
        QTest::addColumn<int>("texts");
        QTest::newRow("too fast") << true << 100 << 50 << true << 1;
        QTest::newRow("below the limit, only if too fast") << true << 40 << 50 << true << 0;
        QTest::newRow("at the limit, only if too fast") << true << 50 << 50 << true << 0;
        QTest::newRow("below the limit, regardless of speed") << true << 40 << 50 << false << 1;
        QTest::newRow("no limit given warns even if not too fast") << true << 40 << 0 << true << 1;
        QTest::newRow("warning off") << false << 100 << 50 << false << 0;
    }
    void checkControlTextOncePerApproach()
    {
        QFETCH(bool, warningOn);
        QFETCH(int, speed);
        QFETCH(int, limit);
        QFETCH(bool, onlyTooFast);
        QFETCH(int, texts);
        Car car(limit);
        RadarSettings s = car.warning.settings();
        s.radarWarning = warningOn;
        s.radarOnlyWarnIfTooFast = onlyTooFast;
        car.warning.setSettings(s);
        QSignalSpy alerts(&car.warning, &SpeedCameraWarning::alertShown);

        car.speed(speed);
        car.fixAt(0);
        car.driveTo(2.0); // 1000 m before the camera, then every 200 m to 200 m
        car.driveTo(2.8);
        car.driveTo(4.0); // past it
        const QStringList sent = car.checkControlTexts();
        QVERIFY2(sent.size() == texts, qPrintable(sent.join(" | ")));
        if (texts == 0) {
            QCOMPARE(alerts.size(), 0);
            return;
        }
        // Announced at the first fix within 1.1 km, 1000 m ahead, straight on.
        QVERIFY2(announces(sent.first(), limit, 1000), qPrintable(sent.first()));
        // The sign shows each of the five fixes inside the zone.
        QCOMPARE(alerts.size(), 5);
        QVERIFY(announces(QStringLiteral("50 km/h in ") + alerts.last().at(1).toString() + QStringLiteral(" /"), 50, 200));
    }

    void leavingAndReapproachingWarnsAgain()
    {
        Car car;
        car.speed(100);
        car.fixAt(0);
        car.driveTo(2.4);
        QCOMPARE(car.checkControlTexts().size(), 1);
        car.driveTo(1.0); // turned round: the camera is behind, then out of range
        car.driveTo(2.6);
        QCOMPARE(car.checkControlTexts().size(), 2);
        // Slowing down inside the zone and speeding up again is the same approach.
        RadarSettings s = car.warning.settings();
        s.radarOnlyWarnIfTooFast = true;
        car.warning.setSettings(s);
        car.speed(30);
        car.driveTo(2.8);
        car.speed(100);
        car.driveTo(2.9);
        QCOMPARE(car.checkControlTexts().size(), 2);
        // Switched off and on again: the camera ahead is announced again.
        s.radarWarning = false;
        car.warning.setSettings(s);
        car.fixAt(2.93);
        s.radarWarning = true;
        car.warning.setSettings(s);
        car.fixAt(2.96);
        QCOMPARE(car.checkControlTexts().size(), 3);
    }

    void anotherCameraAheadIsAnotherApproach()
    {
        Car car;
        RadarCameraList list;
        list.available = true;
        for (double km : {2.0, 2.7})
            list.cameras << radarCameraFromRecord(
                radarfixture::record(radarfixture::destination(Start, km, 0).latitude, Start.longitude, 1, 50).constData());
        car.warning.setCameras(list);
        car.speed(100);
        car.fixAt(0);
        car.driveTo(3.0);
        const QStringList sent = car.checkControlTexts();
        QCOMPARE(sent.size(), 2);
        QVERIFY2(announces(sent.first(), 50, 1000), qPrintable(sent.first()));
        QVERIFY2(announces(sent.last(), 50, 300), qPrintable(sent.last()));
    }

    void busyLinkTriesAtTheNextFix()
    {
        Car car;
        car.speed(100);
        car.fixAt(0);
        car.driveTo(1.8);
        car.sink.busy = true;
        car.driveTo(2.0);
        QCOMPARE(car.checkControlTexts().size(), 0);
        car.sink.busy = false;
        car.driveTo(2.4);
        const QStringList sent = car.checkControlTexts();
        QCOMPARE(sent.size(), 1);
        QVERIFY2(announces(sent.first(), 50, 800), qPrintable(sent.first()));
    }

    void acousticSignal_data()
    {
        QTest::addColumn<bool>("acoustic");
        QTest::addColumn<bool>("fileExists");
        QTest::addColumn<int>("sounds");
        QTest::newRow("on") << true << true << 1;
        QTest::newRow("on, file missing") << true << false << 0;
        QTest::newRow("off") << false << true << 0;
    }
    void acousticSignal()
    {
        QFETCH(bool, acoustic);
        QFETCH(bool, fileExists);
        QFETCH(int, sounds);
        QTemporaryDir dir;
        const QString wav = dir.filePath(QStringLiteral("radar.wav"));
        if (fileExists)
            test::writeAll(wav, "RIFF");
        Car car;
        RadarSettings s = car.warning.settings();
        s.radarAcousticSignal = acoustic;
        s.radarsound = wav;
        car.warning.setSettings(s);
        QSignalSpy played(&car.warning, &SpeedCameraWarning::soundRequested);
        car.speed(100);
        car.fixAt(0);
        car.driveTo(2.8);
        QCOMPARE(played.size(), sounds);
        if (sounds)
            QCOMPARE(played.first().first().toString(), wav);
        // The cluster is told either way.
        QCOMPARE(car.checkControlTexts().size(), 1);
    }

    void alertSignHidesFiveSecondsAfterTheLastWarning()
    {
        Car car;
        car.log.setTimerTraceEnabled(true);
        QSignalSpy hidden(&car.warning, &SpeedCameraWarning::alertHidden);
        car.speed(100);
        car.fixAt(1.7);
        car.fixAt(2.0); // warns
        car.time.advance(4000);
        car.fixAt(2.1); // warns again: the 5 s start over
        car.time.advance(4999);
        QCOMPARE(hidden.size(), 0);
        car.time.advance(1);
        QCOMPARE(hidden.size(), 1);
        car.time.advance(20000);
        QCOMPARE(hidden.size(), 1);
        QVERIFY(test::texts(car.log).contains(QStringLiteral("$$$ Timer - AlertDisappearTimerTimer")));
    }

    void labelsFollowEveryCheck()
    {
        Car car(50, 0);
        QSignalSpy checks(&car.warning, &SpeedCameraWarning::checked);
        car.speed(40);
        car.fixAt(0);
        car.fixAt(0.5);
        QCOMPARE(checks.size(), 2);
        const auto result = checks.last().first().value<RadarCheckResult>();
        QCOMPARE(result.limitText, QStringLiteral("50"));
        QCOMPARE(result.distanceText, QStringLiteral("2500 m"));
        QVERIFY(result.showAmpel());
        QVERIFY(result.secondText.startsWith(QStringLiteral("(..2nd in ")));
    }

    void startupStepLoadsRadarBin_data()
    {
        QTest::addColumn<bool>("present");
        QTest::newRow("radar.bin present") << true;
        QTest::newRow("no radar.bin") << false;
    }
    void startupStepLoadsRadarBin()
    {
        QFETCH(bool, present);
        QTemporaryDir home;
        if (present)
            QVERIFY(radarfixture::write(home.filePath(QStringLiteral("radar.bin")),
                                        radarfixture::record(Camera.latitude, Camera.longitude, 1, 50)
                                            + radarfixture::record(48.0, 11.0, 0, 0)));
        Car car;
        car.warning.setCameras({});
        QSignalSpy loaded(&car.warning, &SpeedCameraWarning::camerasLoaded);
        StartupSequence startup;
        car.warning.registerStartup(startup, home.path() + QLatin1Char('/'));
        QCOMPARE(startup.names(), QStringList{QStringLiteral("radar.bin")});
        startup.run({});
        QCOMPARE(loaded.size(), 1);
        QCOMPARE(loaded.first().first().toBool(), present);
        QCOMPARE(car.warning.RadarCount(), present ? 2 : 0);
        QCOMPARE(car.warning.warningOn(), present);

        // Without the file no fix is checked, whatever the setting says.
        QSignalSpy checks(&car.warning, &SpeedCameraWarning::checked);
        car.speed(100);
        car.fixAt(2.5);
        QCOMPARE(checks.size(), present ? 1 : 0);
    }

    // The radar page's items: what each changes, whether it is saved at once and what
    // goes to the cluster.
    void pageItems_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("save");
        QTest::addColumn<QString>("cluster"); // empty: nothing sent
        QTest::newRow("warning off") << "BMWpanel92" << "Radarwarning now OFF" << true << "Radar off";
        QTest::newRow("only if too fast") << "BMWpanel93" << "Only warn if too fast" << false << "";
        QTest::newRow("threshold +") << "BMWpanel97" << " Warning Threshold is now 1200 m" << true << "";
        QTest::newRow("threshold -") << "BMWPanel96" << " Warning Threshold is now 1000 m" << true << "";
        QTest::newRow("sound on") << "BMWpanel108" << "Sound=ON" << false << "Radar sound on";
        QTest::newRow("scale up") << "BMWpanel105" << "5 km" << false << "";
        QTest::newRow("scale down") << "MapScaleDown" << "2 km" << false << "";
    }
    void pageItems()
    {
        QFETCH(QString, item);
        QFETCH(QString, caption);
        QFETCH(bool, save);
        QFETCH(QString, cluster);
        Car car;
        QSignalSpy changed(&car.warning, &SpeedCameraWarning::settingsChanged);
        QSignalSpy drawn(&car.warning, &SpeedCameraWarning::mapDrawn);
        SpeedCameraWarning& w = car.warning;
        const QHash<QString, std::function<void()>> clicks{
            {"BMWpanel92", [&w] { w.BMWpanel92Click(QStringLiteral("Radar")); }},
            {"BMWpanel93", [&w] { w.BMWpanel93Click(); }},
            {"BMWpanel97", [&w] { w.BMWpanel97Click(); }},
            {"BMWPanel96", [&w] { w.BMWPanel96Click(); }},
            {"BMWpanel108", [&w] { w.BMWpanel108Click(); }},
            {"BMWpanel105", [&w] { w.BMWpanel105Click(); }},
            {"MapScaleDown", [&w] { w.MapScaleDown(); }},
        };
        clicks.value(item)();
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.first().at(1).toBool(), save);
        const RadarSettings& s = w.settings();
        const QStringList shown{s.radarWarningCaption(), s.radarTooFastCaption(), s.warningThresholdLabel(),
                                s.radarSoundCaption(), s.radarScaleCaption()};
        QVERIFY2(shown.contains(caption), qPrintable(shown.join(" | ")));
        if (item.contains(QLatin1String("105")) || item == QLatin1String("MapScaleDown"))
            QCOMPARE(drawn.size(), 1); // the map follows the new scale at once
        QString sent;
        for (const QByteArray& f : car.sink.frames)
            sent += QString::fromLatin1(f);
        QCOMPARE(cluster.isEmpty(), car.sink.frames.isEmpty());
        if (!cluster.isEmpty())
            QVERIFY2(sent.contains(cluster), qPrintable(sent));
    }

    void warningToggleSendsNothingWhileTheLinkIsBusy()
    {
        Car car;
        car.sink.busy = true;
        car.warning.BMWpanel92Click(QStringLiteral("Radar"));
        QCOMPARE(car.sink.refused, 0);
        QVERIFY(!car.warning.warningOn());
    }

    // Ten steps down and up again land on the same threshold, not a long fraction.
    void thresholdStepsDoNotDrift()
    {
        Car car;
        for (int i = 0; i < 15; ++i)
            car.warning.BMWPanel96Click();
        QCOMPARE(car.warning.settings().warningThresholdKm, -0.4);
        QCOMPARE(car.warning.settings().warningThresholdLabel(), QStringLiteral(" Warning Threshold is now -400 m"));
        for (int i = 0; i < 15; ++i)
            car.warning.BMWpanel97Click();
        QCOMPARE(car.warning.settings().warningThresholdKm, 1.1);
    }

    // A draw-only check never warns, even with the camera ahead inside the threshold.
    void drawOnlyNeverWarns()
    {
        Car car;
        car.speed(100);
        car.fixAt(2.5);
        car.sink.frames.clear();
        QSignalSpy alerts(&car.warning, &SpeedCameraWarning::alertShown);
        QVERIFY(car.warning.RadarCheck(true));
        QCOMPARE(alerts.size(), 0);
        QVERIFY(car.checkControlTexts().isEmpty());
        QVERIFY(car.warning.lastResult().nearest < 1.1);
    }
};

QTEST_GUILESS_MAIN(TestSpeedCameraWarning)
#include "tst_speedcamerawarning.moc"
