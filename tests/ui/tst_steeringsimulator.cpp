#include "InputFixture.h"

#include "ui/FocusNavigator.h"
#include "ui/SelectActions.h"
#include "ui/SteeringSimulator.h"

#include <QPushButton>
#include <QTest>

using namespace zarn;
using zarn::test::RealWindow;

namespace {

struct Bench {
    RealWindow w;
    QWidget* panel;
    SteeringSimulator* sim;
    QStringList calls;

    Bench()
    {
        w.window.ShowPage(PageMain);
        panel = w.find("Wheelbuttons");
        sim = buildSteeringSimulator(panel);
        SteeringSimulatorActions a;
        const auto record = [this](const char* what) { return [this, what] { calls << what; }; };
        a.knobPress = record("press");
        a.longKnobPress = record("longPress");
        a.turnLeft = record("left");
        a.turnRight = record("right");
        a.steerUp = record("up");
        a.steerDown = record("down");
        a.longUp = record("longUp");
        a.longDown = record("longDown");
        a.radioTel = record("rt");
        for (int i = 0; i < 6; ++i)
            a.presets[i] = [this, i] { calls << QStringLiteral("preset%1").arg(i + 1); };
        a.end = record("end");
        a.processIbusText = [this](const QString& text) { calls << "bus:" + text; };
        sim->setActions(std::move(a));
    }
    QPushButton* button(const QString& name) const { return panel->findChild<QPushButton*>(name); }
};

} // namespace

class TestSteeringSimulator : public QObject {
    Q_OBJECT
private slots:
    void elementsRunTheirActions_data();
    void elementsRunTheirActions();
    void labels();
    void hidingShowingAndDragging();
    void headerClicks();
    void simulatorNeverTakesTheFocus();
    void drivesTheWindowsHandlers();
};

void TestSteeringSimulator::elementsRunTheirActions_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("call");
    QTest::addRow("SHORT") << "selbutton1" << "SHORT" << "press";
    QTest::addRow("LONG!") << "longClickButton" << "LONG!" << "longPress";
    QTest::addRow("<") << "Turnbottonleft" << "<" << "left";
    QTest::addRow(">") << "Turnbottonright" << ">" << "right";
    QTest::addRow("up") << "SteerUP" << "up" << "up";
    QTest::addRow("dn") << "SelButton8" << "dn" << "down";
    QTest::addRow("L up") << "LongclicksteerUP" << "L" << "longUp";
    QTest::addRow("L down") << "LongclicksteerDOWN" << "L" << "longDown";
    QTest::addRow("r/t") << "SelButton7" << "r/t" << "rt";
    QTest::addRow("&1") << "zahlbutton1" << "&1" << "preset1";
    QTest::addRow("&2") << "Button4" << "&2" << "preset2";
    QTest::addRow("&3") << "Button10" << "&3" << "preset3";
    QTest::addRow("&4") << "Button5" << "&4" << "preset4";
    QTest::addRow("&5") << "Button3" << "&5" << "preset5";
    QTest::addRow("&6") << "Button6" << "&6" << "preset6";
    QTest::addRow("end") << "endButton" << "end" << "end";
    QTest::addRow("SEL does nothing") << "selPanel" << "SEL" << "";
    QTest::addRow("MENU") << "Panel48" << "MENU" << "bus: F0 04 FF 48 34 77";
    QTest::addRow("R/N") << "Panel49" << "R/N" << "bus: F0 04 68 48 30 E4";
    QTest::addRow("Tone") << "Panel65" << "Tone" << "bus: F0 04 68 48 04 D0";
    QTest::addRow("MODE") << "Panel66" << "MODE" << "bus: F0 04 68 48 23 F7";
    QTest::addRow("FM") << "Panel69" << "FM" << "bus: F0 04 68 48 31 E5";
    QTest::addRow("AM") << "Panel78" << "AM" << "bus: F0 04 68 48 21 F5";
    QTest::addRow("Tape sim") << "Panel79" << "Tape sim" << "bus: 68 0D 3B A5 62 01 45 44 6F 6C 62 79 20 42 E3";
}

void TestSteeringSimulator::elementsRunTheirActions()
{
    QFETCH(QString, control);
    QFETCH(QString, caption);
    QFETCH(QString, call);
    Bench b;
    QPushButton* button = b.button(control);
    QVERIFY(button);
    QCOMPARE(button->text(), caption);
    button->click();
    QCOMPARE(b.calls, call.isEmpty() ? QStringList() : QStringList{call});
}

