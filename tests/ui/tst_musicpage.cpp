// The music page: the letter filter and its keys, the up item and the long press, the
// list's knob steps and press, its clicks, and how the list draws.
#include "InputFixture.h"

#include "media/MusicListModel.h"
#include "ui/ColorScheme.h"
#include "ui/Controls.h"
#include "ui/FocusNavigator.h"
#include "ui/FocusRings.h"
#include "ui/PlainPanel.h"
#include "ui/SelectActions.h"
#include "ui/TBMWListbox.h"
#include "ui/pages/MusicPage.h"

#include <QDir>
#include <QFile>
#include <QPaintEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace zarn;
using zarn::test::RealWindow;

namespace {

const QString D = QString::fromUtf8(MusicListModel::DirectoryMark);

// A temporary music root; names ending in "/" are directories.
struct Tree {
    QTemporaryDir tmp;
    explicit Tree(const QStringList& paths)
    {
        for (const QString& p : paths) {
            QDir().mkpath(p.endsWith(QLatin1Char('/')) ? path(p) : QFileInfo(path(p)).path());
            if (!p.endsWith(QLatin1Char('/')))
                QFile(path(p)).open(QIODevice::WriteOnly);
        }
    }
    QString path(const QString& rel = QString()) const { return rel.isEmpty() ? tmp.path() : tmp.path() + "/" + rel; }
};

// The window with the music page shown at the root of a tree, as the start-up leaves it.
struct Page : RealWindow {
    Tree tree;
    MusicListModel model;
    MusicPage* page;
    FocusNavigator navigator{access()};
    SelectActions select{access(), navigator};

    explicit Page(const QStringList& paths, const QString& root = QString())
        : tree(paths)
        , page(static_cast<MusicPage*>(window.page(PageMusic)))
    {
        window.setBounds(0, 0, 800, 600);
        page->setModel(&model);
        model.setMask(QString::fromLatin1(MusicListModel::MusicMask));
        model.GoToPath(tree.path());
        page->setMusicRoot(root.isEmpty() ? tree.path() : root);
        QVERIFY(showActive());
        window.ShowPage(PageMusic);
        page->RelistMusicFolder(QString());
    }
    TBMWListbox* list() const { return page->BMWListbox1(); }
    QStringList texts() const
    {
        QStringList out;
        for (const auto& e : model.entries())
            out << e.text;
        return out;
    }
    QString caption(const QString& name) const { return find<PlainPanel>(name)->caption(); }
    void clickKey(const QString& name) { find<PlainPanel>(name)->click(); }
    // The keys that are enabled, by the text they append.
    QStringList enabledKeys() const
    {
        QStringList out;
        for (const QString& name : FocusRings::characterKeys())
            if (name != QLatin1String("Panel82") && find(name)->isEnabled())
                out << find<PlainPanel>(name)->caption();
        return out;
    }
};

QStringList numberedFiles(int n)
{
    QStringList out;
    for (int i = 0; i < n; ++i)
        out << QStringLiteral("t%1.mp3").arg(i, 2, 10, QLatin1Char('0'));
    return out;
}

} // namespace

class TestMusicPage : public QObject {
    Q_OBJECT
private slots:
    void filterListsNamesThatBeginWithIt()
    {
        Page f({"abc.mp3", "ABx.ogg", "Ab yss/", "ab/", "ba.mp3", "zz.mp3", "Ab.Of/"});
        f.clickKey("BitBtnWithColor10"); // a
        f.clickKey("BitBtnWithColor11"); // b
        QCOMPARE(f.caption("DateiFilterDisplay"), QStringLiteral("ab"));
        QCOMPARE(f.texts(), (QStringList{D + "ab", D + "Ab yss", "abc.mp3", "ABx.ogg"}));
        // Exactly the third characters: "c", "x" and the blank ("ab" itself has none).
        QCOMPARE(f.enabledKeys(), (QStringList{"c", "x", "| |"}));
        QCOMPARE(Controls::textColor(f.find("BitBtnWithColor12")), fromBgr(f.window.roles.clreadabletext));
        QCOMPARE(Controls::textColor(f.find("BitBtnWithColor10")), fromBgr(0x696969));
        QCOMPARE(f.focusName(), QStringLiteral("BMWListbox1"));
        QCOMPARE(f.model.highlighted(), 0);
        QCOMPARE(f.caption("FilterInfo"), QStringLiteral(" .../") + QFileInfo(f.tree.path()).fileName());
    }

