// zarn and the simulated car together: what the car sees on the bus (the simulator's
// frame lines and exit status) and what zarn makes of the car (its status lines).
//
// Every step waits for what it needs: the car's next event goes out once zarn has
// written the line that shows it took the last one, so a busy machine only makes a
// test slower. The time-outs only bound a failure.
#include "CarSimProcess.h"
#include "ZarnProcess.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QTest>
#include <QThread>

#include <algorithm>

using namespace zarn;

namespace {
constexpr int LineTimeoutMs = 30000;

struct Drive {
    test::ZarnProcess zarn;
    test::CarSimProcess car;
    int zarnExit = -1;

    // The car first (it writes zarn's home), then zarn; returns once zarn has greeted
    // on the bus, so nothing the car sends is lost to zarn's opening of the port.
    bool start(const QStringList& zarnArguments, const QStringList& carArguments = {},
               const QByteArray& iniFrom = {}, const QByteArray& iniTo = {})
    {
        if (!car.startLive(zarn.home(), carArguments))
            return false;
        if (!iniFrom.isEmpty())
            editIni(iniFrom, iniTo);
        return zarn.start(zarnArguments) && car.waitForGreeting();
    }
    // The simulator's verdict (0: no malformed frame, every check passed), then zarn's end.
    int finish()
    {
        const int rc = car.stop();
        zarnExit = zarn.terminate();
        return rc;
    }
    void editIni(const QByteArray& from, const QByteArray& to)
    {
        QFile f(zarn.home() + QStringLiteral("/Zarn.ini"));
        QByteArray content;
        if (f.open(QIODevice::ReadOnly))
            content = f.readAll();
        f.close();
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(content.replace(from, to));
    }

    // Waits for a status line containing text, after the one the last wait found.
    bool zarnSays(const QString& text, int timeoutMs = LineTimeoutMs)
    {
        QDeadlineTimer deadline(timeoutMs);
        for (;;) {
            const QStringList lines = zarn.statusTexts();
            for (; zarnAt < lines.size(); ++zarnAt)
                if (lines[zarnAt].contains(text)) {
                    ++zarnAt;
                    return true;
                }
            if (deadline.hasExpired() || !zarn.isRunning())
                return false;
            QThread::msleep(20);
        }
    }
    // The next waits look only at lines still to come.
    void skipZarnLines() { zarnAt = zarn.statusTexts().size(); }
    qsizetype zarnAt = 0;

    // For a failure message: the ends of both logs.
    QByteArray why(const char* what)
    {
        // Qt Test cuts long messages: the last lines of each, the car's first.
        const auto tail = [](const QStringList& lines) { return lines.mid(qMax<qsizetype>(0, lines.size() - 12)).join('\n'); };
        return QStringLiteral("%1\n--- car:\n%2\n--- zarn:\n%3")
            .arg(QLatin1String(what), tail(car.output().split(QLatin1Char('\n'), Qt::SkipEmptyParts)),
                 tail(zarn.statusTexts()))
            .toLocal8Bit();
    }
};

#define WAIT(d, condition) QVERIFY2((condition), (d).why(#condition).constData())

// Every expected text appears in zarn's status lines, in this order.
void verifyInOrder(const QStringList& lines, const QStringList& expected)
{
    qsizetype at = -1;
    for (const QString& e : expected) {
        const qsizetype found = lines.indexOf(e, at + 1);
        QVERIFY2(found > at, qPrintable(QStringLiteral("missing or out of order: ") + e + "\n" + lines.join('\n')));
        at = found;
    }
}

bool hasLineStarting(const QStringList& lines, const QString& start)
{
    return std::any_of(lines.begin(), lines.end(), [&](const QString& l) { return l.startsWith(start); });
}
} // namespace

class TestZarnCarSim : public QObject {
    Q_OBJECT
private slots:
    void cdChangerHandshake()
    {
        Drive d;
        WAIT(d, d.start({QStringLiteral("/TRACE")}));
        // The radio polls on its own until zarn answers, then asks the state at once.
        WAIT(d, d.car.waitForFrame("18 04 FF 02 00 E1"));
        WAIT(d, d.car.waitForFrame("18 0A 68 39 00 02 00 01 00 01 01 40"));
        QVERIFY(d.car.run("0 source cd"));
        WAIT(d, d.car.waitForFrame("18 0A 68 39 02 09 00 01 00 01 01 49")); // starting
        WAIT(d, d.car.waitForFrame("18 0A 68 39 00 09 00 01 00 01 01 4B")); // playing, to the state request
        QVERIFY(d.car.run("0 source radio"));
        WAIT(d, d.car.waitForFrame("18 0A 68 39 00 02 00 01 00 01 01 40")); // stopped
        QCOMPARE(d.finish(), 0);
        QCOMPARE(d.zarnExit, 0);
        verifyInOrder(d.zarn.statusTexts(), {
                                                "BMW_Poll_CD_Player found - sending CD_poll_answer",
                                                "CD_poll_anser message sent",
                                                "BMW_Play_CD command found - Sending CD_Track_Start_1_1",
                                                "CD_Track_Start_1_1 message sent",
                                                "BMW_Stop_CD command found - Sending Current_CD_Track_notplaying_1_1",
                                            });
    }

