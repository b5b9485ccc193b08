#include "InputFixture.h"

#include "ui/FocusNavigator.h"
#include "ui/PlainPanel.h"
#include "ui/SelectActions.h"

#include <QCursor>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace zarn;
using zarn::test::InputWindow;
using zarn::test::RealWindow;

namespace {

class RecordingSelectHooks : public SelectHooks {
public:
    QStringList calls;
    QStringList applies;
    bool rule(const QString& name)
    {
        calls << name;
        return applies.contains(name);
    }
    bool closeRearCamera() override { return rule("camera"); }
    bool showNowPlayingOptions() override { return rule("nowPlayingOptions"); }
    bool urlListPress(QWidget*) override { return rule("urlList"); }
    bool mailPagePress(QWidget*) override { return rule("mail"); }
    bool showMovieOptions() override { return rule("movieOptions"); }
    bool listPress(QWidget*) override { return rule("list"); }
    void longClick() override { calls << "longClick"; }
};

class RecordingPlayer : public PlayerHooks {
public:
    bool movie = false;
    bool track = false;
    bool random = false;
    QStringList calls;
    bool movieRunning() const override { return movie; }
    bool trackPlaying() const override { return track; }
    bool randomMode() const override { return random; }
    void skipMovie(int d) override { calls << QStringLiteral("movie%1").arg(d); }
    void nextTrack() override { calls << "next"; }
    void previousTrack() override { calls << "previous"; }
    void endTrack() override { calls << "end"; }
    void seekTrack(int s) override { calls << QStringLiteral("seek%1").arg(s); }
    void restartMovieOptionsTimer() override { calls << "movieOptionsTimer"; }
};

template <typename Window>
struct BenchOn {
    Window w;
    FocusNavigator nav{w.access()};
    SelectActions select{w.access(), nav};
    RecordingSelectHooks hooks;
    RecordingPlayer player;
    QStringList display;
    QStringList clicked;

    BenchOn()
    {
        select.setHooks(&hooks);
        select.setPlayerHooks(&player);
        nav.setDisplayActions([this] { display << "Lighter"; }, [this] { display << "Darker"; });
    }
    // Records the click of a named item (creating it on a page if the window lacks it).
    TBMWpanel* watched(const QString& name, int page = 0)
    {
        auto* item = w.template find<TBMWpanel>(name);
        if (!item)
            item = w.addItem(page, name);
        QObject::connect(item, &TBMWpanel::clicked, [this, name] { clicked << name; });
        return item;
    }
};

using Bench = BenchOn<RealWindow>;

} // namespace

class TestSelectActions : public QObject {
    Q_OBJECT
private slots:
    void knobPressByKindOfControl_data();
    void knobPressByKindOfControl();
    void knobPressOnPanels_data();
    void knobPressOnPanels();
    void laterRulesComeInOrder_data();
    void laterRulesComeInOrder();
    void zoomAdjustModeOnAndOff();
    void adjustModeIndicators_data();
    void adjustModeIndicators();
    void keyCIsTheKnobPress();
    void presetsByPage_data();
    void presetsByPage();
    void safetyScreen();
    void steeringButtons_data();
    void steeringButtons();
    void mouseClickAtThePointer();
};

void TestSelectActions::knobPressByKindOfControl_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("page");
    QTest::addColumn<bool>("runs");
    QTest::addRow("main menu item") << "BMWpanel1" << 0 << true;
    QTest::addRow("main menu Rear Cam") << "BMWpanel123" << 0 << true;
    QTest::addRow("option item Restart") << "BMWpanel67" << 1 << true;
    QTest::addRow("option item of the now-playing panel") << "BMWpanel54" << 5 << true;
    QTest::addRow("settings Lighter") << "BMWpanel21" << 1 << true;
    QTest::addRow("radar page item") << "BMWPanel96" << 13 << true;
    QTest::addRow("question page item") << "BMWpanel74" << 15 << true;
    QTest::addRow("scale page BMWpanel33 is not listed") << "BMWpanel33" << 9 << false;
    QTest::addRow("radar's Record Hot Spot is not listed") << "BMWpanel122" << 13 << false;
}

void TestSelectActions::knobPressByKindOfControl()
{
    QFETCH(QString, item);
    QFETCH(int, page);
    QFETCH(bool, runs);
    Bench b;
    b.w.window.ShowPage(page);
    b.watched(item, page)->setFocus();
    b.select.SelButton1Click();
    QCOMPARE(b.clicked, runs ? QStringList{item} : QStringList());
}

