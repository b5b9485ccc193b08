// The program's window on virtual time: the clock display fed from the clock, the system
// page filled when it is opened and kept fresh by the load tick, the Launch item and the
// auto-start, and the keep-in-front tick against another program's window.
#include "app/MainWindow.h"
#include "ibus/ClockSetter.h"
#include "ui/PlainPanel.h"
#include "ui/SchemeActions.h"
#include "ui/TBMWpanel.h"
#include "ui/pages/MainMenuPage.h"
#include "TestSupport.h"

#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace zarn;

namespace {
struct NoClock : ClockSetter {
    bool SetLocalTime(const QDateTime&) override { return false; }
};

struct Program {
    test::VirtualTime time; // starts on Thursday, 10 December 2026, 12:00:00
    NoClock clock;
    std::unique_ptr<MainWindow> main;

    explicit Program(const QString& home, const QByteArray& ini = {})
    {
        test::writeAll(home + QStringLiteral("/Zarn.ini"), "[COM-Port]\nDevicePath=/nonexistent/ttyCAR\n" + ini);
        MainController::Environment env;
        env.arguments = QStringList{QStringLiteral("/opt/zarn/zarn")};
        env.appDir = home + QLatin1Char('/');
        env.clockSetter = &clock;
        env.watchSleep = false;
        main = std::make_unique<MainWindow>(env);
        // No real network in tests: every look-up fails at once.
        SystemStatus::NetworkProbe offline;
        offline.resolve = [](const QString&, QObject*, std::function<void(const QString&)> done) {
            done(QStringLiteral("Host Lookup Failed"));
        };
        main->core().systemStatus().setNetworkProbe(offline);
        main->FormCreate();
    }
    template <typename T = QWidget>
    T* get(const char* name) const
    {
        return main->window().findChild<T*>(QLatin1String(name));
    }
    QString caption(const char* item) const { return get<TBMWpanel>(item)->BMW_supercaption(); }
};

// A script that records its arguments, one a line, in <its path>.args once it has run.
QString recordingScript(const QString& dir, const QString& name)
{
    const QString path = dir + QLatin1Char('/') + name;
    test::writeAll(path, "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.tmp\" && mv \"$0.tmp\" \"$0.args\"\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray recorded(const QString& script)
{
    QFile f(script + QStringLiteral(".args"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

class TestSystemPage : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void clockTickFeedsBothStatusBars()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QTemporaryDir home;
        Program p(home.path());
        p.time.advance(999);
        QCOMPARE(p.get<QLabel>("DateLabel1")->text(), QStringLiteral(" Someday  24.12.0000  00:00"));
        p.time.advance(1);
        QCOMPARE(p.get<QLabel>("DateLabel1")->text(), QStringLiteral("Thursday  10.12.26 "));
        QCOMPARE(p.get<QLabel>("DateLabel2")->text(), QStringLiteral("Thursday  10.12.26 "));
        QCOMPARE(p.get<PlainPanel>("StatusBar")->caption(), QStringLiteral(" 12:00  city"));
        QCOMPARE(p.get<PlainPanel>("StatusBar2")->caption(), QStringLiteral(" 12:00  city"));
        p.time.advance(58000);
        QCOMPARE(p.get<PlainPanel>("StatusBar")->caption(), QStringLiteral(" 12:00  city"));
        p.time.advance(1000);
        QCOMPARE(p.get<PlainPanel>("StatusBar")->caption(), QStringLiteral(" 12:01  city"));
        QCOMPARE(p.get<PlainPanel>("StatusBar2")->caption(), QStringLiteral(" 12:01  city"));
    }

    void systemPageFilledWhenOpenedAndRefreshed()
    {
        QTemporaryDir home;
        Program p(home.path());
        p.get<TBMWpanel>("BMWpanel6")->click();
        QCOMPARE(p.main->window().activePage(), int(PageSystem));
        QCOMPARE(p.main->window().headerCaption(), QStringLiteral(" Zarn System Status"));
        QCOMPARE(p.caption("BMWpanel99"), QStringLiteral("Zarn Version is 2.9.0 Build 1005 (no voice) "));
        QCOMPARE(p.caption("BMWpanel100"), QStringLiteral("Zarn path is ") + home.path() + QLatin1Char('/'));
        QCOMPARE(p.caption("BMWpanel101"), p.main->core().systemStatus().speedText());
        QVERIFY(p.caption("BMWpanel101").startsWith(QLatin1String("System running at ")));
        QVERIFY2(p.caption("BMWpanel98").endsWith(QLatin1String(" MB total phys. memory")), qPrintable(p.caption("BMWpanel98")));
        QCOMPARE(p.caption("BMWpanel102"), QStringLiteral("No ip connection present"));
        QVERIFY(p.caption("BMWpanel103").contains(QLatin1String("Power")));
        QVERIFY(p.caption("BMWpanel95") != QLatin1String(" cpu"));

        p.time.advance(900);
        QVERIFY2(p.caption("BMWpanel101").contains(QLatin1String(",  CPU busy = ")), qPrintable(p.caption("BMWpanel101")));
        p.get<TBMWpanel>("BMWpanel17")->click();
        QCOMPARE(p.main->window().activePage(), int(PageSystem));
        QCOMPARE(p.caption("BMWpanel101"), p.main->core().systemStatus().speedText());
    }

    void launchItemAndAutoStartRunTheirPrograms()
    {
        QTemporaryDir home;
        QTemporaryDir apps(QDir::tempPath() + QStringLiteral("/zarn apps XXXXXX"));
        const QString launch = recordingScript(apps.path(), QStringLiteral("launch me.sh"));
        const QString autostart = recordingScript(apps.path(), QStringLiteral("auto.sh"));
        Program p(home.path(), "[Pathes]\nLaunchButtonExe=" + launch.toUtf8() + "\nApplication1=\"" + autostart.toUtf8()
                                   + "\" --day \"24 12\" now\n");
        const QString autoLine = QLatin1Char('"') + autostart + QStringLiteral("\" --day \"24 12\" now");
        QVERIFY(test::texts(p.main->core().log()).contains(QStringLiteral("Application 1 - ") + autoLine + QStringLiteral(" has been started ()")));
        QTRY_COMPARE_WITH_TIMEOUT(recorded(autostart), QByteArray("--day\n24 12\nnow\n"), 30000);

        QVERIFY(p.get("BMWpanel76")->isVisibleTo(&p.main->window()));
        p.get<TBMWpanel>("BMWpanel76")->click();
        QCOMPARE(p.main->window().activePage(), 0);
        QCOMPARE(test::texts(p.main->core().log()).last(),
                 QStringLiteral("Application 1 - \"") + launch + QStringLiteral("\" has been started ()"));
        QTRY_COMPARE_WITH_TIMEOUT(recorded(launch), QByteArray("\n"), 30000);
    }

    void pickingTheLaunchProgramShowsTheItemAndSavesIt()
    {
        QTemporaryDir home;
        Program p(home.path());
        auto* schemes = p.main->window().findChild<SchemeActions*>(QStringLiteral("SchemeActions"));
        QString chosen;
        schemes->filePicker = [&chosen](const QString&) { return chosen; };
        QVERIFY(!p.get("BMWpanel76")->isVisibleTo(&p.main->window()));
        p.get<QPushButton>("Button25")->click(); // cancelled
        QVERIFY(!p.get("BMWpanel76")->isVisibleTo(&p.main->window()));
        QVERIFY(!readFile(home.filePath("Zarn.ini")).contains("LaunchButtonExe=/"));

        chosen = QStringLiteral("/opt/car apps/navit");
        p.get<QPushButton>("Button25")->click();
        QVERIFY(p.get("BMWpanel76")->isVisibleTo(&p.main->window()));
        QVERIFY(readFile(home.filePath("Zarn.ini")).contains("LaunchButtonExe=/opt/car apps/navit"));
    }

    void keepInFrontTakesTheScreenBack()
    {
        QTemporaryDir home;
        Program p(home.path());
        p.main->show();
        QVERIFY(QTest::qWaitForWindowActive(&p.main->window()));
        QWidget other; // a launched program's window
        other.resize(400, 300);
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        p.time.advance(10000);
        QTRY_VERIFY(p.main->window().isActiveWindow());
    }
};

QTEST_MAIN(TestSystemPage)
#include "tst_systempage.moc"