    void tapeModeWithoutCdEmulation()
    {
        Drive d;
        WAIT(d, d.start({QStringLiteral("/TRACE")}, {QStringLiteral("--no-car")}, "CD_CheckBox=1", "CD_CheckBox=0"));
        // Zarn takes blocks in order: once the tape state is in, so was the poll.
        QVERIFY(d.car.run("0 frame 68 03 18 01 72\n0 tape-state standby"));
        WAIT(d, d.zarnSays(QStringLiteral("BMW_TAPE_standby detected")));
        WAIT(d, d.zarnSays(QStringLiteral("MP3-Player paused")));
        QVERIFY(d.car.run("0 tape-state play"));
        WAIT(d, d.zarnSays(QStringLiteral("BMW_TAPE_play detected")));
        WAIT(d, d.zarnSays(QStringLiteral("MP3-Player resumed")));
        QCOMPARE(d.finish(), 0);
        QVERIFY(!d.zarn.statusTexts().contains(QStringLiteral("BMW_Poll_CD_Player found - sending CD_poll_answer")));
        QVERIFY2(!d.car.output().contains(QLatin1String(" < 18 04 FF")), qPrintable(d.car.output()));
    }

    void screenRelayFollowsTheRadio()
    {
        Drive d;
        WAIT(d, d.start({QStringLiteral("/TRACE")}, {QStringLiteral("--no-car")}));
        // Each event, and the line that shows zarn has taken it.
        const QList<QPair<QByteArray, QString>> steps{
            {"source tape", "RTS is now HIGH (relais on)"},
            {"knob right 2", "BMW_Menu_turnknob_Clockwise - numsteps = 2"},
            {"knob press", "BMW_Menu_turnknob_Press found"},
            {"button mode", "RTS is now LOW (relais off)"},
            {"knob right 1", ""}, // nothing: the screen is the car's
            {"time 12:00", "BMW_Time found to be "}, // the knob's block has been taken
            {"source aux", "RTS is now HIGH (relais on)"},
            {"button radnav", "BMW_Rad_BM_switch found while screen on"},
            {"button radnav", "BMW_Rad_BM_switch found while screen off"},
            {"button menu", "Zarn screen turned off - reason: Menue button was hit !"},
            {"source tape-c", "RTS is now HIGH (relais on)"},
            {"button tp", "Zarn screen turned off - reason: BMW_TP_Press button was hit !"},
        };
        for (const auto& [event, line] : steps) {
            QVERIFY(d.car.run("0 " + event));
            if (!line.isEmpty())
                WAIT(d, d.zarnSays(line));
        }
        QCOMPARE(d.finish(), 0);
        const QStringList lines = d.zarn.statusTexts();
        verifyInOrder(lines, {
                                 "BMW_Tape or Tape_alternative or BMW_AUX or BMW_RTS_Activate found",
                                 "===> RTS was low so far, hence we turn in ON now",
                                 "RTS is now HIGH (relais on)",
                                 "BMW_Menu_turnknob_Clockwise - numsteps = 2",
                                 "BMW_Menu_turnknob_Press found",
                                 "BMW_Mode_Press found - Zarn will now try to turn screen back to original BMW (set RTS low)",
                                 "RTS is now LOW (relais off)",
                                 "BMW_Tape or Tape_alternative or BMW_AUX or BMW_RTS_Activate found",
                                 "RTS is now HIGH (relais on)",
                                 "BMW_Rad_BM_switch found while screen on - Zarn will now try to turn screen back to original BMW (set RTS low)",
                                 "BMW_Rad_BM_switch found while screen off - Zarn will now try to turn screen ON (set RTS high) - CAUTION: we do not care at this time, if the underlying BMW image is TAPE, CD or AUX - use at your own risk !",
                                 "Zarn screen turned off - reason: Menue button was hit !",
                                 "===> RTS was low so far, hence we turn in ON now",
                                 "Zarn screen turned off - reason: BMW_TP_Press button was hit !",
                             });
        // The knob turn while the car had the screen did nothing.
        QCOMPARE(lines.count(QStringLiteral("BMW_Menu_turnknob_Clockwise - numsteps = 1")), 0);
    }