void TestSelectActions::knobPressOnPanels_data()
{
    QTest::addColumn<QString>("panel");
    QTest::addColumn<int>("page");
    QTest::addRow("music key a") << "BitBtnWithColor10" << int(PageMusic);
    QTest::addRow("music key <") << "Panel82" << int(PageMusic);
    QTest::addRow("alternate menu word") << "E644Panel" << int(PageAlternateMenu);
    QTest::addRow("last alternate menu word") << "E60QuilPanel" << int(PageAlternateMenu);
}

void TestSelectActions::knobPressOnPanels()
{
    QFETCH(QString, panel);
    QFETCH(int, page);
    Bench b;
    b.w.window.ShowPage(page);
    QWidget* target = b.w.find(panel);
    QSignalSpy spy(target, SIGNAL(clicked()));
    target->setFocus();
    b.select.SelButton1Click();
    QCOMPARE(spy.count(), 1);
}

void TestSelectActions::laterRulesComeInOrder_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("applies");
    QTest::addColumn<QStringList>("reached");
    QTest::addColumn<bool>("itemRuns");
    QTest::addRow("nothing applies: the menu item runs")
        << 0 << QStringList() << QStringList{"camera", "urlList", "mail", "movieOptions", "list"} << true;
    QTest::addRow("rear camera closes, whatever has the focus")
        << 0 << QStringList{"camera"} << QStringList{"camera"} << false;
    QTest::addRow("now-playing options only on page 5")
        << 5 << QStringList{"nowPlayingOptions"} << QStringList{"camera", "nowPlayingOptions"} << false;
    QTest::addRow("full-screen movie before the lists")
        << 0 << QStringList{"movieOptions", "list"} << QStringList{"camera", "urlList", "mail", "movieOptions"}
        << false;
}

void TestSelectActions::laterRulesComeInOrder()
{
    QFETCH(int, page);
    QFETCH(QStringList, applies);
    QFETCH(QStringList, reached);
    QFETCH(bool, itemRuns);
    Bench b;
    b.hooks.applies = applies;
    b.watched("BMWpanel1");
    b.w.window.ShowPage(page);
    b.w.focus("BMWpanel1"); // the focus as the press arrives
    b.select.SelButton1Click();
    QCOMPARE(b.hooks.calls, reached);
    QCOMPARE(!b.clicked.isEmpty(), itemRuns);
}

void TestSelectActions::zoomAdjustModeOnAndOff()
{
    BenchOn<InputWindow> b; // the movie overlay
    b.w.pages->hide();
    b.w.find("MovieOptionsPanel")->show();
    auto* zoom = b.watched("BMWpanel48");
    zoom->setFocus();

    b.select.SelButton1Click();
    QVERIFY(b.nav.adjustMode().isOn(AdjustMode::Zoom));
    QCOMPARE(zoom->fontColor(), fromBgr(b.w.roles.clOrange));
    b.nav.TurnbottonrightClick();
    QCOMPARE(zoom->BMW_supercaption(), "Zoom 110 %");
    QCOMPARE(b.w.focusName(), "BMWpanel48");

    b.select.SelButton1Click();
    QVERIFY(!b.nav.adjustMode().isOn(AdjustMode::Zoom));
    QCOMPARE(zoom->fontColor(), fromBgr(b.w.roles.clreadabletext));
    b.nav.TurnbottonrightClick();
    QCOMPARE(b.w.focusName(), "BMWpanel50");
    QVERIFY(b.clicked.isEmpty()); // the press toggles the mode, it does not click
}

void TestSelectActions::adjustModeIndicators_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("indicator");
    QTest::addRow("speed shows itself") << "BMWpanel124" << "BMWpanel124";
    QTest::addRow("band 1 shows 80") << "BMWpanel129" << "Label4";
    QTest::addRow("band 4 shows 2000") << "BMWpanel134" << "Label63";
    QTest::addRow("band 6 shows 8000") << "BMWpanel132" << "Label65";
    QTest::addRow("reverb") << "BMWpanel135" << "Label2";
    QTest::addRow("radar scale") << "BMWpanel105" << "BMWpanel105";
    QTest::addRow("luminance shows itself") << "BMWpanel51" << "BMWpanel51";
}

