#include "core/StatusLog.h"
#include "ibus/BusEvents.h"
#include "ibus/BusOptions.h"
#include "ibus/BusSideSink.h"
#include "ibus/CdChanger.h"
#include "ibus/CodeTable.h"
#include "ibus/Dispatcher.h"
#include "ibus/IbusSender.h"
#include "ibus/ScreenRelay.h"
#include "ibus/VehicleMessages.h"
#include "ibus/VehicleState.h"
#include "RecordingSink.h"
#include "TestSupport.h"

#include <QTest>

using namespace zarn;

namespace {

using K = BusEvent::Kind;

QString describe(const BusEvent& e)
{
    static const char* const buttons[] = {"Tone", "Mode", "RadioPower", "FM", "AM", "Menu", "SplitScreen", "TP"};
    switch (e.kind) {
    case K::WheelUp: return "WheelUp";
    case K::WheelDown: return "WheelDown";
    case K::RadioTelephone: return "RadioTelephone";
    case K::KnobPress: return "KnobPress";
    case K::KnobLongPress: return "KnobLongPress";
    case K::KnobTurn: return QStringLiteral("KnobTurn %1").arg(e.value);
    case K::Preset: return QStringLiteral("Preset %1").arg(e.value);
    case K::RandomKey: return "RandomKey";
    case K::Exit: return "Exit";
    case K::PauseToggle: return "PauseToggle";
    case K::PauseSteps: return "PauseSteps";
    case K::ResumeSteps: return "ResumeSteps";
    case K::HoldMovie: return "HoldMovie";
    case K::PhonePicture: return QStringLiteral("Phone %1").arg(e.value);
    case K::CdPoll: return "CdPoll";
    case K::CdStateRequest: return "CdStateRequest";
    case K::CdPlay: return "CdPlay";
    case K::CdStop: return "CdStop";
    case K::ScreenOffByButton: return QStringLiteral("ScreenOff ") + buttons[e.value];
    case K::ScreenOnByDisplayText: return "ScreenOnByDisplayText";
    case K::ToggleScreen: return "ToggleScreen";
    case K::Time: return "Time";
    case K::Speed: return "Speed";
    case K::Odometer: return "Odometer";
    case K::Position: return "Position";
    case K::City: return "City";
    case K::Street: return "Street";
    }
    return "?";
}

// Records every event the dispatcher sends, then lets the bus side's own parts act on it.
class Recorder : public BusEventSink {
public:
    explicit Recorder(BusEventSink& next)
        : next_(next)
    {
    }
    bool busEvent(const BusEvent& e) override
    {
        events << describe(e);
        if (e.kind == K::KnobTurn)
            return knobOk;
        return next_.busEvent(e);
    }
    void processEvents() override
    {
        ++eventRuns;
        if (onEvents)
            onEvents();
    }

    QStringList events;
    bool knobOk = true;
    int eventRuns = 0;
    std::function<void()> onEvents;

private:
    BusEventSink& next_;
};

struct Above : BusEventSink {
    bool busEvent(const BusEvent&) override { return true; }
};

struct Bench {
    test::VirtualTime time;
    StatusLog log;
    BusOptions options;
    CodeTable codes;
    test::RecordingSink wire;
    test::FakeRts rts;
    IbusSender sender{wire, log, options};
    CdChanger cd{sender, log};
    ScreenRelay screen{rts, log};
    QStringList decoded;
    bool positionOk = true;
    Above above;
    BusSideSink busSide{cd, screen,
                        FrameDecoders{
                            [this](const QString& f) { decoded << "time:" + f; },
                            [this](const QString& f) { decoded << "speed:" + f; },
                            [this](const QString& f) { decoded << "odometer:" + f; },
                            [this](const QString& f) {
                                decoded << "position:" + f;
                                return positionOk;
                            },
                            [this](const QString& f) { decoded << "city:" + f; },
                            [this](const QString& f) { decoded << "street:" + f; },
                        },
                        above};
    Recorder recorder{busSide};
    Dispatcher dispatcher{codes, options, log, screen, recorder};

