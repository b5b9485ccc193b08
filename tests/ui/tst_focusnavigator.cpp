#include "InputFixture.h"
#include "RecordingSink.h"
#include "TestSupport.h"

#include "core/StatusLog.h"
#include "ibus/BusEvents.h"
#include "ibus/BusOptions.h"
#include "ibus/CodeTable.h"
#include "ibus/Dispatcher.h"
#include "ibus/ScreenRelay.h"
#include "ui/FocusNavigator.h"
#include "ui/Controls.h"
#include "ui/FocusRings.h"

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QWheelEvent>

#include <stdexcept>

using namespace zarn;
using zarn::test::InputWindow;
using zarn::test::RealWindow;

namespace {

// Records the hooks a step reaches; `applies` names the rules that take the step.
class RecordingHooks : public NavigationHooks {
public:
    QStringList calls;
    QStringList applies;

    bool rule(const QString& name)
    {
        calls << name;
        return applies.contains(name);
    }
    bool trackSeek(Turn) override { return rule("trackSeek"); }
    bool movieSeek(Turn) override { return rule("movieSeek"); }
    bool webRow(QWidget*) override { return rule("webRow"); }
    bool urlList(QWidget*) override { return rule("urlList"); }
    bool webArea(QWidget*, Turn) override { return rule("webArea"); }
    bool mailText(QWidget*, Turn) override { return rule("mailText"); }
    bool musicList(QWidget*, Turn) override { return rule("musicList"); }
    bool movieList(QWidget*, Turn) override { return rule("movieList"); }
    bool mailHeaderList(QWidget*, Turn) override { return rule("mailHeaderList"); }
    void radarScaleStep(Turn t) override { calls << (t == Turn::Clockwise ? "scale+" : "scale-"); }
    void speedStep(int d) override { calls << QStringLiteral("speed%1").arg(d); }
    void equalizerStep(int band, int d) override { calls << QStringLiteral("eq%1:%2").arg(band).arg(d); }
    void reverbStep(int d) override { calls << QStringLiteral("reverb%1").arg(d); }
    void movieZoom(int percent) override { calls << QStringLiteral("zoom%1").arg(percent); }
};

// The dispatcher's road: a step that fails reaches it as an error.
class KnobActions : public BusEventSink {
public:
    explicit KnobActions(FocusNavigator& n)
        : nav(n)
    {
    }
    FocusNavigator& nav;
    bool busEvent(const BusEvent& e) override
    {
        if (e.kind != BusEvent::Kind::KnobTurn)
            return true;
        for (int i = 0; i < e.value; ++i)
            if (!nav.TurnbottonrightClick())
                return false;
        for (int i = 0; i > e.value; --i)
            if (!nav.TurnbottonleftClick())
                return false;
        return true;
    }
};

const QStringList MainRingClockwise{"BMWpanel1", "BMWpanel2", "BMWpanel6", "BMWpanel7", "BMWpanel8", "BMWpanel123",
                                    "BMWpanel9", "BMWpanel5", "BMWpanel76", "BMWpanel89", "BMWpanel4", "BMWpanel3"};
const QStringList SettingsRingClockwise{"BMWpanel20", "BMWpanel67", "BMWpanel78", "BMWpanel79", "BMWpanel80", "BMWpanel77",
                                        "BMWpanel81", "BMWpanel82", "BMWpanel21", "BMWpanel10", "BMWpanel31"};

template <typename Window>
QStringList walk(FocusNavigator& nav, Window& w, Turn turn, int steps)
{
    QStringList seen{w.focusName()};
    for (int i = 1; i < steps; ++i) {
        nav.step(turn);
        seen << w.focusName();
    }
    return seen;
}

QStringList reversedRing(QStringList ring)
{
    std::reverse(ring.begin() + 1, ring.end());
    return ring;
}

} // namespace

