// The driver's log in the real main window, on a temporary home and virtual time: the
// question at start-up, the action panel worked with the knob's handlers, and the
// records the navigation's place frames write.
#include "app/MainWindow.h"
#include "ibus/ClockSetter.h"
#include "ui/PlainPanel.h"
#include "ui/TBMWpanel.h"
#include "ui/ZarnWindow.h"
#include "TestSupport.h"

#include <QApplication>
#include <QListWidget>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace zarn;

namespace {
struct NoClock : ClockSetter {
    bool SetLocalTime(const QDateTime&) override { return false; }
};

using test::frame;

// A navigation text frame (01 city, 02 street) padded to its 30 text bytes.
QString placeFrame(int kind, const QByteArray& text)
{
    QByteArray data = text.left(30);
    data.append(QByteArray(30 - data.size(), '\0'));
    return frame(QStringLiteral("7F 23 C8 A4 00 0%1 ").arg(kind) + QString::fromLatin1(data.toHex(' ')).toUpper());
}

struct Program {
    test::VirtualTime time;
    NoClock clock;
    QTemporaryDir home;
    std::unique_ptr<MainWindow> main;

    void start(int record)
    {
        test::writeAll(home.filePath("Zarn.ini"), "[COM-Port]\nDevicePath=/nonexistent/ttyCAR\n[Driverslog]\nrecord="
                                                      + QByteArray::number(record) + "\n");
        MainController::Environment env;
        env.arguments = QStringList{QStringLiteral("/opt/zarn/zarn")};
        env.appDir = home.path() + QLatin1Char('/');
        env.clockSetter = &clock;
        env.watchSleep = false;
        main = std::make_unique<MainWindow>(env);
        main->FormCreate();
        main->window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&main->window()));
    }
    ZarnWindow& window() const { return main->window(); }
    void feed(const QString& frameText) { main->core().dispatcher().ProcessIbusText(test::blockText(frameText)); }
    QWidget* widget(const char* name) const { return window().findChild<QWidget*>(QLatin1String(name)); }
    QString caption(const char* name) const
    {
        if (auto* p = window().findChild<PlainPanel*>(QLatin1String(name)))
            return p->caption();
        if (auto* item = window().findChild<TBMWpanel*>(QLatin1String(name)))
            return item->BMW_supercaption();
        return QStringLiteral("<no %1>").arg(QLatin1String(name));
    }
    QString focused() const
    {
        QWidget* f = main->navigator().focusedControl();
        return f ? f->objectName() : QString();
    }
    // Knob detents until the named control has the focus; false when it never does.
    bool turnTo(const char* name)
    {
        for (int i = 0; i < 20 && focused() != QLatin1String(name); ++i)
            main->navigator().TurnbottonrightClick();
        return focused() == QLatin1String(name);
    }
    void press() { main->select().SelButton1Click(); }
    QList<QByteArray> records() const
    {
        const QByteArray all = test::readAll(home.filePath(QStringLiteral("driverslog/12-2026.LOG")));
        if (all == "<missing>")
            return {};
        QList<QByteArray> out = all.split('\n');
        out.removeLast();
        return out;
    }
    QByteArray ini() const { return test::readAll(home.filePath("Zarn.ini")); }
};
} // namespace

class TestDriversLogWindow : public QObject {
    Q_OBJECT
private slots:
    // A run that ended in business mode asks again: the question page 8 s after the
    // start with "A no" focused; "A yes" resumes the trip with an entry.
    void businessStartAsksAndYesResumes()
    {
        Program p;
        p.start(1);
        QCOMPARE(p.window().activePage(), int(PageMain)); // the main menu over the question
        QCOMPARE(p.caption("Driverslog_Msg"), QStringLiteral(" Business mode set"));
        QVERIFY(static_cast<PlainPanel*>(p.widget("LogIndicator"))->raised());
        p.feed(placeFrame(1, "ULM"));
        p.feed(placeFrame(2, "HIRSCHSTRASSE;"));
        QCOMPARE(p.window().activePage(), int(PageQuestion)); // a place while the question is open
        QVERIFY(p.records().isEmpty());

        p.window().ShowMainMenu();
        p.time.advance(8000);
        QCOMPARE(p.window().activePage(), int(PageQuestion));
        QCOMPARE(p.focused(), QStringLiteral("BMWpanel75"));
        QVERIFY(p.turnTo("BMWpanel74"));
        p.press();
        QCOMPARE(p.window().activePage(), int(PageDriversLog));
        const QList<QByteArray> records = p.records();
        QCOMPARE(records.size(), 1);
        QVERIFY2(records[0].startsWith("Thursday,") && records[0].endsWith(",4711,ULM,HIRSCHSTRASSE\r"),
                 records[0].constData());
        QCOMPARE(p.caption("Driverslog_Msg"), QStringLiteral(" Last entry: ULM, HIRSCHSTRASSE"));
        auto* list = p.window().findChild<QListWidget*>(QStringLiteral("loglist"));
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text().toUtf8() + '\r', records[0]);