void TestSelectActions::adjustModeIndicators()
{
    QFETCH(QString, item);
    QFETCH(QString, indicator);
    BenchOn<InputWindow> b; // the movie overlay and the radar knob picture
    QWidget* target = b.w.find(item);
    if (item == "BMWpanel51") {
        b.w.pages->hide();
        b.w.find("MovieOptionsPanel")->show();
    } else {
        b.w.pages->setCurrentWidget(target->parentWidget());
    }
    target->setFocus();
    QWidget* knob = b.w.find("mKnob1");
    const auto color = [&] {
        QWidget* i = b.w.find(indicator);
        if (auto* t = qobject_cast<TBMWpanel*>(i))
            return t->fontColor();
        return i->palette().color(QPalette::WindowText);
    };
    b.select.SelButton1Click();
    QCOMPARE(color(), fromBgr(b.w.roles.clOrange));
    QVERIFY(b.nav.adjustMode().isOn(AdjustMode::rowFor(item)->control));
    QCOMPARE(knob->isVisibleTo(&b.w.window), item == "BMWpanel105");
    b.select.SelButton1Click();
    QCOMPARE(color(), fromBgr(b.w.roles.clreadabletext));
    QVERIFY(!knob->isVisibleTo(&b.w.window));
}

void TestSelectActions::keyCIsTheKnobPress()
{
    Bench b;
    b.watched("BMWpanel2");
    b.w.window.ShowPage(PageMain);
    QVERIFY(b.w.showActive());
    b.nav.installInputFilter(b.w.window);
    b.w.focus("BMWpanel2");
    QTest::keyClick(b.w.find("BMWpanel2"), Qt::Key_C);
    QCOMPARE(b.clicked, QStringList{"BMWpanel2"});
}

void TestSelectActions::presetsByPage_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("effect");
    QTest::addRow("main menu 1: darker") << 0 << 1 << "Darker";
    QTest::addRow("main menu 2: pointer left") << 0 << 2 << "pointer -10 0";
    QTest::addRow("main menu 3: nothing") << 0 << 3 << "";
    QTest::addRow("main menu 4: lighter") << 0 << 4 << "Lighter";
    QTest::addRow("main menu 5: pointer right") << 0 << 5 << "pointer 10 0";
    QTest::addRow("main menu 6: pointer down") << 0 << 6 << "pointer 0 10";
    QTest::addRow("radar page 1: darker") << 13 << 1 << "Darker";
    QTest::addRow("web 1: click at the pointer") << 2 << 1 << "click";
    QTest::addRow("web 2: pointer left") << 2 << 2 << "pointer -10 0";
    QTest::addRow("web 3: nothing") << 2 << 3 << "";
    QTest::addRow("web 4: pointer up") << 2 << 4 << "pointer 0 -10";
    QTest::addRow("now playing 1: pause") << 5 << 1 << "BMWpanel54";
    QTest::addRow("now playing 2: previous") << 5 << 2 << "BMWpanel56";
    QTest::addRow("now playing 3: rewind") << 5 << 3 << "BMWpanel57";
    QTest::addRow("now playing 4") << 5 << 4 << "BMWpanel59";
    QTest::addRow("now playing 5: next") << 5 << 5 << "BMWpanel60";
    QTest::addRow("now playing 6: fast forward") << 5 << 6 << "BMWpanel61";
}

void TestSelectActions::presetsByPage()
{
    QFETCH(int, page);
    QFETCH(int, key);
    QFETCH(QString, effect);
    Bench b;
    auto* webButton = new QPushButton(b.w.window.page(PageWeb)); // stands for the web view
    webButton->setGeometry(0, 0, 800, 535);
    QStringList webClicks;
    connect(webButton, &QPushButton::clicked, this, [&] { webClicks << "click"; });
    for (const char* n : {"BMWpanel54", "BMWpanel56", "BMWpanel57", "BMWpanel59", "BMWpanel60", "BMWpanel61"})
        b.watched(n, 5); // the options panel is hidden: the items still run
    QVERIFY(b.w.showActive());
    b.w.window.ShowPage(page);
    QVERIFY(b.w.find("MP3OptionsPanel")->isHidden());
    const QPoint start = b.w.window.mapToGlobal(QPoint(400, 300));
    QVERIFY(page != PageWeb || QApplication::widgetAt(start) == webButton);
    QCursor::setPos(start);
    QCOMPARE(QCursor::pos(), start);

    b.select.preset(key);

    QStringList effects = b.display + b.clicked + webClicks;
    const QPoint moved = QCursor::pos() - start;
    if (!moved.isNull())
        effects << QStringLiteral("pointer %1 %2").arg(moved.x()).arg(moved.y());
    QCOMPARE(effects, effect.isEmpty() ? QStringList() : QStringList{effect});
}