class TestFocusNavigator : public QObject {
    Q_OBJECT
private slots:
    void mainMenuRing_data();
    void mainMenuRing();
    void settingsRing();
    void threeDetentsInOneMessage();
    void explicitMoveToControlThatCannotTakeFocus_data();
    void explicitMoveToControlThatCannotTakeFocus();
    void zoomAdjustMode();
    void adjustModeValueSteps_data();
    void adjustModeValueSteps();
    void laterRulesInOrder_data();
    void laterRulesInOrder();
    void fullScreenMovieRing();
    void subPageWithItsOwnTabOrder();
    void movieInnerWindowIsStepped();
    void knobPicture_data();
    void knobPicture();
    void wheelAndKeys_data();
    void wheelAndKeys();
    void keysGoOnToTheFocusedControl();
    void typingInAFieldDoesNotTurn();
    void plainItemHighlight();
    void nineStepsRepaintOnlyTheirItems();
};

void TestFocusNavigator::mainMenuRing_data()
{
    QTest::addColumn<bool>("radar");
    QTest::addColumn<bool>("launch");
    QTest::addRow("Radar and Launch hidden") << false << false;
    QTest::addRow("Radar shown") << true << false;
    QTest::addRow("Launch shown") << false << true;
    QTest::addRow("both shown") << true << true;
}

void TestFocusNavigator::mainMenuRing()
{
    QFETCH(bool, radar);
    QFETCH(bool, launch);
    RealWindow w;
    w.window.setRadarItemVisible(radar);
    w.window.setLaunchPath(launch ? "/usr/bin/true" : "");
    w.window.ShowPage(PageMain);
    FocusNavigator nav(w.access());
    QStringList ring = MainRingClockwise;
    if (!radar)
        ring.removeAll("BMWpanel89");
    if (!launch)
        ring.removeAll("BMWpanel76");

    w.focus("BMWpanel1");
    QCOMPARE(walk(nav, w, Turn::Clockwise, ring.size() + 1), ring + QStringList{"BMWpanel1"});
    QCOMPARE(walk(nav, w, Turn::CounterClockwise, ring.size() + 1),
             reversedRing(ring) + QStringList{"BMWpanel1"});
}

void TestFocusNavigator::settingsRing()
{
    RealWindow w;
    w.window.ShowPage(PageOptions);
    FocusNavigator nav(w.access());
    w.focus("BMWpanel20");
    const QStringList& ring = SettingsRingClockwise;
    QCOMPARE(walk(nav, w, Turn::Clockwise, ring.size() + 1), ring + QStringList{"BMWpanel20"});
    QCOMPARE(walk(nav, w, Turn::CounterClockwise, ring.size() + 1),
             reversedRing(ring) + QStringList{"BMWpanel20"});
}

void TestFocusNavigator::threeDetentsInOneMessage()
{
    RealWindow w;
    w.window.setRadarItemVisible(false);
    w.window.ShowPage(PageMain);
    FocusNavigator nav(w.access());
    KnobActions actions(nav);
    test::VirtualTime time;
    StatusLog log;
    log.setMessagesEnabled(true);
    BusOptions options;
    CodeTable codes;
    test::FakeRts rts;
    ScreenRelay screen(rts, log);
    screen.forceScreen();
    Dispatcher dispatcher(codes, options, log, screen, actions);

    w.focus("BMWpanel1");
    dispatcher.ProcessIbusText(test::blockText("F0043B498305"));
    QCOMPARE(w.focusName(), "BMWpanel7");
    dispatcher.ProcessIbusText(test::blockText("F0043B490284"));
    QCOMPARE(w.focusName(), "BMWpanel2");
    QVERIFY(!test::texts(log).contains("Error in Process serial input routine"));

    // A step that cannot be carried out is the dispatcher's error, not a crash: a scheme
    // item while another settings sub-page is shown.
    w.window.ShowPage(PageOptions);
    w.find<QTabWidget>("TabbedNotebook1")->setCurrentIndex(2);
    w.focus("BMWpanel20");
    dispatcher.ProcessIbusText(test::blockText("F0043B498107"));
    QCOMPARE(w.focusName(), "BMWpanel20");
    QVERIFY(test::texts(log).contains("Error in Process serial input routine"));
}

void TestFocusNavigator::explicitMoveToControlThatCannotTakeFocus_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("how");
    QTest::addRow("scheme item under another sub-page") << "BMWpanel20" << "BMWpanel67" << "sub-page";
    QTest::addRow("disabled scheme item") << "BMWpanel78" << "BMWpanel79" << "disabled";
    QTest::addRow("hidden menu item") << "BMWpanel1" << "BMWpanel2" << "hidden";
}

