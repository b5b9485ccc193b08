// zarn and the simulated car together: what the car sees on the bus (the simulator's
// checks and exit status) and what zarn makes of the car (its status lines).
#include "CarSimProcess.h"
#include "ZarnProcess.h"

#include <QFile>
#include <QTest>

using namespace zarn;

namespace {
struct Drive {
    test::ZarnProcess zarn;
    test::CarSimProcess car;

    bool start(const QByteArray& scenario, const QStringList& zarnArguments, const QStringList& carArguments = {})
    {
        return car.start(zarn.home(), scenario, carArguments) && zarn.start(zarnArguments);
    }
    // The simulator's verdict: 0 = every check passed and no malformed frame.
    int finish(int timeoutMs)
    {
        const int rc = car.waitForExit(timeoutMs);
        zarnExit = zarn.terminate();
        return rc;
    }
    void setIni(const QByteArray& from, const QByteArray& to)
    {
        QFile f(zarn.home() + QStringLiteral("/Zarn.ini"));
        QByteArray content;
        if (f.open(QIODevice::ReadOnly))
            content = f.readAll();
        f.close();
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(content.replace(from, to));
    }
    int zarnExit = -1;
};

// Every expected text appears in zarn's status lines, in this order.
void verifyInOrder(const QStringList& lines, const QStringList& expected)
{
    qsizetype at = -1;
    for (const QString& e : expected) {
        const qsizetype found = lines.indexOf(e, at + 1);
        QVERIFY2(found > at, qPrintable(QStringLiteral("missing or out of order: ") + e));
        at = found;
    }
}
} // namespace

class TestZarnCarSim : public QObject {
    Q_OBJECT
private slots:
    void cdChangerHandshake()
    {
        Drive d;
        QVERIFY(d.start(R"(
0     wait-for 18 04 FF 02 00 E1 timeout 20
+0    expect 18 0A 68 39 00 02 00 01 00 01 01 40 within 2
+1    source cd
+0    expect 18 0A 68 39 02 09 00 01 00 01 01 49 within 2
+0    expect 18 0A 68 39 00 09 00 01 00 01 01 4B within 2
+2    source radio
+0    expect 18 0A 68 39 00 02 00 01 00 01 01 40 within 2
+2    exit
)", {QStringLiteral("/TRACE")}));
        QCOMPARE(d.finish(40000), 0);
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
        QVERIFY(d.car.start(d.zarn.home(), R"(
0     frame 68 03 18 01 72
+0    expect-none 18 04 FF within 2
+0    tape-state standby
+2    tape-state play
+2    exit
)", {QStringLiteral("--no-car")}));
        d.setIni("CD_CheckBox=1", "CD_CheckBox=0");
        QVERIFY(d.zarn.start({QStringLiteral("/TRACE")}));
        QCOMPARE(d.finish(30000), 0);
        const QStringList lines = d.zarn.statusTexts();
        QVERIFY(!lines.contains(QStringLiteral("BMW_Poll_CD_Player found - sending CD_poll_answer")));
        verifyInOrder(lines, {"BMW_TAPE_standby detected", "MP3-Player paused", "BMW_TAPE_play detected", "MP3-Player resumed"});
    }

    void screenRelayFollowsTheRadio()
    {
        Drive d;
        QVERIFY(d.start(R"(
0     source tape
+1.5  knob right 2
+1    knob press
+1.5  button mode
+1.5  knob right 1
+1.5  source aux
+1.5  button radnav
+1.5  button radnav
+1.5  button menu
+1.5  source tape-c
+1.5  button tp
+1.5  exit
)", {QStringLiteral("/TRACE")}, {QStringLiteral("--no-car")}));
        QCOMPARE(d.finish(40000), 0);
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
        QVERIFY(d.start(R"(
0     expect BF 03 80 16 2A within 5
+0    expect C8 04 7F A1 00 12 within 8
+0    expect C8 04 7F A3 00 10 within 12
+1    time
+1    route next
+11   exit
)", {QStringLiteral("/TRACE")}));
        QCOMPARE(d.finish(40000), 0);
        const QStringList lines = d.zarn.statusTexts();
        const auto has = [&](const QString& start) {
            for (const QString& l : lines)
                if (l.startsWith(start))
                    return true;
            return false;
        };
        QVERIFY(lines.contains(QStringLiteral("Sending command to request Odometer Info")));
        QVERIFY(lines.contains(QStringLiteral("Sending command to request lat/lon Info")));
        QVERIFY(lines.contains(QStringLiteral("BMW_odometer found - number is 212968")));
        QVERIFY(has(QStringLiteral("BMW_speed and rpm found,")));
        QVERIFY(has(QStringLiteral("BMW_Time found to be ")));
        QVERIFY(lines.contains(QStringLiteral("BMW_Nav_latlon found")));
        QVERIFY(has(QStringLiteral("BMW_Nav_latlon successfull, cog=")));
        QVERIFY(lines.contains(QStringLiteral("BMW_Nav_City is MÜNCHEN")) || has(QStringLiteral("BMW_Nav_City is M")));
        QVERIFY(lines.contains(QStringLiteral("BMW_Nav_City successfullly processed")));
        QVERIFY(!has(QStringLiteral("Error in")));
    }

    void televisionFrames()
    {
        Drive d;
        QVERIFY(d.start(R"(
0     expect 3B 05 BB 4F 01 00 CB within 5
+0    expect 3B 05 BB 4F 02 00 C8 within 7
+6    exit
)", {QStringLiteral("/TVINIT")}, {QStringLiteral("--no-car")}));
        QCOMPARE(d.finish(30000), 0);
        verifyInOrder(d.zarn.statusTexts(), {"TVINIT command line parm detected - enabling timer 3 secs",
                                             "TVINIT - now sending TV INIT", "TVINIT - TV INIT has been sent",
                                             "TVINIT - now sending TV sleep", "TVINIT - TV sleep has been sent"});
    }

    void busIdleLowersTheIndicator()
    {
        Drive d;
        QVERIFY(d.start(R"(
0     say the car talks for 4 s, then is quiet for 7 s
+4    silence 7
+8    exit
)", {QStringLiteral("/TIMERS")}));
        QCOMPARE(d.finish(40000), 0);
        const QStringList lines = d.zarn.statusTexts();
        // Only the silence lets the 5-second indicator timer run out.
        QCOMPARE(lines.count(QStringLiteral("$$$ Timer - IbusIndicatorTimer")), 1);
    }

    void brokenCarNeverStopsZarn()
    {
        Drive d;
        QVERIFY(d.start(R"(
0     wait-for 18 04 FF 02 00 E1 timeout 20
+1    broken short
+1    broken checksum 80 05 BF 18 32 1E 0E
+1    broken length
+1    garbage 40
+1    flood 2
+3    flood 1 random
+3    say the interface is unplugged for 3 s
+0    vanish 3
+0    wait-for 18 04 FF 02 00 E1 timeout 30
+1    expect BF 03 80 16 2A within 8
+1    exit
)", {QStringLiteral("/TRACE")}));
        QCOMPARE(d.finish(90000), 0);
        QCOMPARE(d.zarnExit, 0);
        verifyInOrder(d.zarn.statusTexts(), {"SerialNG: Error reading Data", "Com-Port supervisor found an issue - trying to restart...",
                                             "BMW_Poll_CD_Player found - sending CD_poll_answer"});
    }
};

QTEST_GUILESS_MAIN(TestZarnCarSim)
#include "tst_zarn_carsim.moc"
