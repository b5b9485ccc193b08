// The window: page switching and header styles, the main menu and back items, the
// screen layout, the "Scale" page, the status log page and the serial settings.
#include "core/StatusLog.h"
#include "ui/Players.h"
#include "ui/PlainPanel.h"
#include "ui/SplashScreen.h"
#include "ui/TBMWpanel.h"
#include "ui/ZarnWindow.h"
#include "ui/pages/ComTab.h"
#include "ui/pages/MainMenuPage.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace zarn;

namespace {

// The players' state, and the requests the window's items send out of it.
class FakeActions : public Players {
public:
    bool playing = false;
    bool movie = false;
    QStringList calls;
    bool trackPlaying() const override { return playing; }
    bool movieRunning() const override { return movie; }

    void record(ZarnWindow& w)
    {
        const auto call = [this](const char* name) { return [this, name] { calls << QLatin1String(name); }; };
        MainMenuPage* menu = w.mainMenu();
        QObject::connect(menu, &MainMenuPage::exitRequested, call("exit"));
        QObject::connect(menu, &MainMenuPage::systemStatusRequested, call("fill status"));
        QObject::connect(menu, &MainMenuPage::webRequested, call("open web"));
        QObject::connect(menu, &MainMenuPage::launchRequested, call("launch"));
        QObject::connect(menu, &MainMenuPage::rearCameraRequested, call("rear cam"));
        QObject::connect(&w, &ZarnWindow::systemStatusRefreshRequested, call("refresh status"));
        QObject::connect(&w, &ZarnWindow::mailSettingsApplied,
                         [this](const QString& host, int port, const QString& user, const QString& password) {
                             calls << QStringLiteral("mail %1:%2 %3/%4").arg(host).arg(port).arg(user, password);
                         });
    }
};

// A shown, active window of 800 by 600 with the screen-off hint out of the way.
struct Window {
    Window()
    {
        w.setPlayers(&actions);
        actions.record(w);
        w.setBounds(0, 0, 800, 600);
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.findChild<QWidget*>("offpanel")->hide();
        w.ShowPage(ZarnWindow::ShowClassic);
    }
    template <class T = TBMWpanel>
    T* get(const char* name) const
    {
        T* c = w.findChild<T*>(QLatin1String(name));
        if (!c)
            qFatal("no control %s", name);
        return c;
    }
    void click(const char* name) { get(name)->click(); }
    QColor headerColor() const { return get<PlainPanel>("HeaderPanel")->color(); }
    QStringList focusOrder(int page) const
    {
        QStringList names;
        for (QWidget* c : w.forwardOrder(page))
            names << c->objectName();
        return names;
    }

    FakeActions actions;
    ZarnWindow w;
};

} // namespace

class TstZarnWindow : public QObject {
    Q_OBJECT
private slots:
    void showPageHeaderStyles_data()
    {
        QTest::addColumn<QList<int>>("before");
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("page");
        QTest::addColumn<bool>("customized");
        QTest::addColumn<bool>("restyled");
        QTest::addRow("0 to 8 enters the customized look") << QList<int>{0} << 8 << 8 << true << true;
        QTest::addRow("8 while on 8 keeps the header") << QList<int>{88} << 8 << 8 << true << false;
        QTest::addRow("88 while on 8 restyles") << QList<int>{88} << 88 << 8 << true << true;
        QTest::addRow("100 on 0 restyles classic") << QList<int>{0} << 100 << 0 << false << true;
        QTest::addRow("8 to 3 leaves the customized look") << QList<int>{88} << 3 << 3 << false << true;
        QTest::addRow("8 to 15 leaves the customized look") << QList<int>{88} << 15 << 15 << false << true;
        QTest::addRow("0 to 5 keeps the header") << QList<int>{0} << 5 << 5 << false << false;
        QTest::addRow("88 from 12") << QList<int>{12} << 88 << 8 << true << true;
    }
    void showPageHeaderStyles()
    {
        QFETCH(QList<int>, before);
        QFETCH(int, n);
        QFETCH(int, page);
        QFETCH(bool, customized);
        QFETCH(bool, restyled);
        Window f;
        for (int p : before)
            f.w.ShowPage(p);
        const QColor old = f.headerColor();
        f.w.roles.ClCustompanelheader = 0x00FF00;
        f.w.roles.cldunkelblau = 0x0000FF;
        QSignalSpy shown(&f.w, &ZarnWindow::pageShown);

        f.w.ShowPage(n);

        QCOMPARE(f.w.activePage(), page);
        QCOMPARE(shown.count(), 1);
        QCOMPARE(shown.first().first().toInt(), page);
        QCOMPARE(f.w.headerCustomized(), customized);
        const QRect header = f.w.HeaderPanel()->geometry();
        QCOMPARE(header, customized ? QRect(0, 535, 800, 65) : QRect(0, 0, 800, 65));
        QCOMPARE(f.w.PageControl1()->y(), customized ? -23 : 41);
        const QColor now = restyled ? fromBgr(customized ? 0x00FF00 : 0x0000FF) : old;
        QCOMPARE(f.headerColor(), now);
        for (const char* sub : {"HeaderpanelExtO", "HeaderpanelExtU", "Panel83"})
            QCOMPARE(f.get<PlainPanel>(sub)->color(), now);
    }