    Bench() { log.setMessagesEnabled(true); }
    void feed(const QString& hex) { dispatcher.ProcessIbusText(test::blockText(QString(hex).remove(' '))); }
    const QStringList& events() const { return recorder.events; }
    bool logged(const QString& text) const { return test::texts(log).contains(text); }
    void clear()
    {
        log.clear();
        recorder.events.clear();
        decoded.clear();
    }
};

// Frames with their checksums.
const QString Time = "800CE724010232323A3334202071"; // 22:34
const QString Speed = "8005BF182A151D";
const QString Odometer = "800ABF1740E2010000000081"; // 123456 km
const QString Position = "7F14C8A20100484853900008541290048300170327A9";
const QString City = "7F23C8A40001" "52555445534845494D" + QString(42, '0') + "7D";
const QString Street = "7F23C8A4000248415550545354524153534500" + QString(34, '0') + "3B";
const QString Randomize = "5047BCEB3A" + QString(134, '0') + "7A";

const char* KnobRight3 = "F0043B498305";
const char* Poll = "6803180172";
const char* Tape = "680D3BA5620145446F6C62792042E3";
const char* TapeAlternative = "680D3BA5620145446F6C62792043E2";
const char* AuxText = "68123B236210415558202020202020202020205C";
const char* Mode = "F004684823F7";
const char* RadNav = "F004684830E4";
const char* Button1 = "F004684811C5";

const QString Off = " - Zarn will now try to turn screen back to original BMW (set RTS low)";
const QString RtsLow = "RTS is now LOW (relais off)";
const QString RtsHigh = "RTS is now HIGH (relais on)";
const QStringList DisplayTextLines{"BMW_Tape or Tape_alternative or BMW_AUX or BMW_RTS_Activate found",
                                   "===> RTS was low so far, hence we turn in ON now", RtsHigh};

} // namespace

class TestDispatcher : public QObject {
    Q_OBJECT
private slots:
    void knobSteps_data()
    {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<int>("steps");
        QTest::addRow("three right") << "F0043B498305" << 3;
        QTest::addRow("hex digit counts one") << "F0043B498A0C" << 1;
        QTest::addRow("zero") << "F0043B498006" << 0;
        QTest::addRow("nine left") << "F0043B49098F" << 9;
        QTest::addRow("cut short") << "F0043B498" << 1;
    }
    void knobSteps()
    {
        QFETCH(QString, frame);
        QFETCH(int, steps);
        QCOMPARE(Dispatcher::knobSteps(frame), steps);
    }