    void requestsAndVehicleData()
    {
        Drive d;
        WAIT(d, d.start({QStringLiteral("/TRACE")}));
        // The request timer asks the odometer, then the position; the street and city
        // every 10 s. The car answers each.
        WAIT(d, d.car.waitForFrame("BF 03 80 16 2A"));
        WAIT(d, d.car.waitForFrame("C8 04 7F A1 00 12"));
        WAIT(d, d.car.waitForFrame("C8 04 7F A3 00 10"));
        WAIT(d, d.zarn.waitForLine(QStringLiteral("BMW_odometer found - number is 212968"), LineTimeoutMs));
        WAIT(d, d.zarn.waitForLine(QStringLiteral("BMW_Nav_City successfullly processed"), LineTimeoutMs));
        QVERIFY(d.car.run("0 time"));
        WAIT(d, d.zarnSays(QStringLiteral("BMW_Time found to be ")));
        // Turning into the next street brings the street without a request.
        d.skipZarnLines();
        QVERIFY(d.car.run("0 route next"));
        WAIT(d, d.zarnSays(QStringLiteral("BMW_Nav_Street found")));
        QCOMPARE(d.finish(), 0);
        const QStringList lines = d.zarn.statusTexts();
        QVERIFY(lines.contains(QStringLiteral("Sending command to request Odometer Info")));
        QVERIFY(lines.contains(QStringLiteral("Sending command to request lat/lon Info")));
        QVERIFY(hasLineStarting(lines, QStringLiteral("BMW_speed and rpm found,")));
        QVERIFY(lines.contains(QStringLiteral("BMW_Nav_latlon found")));
        QVERIFY(hasLineStarting(lines, QStringLiteral("BMW_Nav_latlon successfull, cog=")));
        QVERIFY(lines.contains(QStringLiteral("BMW_Nav_City is MÜNCHEN")) || hasLineStarting(lines, QStringLiteral("BMW_Nav_City is M")));
        QVERIFY(!hasLineStarting(lines, QStringLiteral("Error in")));
    }

    void televisionFrames()
    {
        Drive d;
        WAIT(d, d.start({QStringLiteral("/TVINIT")}, {QStringLiteral("--no-car")}));
        WAIT(d, d.car.waitForFrame("3B 05 BB 4F 01 00 CB"));
        WAIT(d, d.car.waitForFrame("3B 05 BB 4F 02 00 C8"));
        WAIT(d, d.zarn.waitForLine(QStringLiteral("TVINIT - TV sleep has been sent"), LineTimeoutMs));
        QCOMPARE(d.finish(), 0);
        verifyInOrder(d.zarn.statusTexts(), {"TVINIT command line parm detected - enabling timer 3 secs",
                                             "TVINIT - now sending TV INIT", "TVINIT - TV INIT has been sent",
                                             "TVINIT - now sending TV sleep", "TVINIT - TV sleep has been sent"});
    }

    void busIdleLowersTheIndicator()
    {
        Drive d;
        WAIT(d, d.start({QStringLiteral("/TIMERS")}));
        const QString clockTick = QStringLiteral("$$$ Timer - Clocktimer");
        const QString indicatorTick = QStringLiteral("$$$ Timer - IbusIndicatorTimer");
        const auto indicatorTicksSince = [&](qsizetype from) { return d.zarn.statusTexts().mid(from).count(indicatorTick); };
        // Zarn's own clock measures: six ticks are more than the indicator's 5 s.
        const auto zarnSeconds = [&](int n) {
            for (int i = 0; i < n; ++i)
                if (!d.zarnSays(clockTick))
                    return false;
            return true;
        };
        WAIT(d, d.zarnSays(clockTick));
        const qsizetype running = d.zarnAt;
        WAIT(d, zarnSeconds(6));
        QCOMPARE(indicatorTicksSince(running), 0); // the car talks twice a second

        QVERIFY(d.car.run("0 silence 60"));
        WAIT(d, d.zarnSays(indicatorTick));
        QVERIFY(d.car.run("0 silence off"));
        WAIT(d, zarnSeconds(6));
        QCOMPARE(indicatorTicksSince(running), 1);
        QCOMPARE(d.finish(), 0);
    }

    void brokenCarNeverStopsZarn()
    {
        Drive d;
        WAIT(d, d.start({QStringLiteral("/TRACE")}));
        WAIT(d, d.car.waitForFrame("18 04 FF 02 00 E1"));
        QVERIFY(d.car.run("0 broken short\n"
                          "+1 broken checksum 80 05 BF 18 32 1E 0E\n"
                          "+1 broken length\n"
                          "+1 garbage 40\n"
                          "+1 flood 2\n"
                          "+3 flood 1 random\n"
                          "+3 vanish 3\n"));
        WAIT(d, d.car.waitForOutput(QStringLiteral("interface back")));
        WAIT(d, d.zarnSays(QStringLiteral("SerialNG: Error reading Data")));
        WAIT(d, d.zarnSays(QStringLiteral("Com-Port supervisor found an issue - trying to restart...")));
        // The port supervisor opens the new port within its 10 s; the radio polls anew.
        WAIT(d, d.car.waitForFrame("18 04 FF 02 00 E1", 60000));
        WAIT(d, d.car.waitForFrame("BF 03 80 16 2A"));
        QCOMPARE(d.finish(), 0);
        QCOMPARE(d.zarnExit, 0);
        verifyInOrder(d.zarn.statusTexts(), {"SerialNG: Error reading Data", "Com-Port supervisor found an issue - trying to restart...",
                                             "BMW_Poll_CD_Player found - sending CD_poll_answer"});
    }
};

QTEST_GUILESS_MAIN(TestZarnCarSim)
#include "tst_zarn_carsim.moc"
