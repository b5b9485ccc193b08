#include "core/StatusLog.h"
#include "ibus/BusOptions.h"
#include "ibus/CdChanger.h"
#include "ibus/CodeTable.h"
#include "ibus/Dispatcher.h"
#include "ibus/DispatcherActions.h"
#include "ibus/IbusSender.h"
#include "ibus/ScreenRelay.h"
#include "RecordingSink.h"
#include "TestSupport.h"

#include <QTest>

using namespace zarn;

namespace {

// Records every operation the dispatcher reaches, in order.
class RecordingActions : public DispatcherActions {
public:
    QStringList calls;
    std::function<void()> onEvents;
    int events = 0;

    void SteerUPClick() override { calls << "up"; }
    void SelButton8Click() override { calls << "down"; }
    void SelButton7Click() override { calls << "rt"; }
    void SelButton1Click() override { calls << "press"; }
    void longClick() override { calls << "long"; }
    bool TurnbottonleftClick() override
    {
        calls << "left";
        return true;
    }
    bool TurnbottonrightClick() override
    {
        calls << "right";
        return stepsLeft < 0 || stepsLeft-- > 0;
    }
    int stepsLeft = -1; // failing steps after this many
    void BMWpanel5Click() override { calls << "exit"; }
    void BMWpanel54Click() override { calls << "toggle"; }
    void pauseSteps() override { calls << "pause"; }
    void resumeSteps() override { calls << "resume"; }
    void HoldMovie() override { calls << "holdmovie"; }
    void showPhone(PhonePicture p) override { calls << QStringLiteral("phone%1").arg(int(p)); }
    void zahlbutton1Click() override { calls << "1"; }
    void Button4Click() override { calls << "2"; }
    void Button10Click() override { calls << "3"; }
    void Button5Click() override { calls << "4"; }
    void Button3Click() override { calls << "5"; }
    void Button6Click() override { calls << "6"; }
    void processEvents() override
    {
        ++events;
        if (onEvents)
            onEvents();
    }
};

struct Bench {
    test::VirtualTime time;
    StatusLog log;
    BusOptions options;
    CodeTable codes;
    test::RecordingSink sink;
    test::FakeRts rts;
    IbusSender sender{sink, log, options};
    CdChanger cd{sender, log};
    ScreenRelay screen{rts, log};
    RecordingActions actions;
    QStringList decoded;
    bool positionOk = true;
    Dispatcher dispatcher{codes, options, log, actions, cd, screen,
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
                          }};

    Bench() { log.setMessagesEnabled(true); }
    void feed(const QString& hex) { dispatcher.ProcessIbusText(test::blockText(QString(hex).remove(' '))); }
    bool logged(const QString& text) const
    {
        for (const QString& l : log.lines())
            if (l.endsWith(QLatin1Char(' ') + text))
                return true;
        return false;
    }
};

const QString Time = "800CE724010232323A3334202071";
const QString Speed = "8005BF182A151D";
const QString Position = "7F14C8A20100484853900008541290048300170327A9";
const QString City = "7F23C8A40001" "52555445534845494D" + QString(42, '0') + "00";

const char* KnobRight3 = "F0043B4983CE";
const char* Tape = "680D3BA5620145446F6C62792042E3";
const char* Mode = "F004684823F7";
const char* RadNav = "F004684830E4";

} // namespace

class TestDispatcher : public QObject {
    Q_OBJECT
private slots:
    void knobSteps_data()
    {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<int>("steps");
        QTest::addRow("three right") << "F0043B4983CE" << 3;
        QTest::addRow("hex digit counts one") << "F0043B498A00" << 1;
        QTest::addRow("zero") << "F0043B4980CD" << 0;
        QTest::addRow("nine left") << "F0043B490900" << 9;
        QTest::addRow("cut short") << "F0043B498" << 1;
    }
    void knobSteps()
    {
        QFETCH(QString, frame);
        QFETCH(int, steps);
        QCOMPARE(Dispatcher::knobSteps(frame), steps);
    }

    void knobActsOnlyWhileScreenOn()
    {
        Bench b;
        b.feed(KnobRight3);
        QVERIFY(b.actions.calls.isEmpty());
        b.screen.forceScreen();
        b.feed(KnobRight3);
        QCOMPARE(b.actions.calls, (QStringList{"right", "right", "right"}));
        QVERIFY(b.logged("BMW_Menu_turnknob_Clockwise - numsteps = 3"));
    }

    void realKnobPressesMatch()
    {
        Bench b;
        b.screen.forceScreen();
        b.feed("F0043B4845C2"); // pressed
        b.feed("F0043B480582"); // held
        QCOMPARE(b.actions.calls, (QStringList{"press", "long"}));
    }