    void showPageIgnoresUnknownPages()
    {
        Window f;
        f.w.ShowPage(3);
        f.w.ShowPage(16);
        f.w.ShowPage(-1);
        QCOMPARE(f.w.activePage(), 3);
    }

    void showMainMenu_data()
    {
        QTest::addColumn<bool>("customizedLook");
        QTest::addColumn<int>("page");
        QTest::addRow("classic") << false << 0;
        QTest::addRow("customized") << true << 8;
    }
    void showMainMenu()
    {
        QFETCH(bool, customizedLook);
        QFETCH(int, page);
        Window f;
        f.w.ShowPage(12);
        f.w.Versiontitle = QStringLiteral("E39");
        f.w.CustomizedLook = customizedLook;
        f.w.ShowMainMenu();
        QCOMPARE(f.w.activePage(), page);
        QCOMPARE(f.w.headerCustomized(), customizedLook);
        QCOMPARE(f.w.headerCaption(), QStringLiteral(" E39 Main"));
    }

    void backItemsReturnToTheMainMenu_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("page");
        const std::pair<const char*, int> rows[] = {
            {"BMWpanel10", 1}, {"BMWpanel11", 4}, {"BMWpanel13", 3}, {"BMWpanel42", 6}, {"BMWpanel44", 2},
            {"BMWpanel15", 10}, {"BMWpanel16", 11}, {"BMWpanel19", 12}, {"BMWpanel90", 13}, {"BMWpanel32", 9},
        };
        for (const auto& [item, page] : rows)
            QTest::addRow("%s on page %d", item, page) << QString::fromLatin1(item) << page;
    }
    void backItemsReturnToTheMainMenu()
    {
        QFETCH(QString, item);
        QFETCH(int, page);
        Window f;
        f.w.ShowPage(page);
        f.w.setFeatureCaption(QStringLiteral("Something"));
        auto* back = f.w.page(page)->findChild<TBMWpanel*>(item);
        QVERIFY(back);
        QCOMPARE(back->BMW_supercaption(), QStringLiteral("A"));
        QCOMPARE(back->font().family(), QStringLiteral("bmw"));
        back->click();
        QCOMPARE(f.w.activePage(), 0);
        QCOMPARE(f.w.headerCaption(), QStringLiteral(" Zarn Main"));
    }

    void settingsBackItemHandsOverTheMailFields_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<int>("expected");
        QTest::addRow("a number") << "995" << 995;
        QTest::addRow("not a number gives the POP3 port") << "pop" << 110;
    }
    void settingsBackItemHandsOverTheMailFields()
    {
        QFETCH(QString, port);
        QFETCH(int, expected);
        Window f;
        f.w.ShowPage(1);
        f.get<QLineEdit>("Pop3ServerEdit")->setText("mail.example.org");
        f.get<QLineEdit>("Pop3PortEdit")->setText(port);
        f.get<QLineEdit>("Pop3UserEdit")->setText("me");
        f.get<QLineEdit>("Pop3PasswordEdit")->setText("pw");
        f.click("BMWpanel10");
        QCOMPARE(f.actions.calls, QStringList{QStringLiteral("mail mail.example.org:%1 me/pw").arg(expected)});
        QCOMPARE(f.w.activePage(), 0);
    }

    void mainMenuItemsOpenTheirPages_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("calls");
        QTest::addRow("MP3 Player, nothing playing") << "BMWpanel1" << 4 << " Zarn MP3 Player" << QStringList{};
        QTest::addRow("I-Bus Explorer") << "BMWpanel2" << 12 << " Zarn I-Bus Explorer" << QStringList{};
        QTest::addRow("movies") << "BMWpanel3" << 3 << " Zarn MPG, DivX && DVD" << QStringList{};
        QTest::addRow("Driver's log") << "BMWpanel4" << 10 << " Zarn Driver's log" << QStringList{};
        QTest::addRow("System Status") << "BMWpanel6" << 11 << " Zarn System Status" << QStringList{"fill status"};
        QTest::addRow("Web Browser") << "BMWpanel7" << 2 << " Zarn Web" << QStringList{"open web"};
        QTest::addRow("eMail") << "BMWpanel8" << 6 << " Zarn eMail" << QStringList{};
        QTest::addRow("Settings") << "BMWpanel9" << 1 << " Zarn Settings" << QStringList{};
        QTest::addRow("Radar") << "BMWpanel89" << 13 << " Zarn Radar" << QStringList{};
        QTest::addRow("Shutdown") << "BMWpanel5" << 0 << " Zarn Main" << QStringList{"exit"};
        QTest::addRow("Launch") << "BMWpanel76" << 0 << " Zarn Main" << QStringList{"launch"};
        QTest::addRow("Rear Cam") << "BMWpanel123" << 0 << " Zarn Main" << QStringList{"rear cam"};
    }
    void mainMenuItemsOpenTheirPages()
    {
        QFETCH(QString, item);
        QFETCH(int, page);
        QFETCH(QString, caption);
        QFETCH(QStringList, calls);
        Window f;
        f.w.ShowMainMenu();
        f.w.page(0)->findChild<TBMWpanel*>(item)->click();
        QCOMPARE(f.w.activePage(), page);
        QCOMPARE(f.w.headerCaption(), caption);
        QCOMPARE(f.actions.calls, calls);
    }

    // The pages' focus handlers read the window; the focus must leave while it is still
    // a ZarnWindow, not from the base class's destructor.
    void focusLeavesWhileTheWindowIsWhole_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("item");
        QTest::addRow("alternate menu word") << int(PageAlternateMenu) << "E644Panel";
        QTest::addRow("main menu item") << int(PageMain) << "BMWpanel2";
    }
    void focusLeavesWhileTheWindowIsWhole()
    {
        QFETCH(int, page);
        QFETCH(QString, item);
        auto* w = new ZarnWindow;
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        w->ShowPage(page);
        QWidget* focused = w->findChild<QWidget*>(item);
        focused->setFocus();
        QVERIFY(focused->hasFocus());
        struct Watch : QObject {
            QStringList seen;
            bool eventFilter(QObject* o, QEvent* e) override
            {
                if (e->type() == QEvent::FocusOut)
                    seen << (qobject_cast<ZarnWindow*>(static_cast<QWidget*>(o)->window()) ? "whole" : "half");
                return false;
            }
        } watch;
        focused->installEventFilter(&watch);
        delete w;
        QCOMPARE(watch.seen, QStringList{"whole"});
    }

    void mp3PlayerShowsNowPlayingWhileATrackPlays()
    {
        Window f;
        f.actions.playing = true;
        f.w.ShowMainMenu();
        f.click("BMWpanel1");
        QCOMPARE(f.w.activePage(), 5);
        QCOMPARE(f.w.headerCaption(), QStringLiteral(" Zarn MP3 Player"));
    }

    void mp3PlayerFocusesTheList()
    {
        Window f;
        f.w.ShowMainMenu();
        f.click("BMWpanel1");
        QCOMPARE(QApplication::focusWidget(), f.get<QWidget>("BMWListbox1"));
    }

    void movieItemWithARunningMovieHidesHeaderAndPages()
    {
        Window f;
        f.actions.movie = true;
        f.w.ShowMainMenu();
        f.click("BMWpanel3");
        QVERIFY(f.w.HeaderPanel()->isHidden());
        QVERIFY(f.w.PageControl1()->isHidden());
        QCOMPARE(f.w.activePage(), 0);
        QCOMPARE(f.w.headerCaption(), QStringLiteral(" Zarn Main"));
    }

    void captionsComeFromTheSettings()
    {
        Window f;
        f.w.setMainMenuCaptions({{"BMWpanel1", "Musik"}, {"BMWpanel123", "Kamera"}, {"BMWpanel20", "not a menu item"}});
        QCOMPARE(f.get("BMWpanel1")->BMW_supercaption(), QStringLiteral("Musik"));
        QCOMPARE(f.get("BMWpanel123")->BMW_supercaption(), QStringLiteral("Kamera"));
        QCOMPARE(f.get("BMWpanel20")->BMW_supercaption(), QStringLiteral(" Darker"));
        f.click("BMWpanel1");
        QCOMPARE(f.w.headerCaption(), QStringLiteral(" Zarn Musik"));
    }

    void launchItemFollowsTheLaunchField()
    {
        Window f;
        f.w.ShowMainMenu();
        QVERIFY(f.get("BMWpanel76")->isHidden());
        QVERIFY(!f.focusOrder(0).contains("BMWpanel76"));
        f.w.setLaunchPath(QStringLiteral("/usr/bin/xterm"));
        QVERIFY(!f.get("BMWpanel76")->isHidden());
        QVERIFY(f.focusOrder(0).contains("BMWpanel76"));
        // Emptying the field on the settings page hides it at once.
        f.get<QLineEdit>("Edit11")->clear();
        QVERIFY(f.get("BMWpanel76")->isHidden());
    }

    void radarItemHiddenUnlessRadarIsOn()
    {
        Window f;
        f.w.ShowMainMenu();
        QVERIFY(f.get("BMWpanel89")->isHidden());
        QCOMPARE(f.focusOrder(0), (QStringList{"BMWpanel1", "BMWpanel3", "BMWpanel4", "BMWpanel5", "BMWpanel9",
                                                "BMWpanel123", "BMWpanel8", "BMWpanel7", "BMWpanel6", "BMWpanel2"}));
        f.w.setRadarItemVisible(true);
        QCOMPARE(f.focusOrder(0).at(3), QStringLiteral("BMWpanel89"));
    }

    void pageSwitchMovesTheFocusToTheFirstItem_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("first");
        QTest::addRow("settings") << 1 << "BMWpanel20";
        QTest::addRow("music: key a") << 4 << "BitBtnWithColor10";
        QTest::addRow("scale") << 9 << "BMWpanel32";
        QTest::addRow("driver's log") << 10 << "BMWpanel22";
        QTest::addRow("question") << 15 << "BMWpanel75";
    }
    void pageSwitchMovesTheFocusToTheFirstItem()
    {
        QFETCH(int, page);
        QFETCH(QString, first);
        Window f;
        f.w.ShowMainMenu();
        QCOMPARE(QApplication::focusWidget(), f.get<QWidget>("BMWpanel1"));
        f.w.ShowPage(page);
        QCOMPARE(QApplication::focusWidget()->objectName(), first);
    }

    void pageWithoutItemsHoldsTheFocusItself()
    {
        Window f;
        f.w.ShowMainMenu();
        f.w.ShowPage(5); // options overlay hidden: no ring
        QCOMPARE(QApplication::focusWidget(), f.w.page(5));
    }

    void focusElsewhereStaysWhereItIs()
    {
        Window f;
        f.w.ShowPage(0);
        // A control outside the page that is left keeps the focus.
        f.get<QWidget>("Wheelbuttons")->show();
        auto* outside = new QLineEdit(f.get<QWidget>("Wheelbuttons"));
        outside->show();
        outside->setFocus();
        f.w.ShowPage(9);
        QCOMPARE(QApplication::focusWidget(), outside);
    }

    void settingsSubPageBringsItsOwnStops_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QStringList>("own");
        QTest::addRow("Schemes: the scheme list")
            << 0 << QStringList{"BMWpanel67", "BMWpanel82", "BMWpanel81", "BMWpanel77", "BMWpanel80", "BMWpanel79", "BMWpanel78"};
        QTest::addRow("COM: fields and items")
            << 5 << QStringList{"CBPort", "SpinEdit1", "SpinEdit2", "BMWpanel66", "BMWpanel64", "BMWpanel65"};
        QTest::addRow("Special: no stops") << 7 << QStringList{};
    }
    void settingsSubPageBringsItsOwnStops()
    {
        QFETCH(int, tab);
        QFETCH(QStringList, own);
        Window f;
        f.w.ShowPage(1);
        f.get<QTabWidget>("TabbedNotebook1")->setCurrentIndex(tab);
        QCOMPARE(f.focusOrder(1), QStringList({"BMWpanel20", "BMWpanel31", "BMWpanel10", "BMWpanel21"}) + own);
    }

    void arrangeLayoutHalvesTheWidth_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("half");
        QTest::addRow("800 x 600") << 800 << 600 << 400;
        QTest::addRow("801 x 600 leaves the last column") << 801 << 600 << 400;
        QTest::addRow("1024 x 768") << 1024 << 768 << 512;
    }
    void arrangeLayoutHalvesTheWidth()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, half);
        Window f;
        f.w.setBounds(0, 0, width, height);
        for (const char* left : {"BMWpanel1", "BMWpanel5", "BMWpanel10", "BMWpanel21", "BMWpanel34", "BMWpanel74"}) {
            QCOMPARE(f.get(left)->x(), 0);
            QCOMPARE(f.get(left)->width(), half);
        }
        for (const char* right : {"BMWpanel2", "BMWpanel9", "BMWpanel20", "BMWpanel31", "BMWpanel35", "BMWpanel75"}) {
            QCOMPARE(f.get(right)->x(), half);
            QCOMPARE(f.get(right)->width(), half);
        }
        QCOMPARE(f.w.PageControl1()->geometry(), QRect(-4, 41, width + 6, height - 65 + 26));
        QCOMPARE(f.w.page(0)->size(), QSize(width, height - 65));
        QCOMPARE(f.get("BMWpanel47")->geometry().left(), 383);
        QCOMPARE(f.get("BMWpanel47")->width(), width - 383);
        // The bottom row reaches from the Launch item to the status bar.
        const QWidget* row = f.get<QWidget>("Panel40");
        const QWidget* launch = f.get("BMWpanel76");
        QCOMPARE(row->y(), launch->y() + launch->height());
        QCOMPARE(row->y() + row->height(), f.get<QWidget>("StatusBar")->y());
        QCOMPARE(f.get("BMWpanel5")->height(), row->height());
        QCOMPARE(f.get<QWidget>("StatusBar")->y() + 48, height - 65);
        QCOMPARE(f.get<QWidget>("Wheelbuttons")->pos(), QPoint(50, 50));
        QCOMPARE(f.get<QWidget>("offpanel")->geometry(), QRect(0, 0, width, height));
    }

    void scalePageNudgesByOnePixel_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QRect>("bounds");
        QTest::addRow("wider") << "BMWpanel34" << QRect(100, 50, 801, 600);
        QTest::addRow("narrower") << "BMWpanel35" << QRect(100, 50, 799, 600);
        QTest::addRow("up") << "BMWpanel36" << QRect(100, 49, 800, 600);
        QTest::addRow("down") << "BMWpanel37" << QRect(100, 51, 800, 600);
        QTest::addRow("taller") << "BMWpanel38" << QRect(100, 50, 800, 601);
        QTest::addRow("shorter") << "BMWpanel39" << QRect(100, 50, 800, 599);
        QTest::addRow("left") << "BMWpanel40" << QRect(99, 50, 800, 600);
        QTest::addRow("right") << "BMWpanel41" << QRect(101, 50, 800, 600);
    }
    void scalePageNudgesByOnePixel()
    {
        QFETCH(QString, item);
        QFETCH(QRect, bounds);
        Window f;
        f.w.setBounds(100, 50, 800, 600);
        f.w.ShowPage(9);
        f.w.page(9)->findChild<TBMWpanel*>(item)->click();
        QCOMPARE(f.w.geometry(), bounds);
        // The layout follows the new size.
        QCOMPARE(f.get("BMWpanel47")->width(), bounds.width() - 383);
        QCOMPARE(f.get<QWidget>("Panel40")->y() + f.get<QWidget>("Panel40")->height(), f.get<QWidget>("StatusBar")->y());
    }

    void scaleCaptionsAreArrows()
    {
        Window f;
        QCOMPARE(f.get("BMWpanel35")->BMW_supercaption(), QString(QChar(' ')) + QChar(0xDA) + QChar(0xD9));
        QCOMPARE(f.get("BMWpanel38")->font().family(), QStringLiteral("Wingdings 3"));
        f.w.setAlternateBackgroundSize(QSize(720, 576));
        QCOMPARE(f.get<QLabel>("Label34")->text(), QStringLiteral("Individual background size is720 x 576"));
    }

    void statusLogPageShowsTheLog()
    {
        Window f;
        StatusLog log;
        log.AddStatusLine(QStringLiteral("first"));
        f.w.attachStatusLog(log);
        auto* memo = f.get<QPlainTextEdit>("Memo1");
        log.AddStatusLine(QStringLiteral(" second"));
        QCOMPARE(memo->toPlainText(), log.lines().join('\n'));
        QCOMPARE(memo->focusPolicy(), Qt::NoFocus);
        QCOMPARE(memo->lineWrapMode(), QPlainTextEdit::NoWrap);
        f.click("BMWpanel28"); // Clear Log
        QVERIFY(log.lines().isEmpty());
        QVERIFY(memo->toPlainText().isEmpty());
    }

    void statusLogToggles_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("onCaption");
        QTest::addColumn<QString>("offCaption");
        QTest::addRow("messages") << "BMWpanel26" << "Messages now ON" << "Messages now OFF";
        QTest::addRow("trace") << "BMWpanel27" << "Trace is ON" << "Trace is OFF";
    }
    void statusLogToggles()
    {
        QFETCH(QString, item);
        QFETCH(QString, onCaption);
        QFETCH(QString, offCaption);
        Window f;
        StatusLog log;
        f.w.attachStatusLog(log);
        QSignalSpy repaint(&f.w, &ZarnWindow::applyColorSchemeRequested);
        auto* toggle = f.w.findChild<TBMWpanel*>(item);
        const auto switchOn = [&] {
            return item == QLatin1String("BMWpanel26") ? log.messagesEnabled() : log.frameTraceEnabled();
        };
        QCOMPARE(toggle->BMW_supercaption(), offCaption);
        toggle->click();
        QVERIFY(switchOn());
        QCOMPARE(toggle->BMW_supercaption(), onCaption);
        auto* indicator = f.get<PlainPanel>("traceIndicator");
        QVERIFY(indicator->raised());
        toggle->click();
        QVERIFY(!switchOn());
        QCOMPARE(toggle->BMW_supercaption(), offCaption);
        QVERIFY(!indicator->raised());
        QCOMPARE(repaint.count(), 2);
        QVERIFY(log.lines().isEmpty());
    }

    void saveLogWritesTheTraceFile()
    {
        QTemporaryDir dir;
        Window f;
        StatusLog log;
        f.w.attachStatusLog(log);
        log.AddStatusLine(QStringLiteral("one"));
        const QString path = dir.filePath("Zarn_Trace.txt");
        f.get<QLineEdit>("Edit7")->setText(path);
        f.click("BMWpanel29");
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromLocal8Bit(file.readAll()), log.lines().first() + "\r\n");
        QVERIFY(log.lines().last().endsWith("File " + path + " saved"));
        QVERIFY(f.get<QPlainTextEdit>("Memo1")->toPlainText().endsWith("File " + path + " saved"));
    }

    void saveLogFailureIsReported()
    {
        QTemporaryDir dir;
        Window f;
        StatusLog log;
        f.w.attachStatusLog(log);
        log.AddStatusLine(QStringLiteral("one"));
        QSignalSpy failed(&f.w, &ZarnWindow::saveLogFailed);
        f.get<QLineEdit>("Edit7")->setText(dir.filePath("missing/Zarn_Trace.txt"));
        f.click("BMWpanel29");
        QCOMPARE(failed.count(), 1);
        QCOMPARE(log.lines().size(), 1);
    }

    void traceFileDefaultsToTheProgramDirectory()
    {
        Window f;
        QVERIFY(f.get<QLineEdit>("Edit7")->text().endsWith(QStringLiteral("/Zarn_Trace.txt")));
        QCOMPARE(f.get<QLineEdit>("Edit7")->focusPolicy(), Qt::ClickFocus);
    }

    void statusLogActionBand()
    {
        Window f;
        f.w.ShowPage(12);
        QCOMPARE(f.focusOrder(12), (QStringList{"BMWpanel19", "BMWpanel18"}));
        f.click("BMWpanel18");
        QVERIFY(f.get<QWidget>("Panel9")->isVisible());
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("BMWpanel30"));
        QCOMPARE(f.focusOrder(12),
                 (QStringList{"BMWpanel30", "BMWpanel29", "BMWpanel28", "BMWpanel27", "BMWpanel26"}));
        QCOMPARE(f.get<QWidget>("Memo1")->y(), 79 + 276);
        f.click("BMWpanel30");
        QVERIFY(f.get<QWidget>("Panel9")->isHidden());
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("BMWpanel18"));
        QCOMPARE(f.focusOrder(12), (QStringList{"BMWpanel19", "BMWpanel18"}));
        QCOMPARE(f.get<QWidget>("Memo1")->y(), 79);
    }

    void lineLengthArrowsStepBySixteenWithinLimits()
    {
        Window f;
        QSignalSpy changed(f.w.comTab(), &ComTab::hexLineLengthChanged);
        f.click("BMWpanel65");
        QCOMPARE(f.get<QLabel>("Label6")->text(), QStringLiteral("272"));
        QCOMPARE(changed.takeFirst().first().toInt(), 272);
        for (int i = 0; i < 30; ++i)
            f.click("BMWpanel65");
        QCOMPARE(f.get<QLabel>("Label6")->text(), QStringLiteral("512"));
        for (int i = 0; i < 40; ++i)
            f.click("BMWpanel64");
        QCOMPARE(f.get<QLabel>("Label6")->text(), QStringLiteral("64"));
    }

    void offpanelAndSafetyScreen()
    {
        Window f;
        auto* off = f.get<PlainPanel>("offpanel");
        QCOMPARE(off->caption(), QStringLiteral("press MODE-> TAPE or click this screen for  simulation - click main header "
                                                "for MOUSE simulation !"));
        QCOMPARE(off->fontColor(), QColor(0xE3, 0xF0, 0xFF));
        QCOMPARE(off->color(), QColor(0x59, 0x6D, 0x82));
        QSignalSpy offClicks(&f.w, &ZarnWindow::offpanelClicked);
        off->show();
        QTest::mouseClick(off, Qt::LeftButton);
        QCOMPARE(offClicks.count(), 1);
        auto* safety = f.get<PlainPanel>("Sicherheit");
        QVERIFY(safety->isHidden());
        QCOMPARE(safety->caption(), QStringLiteral("Zu Ihrer Sicherheit TV nur im Stand"));
        QSignalSpy headerClicks(&f.w, &ZarnWindow::headerClicked);
        off->hide();
        QTest::mouseClick(f.w.HeaderPanel(), Qt::LeftButton, {}, QPoint(100, 30));
        QCOMPARE(headerClicks.count(), 1);
    }

    void splashScreen()
    {
        SplashScreen splash;
        QCOMPARE(splash.size(), QSize(792, 573));
        QCOMPARE(splash.lines(), QStringList{" Starting Zarn"});
        splash.show();
        splash.addLine(QStringLiteral(" Setting Zarn Defaults"));
        splash.setProgress(8);
        QCOMPARE(splash.lines(), (QStringList{" Starting Zarn", " Setting Zarn Defaults"}));
        QCOMPARE(splash.progress(), 8);
    }
};

QTEST_MAIN(TstZarnWindow)
#include "tst_zarnwindow.moc"