void TestSelectActions::safetyScreen()
{
    Bench b;
    b.w.window.ShowPage(PageIbus);
    b.w.shownPages.clear();
    auto* screen = b.w.find<PlainPanel>("Sicherheit");
    QVERIFY(b.w.showActive());

    b.select.SelButton7Click();
    QVERIFY(screen->isVisible());
    QCOMPARE(screen->caption(), "Zu Ihrer Sicherheit TV nur im Stand");
    QCOMPARE(screen->geometry(), b.w.window.rect()); // header included
    QCOMPARE(b.w.window.childAt(10, 10), screen);
    QCOMPARE(b.w.window.headerDock(), ZarnWindow::HeaderDock::None);
    QVERIFY(b.w.shownPages.isEmpty());

    b.select.SelButton7Click();
    QVERIFY(!screen->isVisible());
    QCOMPARE(b.w.shownPages, QList<int>{PageIbus});

    // A click on the safety screen is the radio/telephone button.
    b.select.SelButton7Click();
    QTest::mouseClick(screen, Qt::LeftButton);
    QVERIFY(!screen->isVisible());
    QCOMPARE(b.w.shownPages, (QList<int>{PageIbus, PageIbus}));
}

void TestSelectActions::steeringButtons_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("call");
    QTest::addRow("up, movie runs") << "movie track" << "up" << "movie1";
    QTest::addRow("up, track plays") << "track" << "up" << "next";
    QTest::addRow("up, nothing plays") << "" << "up" << "";
    QTest::addRow("down, movie runs") << "movie random track" << "down" << "movie-1";
    QTest::addRow("down, random play") << "random track" << "down" << "end";
    QTest::addRow("down, track plays") << "track" << "down" << "previous";
    QTest::addRow("down, nothing plays") << "" << "down" << "";
    QTest::addRow("long up with the pages shown") << "track" << "longUp" << "seek3";
    QTest::addRow("long down with the pages shown") << "track" << "longDown" << "seek-3";
    QTest::addRow("long up, full-screen movie") << "movie fullscreen" << "longUp" << "movieOptionsTimer";
    QTest::addRow("long down, full-screen movie") << "movie fullscreen" << "longDown" << "movieOptionsTimer";
}

void TestSelectActions::steeringButtons()
{
    QFETCH(QString, state);
    QFETCH(QString, button);
    QFETCH(QString, call);
    Bench b;
    b.player.movie = state.contains("movie");
    b.player.track = state.contains("track");
    b.player.random = state.contains("random");
    b.w.pages()->setVisible(!state.contains("fullscreen"));
    if (button == "up")
        b.select.SteerUPClick();
    else if (button == "down")
        b.select.SelButton8Click();
    else if (button == "longUp")
        b.select.LongclicksteerUPClick();
    else
        b.select.LongclicksteerDOWNClick();
    QCOMPARE(b.player.calls, call.isEmpty() ? QStringList() : QStringList{call});
}

void TestSelectActions::mouseClickAtThePointer()
{
    RealWindow w;
    w.window.ShowPage(PageMain);
    auto* button = new QPushButton("Go", w.window.page(PageMain));
    button->setGeometry(500, 400, 100, 50);
    QVERIFY(w.showActive());
    QSignalSpy spy(button, &QPushButton::clicked);
    TMouseControl mouse;
    const QPoint at = button->mapToGlobal(QPoint(50, 25));
    mouse.setX(at.x());
    mouse.setY(at.y());
    QCOMPARE(QPoint(mouse.X(), mouse.Y()), at);
    QVERIFY(mouse.MouseClick());
    QCOMPARE(spy.count(), 1);

    // Nowhere over the program: nothing to click.
    QCursor::setPos(w.window.mapToGlobal(QPoint(-500, -500)));
    QVERIFY(!mouse.MouseClick());
}

QTEST_MAIN(TestSelectActions)
#include "tst_selectactions.moc"