    void knobRingSkipsDisabledKeys()
    {
        Page f({"abc.mp3", "abx.mp3"});
        f.clickKey("BitBtnWithColor10"); // a: only "b" is enabled now
        f.focus("BMWpanel71");
        f.navigator.TurnbottonleftClick(); // forward from "Make Random List": the first enabled key
        QCOMPARE(f.focusName(), QStringLiteral("BitBtnWithColor11"));
        f.navigator.TurnbottonleftClick();
        QCOMPARE(f.focusName(), QStringLiteral("Panel82"));
    }

    void filterMatchingNothingThenBackspace()
    {
        Page f({"abc.mp3", "abd.mp3", "b.mp3"});
        f.clickKey("BitBtnWithColor10");
        const QStringList afterA = f.texts();
        f.clickKey("BitBtnWithColor35"); // z: nothing begins with "az"
        QCOMPARE(f.model.count(), 0);
        QVERIFY(f.enabledKeys().isEmpty());
        QCOMPARE(f.focusName(), QStringLiteral("BMWpanel12"));
        f.find<PlainPanel>("Panel82")->click();
        QCOMPARE(f.caption("DateiFilterDisplay"), QStringLiteral("a"));
        QCOMPARE(f.texts(), afterA);
        QCOMPARE(f.enabledKeys(), QStringList{"b"});
        f.find<PlainPanel>("Panel82")->click();
        f.find<PlainPanel>("Panel82")->click(); // an empty filter stays empty
        QCOMPARE(f.caption("DateiFilterDisplay"), QString());
        QCOMPARE(f.model.count(), 3);
    }

    void upStopsAtTheRoot_data()
    {
        QTest::addColumn<QString>("rootSuffix");
        QTest::addRow("root as reported") << "";
        QTest::addRow("root with a trailing slash") << "/";
        QTest::addRow("root with a dot") << "/.";
    }
    void upStopsAtTheRoot()
    {
        QFETCH(QString, rootSuffix);
        Page f({"pop/deep/x.mp3", "top.mp3"});
        f.page->setMusicRoot(f.tree.path() + rootSuffix);
        f.model.GoToPath(f.tree.path("pop/deep"));
        f.page->RelistMusicFolder(QStringLiteral("x"));
        for (const QString& expected : {f.tree.path("pop"), f.tree.path(), f.tree.path()}) {
            f.find<TBMWpanel>("BMWpanel12")->click();
            QCOMPARE(f.model.directory(), expected);
            QCOMPARE(f.page->filterText(), QString());
            QCOMPARE(f.focusName(), QStringLiteral("BMWpanel12"));
        }
        f.model.GoToPath(f.tree.path("pop"));
        f.find<TBMWpanel>("BMWpanel70")->click(); // the narrow up button does the same
        QCOMPARE(f.model.directory(), f.tree.path());
    }