    // One case per row of the table, with its condition on and off: the frame in, the
    // events, the status lines and the CD changer's answer out.
    void everyRow_data()
    {
        QTest::addColumn<QString>("setup"); // screen, cd, aux, check, custom, paused
        QTest::addColumn<QString>("hex");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("answer");
        const QStringList none;
        const auto row = [](const char* name, const char* setup, const QString& hex, const QStringList& events,
                            const QStringList& lines, const QString& answer = {}) {
            QTest::addRow("%s", name) << QString(setup) << hex << events << lines << answer;
        };
        row("1 wheel up", "", "5004C83B01A6", {"WheelUp"}, {"BMW_Wheel_Up_Press found"});
        row("2 wheel down", "", "5004C83B08AF", {"WheelDown"}, {"BMW_Wheel_Down_Press found"});
        row("3 check control, exit on", "check", "8004FF57012D", {"Exit"},
            {"BMW_Check_Control_Press found - shutting down..."});
        row("3 check control, exit off", "", "8004FF57012D", none, none);
        row("4 own exit message, on", "custom", "3F05001122333A", {"Exit"},
            {"Custom ShutDownMessage found - shutting down..."});
        row("4 own exit message, off", "", "3F05001122333A", none, none);
        row("5 poll, cd on", "cd", Poll, {"CdPoll"},
            {"BMW_Poll_CD_Player found - sending CD_poll_answer", "CD_poll_anser message sent"}, "1804FF0200E1");
        row("5 poll, cd off", "", Poll, none, none);
        row("6 state request, cd on", "cd", "6805183800004D", {"CdStateRequest"},
            {"BMW_Request_Current_CD_Track found - sending variable answer",
             "in this case: BMW_Answer_Current_CD_Track_notplaying_1_1_timer sent",
             "CD_Track_notplaying_1_1 message sent"},
            "180A68390002000100010140");
        row("6 state request, cd off", "", "6805183800004D", none, none);
        row("7 play, cd on", "cd", "6805183803004E", {"CdPlay"},
            {"BMW_Play_CD command found - Sending CD_Track_Start_1_1", "CD_Track_Start_1_1 message sent"},
            "180A68390209000100010149");
        row("7 play, cd off", "", "6805183803004E", none, none);
        row("8 stop, cd on", "cd", "6805183801004C", {"CdStop"},
            {"BMW_Stop_CD command found - Sending Current_CD_Track_notplaying_1_1",
             "CD_Track_notplaying_1_1 message sent"},
            "180A68390002000100010140");
        row("8 stop, cd off", "", "6805183801004C", none, none);
        row("9 knob press, screen on", "screen", "F0043B4845C2", {"KnobPress"}, {"BMW_Menu_turnknob_Press found"});
        row("9 knob press, screen off", "", "F0043B4845C2", none, none);
        row("10 knob held, screen on", "screen", "F0043B480582", {"KnobLongPress"},
            {"BMW_Menu_turnknob_Press_long found"});
        row("10 knob held, screen off", "", "F0043B480582", none, none);
        row("11 knob left, screen on", "screen", "F0043B490284", {"KnobTurn -2"},
            {" BMW_Menu_turnknob_Counterclockwise - numsteps = 2"});
        row("11 knob left, screen off", "", "F0043B490284", none, none);
        row("12 knob right, screen on", "screen", KnobRight3, {"KnobTurn 3"},
            {"BMW_Menu_turnknob_Clockwise - numsteps = 3"});
        row("12 knob right, screen off", "", KnobRight3, none, none);
        row("12 knob right, zero steps", "screen", "F0043B498006", {"KnobTurn 0"},
            {"BMW_Menu_turnknob_Clockwise - numsteps = 0"});
        row("13 phone talk free", "", "C804E72C3136", {"Phone 2"}, {"BMW Phone On Talk=on mode=free"});
        row("14 tape standby, cd off", "", "F005684B0630E0", {"PauseSteps"},
            {"BMW_TAPE_standby detected", "MP3-Player paused"});
        row("14 tape standby, cd on", "cd", "F005684B0630E0", none, none);
        row("15 tape stopon, cd on", "cd", "F005684B06E232", {"PauseSteps"},
            {"BMW_TAPE_stopon detected", "MP3-Player paused"});
        row("16 tape stopon2, cd off", "", "F005684B068454", {"PauseSteps"},
            {"BMW_TAPE_stopon2 detected", "MP3-Player paused"});
        row("16 tape stopon2, cd on", "cd", "F005684B068454", none, none);
        row("17 phone talk", "", "C804E72C3037", {"Phone 1"}, {"BMW Phone On Talk=on mode=nofree"});
        row("18 tape play, paused by the tape", "paused", "F005684B068050", {"ResumeSteps", "Phone 0"},
            {"BMW_TAPE_play detected", "MP3-Player resumed"});
        row("18 tape play, nothing paused", "", "F005684B068050", none, {"BMW_TAPE_play detected"});
        row("18 tape play, cd on", "paused cd", "F005684B068050", none, none);
        row("19 time", "", Time, {"Time"}, none);
        row("20 speed", "", Speed, {"Speed"}, none);
        row("21 odometer", "", Odometer, {"Odometer"}, none);
        row("22 position", "", Position, {"Position"}, none);
        row("23 city", "", City, {"City"}, none);
        row("24 street", "", Street, {"Street"}, none);
        row("25 tone, screen on", "screen", "F004684804D0", {"ScreenOff Tone"}, {"BMW_BMW_Tone_Press found" + Off, RtsLow});
        row("25 tone, screen off", "", "F004684804D0", none, none);
        row("26 mode, screen on", "screen", Mode, {"ScreenOff Mode"}, {"BMW_Mode_Press found" + Off, RtsLow});
        row("26 mode, screen off", "", Mode, none, none);
        row("27 tape text", "", Tape, {"ScreenOnByDisplayText"}, DisplayTextLines);
        row("27 tape text, Dolby C", "", TapeAlternative, {"ScreenOnByDisplayText"}, DisplayTextLines);
        row("27 AUX text", "", AuxText, {"ScreenOnByDisplayText"}, DisplayTextLines);
        row("28 radio/navigation, screen off", "", RadNav, {"ToggleScreen"},
            {"BMW_Rad_BM_switch found while screen off - Zarn will now try to turn screen ON (set RTS high) - CAUTION: we "
             "do not care at this time, if the underlying BMW image is TAPE, CD or AUX - use at your own risk !",
             RtsHigh});
        row("28 radio/navigation, screen on", "screen", RadNav, {"ToggleScreen"},
            {"BMW_Rad_BM_switch found while screen on" + Off, RtsLow});
        row("28 radio/navigation with a display text", "", QString(Tape) + RadNav, {"ScreenOnByDisplayText"},
            DisplayTextLines);
        row("29 radio power", "", "F004684806D2", {"ScreenOff RadioPower", "PauseToggle", "HoldMovie"},
            {"BMW_Radio_Power_Press found" + Off, RtsLow});
        row("30 FM", "", "F004684831E5", {"ScreenOff FM", "PauseSteps", "HoldMovie"}, {"BMW_FM_Press found" + Off, RtsLow});
        row("31 AM", "", "F004684821F5", {"ScreenOff AM", "PauseSteps", "HoldMovie"}, {"BMW_AM_Press" + Off, RtsLow});
        row("32 menu", "", "F004FF483477", {"ScreenOff Menu", "HoldMovie"},
            {"BMW_Menu_Press found" + Off, RtsLow, "Zarn screen turned off - reason: Menue button was hit !"});
        row("33 split screen", "", "68043B460110", {"ScreenOff SplitScreen", "HoldMovie"},
            {"NAV Info Update in Split screen mode found" + Off, RtsLow,
             "Zarn screen turned off - reason: NAV Info Update in Split screen mode !"});
        row("34 TP", "", "F004684832E6", {"ScreenOff TP", "PauseToggle", "HoldMovie"},
            {"BMW_TP_Press found" + Off, RtsLow, "Zarn screen turned off - reason: BMW_TP_Press button was hit !"});
        const char* presets[] = {Button1, "F004684801D5", "F004684812C6", "F004684802D6", "F004684813C7", "F004684803D7"};
        for (int n = 1; n <= 6; ++n) {
            const QString frame = presets[n - 1];
            QTest::addRow("%d button %d", 34 + n, n) << "screen" << frame << QStringList{QStringLiteral("Preset %1").arg(n)}
                                                     << QStringList{QStringLiteral("BMW_0%1_Press found").arg(n)} << "";
            QTest::addRow("%d button %d, AUX", 34 + n, n) << "screen aux" << frame << none << none << "";
            QTest::addRow("%d button %d, screen off", 34 + n, n) << "" << frame << none << none << "";
        }
        row("41 random key", "screen", Randomize, {"RandomKey"}, {"BMW_Randomize found"});
        row("41 random key, AUX", "screen aux", Randomize, {"RandomKey"}, {"BMW_Randomize found"});
        row("41 random key, screen off", "", Randomize, none, none);
        row("42 R/T", "screen", "5004FF3B40D0", {"RadioTelephone"}, {"BMW_RAD_TEL_Press found"});
        row("42 R/T, screen off", "", "5004FF3B40D0", none, none);
    }
    void everyRow()
    {
        QFETCH(QString, setup);
        QFETCH(QString, hex);
        QFETCH(QStringList, events);
        QFETCH(QStringList, lines);
        QFETCH(QString, answer);
        Bench b;
        if (setup.contains("paused"))
            b.feed("F005684B0630E0");
        b.options.cdEmulation = setup.contains("cd");
        b.options.auxMode = setup.contains("aux");
        b.options.shutdownWithCheckControl = setup.contains("check");
        b.options.shutDownMessageActive = setup.contains("custom");
        b.options.shutDownMessage = "3F05";
        if (setup.contains("screen"))
            b.screen.forceScreen();
        b.clear();

        b.feed(hex);
        b.time.advance(200);
        QCOMPARE(b.events(), events);
        QStringList written = test::texts(b.log);
        written.removeIf([](const QString& l) { return l.startsWith("sent="); });
        QCOMPARE(written, lines);
        QStringList sent;
        for (const QByteArray& f : b.wire.frames)
            sent << QString::fromLatin1(f.toHex().toUpper());
        QCOMPARE(sent.join(' '), answer);
    }