void TestFocusNavigator::explicitMoveToControlThatCannotTakeFocus()
{
    QFETCH(QString, from);
    QFETCH(QString, target);
    QFETCH(QString, how);
    RealWindow w;
    w.window.ShowPage(from == "BMWpanel1" ? PageMain : PageOptions);
    if (how == "sub-page")
        w.find<QTabWidget>("TabbedNotebook1")->setCurrentIndex(2);
    else if (how == "hidden")
        w.find(target)->hide();
    else
        w.find(target)->setEnabled(false);
    FocusNavigator nav(w.access());
    w.focus(from);
    QVERIFY(!nav.TurnbottonrightClick());
    QVERIFY2(nav.lastError().contains(target), qPrintable(nav.lastError()));
    QCOMPARE(w.focusName(), from);
    // The next step that can be carried out succeeds and clears the error.
    QVERIFY(nav.TurnbottonleftClick());
    QVERIFY(nav.lastError().isEmpty());
    QVERIFY(w.focusName() != from);
}

void TestFocusNavigator::zoomAdjustMode()
{
    InputWindow w;
    w.pages->hide(); // a movie fills the screen
    w.find("MovieOptionsPanel")->show();
    FocusNavigator nav(w.access());
    RecordingHooks hooks;
    nav.setHooks(&hooks);
    auto* zoom = w.find<TBMWpanel>("BMWpanel48");
    zoom->setFocus();

    nav.TurnbottonrightClick(); // no adjust mode: the focus moves
    QCOMPARE(w.focusName(), "BMWpanel50");
    QCOMPARE(zoom->BMW_supercaption(), "BMWpanel48");
    hooks.calls.clear();

    zoom->setFocus();
    nav.adjustMode().setOn(AdjustMode::Zoom, true);
    nav.TurnbottonrightClick();
    QCOMPARE(zoom->BMW_supercaption(), "Zoom 110 %");
    QCOMPARE(nav.movieZoom(), 110);
    QCOMPARE(w.focusName(), "BMWpanel48");
    for (int i = 0; i < 12; ++i)
        nav.TurnbottonleftClick();
    // Zooming out stops at 10 %.
    QCOMPARE(nav.movieZoom(), 10);
    QCOMPARE(zoom->BMW_supercaption(), "Zoom 10 %");
    QCOMPARE(hooks.calls.first(), "zoom110");
    QCOMPARE(hooks.calls.last(), "zoom10");
    QCOMPARE(hooks.calls.count("zoom10"), 1);
}

void TestFocusNavigator::adjustModeValueSteps_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("flag");
    QTest::addColumn<QString>("clockwise");
    QTest::addColumn<QString>("counterClockwise");
    QTest::addRow("radar scale") << "BMWpanel105" << int(AdjustMode::RadarScale) << "scale+" << "scale-";
    QTest::addRow("speed") << "BMWpanel124" << int(AdjustMode::Speed) << "speed2000" << "speed-2000";
    QTest::addRow("band 1") << "BMWpanel129" << int(AdjustMode::Eq1) << "eq1:1" << "eq1:-1";
    QTest::addRow("band 2") << "BMWpanel130" << int(AdjustMode::Eq2) << "eq2:1" << "eq2:-1";
    QTest::addRow("band 3") << "BMWpanel131" << int(AdjustMode::Eq3) << "eq3:1" << "eq3:-1";
    QTest::addRow("band 4") << "BMWpanel134" << int(AdjustMode::Eq4) << "eq4:1" << "eq4:-1";
    QTest::addRow("band 5") << "BMWpanel133" << int(AdjustMode::Eq5) << "eq5:1" << "eq5:-1";
    QTest::addRow("band 6") << "BMWpanel132" << int(AdjustMode::Eq6) << "eq6:1" << "eq6:-1";
    QTest::addRow("reverb") << "BMWpanel135" << int(AdjustMode::Reverb) << "reverb1" << "reverb-1";
    QTest::addRow("luminance") << "BMWpanel51" << int(AdjustMode::Luminance) << "lighter" << "darker";
}

