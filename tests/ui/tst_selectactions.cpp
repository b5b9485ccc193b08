#include "InputFixture.h"

#include "ui/FocusNavigator.h"
#include "ui/KnobInputFilter.h"
#include "ui/PlainPanel.h"
#include "ui/Players.h"
#include "ui/SelectActions.h"

#include <QCursor>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace zarn;
using zarn::test::InputWindow;
using zarn::test::RealWindow;

namespace {

// Stands in front of the window's own page input: records what it is asked, takes the
// inputs named in `applies` and hands the others on to the page.
class RecordingPage : public PageInput {
public:
    std::function<PageInput*()> page;
    QStringList calls;
    QStringList applies;

    template <typename Ask>
    bool rule(const QString& name, Ask ask)
    {
        calls << name;
        if (applies.contains(name))
            return true;
        PageInput* p = page ? page() : nullptr;
        return p && ask(*p);
    }
    bool pressFirst(QWidget* f) override { return rule("pressFirst", [f](PageInput& p) { return p.pressFirst(f); }); }
    bool press(QWidget* f) override { return rule("press", [f](PageInput& p) { return p.press(f); }); }
    bool longPress() override { return rule("longPress", [](PageInput& p) { return p.longPress(); }); }
    bool steer(Steer b) override
    {
        static const char* const names[] = {"steerUp", "steerDown", "longUp", "longDown"};
        return rule(names[int(b)], [b](PageInput& p) { return p.steer(b); });
    }
    bool preset(int key) override { return rule("preset", [key](PageInput& p) { return p.preset(key); }); }
};

class RecordingPlayer : public Players {
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
    RecordingPage hooks;
    RecordingPlayer player;
    FocusNavigator nav{access()};
    SelectActions select{access(), nav};
    QStringList display;
    QStringList clicked;

    WindowAccess access()
    {
        WindowAccess a = w.access();
        hooks.page = a.input;
        a.input = [this] { return &hooks; };
        a.players = [this]() -> Players& { return player; };
        return a;
    }

    BenchOn()
    {
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
    void pageStagesOfTheKnobPress_data();
    void pageStagesOfTheKnobPress();
    void adjustModeBeforeThePage();
    void longKnobPressIsThePages();
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

void TestSelectActions::pageStagesOfTheKnobPress_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("applies");
    QTest::addColumn<QStringList>("reached");
    QTest::addColumn<bool>("itemRuns");
    QTest::addRow("page takes nothing: the menu item runs")
        << "BMWpanel1" << 0 << QStringList() << QStringList{"pressFirst", "press"} << true;
    QTest::addRow("first stage, whatever has the focus (rear camera)")
        << "BMWpanel1" << 0 << QStringList{"pressFirst"} << QStringList{"pressFirst"} << false;
    QTest::addRow("page's rules before the menu items")
        << "BMWpanel1" << 0 << QStringList{"press"} << QStringList{"pressFirst", "press"} << false;
    QTest::addRow("option items before the page's rules")
        << "BMWpanel67" << 1 << QStringList{"press"} << QStringList{"pressFirst"} << true;
    QTest::addRow("alternate menu word after the page's rules")
        << "E644Panel" << 8 << QStringList() << QStringList{"pressFirst", "press"} << true;
}

void TestSelectActions::pageStagesOfTheKnobPress()
{
    QFETCH(QString, item);
    QFETCH(int, page);
    QFETCH(QStringList, applies);
    QFETCH(QStringList, reached);
    QFETCH(bool, itemRuns);
    Bench b;
    b.hooks.applies = applies;
    b.w.window.ShowPage(page);
    QWidget* target = b.w.find(item);
    QSignalSpy clicks(target, SIGNAL(clicked()));
    target->setFocus(); // the focus as the press arrives
    b.select.SelButton1Click();
    QCOMPARE(b.hooks.calls, reached);
    QCOMPARE(clicks.count() > 0, itemRuns);
}

void TestSelectActions::adjustModeBeforeThePage()
{
    BenchOn<InputWindow> b;
    b.hooks.applies = QStringList{"press"};
    b.w.pages->setCurrentIndex(PageSoundFx);
    b.w.focus("BMWpanel124");
    b.select.SelButton1Click();
    QVERIFY(b.nav.adjustMode().isOn(AdjustMode::Speed));
    QCOMPARE(b.hooks.calls, QStringList{"pressFirst"});
}

void TestSelectActions::longKnobPressIsThePages()
{
    Bench b;
    b.select.longClick();
    QCOMPARE(b.hooks.calls, QStringList{"longPress"});
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
    KnobInputFilter filter(b.nav, [&b] { b.select.SelButton1Click(); });
    filter.install(b.w.window);
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
    QTest::addRow("up taken by the page") << "movie track page" << "up" << "";
    QTest::addRow("down taken by the page") << "random track page" << "down" << "";
    QTest::addRow("long up taken by the page") << "track page" << "longUp" << "";
    QTest::addRow("long down taken by the page") << "movie fullscreen page" << "longDown" << "";
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
    if (state.contains("page"))
        b.hooks.applies = QStringList{"steerUp", "steerDown", "longUp", "longDown"};
    if (button == "up")
        b.select.SteerUPClick();
    else if (button == "down")
        b.select.SelButton8Click();
    else if (button == "longUp")
        b.select.LongclicksteerUPClick();
    else
        b.select.LongclicksteerDOWNClick();
    QCOMPARE(b.player.calls, call.isEmpty() ? QStringList() : QStringList{call});
    QCOMPARE(b.hooks.calls.size(), 1); // the page was asked first
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