    void lastMatchingFrameOfABlockWins()
    {
        Bench b;
        b.screen.forceScreen();
        b.feed("F0043B498107 F0043B498305"); // one step, then three
        QCOMPARE(b.events(), QStringList{"KnobTurn 3"});
        b.clear();
        b.feed("F0043B490187 F0043B490482");
        QCOMPARE(b.events(), QStringList{"KnobTurn -4"});
        QVERIFY(b.logged(" BMW_Menu_turnknob_Counterclockwise - numsteps = 4"));
    }

    void failedKnobTurnEndsTheDispatch()
    {
        Bench b;
        b.screen.forceScreen();
        b.recorder.knobOk = false;
        b.clear();
        b.feed(QString(KnobRight3) + Button1);
        QCOMPARE(b.events(), QStringList{"KnobTurn 3"});
        QCOMPARE(test::texts(b.log), QStringList{"Error in Process serial input routine"});
    }

    void rowsRunInTableOrder()
    {
        Bench b;
        b.screen.forceScreen();
        // Arrival order reversed on purpose: R/T, button 1, knob press, steering up.
        b.feed("5004FF3B40D0 F004684811C5 F0043B4845C2 5004C83B01A6");
        QCOMPARE(b.events(), (QStringList{"WheelUp", "KnobPress", "Preset 1", "RadioTelephone"}));
    }