void TestFocusNavigator::adjustModeValueSteps()
{
    QFETCH(QString, item);
    QFETCH(int, flag);
    QFETCH(QString, clockwise);
    QFETCH(QString, counterClockwise);
    InputWindow w;
    QWidget* target = w.find(item);
    for (QWidget* p = target; p && p != &w.window; p = p->parentWidget())
        if (auto* page = qobject_cast<QStackedWidget*>(p->parentWidget()))
            page->setCurrentWidget(p);
    w.find("MovieOptionsPanel")->setVisible(item == "BMWpanel51");
    FocusNavigator nav(w.access());
    RecordingHooks hooks;
    nav.setHooks(&hooks);
    nav.setDisplayActions([&] { hooks.calls << "lighter"; }, [&] { hooks.calls << "darker"; });
    nav.adjustMode().setOn(AdjustMode::Control(flag), true);
    target->setFocus();
    nav.TurnbottonrightClick();
    nav.TurnbottonleftClick();
    QCOMPARE(hooks.calls, (QStringList{clockwise, counterClockwise}));
    QCOMPARE(w.focusName(), item);
}

void TestFocusNavigator::laterRulesInOrder_data()
{
    QTest::addColumn<bool>("clockwise");
    QTest::addColumn<QStringList>("applies");
    QTest::addColumn<QStringList>("reached");
    QTest::addColumn<bool>("focusMoved");
    const QStringList cwAll{"trackSeek", "movieSeek", "webRow", "urlList", "webArea", "mailText", "musicList",
                            "movieList", "mailHeaderList"};
    const QStringList ccwAll{"trackSeek", "movieSeek", "webArea", "mailText", "musicList", "movieList",
                             "mailHeaderList"};
    QTest::addRow("clockwise, none applies") << true << QStringList() << cwAll << true;
    QTest::addRow("counter-clockwise, none applies") << false << QStringList() << ccwAll << true;
    QTest::addRow("track seek takes the step") << true << QStringList{"trackSeek", "musicList"}
                                               << QStringList{"trackSeek"} << false;
    QTest::addRow("URL list before the web area") << true << QStringList{"urlList", "webArea"}
                                                  << cwAll.mid(0, 4) << false;
    QTest::addRow("music list") << false << QStringList{"musicList"} << ccwAll.mid(0, 5) << false;
}

void TestFocusNavigator::laterRulesInOrder()
{
    QFETCH(bool, clockwise);
    QFETCH(QStringList, applies);
    QFETCH(QStringList, reached);
    QFETCH(bool, focusMoved);
    InputWindow w;
    FocusNavigator nav(w.access());
    RecordingHooks hooks;
    hooks.applies = applies;
    nav.setHooks(&hooks);
    w.focus("BMWpanel3"); // no explicit move in either direction
    QVERIFY(nav.step(clockwise ? Turn::Clockwise : Turn::CounterClockwise));
    QCOMPARE(hooks.calls, reached);
    QCOMPARE(w.focusName() != "BMWpanel3", focusMoved);
}

void TestFocusNavigator::fullScreenMovieRing()
{
    InputWindow w;
    w.pages->hide();
    w.find("MovieOptionsPanel")->show();
    FocusNavigator nav(w.access());
    w.focus("BMWpanel88");
    QCOMPARE(walk(nav, w, Turn::CounterClockwise, 7),
             (QStringList{"BMWpanel88", "BMWpanel50", "BMWpanel48", "BMWpanel49", "BMWpanel52", "BMWpanel51",
                          "BMWpanel88"}));
}

void TestFocusNavigator::subPageWithItsOwnTabOrder()
{
    // Another settings sub-page: the scheme items are hidden, the sub-page's fields are
    // walked in the toolkit's tab order.
    InputWindow w;
    w.pages->setCurrentIndex(1);
    w.find("Schemes")->hide();
    auto* server = new QLineEdit(w.page(1));
    server->setObjectName("EditServer");
    auto* port = new QLineEdit(w.page(1));
    port->setObjectName("EditPort");
    QWidget::setTabOrder(server, port);
    FocusNavigator nav(w.access());
    server->setFocus();
    nav.TurnbottonleftClick();
    QCOMPARE(w.focusName(), "EditPort");
    nav.TurnbottonrightClick();
    QCOMPARE(w.focusName(), "EditServer");
}