    void lastMatchingFrameOfABlockWins()
    {
        Bench b;
        b.screen.forceScreen();
        b.feed("F0043B4981CC F0043B4983CE"); // one step, then three
        QCOMPARE(b.actions.calls.size(), 3);
        b.actions.calls.clear();
        b.feed("F0043B4901CC F0043B4904CE");
        QCOMPARE(b.actions.calls, (QStringList{"left", "left", "left", "left"}));
        QVERIFY(b.logged(" BMW_Menu_turnknob_Counterclockwise - numsteps = 4"));
    }

    void failedKnobStepEndsTheDispatch()
    {
        Bench b;
        b.screen.forceScreen();
        b.actions.stepsLeft = 1;
        b.feed("F0043B4983CE F004684811C5"); // three steps, the second fails; then button 1
        QCOMPARE(b.actions.calls, (QStringList{"right", "right"}));
        QVERIFY(b.logged("Error in Process serial input routine"));
    }

    void rowsRunInTableOrder()
    {
        Bench b;
        b.screen.forceScreen();
        // Arrival order reversed on purpose: R/T, button 1, knob press, steering up.
        b.feed("5004FF3B40D0 F004684811C5 F0043B4845C2 5004C83B01A6");
        QCOMPARE(b.actions.calls, (QStringList{"up", "press", "1", "rt"}));
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
        b.feed(Position + City + "F004684811C5");
        QCOMPARE(b.decoded, (QStringList{"position:" + Position}));
        QVERIFY(b.actions.calls.isEmpty());
        QVERIFY(b.logged("Error in Process serial input routine"));
    }

    void screenOffRowEndsTheButtonRows()
    {
        Bench b;
        b.screen.forceScreen();
        b.feed("F004684832E6 F004684811C5"); // TP, then button 1
        QCOMPARE(b.actions.calls, (QStringList{"toggle", "holdmovie"}));
        QVERIFY(!b.screen.screenOn());
    }

    void modeAndTapeTextInOneBlock()
    {
        Bench b;
        b.screen.forceScreen();
        b.feed(QString(Mode) + Tape + "F004684811C5");
        QVERIFY(b.logged("BMW_Mode_Press found - Zarn will now try to turn screen back to original BMW (set RTS low)"));
        QVERIFY(b.screen.screenOn());
        QCOMPARE(b.actions.calls, QStringList{"1"}); // rows 35.. ran again
    }

    void displayTextSkipsTheToggle()
    {
        Bench b;
        b.feed(QString(Tape) + RadNav);
        QVERIFY(b.screen.screenOn());
        QVERIFY(!b.logged("BMW_Rad_BM_switch found while screen on - Zarn will now try to turn screen back to original BMW (set RTS low)"));
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
        QCOMPARE(b.actions.calls.contains("pause"), pauses);
        QCOMPARE(b.dispatcher.tapePaused(), pauses);
    }

    void tapePlayResumesOnlyWhatTheTapePaused()
    {
        Bench b;
        b.feed("F004684831E5"); // FM pauses without TapePaused
        b.feed("F005684B068050");
        QVERIFY(!b.actions.calls.contains("resume"));
        b.feed("F005684B0630E0");
        b.feed("F005684B068050");
        QVERIFY(b.actions.calls.endsWith("phone0"));
        QVERIFY(b.actions.calls.contains("resume"));
        QVERIFY(b.logged("MP3-Player resumed"));
    }

    void auxModeKeepsRandomKey()
    {
        Bench b;
        b.options.auxMode = true;
        b.screen.forceScreen();
        b.feed("F004684802D6");
        QVERIFY(b.actions.calls.isEmpty());
        b.feed("5047BCEB3A");
        QCOMPARE(b.actions.calls, QStringList{"4"});
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
        QTest::addRow("custom message") << false << true << "3F05" << "3F05001122" << true;
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
        QCOMPARE(b.actions.calls.contains("exit"), exits);
    }

    void nestedDispatchKeepsItsOwnFrames()
    {
        Bench b;
        b.screen.forceScreen();
        bool nested = false;
        b.actions.onEvents = [&] {
            if (!nested) {
                nested = true;
                b.feed("F004684812C6"); // button 3, from a click between rows
            }
        };
        b.feed("5004C83B01A6 F004684811C5");
        QCOMPARE(b.actions.calls, (QStringList{"up", "3", "1"}));
    }

    void frameTraceWritesTheBlock()
    {
        Bench b;
        b.log.setMessagesEnabled(false);
        b.log.setFrameTraceEnabled(true);
        b.dispatcher.ProcessIbusText(QStringLiteral(" 00 05"));
        QCOMPARE(b.log.lines().size(), 1);
        QVERIFY(b.log.lines()[0].endsWith(QStringLiteral(" 00 05")));
    }

    void garbageMatchesNothing()
    {
        Bench b;
        b.screen.forceScreen();
        for (const char* junk : {"", " ", "  ZZ", " 80 FF", " F0 04 3B 49"})
            b.dispatcher.ProcessIbusText(QString::fromLatin1(junk));
        QVERIFY(b.actions.calls.isEmpty());
        QVERIFY(b.decoded.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestDispatcher)
#include "tst_dispatcher.moc"