    void decodersGetTheirFramesInOrder()
    {
        Bench b;
        b.feed(City + Speed + Time);
        QCOMPARE(b.decoded, (QStringList{"time:" + Time, "speed:" + Speed, "city:" + City}));
    }

    void failedPositionEndsTheDispatch()
    {
        Bench b;
        b.screen.forceScreen();
        b.positionOk = false;
        b.feed(Position + City + Button1);
        QCOMPARE(b.decoded, (QStringList{"position:" + Position}));
        QCOMPARE(b.events(), QStringList{"Position"});
        QVERIFY(b.logged("Error in Process serial input routine"));
    }

    void screenOffRowEndsTheButtonRows()
    {
        Bench b;
        b.screen.forceScreen();
        b.feed(QString("F004684832E6") + Button1); // TP, then button 1
        QCOMPARE(b.events(), (QStringList{"ScreenOff TP", "PauseToggle", "HoldMovie"}));
        QVERIFY(!b.screen.screenOn());
    }

    void modeAndTapeTextInOneBlock()
    {
        Bench b;
        b.screen.forceScreen();
        b.feed(QString(Mode) + Tape + Button1);
        QCOMPARE(b.events(), (QStringList{"ScreenOff Mode", "ScreenOnByDisplayText", "Preset 1"}));
        QVERIFY(b.screen.screenOn());
    }

    void displayTextSkipsTheToggleWithItsEvents()
    {
        Bench b;
        b.screen.forceScreen();
        b.feed("D007BF5B0000000033"); // a frame no row looks for
        const int everyRow = b.recorder.eventRuns;
        b.recorder.eventRuns = 0;
        b.feed(Tape);
        QCOMPARE(b.recorder.eventRuns, everyRow - 1);
    }