void TestSteeringSimulator::labels()
{
    Bench b;
    QStringList texts;
    for (QLabel* l : b.panel->findChildren<QLabel*>())
        texts << l->text();
    texts.sort();
    QCOMPARE(texts, (QStringList{"Mousewheel to TURN, click on button to simulate PUSH",
                                 "R/N is the one that switches between Radio and Nav",
                                 "Steering wheel works only in TELEPHONE MODE !", "move me around...."}));
}

void TestSteeringSimulator::hidingShowingAndDragging()
{
    Bench b;
    QVERIFY(b.w.showActive());
    b.sim->HeaderPanelClick();
    QVERIFY(b.panel->isVisible());

    b.button("DsFancyButton1")->click(); // "X"
    QVERIFY(!b.panel->isVisible());

    b.sim->HeaderPanelClick();
    QTest::mouseDClick(b.panel, Qt::LeftButton, {}, QPoint(300, 320));
    QVERIFY(!b.panel->isVisible());

    // Dragged by its background: the panel follows the mouse.
    b.sim->HeaderPanelClick();
    const QPoint grab(300, 320);
    QTest::mousePress(b.panel, Qt::LeftButton, {}, grab);
    QMouseEvent move(QEvent::MouseMove, QPointF(grab + QPoint(40, 25)), b.panel->mapToGlobal(QPointF(grab + QPoint(40, 25))),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(b.panel, &move);
    QTest::mouseRelease(b.panel, Qt::LeftButton, {}, grab);
    QCOMPARE(b.panel->pos(), QPoint(90, 75));
    QCOMPARE(b.w.window.childAt(95, 80), b.panel);
}

void TestSteeringSimulator::headerClicks()
{
    Bench b;
    QVERIFY(b.w.showActive());
    int activity = 0;
    b.sim->setBusActivity([&] { ++activity; });
    b.sim->attachHeader(b.w.window);
    QVERIFY(!b.panel->isVisible());
    QTest::mouseClick(b.w.find("HeaderPanel"), Qt::LeftButton, {}, QPoint(600, 20));
    QVERIFY(b.panel->isVisible());
    QCOMPARE(activity, 0);
    QTest::mouseDClick(b.w.find("HeaderPanel"), Qt::LeftButton, {}, QPoint(600, 20));
    QCOMPARE(activity, 1);
    QCOMPARE(buildSteeringSimulator(b.panel), b.sim); // built once
}

void TestSteeringSimulator::simulatorNeverTakesTheFocus()
{
    Bench b;
    QVERIFY(b.w.showActive());
    b.sim->HeaderPanelClick();
    b.w.focus("BMWpanel3");
    QTest::mouseClick(b.button("selbutton1"), Qt::LeftButton);
    QCOMPARE(b.calls, QStringList{"press"});
    QCOMPARE(b.w.focusName(), "BMWpanel3");
}

void TestSteeringSimulator::drivesTheWindowsHandlers()
{
    // The simulator on the handlers the bus reaches: turns move the focus and the knob
    // picture, SHORT presses the focused item.
    Bench b;
    FocusNavigator nav(b.w.access());
    SelectActions select(b.w.access(), nav);
    QStringList fed;
    b.sim->setActions(steeringActions(nav, select, [&](const QString& t) { fed << t; }, {}));
    b.sim->follow(nav);
    QStringList clicked;
    connect(b.w.find<TBMWpanel>("BMWpanel2"), &TBMWpanel::clicked, this, [&] { clicked << "BMWpanel2"; });
    b.w.focus("BMWpanel1");

    b.button("Turnbottonright")->click();
    QCOMPARE(b.w.focusName(), "BMWpanel2");
    QCOMPARE(b.sim->knobPosition(), 1);
    b.button("selbutton1")->click();
    QCOMPARE(clicked, QStringList{"BMWpanel2"});
    b.button("Turnbottonleft")->click();
    b.button("Turnbottonleft")->click();
    QCOMPARE(b.sim->knobPosition(), 10);
    b.button("Panel79")->click();
    QCOMPARE(fed, QStringList{" 68 0D 3B A5 62 01 45 44 6F 6C 62 79 20 42 E3"});
}

QTEST_MAIN(TestSteeringSimulator)
#include "tst_steeringsimulator.moc"
