#include "carsim/CarFrames.h"
#include "carsim/DemoHome.h"
#include "carsim/Hex.h"
#include "carsim/Keyboard.h"
#include "carsim/Replay.h"
#include "carsim/Route.h"
#include "carsim/Scenario.h"
#include "TestSupport.h"

#include <QDir>
#include <QTest>

using namespace zarn::carsim;
using Kind = ScenarioStep::Kind;

Q_DECLARE_METATYPE(ScenarioStep::Kind)

namespace {
QString replayShape(const Replay& r)
{
    QStringList bursts;
    for (const ReplayBurst& b : r.bursts()) {
        QStringList frames;
        for (const QByteArray& f : b.frames)
            frames << hexString(f);
        bursts << QStringLiteral("%1@%2:%3").arg(b.line).arg(b.atUs).arg(frames.join(QLatin1Char('+')));
    }
    return bursts.join(QLatin1String(" | "));
}
} // namespace

class TestCarsimScripts : public QObject {
    Q_OBJECT
private slots:
    void scenarioLines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<qint64>("atMs");
        QTest::addColumn<QString>("word");
        QTest::addColumn<int>("number");
        QTest::addColumn<qint64>("durationMs");
        QTest::addColumn<QString>("frames");
        QTest::addRow("knob right 3") << "2.5 knob right 3" << Kind::Knob << 2500LL << "" << 3 << 0LL << "";
        QTest::addRow("knob left, one step") << "1 knob left" << Kind::Knob << 1000LL << "" << 1 << 0LL << "";
        QTest::addRow("knob press") << "0 knob press" << Kind::Press << 0LL << "knob press" << 0 << 0LL << "";
        QTest::addRow("steering R/T") << "0 wheel rt" << Kind::Press << 0LL << "wheel rt" << 0 << 0LL << "";
        QTest::addRow("FM button") << "0 button fm" << Kind::Press << 0LL << "button fm" << 0 << 0LL << "";
        QTest::addRow("source tape") << "3.0 source tape" << Kind::Source << 3000LL << "tape" << 0 << 0LL << "";
        QTest::addRow("phone") << "0 phone handsfree" << Kind::Phone << 0LL << "handsfree" << 0x31 << 0LL << "";
        QTest::addRow("raw frame") << "4.0 frame 68 03 18 01 72" << Kind::Frames << 4000LL << "" << 0 << 0LL
                                   << "68 03 18 01 72";
        QTest::addRow("send text gets length and checksum") << "0 send 80 XX BF 18 32 1E" << Kind::Frames << 0LL << ""
                                                            << 0 << 0LL << "80 05 BF 18 32 1E 0E";
        QTest::addRow("burst") << "0 burst 68 03 18 01 72 / 80 04 FF 57 01 2D" << Kind::Frames << 0LL << "" << 0 << 0LL
                               << "68 03 18 01 72+80 04 FF 57 01 2D";
        QTest::addRow("wait-for with timeout") << "5.0 wait-for 18 04 FF 02 00 E1 timeout 5" << Kind::WaitFor << 5000LL
                                               << "" << 0 << 5000LL << "18 04 FF 02 00 E1";
        QTest::addRow("wait-for, default timeout") << "0 wait-for 1804FF" << Kind::WaitFor << 0LL << "" << 0
                                                   << Scenario::DefaultWaitTimeoutMs << "18 04 FF";
        QTest::addRow("wait-for the greeting") << "0 wait-for greeting timeout 60" << Kind::WaitFor << 0LL << "greeting"
                                               << 0 << 60000LL << "";
        QTest::addRow("expect within") << "8 expect 68 07 80 23 within 1.5" << Kind::Expect << 8000LL << "" << 0
                                       << 1500LL << "68 07 80 23";
        QTest::addRow("expect-none") << "8 expect-none BF 03" << Kind::ExpectNone << 8000LL << "" << 0
                                     << Scenario::DefaultExpectWindowMs << "BF 03";
        QTest::addRow("silence") << "6.0 silence 6" << Kind::Silence << 6000LL << "" << 0 << 6000LL << "";
        QTest::addRow("vanish") << "0 vanish 2.5" << Kind::Vanish << 0LL << "" << 0 << 2500LL << "";
        QTest::addRow("broken with a frame") << "0 broken checksum 68 03 18 01 72" << Kind::Broken << 0LL << "checksum"
                                             << 0 << 0LL << "68 03 18 01 72";
        QTest::addRow("garbage") << "0 garbage 40" << Kind::Garbage << 0LL << "" << 40 << 0LL << "";
        QTest::addRow("street keeps its blanks") << "0 street  \"Brienner  Straße\" " << Kind::Street << 0LL
                                                 << "Brienner  Straße" << 0 << 0LL << "";
        QTest::addRow("drive route") << "0 drive route" << Kind::Drive << 0LL << "" << -1 << 0LL << "";
        QTest::addRow("comment after the event") << "1 exit   # done" << Kind::Exit << 1000LL << "" << 0 << 0LL << "";
    }
    void scenarioLines()
    {
        QFETCH(QString, line);
        QFETCH(Kind, kind);
        QFETCH(qint64, atMs);
        QFETCH(QString, word);
        QFETCH(int, number);
        QFETCH(qint64, durationMs);
        QFETCH(QString, frames);
        const Scenario s = Scenario::parse(line);
        QVERIFY2(s.ok(), qPrintable(s.error()));
        QCOMPARE(s.steps().size(), 1);
        const ScenarioStep& step = s.steps().first();
        QCOMPARE(step.kind, kind);
        QCOMPARE(step.atMs, atMs);
        QCOMPARE(step.word, word);
        QCOMPARE(step.number, number);
        QCOMPARE(step.durationMs, durationMs);
        QStringList hexFrames;
        for (const QByteArray& f : step.frames)
            hexFrames << hexString(f);
        QCOMPARE(hexFrames.join(QLatin1Char('+')), frames);
    }

    void scenarioTimesAddUpAndSkipBlankLines()
    {
        const Scenario s = Scenario::parse(QStringLiteral("# header\n\n1.5 knob right\n+0.5 knob left\n  \n+2 exit\n"));
        QVERIFY(s.ok());
        QList<qint64> times;
        QList<int> lines;
        for (const ScenarioStep& step : s.steps()) {
            times << step.atMs;
            lines << step.line;
        }
        QCOMPARE(times, (QList<qint64>{1500, 2000, 4000}));
        QCOMPARE(lines, (QList<int>{3, 4, 6}));
    }

    void scenarioErrorsNameTheLine_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("message");
        QTest::addRow("unknown event") << "1 knob right\n2 knbo left\n" << 2 << "unknown event 'knbo'";
        QTest::addRow("time goes back") << "2 knob right\n\n1 knob left\n" << 3 << "time 1 is before the previous line's 2";
        QTest::addRow("not a time") << "soon knob right" << 1 << "'soon' is not a time in seconds";
        QTest::addRow("too many steps") << "0 knob right 12" << 1 << "steps '12' is not a whole number from 1 to 9";
        QTest::addRow("unknown button") << "0 button xyz" << 1 << "button must be one of: 1, 2, 3, 4, 5, 6, fm, am, mode, tp, radnav, power, tone, menu, clock";
        QTest::addRow("bad hex") << "# c\n0 frame 68 0G" << 2 << "'0G' is not hexadecimal";
        QTest::addRow("odd hex") << "0 wait-for 680" << 1 << "'680' is not whole hexadecimal pairs";
        QTest::addRow("timeout not last") << "0 wait-for 68 timeout 5 03" << 1
                                          << "'timeout' takes one number of seconds at the end of the line";
        QTest::addRow("greeting with bytes") << "0 wait-for greeting 68" << 1 << "wait-for greeting takes only 'timeout S'";
        QTest::addRow("say without text") << "0 say" << 1 << "'say' needs a text";
        QTest::addRow("source unknown") << "0 source dvd" << 1 << "source must be one of: radio, tape, tape-c, aux, cd";
        QTest::addRow("time only") << "3" << 1 << "event missing after the time";
    }
    void scenarioErrorsNameTheLine()
    {
        QFETCH(QString, text);
        QFETCH(int, line);
        QFETCH(QString, message);
        const Scenario s = Scenario::parse(text);
        QVERIFY(!s.ok());
        QCOMPARE(s.errorLine(), line);
        QCOMPARE(s.error(), QStringLiteral("line %1: %2").arg(line).arg(message));
        QVERIFY(s.steps().isEmpty());
    }

    void shippedScenariosParse_data()
    {
        QTest::addColumn<QString>("path");
        const QDir dir(zarn::test::sourcePath(QStringLiteral("tools/carsim/scenarios")));
        const QStringList files = dir.entryList({QStringLiteral("*.scn")}, QDir::Files);
        QVERIFY(files.contains(QStringLiteral("demo.scn")));
        for (const QString& f : files)
            QTest::addRow("%s", qPrintable(f)) << dir.filePath(f);
    }
    void shippedScenariosParse()
    {
        QFETCH(QString, path);
        const Scenario s = Scenario::load(path);
        QVERIFY2(s.ok(), qPrintable(s.error()));
        QVERIFY(!s.steps().isEmpty());
    }

    void replayGroupsCloseFrames_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shape");
        QTest::addRow("separate frames") << "0.1 68 03 18 01 72\n0.5 80 04 FF 57 01 2D\n"
                                         << "1@100000:68 03 18 01 72 | 2@500000:80 04 FF 57 01 2D";
        QTest::addRow("1 ms apart: one burst") << "0.500 80 04 FF 57 01 2D\n0.501 68 03 18 01 72\n"
                                               << "1@500000:80 04 FF 57 01 2D+68 03 18 01 72";
        QTest::addRow("chain of close frames") << "1.0000 68031801 72\n1.0015 68 03 18 01 72\n1.0030 68 03 18 01 72\n"
                                               << "1@1000000:68 03 18 01 72+68 03 18 01 72+68 03 18 01 72";
        QTest::addRow("2 ms apart: two bursts") << "1.000 68 03 18 01 72\n1.002 68 03 18 01 72\n"
                                                << "1@1000000:68 03 18 01 72 | 2@1002000:68 03 18 01 72";
        QTest::addRow("comments, blank lines, broken frames as written")
            << "# recorded\n\n0.2 18 04 FF 02 00 E0  # wrong checksum\n   \n"
            << "3@200000:18 04 FF 02 00 E0";
    }
    void replayGroupsCloseFrames()
    {
        QFETCH(QString, text);
        QFETCH(QString, shape);
        const Replay r = Replay::parse(text);
        QVERIFY2(r.ok(), qPrintable(r.error()));
        QCOMPARE(replayShape(r), shape);
    }

    void replayErrorsNameTheLine_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("error");
        QTest::addRow("bad time") << "0.1 68 03\nx 68 03" << "line 2: 'x' is not a time in seconds";
        QTest::addRow("no bytes") << "# c\n0.5" << "line 2: frame bytes missing";
        QTest::addRow("bad byte") << "0.5 68 3" << "line 1: '3' is not whole hexadecimal pairs";
        QTest::addRow("time goes back") << "1 68 03\n0.5 68 03" << "line 2: time 0.5 is before the previous frame's";
    }
    void replayErrorsNameTheLine()
    {
        QFETCH(QString, text);
        QFETCH(QString, error);
        const Replay r = Replay::parse(text);
        QVERIFY(!r.ok());
        QCOMPARE(r.error(), error);
    }

    void shippedReplayParses()
    {
        const Replay r = Replay::load(zarn::test::sourcePath(QStringLiteral("tools/carsim/scenarios/sample.replay")));
        QVERIFY2(r.ok(), qPrintable(r.error()));
        QCOMPARE(r.bursts().size(), 5);
    }

    void iniValueSetKeepsTheRest_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addRow("empty file") << "" << "[COM-Port]\nDevicePath=/tmp/ttyCAR\n";
        QTest::addRow("key replaced")
            << "[COM-Port]\nCBPort.ItemIndex=2\ndevicepath=/dev/ttyUSB0\n[Other]\nA=1\n"
            << "[COM-Port]\nCBPort.ItemIndex=2\nDevicePath=/tmp/ttyCAR\n[Other]\nA=1\n";
        QTest::addRow("key added to its section")
            << "[COM-Port]\nCBPort.ItemIndex=2\n\n[Other]\nDevicePath=x\n"
            << "[COM-Port]\nCBPort.ItemIndex=2\nDevicePath=/tmp/ttyCAR\n\n[Other]\nDevicePath=x\n";
        QTest::addRow("section added") << "[Other]\nA=1" << "[Other]\nA=1\n[COM-Port]\nDevicePath=/tmp/ttyCAR\n";
    }
    void iniValueSetKeepsTheRest()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QCOMPARE(setIniValue(before, QStringLiteral("COM-Port"), QStringLiteral("DevicePath"), QStringLiteral("/tmp/ttyCAR")),
                 after);
    }

    void keysFromTerminalBytes()
    {
        QByteArray rest;
        QCOMPARE(Keyboard::keysOf("a\x1b[C\x1b[DS\r", &rest),
                 (QStringList{"a", "right", "left", "S", "enter"}));
        QVERIFY(rest.isEmpty());
        QCOMPARE(Keyboard::keysOf("k\x1b[", &rest), QStringList{"k"});
        QCOMPARE(rest, QByteArray("\x1b["));
    }

    void routeDrivesThereAndBack()
    {
        Route route(munichRoute());
        QStringList streets{route.street()};
        for (int i = 0; i < 100000 && streets.size() < 11; ++i) {
            const GeoPoint p = route.position();
            QVERIFY(p.latitude > 48.1 && p.latitude < 48.2);   // north
            QVERIFY(p.longitude > 11.5 && p.longitude < 11.6); // east
            if (route.advance(25))
                streets << route.street();
        }
        QCOMPARE(streets, (QStringList{"Brienner Straße", "Türkenstraße", "Georgenstraße", "Leopoldstraße",
                                       "Ungererstraße", "Ungererstraße", "Leopoldstraße", "Georgenstraße",
                                       "Türkenstraße", "Brienner Straße", "Brienner Straße"}));
        QCOMPARE(route.city(), QStringLiteral("München-Maxvorstadt"));
        // Streets are joined: the end of one is the start of the next.
        Route r2(munichRoute());
        r2.advance(r2.metresLeftOnStreet() - 0.01);
        const GeoPoint end = r2.position();
        r2.advance(1);
        QVERIFY(Route::distanceM(end, r2.position()) < 80);
    }
};

QTEST_GUILESS_MAIN(TestCarsimScripts)
#include "tst_carsim_scripts.moc"