    void tapeMessagesAndCdEmulation_data()
    {
        QTest::addColumn<bool>("cd");
        QTest::addColumn<QString>("frame");
        QTest::addColumn<bool>("pauses");
        QTest::addRow("standby, cd off") << false << "F005684B0630E0" << true;
        QTest::addRow("standby, cd on") << true << "F005684B0630E0" << false;
        QTest::addRow("stopon, cd on") << true << "F005684B06E232" << true;
        QTest::addRow("stopon2, cd off") << false << "F005684B068454" << true;
        QTest::addRow("stopon2, cd on") << true << "F005684B068454" << false;
    }
    void tapeMessagesAndCdEmulation()
    {
        QFETCH(bool, cd);
        QFETCH(QString, frame);
        QFETCH(bool, pauses);
        Bench b;
        b.options.cdEmulation = cd;
        b.feed(frame);
        QCOMPARE(b.events().contains("PauseSteps"), pauses);
        QCOMPARE(b.dispatcher.tapePaused(), pauses);
    }

    void tapePlayResumesOnlyWhatTheTapePaused()
    {
        Bench b;
        b.feed("F004684831E5"); // FM pauses without TapePaused
        b.feed("F005684B068050");
        QVERIFY(!b.events().contains("ResumeSteps"));
        b.feed("F005684B0630E0");
        b.feed("F005684B068050");
        QCOMPARE(b.events().mid(b.events().size() - 2), (QStringList{"ResumeSteps", "Phone 0"}));
        QVERIFY(!b.dispatcher.tapePaused());
    }

    void exitCodes_data()
    {
        QTest::addColumn<bool>("checkControl");
        QTest::addColumn<bool>("custom");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("frame");
        QTest::addColumn<bool>("exits");
        QTest::addRow("check control off") << false << false << "" << "8004FF57012D" << false;
        QTest::addRow("check control on") << true << false << "" << "8004FF57012D" << true;
        QTest::addRow("custom message") << false << true << "3F05" << "3F05001122333A" << true;
        QTest::addRow("empty custom message matches anything") << false << true << "" << "0005BF7A5220B2" << true;
    }
    void exitCodes()
    {
        QFETCH(bool, checkControl);
        QFETCH(bool, custom);
        QFETCH(QString, message);
        QFETCH(QString, frame);
        QFETCH(bool, exits);
        Bench b;
        b.options.shutdownWithCheckControl = checkControl;
        b.options.shutDownMessageActive = custom;
        b.options.shutDownMessage = message;
        b.feed(frame);
        QCOMPARE(b.events().contains("Exit"), exits);
    }

    void nestedDispatchKeepsItsOwnFrames()
    {
        Bench b;
        b.screen.forceScreen();
        bool nested = false;
        b.recorder.onEvents = [&] {
            if (!nested) {
                nested = true;
                b.feed("F004684812C6"); // button 3, from a click between rows
            }
        };
        b.feed(QString("5004C83B01A6") + Button1);
        QCOMPARE(b.events(), (QStringList{"WheelUp", "Preset 3", "Preset 1"}));
    }

    // A changed bit with the old checksum must not reach a decoder or a code: the mileage
    // is saved to Zarn.ini, the speed shown, the time set on the PC.
    void corruptFramesAreNeitherMatchedNorDecoded_data()
    {
        QTest::addColumn<QString>("hex");
        QTest::addRow("odometer, 647744 km") << "80 0A BF 17 40 E2 09 00 00 00 00 81";
        QTest::addRow("speed, 224 km/h") << "80 05 BF 18 70 1A 08";
        QTest::addRow("time, 23:34") << "80 0C E7 24 01 02 32 33 3A 33 34 20 20 71";
        QTest::addRow("position") << "7F 14 C8 A2 01 00 48 48 53 90 00 08 54 12 90 04 83 00 17 03 27 A8";
        QTest::addRow("knob press, a whole-frame code") << "F0 04 3B 48 45 C3";
        QTest::addRow("knob turn, a code without checksum") << "F0 04 3B 49 83 CE";
        QTest::addRow("poll, checksum byte changed") << "68 03 18 01 73";
    }
    void corruptFramesAreNeitherMatchedNorDecoded()
    {
        QFETCH(QString, hex);
        Bench b;
        b.screen.forceScreen();
        b.options.cdEmulation = true;
        b.feed(hex);
        b.time.advance(200);
        QCOMPARE(b.events(), QStringList{});
        QVERIFY(b.wire.frames.isEmpty());
        QCOMPARE(b.dispatcher.checksumErrors(), 1);
        QCOMPARE(b.dispatcher.skippedBytes(), 0);
    }

