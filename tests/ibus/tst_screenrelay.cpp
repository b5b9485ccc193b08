#include "core/StatusLog.h"
#include "ibus/ScreenRelay.h"
#include "RecordingSink.h"
#include "TestSupport.h"

#include <QTest>

using namespace zarn;

namespace {
struct Relay {
    test::VirtualTime time;
    StatusLog log;
    test::FakeRts rts;
    ScreenRelay relay{rts, log};
    Relay()
    {
        log.setMessagesEnabled(true);
        log.setClockTicked();
    }
    QString lastLine() { return test::texts(log).value(log.lines().size() - 1); }
};
} // namespace

class TestScreenRelay : public QObject {
    Q_OBJECT
private slots:
    void startsOffWithTheHintPanel()
    {
        Relay r;
        QVERIFY(!r.relay.screenOn());
        QVERIFY(r.relay.offpanelVisible());
    }

    void tapeTextSwitchesOnOnce()
    {
        Relay r;
        r.relay.ScreenOnByDisplayText();
        QVERIFY(r.relay.screenOn());
        QVERIFY(r.rts.level);
        QVERIFY(!r.relay.offpanelVisible());
        QCOMPARE(r.lastLine(), QStringLiteral("RTS is now HIGH (relais on)"));
        r.relay.ScreenOnByDisplayText();
        QCOMPARE(r.lastLine(), QStringLiteral("===> RTS is already on, hence we DO NOTHING (this buys performance, guys!"));
    }

    void buttonsSwitchOffWithTheirLines_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("last");
        QTest::addRow("menu") << int(ScreenRelay::Button::Menu) << "Zarn screen turned off - reason: Menue button was hit !";
        QTest::addRow("TP") << int(ScreenRelay::Button::TP) << "Zarn screen turned off - reason: BMW_TP_Press button was hit !";
        QTest::addRow("AM") << int(ScreenRelay::Button::AM) << "RTS is now LOW (relais off)";
    }
    void buttonsSwitchOffWithTheirLines()
    {
        QFETCH(int, button);
        QFETCH(QString, last);
        Relay r;
        r.relay.ScreenOnByDisplayText();
        r.relay.ScreenOffByButton(ScreenRelay::Button(button));
        QVERIFY(!r.relay.screenOn());
        QVERIFY(!r.rts.level);
        QVERIFY(r.relay.offpanelVisible());
        QCOMPARE(r.lastLine(), last);
    }

    void toggleTwice()
    {
        Relay r;
        r.relay.ToggleScreen();
        QVERIFY(r.relay.screenOn() && r.rts.level);
        r.relay.ToggleScreen();
        QVERIFY(!r.relay.screenOn() && !r.rts.level);
    }

    void clickWithClosedPortReportsRecordedLevel()
    {
        Relay r;
        r.rts.open = false;
        r.rts.level = true; // a component that never opened records RTS high
        r.relay.offpanelClick();
        QVERIFY(r.relay.screenOn());
        QVERIFY(!r.relay.offpanelVisible());
        QCOMPARE(test::texts(r.log).at(r.log.lines().size() - 2), QStringLiteral("RTS is now HIGH (relais on)"));
        QCOMPARE(r.lastLine(), QStringLiteral("Zarn RTS PIN turned on - forced click"));
    }

    void restartedPortIsSwitchedOnAgain()
    {
        Relay r;
        r.relay.ScreenOnByDisplayText();
        r.rts.level = false; // RestartPort lowers RTS, ScreenOn stays
        r.relay.ScreenOnByDisplayText();
        QVERIFY(r.rts.level);
    }
};

QTEST_GUILESS_MAIN(TestScreenRelay)
#include "tst_screenrelay.moc"