        // From now on every new place is a record.
        p.feed(placeFrame(2, "MUENSTERPLATZ;"));
        QCOMPARE(p.records().size(), 2);
        QCOMPARE(p.caption("Driverslog_Msg"), QStringLiteral(" Log entry: ULM, MUENSTERPLATZ"));
        QCOMPARE(list->count(), 2);
    }

    // " Actions" swaps the position panel for the action panel; the knob walks its
    // items only; the mode toggle goes private, lowers the indicator and saves at once.
    void actionPanelWithTheKnob()
    {
        Program p;
        p.start(0);
        p.window().ShowPage(PageDriversLog);
        QVERIFY(p.turnTo("BMWpanel22"));
        p.press();
        QVERIFY(p.widget("DriversLogActions")->isVisible());
        QVERIFY(!p.widget("PositionPanel")->isVisible());
        QCOMPARE(p.focused(), QStringLiteral("BMWpanel25"));
        QSet<QString> visited;
        for (int i = 0; i < 12; ++i) {
            p.main->navigator().TurnbottonrightClick();
            visited.insert(p.focused());
        }
        QCOMPARE(visited, (QSet<QString>{"BMWpanel23", "BMWpanel63", "BMWpanel24", "BMWPanel69", "BMWpanel68",
                                         "BMWpanel25"}));

        QCOMPARE(p.caption("BMWpanel23"), QStringLiteral("Mode is PRIVATE"));
        QVERIFY(p.turnTo("BMWpanel63"));
        p.press(); // private: nothing
        QVERIFY(p.records().isEmpty());
        QVERIFY(p.turnTo("BMWpanel23"));
        p.press();
        QCOMPARE(p.caption("BMWpanel23"), QStringLiteral("Mode is BUSINESS"));
        QCOMPARE(p.caption("Driverslog_Msg"), QStringLiteral(" Business mode set"));
        QVERIFY(static_cast<PlainPanel*>(p.widget("LogIndicator"))->raised());
        QVERIFY2(p.ini().contains("record=1"), p.ini().constData());
        QVERIFY(p.window().headerCaption().endsWith(p.caption("BMWpanel4")));

        QVERIFY(p.turnTo("BMWpanel24"));
        p.press();
        QCOMPARE(p.records().size(), 1);
        QVERIFY2(p.records()[0].endsWith(",4711,,,GAS FILLED UP\r"), p.records()[0].constData());

        QVERIFY(p.turnTo("BMWpanel23"));
        p.press();
        QVERIFY(!static_cast<PlainPanel*>(p.widget("LogIndicator"))->raised());
        QVERIFY2(p.ini().contains("record=0"), p.ini().constData());

        QVERIFY(p.turnTo("BMWpanel25"));
        p.press();
        QVERIFY(!p.widget("DriversLogActions")->isVisible());
        QVERIFY(p.widget("PositionPanel")->isVisible());
        QCOMPARE(p.focused(), QStringLiteral("BMWpanel15"));
        QVERIFY(p.turnTo("BMWpanel22"));
    }

    // A touch on the street item is the radar page's "Threshold for acoustic warning +".
    void streetItemRaisesTheThreshold()
    {
        Program p;
        p.start(0);
        p.window().ShowPage(PageDriversLog);
        auto* plus = p.window().findChild<TBMWpanel*>(QStringLiteral("BMWpanel97"));
        QVERIFY(plus);
        QSignalSpy clicked(plus, &TBMWpanel::clicked);
        QTest::mouseClick(p.widget("BMWpanel107"), Qt::LeftButton);
        QCOMPARE(clicked.size(), 1);
        QTest::mouseClick(p.widget("BMWpanel106"), Qt::LeftButton);
        QCOMPARE(clicked.size(), 1);
    }
};

QTEST_MAIN(TestDriversLogWindow)
#include "tst_driverslogwindow.moc"