    void corruptOdometerKeepsTheMileage()
    {
        Bench b;
        VehicleState state;
        VehicleMessages messages(state, b.log, b.options);
        BusSideSink busSide(b.cd, b.screen, messages.decoders(), b.above);
        Dispatcher dispatcher(b.codes, b.options, b.log, b.screen, busSide);
        dispatcher.ProcessIbusText(test::blockText(Odometer));
        QCOMPARE(state.LastKnownMileage, 123456);
        dispatcher.ProcessIbusText(test::blockText("800ABF1740E2090000000081" + Speed));
        QCOMPARE(state.LastKnownMileage, 123456);
        QCOMPARE(state.CurrentSpeed, 84); // the good frame of the block still counts
    }

    void ignoredBytesAreTraced()
    {
        Bench b;
        b.log.setMessagesEnabled(false);
        b.log.setFrameTraceEnabled(true);
        b.feed("00 80 0A BF 17 40 E2 09 00 00 00 00 81 68 03 18 01 72");
        QCOMPARE(test::texts(b.log),
                 (QStringList{test::blockText("00800ABF1740E20900000000816803180172").mid(1),
                              "No whole frame - bytes ignored: 00",
                              "Checksum error - frame ignored: 80 0A BF 17 40 E2 09 00 00 00 00 81"}));
        QCOMPARE(b.dispatcher.checksumErrors(), 1);
        QCOMPARE(b.dispatcher.skippedBytes(), 1);
        b.log.setFrameTraceEnabled(false);
        b.feed("00 68 03 18 01 72");
        QCOMPARE(b.log.lines().size(), 3); // counted, not written
        QCOMPARE(b.dispatcher.skippedBytes(), 2);
    }

    // A block that starts mid-frame or after a collision: the whole frames behind the
    // stray bytes still act.
    void strayBytesBeforeABurst_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addRow("one zero byte") << "00";
        QTest::addRow("a lone source byte") << "68";
        QTest::addRow("a poll cut short") << "68 03 18 01";
        QTest::addRow("noise") << "00 FF 13 37";
        QTest::addRow("a short length byte") << "68 02 18 01 72";
        QTest::addRow("a length byte that reaches the last frame") << "F0 21";
    }
    void strayBytesBeforeABurst()
    {
        QFETCH(QString, prefix);
        Bench b;
        b.screen.forceScreen();
        b.options.cdEmulation = true;
        b.feed(prefix + Speed + "F0043B498107" + AuxText + Poll);
        b.time.advance(200);
        QCOMPARE(b.events(), (QStringList{"CdPoll", "KnobTurn 1", "Speed", "ScreenOnByDisplayText"}));
        QCOMPARE(b.wire.frames, QList<QByteArray>{test::hexBytes("1804FF0200E1")});
        QCOMPARE(b.dispatcher.skippedBytes(), QString(prefix).remove(' ').size() / 2);
    }

    void frameCutByTheEndOfTheBlock()
    {
        Bench b;
        b.screen.forceScreen();
        b.feed(QString(Button1) + "F0 04 3B 49");
        QCOMPARE(b.events(), QStringList{"Preset 1"});
        QCOMPARE(b.dispatcher.skippedBytes(), 4);
    }

    void garbageMatchesNothing()
    {
        Bench b;
        b.screen.forceScreen();
        for (const char* junk : {"", " ", "  ZZ", " 80 FF", " F0 04 3B 49", " F0 04 3B 49 83"})
            b.dispatcher.ProcessIbusText(QString::fromLatin1(junk));
        QVERIFY(b.events().isEmpty());
        QVERIFY(b.decoded.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestDispatcher)
#include "tst_dispatcher.moc"