    void longPress_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<bool>("handled");
        QTest::addRow("up item") << "BMWpanel12" << true;
        QTest::addRow("list") << "BMWListbox1" << true;
        QTest::addRow("a key") << "BitBtnWithColor53" << false; // ".", enabled by "a.mp3"
    }
    void longPress()
    {
        QFETCH(QString, focus);
        QFETCH(bool, handled);
        Page f({"pop/deep/a.mp3", "pop/deep/b.mp3", "top.mp3"});
        f.model.GoToPath(f.tree.path("pop/deep"));
        f.page->RelistMusicFolder(QStringLiteral("a"));
        f.focus(focus);
        QCOMPARE(f.focusName(), focus);
        f.select.longClick();
        QCOMPARE(f.model.directory(), handled ? f.tree.path() : f.tree.path("pop/deep"));
        QCOMPARE(f.page->filterText(), handled ? QString() : QStringLiteral("a"));
        if (handled)
            QCOMPARE(f.focusName(), QStringLiteral("BMWpanel12"));
    }

    void knobSteps_data()
    {
        QTest::addColumn<bool>("clockwise");
        QTest::addColumn<int>("highlight");
        QTest::addColumn<int>("top"); // -1: the first visible row is the highlighted entry
        QTest::addColumn<int>("expectHighlight");
        QTest::addColumn<int>("expectTop");
        QTest::addColumn<QString>("counter"); // empty: unchanged
        QTest::addColumn<QString>("focus");
        QTest::addRow("down") << true << 0 << 0 << 1 << 0 << "2 of 20" << "BMWListbox1";
        QTest::addRow("down on the last entry") << true << 19 << 0 << 19 << -2 << "" << "BMWListbox1";
        QTest::addRow("up") << false << 3 << 0 << 2 << 0 << "3 of 20" << "BMWListbox1";
        QTest::addRow("up from the first entry") << false << 0 << 0 << 0 << 0 << "" << "BMWpanel12";
        QTest::addRow("up from the first visible row") << false << 9 << -1 << 0 << 0 << "1 of 20" << "BMWpanel12";
    }
    void knobSteps()
    {
        QFETCH(bool, clockwise);
        QFETCH(int, highlight);
        QFETCH(int, top);
        QFETCH(int, expectHighlight);
        QFETCH(int, expectTop);
        QFETCH(QString, counter);
        QFETCH(QString, focus);
        Page f(numberedFiles(20));
        f.focus("BMWListbox1");
        f.model.setHighlighted(highlight);
        if (top < 0)
            f.list()->setTopIndex(highlight);
        QVERIFY(f.list()->visibleRows() < 10);
        const QString counterBefore = f.caption("Button7");
        const int topBefore = f.list()->topIndex();
        QVERIFY(clockwise ? f.navigator.TurnbottonrightClick() : f.navigator.TurnbottonleftClick());
        QCOMPARE(f.model.highlighted(), expectHighlight);
        QCOMPARE(f.list()->topIndex(), expectTop == -2 ? topBefore : expectTop);
        QCOMPARE(f.focusName(), focus);
        QCOMPARE(f.caption("Button7"), counter.isEmpty() ? counterBefore : counter);
        if (!counter.isEmpty())
            QCOMPARE(f.window.headerCaption(), QStringLiteral(" Zarn MP3 Player - ") + counter);
    }

    void stepsKeepTheHighlightInView()
    {
        Page f(numberedFiles(20));
        f.focus("BMWListbox1");
        const int rows = f.list()->visibleRows();
        for (int i = 0; i < rows; ++i)
            f.navigator.TurnbottonrightClick();
        QCOMPARE(f.model.highlighted(), rows);
        QCOMPARE(f.list()->topIndex(), 1);
        QVERIFY(!f.list()->itemRect(rows).isEmpty());
    }

    void directoryClickEntersAndResetsTheFilter()
    {
        Page f({"rock/a.mp3", "rock/b.mp3", "rock/c.mp3", "rock/sub/", "r.mp3", "x.mp3"});
        f.clickKey("BitBtnWithColor27"); // r
        QCOMPARE(f.texts(), (QStringList{D + "rock", "r.mp3"}));
        QSignalSpy play(f.page, &MusicPage::playRequested);
        f.focus("BMWListbox1");
        f.model.setHighlighted(0);
        f.select.SelButton1Click(); // the knob press on the list
        QCOMPARE(f.model.directory(), f.tree.path("rock"));
        QCOMPARE(f.page->filterText(), QString());
        QCOMPARE(f.caption("DateiFilterDisplay"), QString());
        QCOMPARE(f.texts(), (QStringList{D + "sub", "a.mp3", "b.mp3", "c.mp3"}));
        QCOMPARE(f.model.highlighted(), 0);
        // Counted after the filter is gone: all four entries.
        QCOMPARE(f.caption("Button7"), QStringLiteral("1 of 4"));
        QCOMPARE(f.window.headerCaption(), QStringLiteral(" Zarn MP3 Player - 1 of 4"));
        QCOMPARE(f.caption("FilterInfo"), QStringLiteral(" .../rock"));
        QCOMPARE(play.count(), 0);
    }

    void fileClickRequestsPlay()
    {
        Page f({"a.mp3", "b.mp3", "README"});
        QSignalSpy play(f.page, &MusicPage::playRequested);
        QWidget* viewport = f.list()->viewport();
        const QPoint second = f.list()->itemRect(1).center();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, second);
        QCOMPARE(f.model.highlighted(), 1);
        f.focus("BMWListbox1");
        f.model.setHighlighted(2);
        f.select.SelButton1Click();
        QCOMPARE(play.count(), 2);
        QCOMPARE(play.at(0).at(0).toString(), f.tree.path("b.mp3"));
        QCOMPARE(play.at(1).at(0).toString(), f.tree.path("README")); // no extension: still a file
        // A click below the rows, and on an empty list, does nothing.
        QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(50, f.list()->itemRect(2).bottom() + 20));
        f.clickKey("BitBtnWithColor35"); // z: nothing left
        f.page->BMWListbox1Click();
        QCOMPARE(play.count(), 2);
    }

    void playingFileIsSelectedByName()
    {
        Page f({"a.mp3", "B.mp3", "c.mp3"});
        f.page->selectPlayingFile(QStringLiteral("b.MP3"));
        QCOMPARE(f.model.highlighted(), 1);
        f.page->selectPlayingFile(QStringLiteral("gone.mp3"));
        QCOMPARE(f.model.highlighted(), 1);
    }

    void highlightMoveRepaintsTwoRows()
    {
        Page f(numberedFiles(5));
        QCoreApplication::processEvents();
        struct Watch : QObject {
            QRegion painted;
            bool eventFilter(QObject*, QEvent* e) override
            {
                if (e->type() == QEvent::Paint)
                    painted += static_cast<QPaintEvent*>(e)->region();
                return false;
            }
        } watch;
        f.list()->viewport()->installEventFilter(&watch);
        f.list()->viewport()->repaint(); // flush what is pending
        watch.painted = QRegion();
        f.model.setHighlighted(3);
        QTRY_VERIFY(!watch.painted.isEmpty());
        const QRegion rows = QRegion(f.list()->itemRect(0)) + f.list()->itemRect(3);
        QCOMPARE(watch.painted, rows & f.list()->viewport()->visibleRegion());
    }

    void drawsBarsTextAndHighlight()
    {
        TBMWListbox list(QStringLiteral("L"));
        Tree t({"song.mp3", "gthatsallfolks"});
        MusicListModel m;
        m.setMask(QStringLiteral("*.;*.mp3"));
        m.setDirectory(t.path());
        list.setModel(&m);
        list.resize(300, 100);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        m.setHighlighted(1); // song.mp3 below the end marker
        const QImage img = list.viewport()->grab().toImage();
        const auto at = [&img](int x, int y) { return toBgr(img.pixelColor(x, y)); };
        const int W = list.Barwidth(), R = list.viewport()->width();
        // Row 0, plain: white edge, bar fill, gray edge, right bar; the end marker has no text.
        QCOMPARE(at(0, 20), 0xFFFFFFu);
        QCOMPARE(at(5, 20), list.Clhellblau());
        QCOMPARE(at(W, 20), 0x808080u);
        QCOMPARE(at(R - 5, 20), list.Clhellblau());
        QCOMPARE(at(R - 1, 20), 0x808080u);
        for (int x = W + 2; x < R - W - 2; ++x)
            QCOMPARE(at(x, 20), list.Clschwarz());
        // Row 1, highlighted: both bars and the lines above and below in the highlight color.
        for (const QPoint p : {QPoint(5, 60), QPoint(W + 2, 60), QPoint(R - 5, 60), QPoint(100, 42), QPoint(100, 77)})
            QCOMPARE(at(p.x(), p.y()), list.ClOrangina());
        bool text = false;
        for (int x = W + 10; x < R - W - 4 && !text; ++x)
            for (int y = 45; y < 75 && !text; ++y)
                text = at(x, y) == list.ClOrangina();
        QVERIFY(text);
    }

    void schemeColorsTheList()
    {
        Page f({"a.mp3"});
        ApplyColorScheme(f.window);
        QCOMPARE(f.list()->ClSimpletext(), 0xFCFCFCu); // white entries are drawn 0xFCFCFC
        QCOMPARE(f.list()->ClOrangina(), f.window.roles.clOrange);
        QCOMPARE(f.list()->Clhellblau(), f.window.roles.clHellblau);
        f.window.roles.clreadabletext = 0x00FFFF;
        ApplyColorScheme(f.window);
        QCOMPARE(f.list()->ClSimpletext(), 0x00FFFFu);
    }
};

QTEST_MAIN(TestMusicPage)
#include "tst_musicpage.moc"