void TestFocusNavigator::movieInnerWindowIsStepped()
{
    InputWindow w;
    auto* inner = new QWidget(w.find("BMWpanel4")->parentWidget());
    inner->setObjectName("AMComponent4");
    inner->setFocusPolicy(Qt::StrongFocus);
    // The movie player's inner window sits in the ring after BMWpanel4.
    WindowAccess a = w.access();
    a.forwardOrder = [&w](int) {
        QList<QWidget*> order;
        for (const char* n : {"BMWpanel1", "BMWpanel3", "BMWpanel4", "AMComponent4", "BMWpanel5"})
            order << w.find(n);
        return order;
    };
    FocusNavigator withPlayer(a);
    w.focus("BMWpanel4");
    withPlayer.TurnbottonleftClick();
    QCOMPARE(w.focusName(), "BMWpanel5");
}

void TestFocusNavigator::knobPicture_data()
{
    QTest::addColumn<QList<int>>("turns"); // +1 clockwise, -1 counter-clockwise
    QTest::addColumn<int>("position");
    QTest::addRow("one clockwise") << QList<int>{1} << 1;
    QTest::addRow("counter-clockwise from 0 to 10") << QList<int>{-1} << 10;
    QTest::addRow("clockwise from 10 to 0") << QList<int>{-1, 1} << 0;
    QTest::addRow("eleven clockwise come round") << QList<int>(11, 1) << 0;
}

void TestFocusNavigator::knobPicture()
{
    QFETCH(QList<int>, turns);
    QFETCH(int, position);
    InputWindow w;
    FocusNavigator nav(w.access());
    QList<int> reported;
    connect(&nav, &FocusNavigator::knobPositionChanged, this, [&](int p) { reported << p; });
    for (int t : turns)
        nav.step(t > 0 ? Turn::Clockwise : Turn::CounterClockwise);
    QCOMPARE(nav.knobPosition(), position);
    QCOMPARE(reported.size(), turns.size());
}

void TestFocusNavigator::wheelAndKeys_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("presses");
    QTest::addRow("wheel down = clockwise") << "wheel-120" << "BMWpanel2" << 0;
    QTest::addRow("wheel up = counter-clockwise") << "wheel120" << "BMWpanel3" << 0;
    QTest::addRow("two notches in one event") << "wheel-240" << "BMWpanel6" << 0;
    QTest::addRow("half notch waits for the rest") << "wheel-60" << "BMWpanel1" << 0;
    QTest::addRow("key R = clockwise") << "R" << "BMWpanel2" << 0;
    QTest::addRow("key L = counter-clockwise") << "L" << "BMWpanel3" << 0;
    QTest::addRow("key C = knob press") << "C" << "BMWpanel1" << 1;
    QTest::addRow("other key") << "X" << "BMWpanel1" << 0;
}

void TestFocusNavigator::wheelAndKeys()
{
    QFETCH(QString, input);
    QFETCH(QString, focus);
    QFETCH(int, presses);
    RealWindow w;
    w.window.ShowPage(PageMain);
    QVERIFY(w.showActive());
    FocusNavigator nav(w.access());
    int pressed = 0;
    nav.setKnobPress([&] { ++pressed; });
    nav.installInputFilter(w.window);
    w.focus("BMWpanel1");
    QWidget* target = w.find("BMWpanel1");
    if (input.startsWith("wheel")) {
        const int delta = input.mid(5).toInt();
        const QPointF at(10, 10);
        QWheelEvent e(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &e);
        QVERIFY(e.isAccepted());
    } else {
        QTest::keyClick(target, input.at(0).toLower().toLatin1());
    }
    QCOMPARE(w.focusName(), focus);
    QCOMPARE(pressed, presses);
}

void TestFocusNavigator::keysGoOnToTheFocusedControl()
{
    RealWindow w;
    w.window.ShowPage(PageMain);
    QVERIFY(w.showActive());
    FocusNavigator nav(w.access());
    nav.installInputFilter(w.window);
    w.focus("BMWpanel1");
    QStringList seen;
    struct Recorder : QObject {
        QStringList* seen;
        bool eventFilter(QObject* o, QEvent* e) override
        {
            if (e->type() == QEvent::KeyPress)
                *seen << o->objectName();
            return false;
        }
    } recorder;
    recorder.seen = &seen;
    w.find("BMWpanel1")->installEventFilter(&recorder);
    QTest::keyClick(w.find("BMWpanel1"), Qt::Key_R);
    QCOMPARE(seen, QStringList{"BMWpanel1"});
    QCOMPARE(w.focusName(), "BMWpanel2");
}

void TestFocusNavigator::typingInAFieldDoesNotTurn()
{
    RealWindow w;
    w.window.ShowPage(PageOptions);
    w.find<QTabWidget>("TabbedNotebook1")->setCurrentIndex(2); // "Dir, Sound && Starts"
    auto* field = w.find<QLineEdit>("Edit11");
    QVERIFY(w.showActive());
    FocusNavigator nav(w.access());
    nav.installInputFilter(w.window);
    field->setFocus();
    QTest::keyClicks(field, "rlc");
    QCOMPARE(field->text(), "rlc");
    QCOMPARE(w.focusName(), "Edit11");
    QCOMPARE(nav.knobPosition(), 0);
}

void TestFocusNavigator::plainItemHighlight()
{
    RealWindow w;
    FocusNavigator nav(w.access());
    QVERIFY(w.showActive());
    w.window.ShowPage(PageMusic);
    QWidget* a = w.find("BitBtnWithColor10");
    QWidget* back = w.find("BMWpanel11");
    const QColor orange = fromBgr(w.roles().clOrange);
    const QColor black = fromBgr(w.roles().clschwarz);

    back->setFocus();
    a->setFocus();
    QCOMPARE(Controls::background(a), orange);
    back->setFocus();
    QCOMPARE(Controls::background(a), black);
    QVERIFY(w.find<TBMWpanel>("BMWpanel11")->BMW_highlighted());

    // The URL list panel is entered through its list and hidden when the focus leaves it.
    w.window.ShowPage(PageWeb);
    QWidget* urlList = w.find("BitBtnWithColor100");
    urlList->show();
    w.find("ListBox1")->setFocus();
    QCOMPARE(Controls::background(urlList), orange);
    w.find("BMWpanel44")->setFocus();
    QCOMPARE(Controls::background(urlList), black);
    QVERIFY(urlList->isHidden());
}

void TestFocusNavigator::nineStepsRepaintOnlyTheirItems()
{
    RealWindow w;
    w.window.setRadarItemVisible(true);
    w.window.setLaunchPath("/usr/bin/true");
    w.window.ShowPage(PageMain);
    QVERIFY(w.showActive());
    FocusNavigator nav(w.access());
    w.focus("BMWpanel1");
    QTest::qWait(50);
    QStringList painted;
    struct PaintRecorder : QObject {
        QStringList* painted;
        bool eventFilter(QObject* o, QEvent* e) override
        {
            if (e->type() == QEvent::Paint)
                *painted << o->objectName();
            return false;
        }
    } recorder;
    recorder.painted = &painted;
    for (QWidget* i : w.window.findChildren<QWidget*>())
        i->installEventFilter(&recorder);
    w.window.installEventFilter(&recorder);

    QElapsedTimer t;
    t.start();
    for (int i = 0; i < 9; ++i)
        nav.TurnbottonrightClick();
    QCoreApplication::processEvents();
    const qint64 us = t.nsecsElapsed() / 1000;
    QCOMPARE(w.focusName(), "BMWpanel89");
    qInfo("9 steps and their repaint: %lld us", us);
    QVERIFY2(us < 500000, qPrintable(QString::number(us)));
    // The two items of each step repaint, nothing else: not the page, not the items
    // the focus did not pass.
    painted.removeDuplicates();
    QVERIFY(painted.contains("BMWpanel1") && painted.contains("BMWpanel89"));
    QVERIFY(!painted.contains("Main"));
    QVERIFY(!painted.contains("Form1"));
    QVERIFY(!painted.contains("BMWpanel4"));
    QVERIFY(!painted.contains("BMWpanel3"));
    for (const QString& n : painted)
        QVERIFY2(MainRingClockwise.mid(0, 10).contains(n), qPrintable(n));
}

QTEST_MAIN(TestFocusNavigator)
#include "tst_focusnavigator.moc"
