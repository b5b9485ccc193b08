// The ways out of the program, built as the program builds them on a temporary home and
// virtual time: the exit action from each trigger with each power option, the simulator's
// end, the restart (which saves before the new instance starts), the refresh hand-over
// and the marker file. No bus reaches logind here: the power requests fail, and say so.
#include "app/MainWindow.h"
#include "ibus/ClockSetter.h"
#include "ui/SteeringSimulator.h"
#include "ui/TBMWpanel.h"
#include "ui/pages/TabSpecial.h"
#include "ReadOnlyDir.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace zarn;

namespace {
struct NoClock : ClockSetter {
    bool SetLocalTime(const QDateTime&) override { return false; }
};

const QString NoBus = QStringLiteral("unix:path=/nonexistent/zarn-test");

struct Program {
    test::VirtualTime time;
    NoClock clock;
    QTemporaryDir home;
    int quits = 0;
    QList<QStringList> started;          // program + arguments of every start
    QStringList iniWhenStarted;           // Zarn.ini as the started program finds it
    bool startSucceeds = true;
    std::unique_ptr<MainController> core; // headless
    std::unique_ptr<MainWindow> main;     // with its window

    MainController::Environment environment(const QStringList& switches, const QString& program)
    {
        MainController::Environment env;
        env.arguments = QStringList{program} + switches;
        env.appDir = home.path() + QLatin1Char('/');
        env.clockSetter = &clock;
        env.watchSleep = false;
        env.powerBus = [] { return QDBusConnection::connectToBus(NoBus, QStringLiteral("zarn-no-bus")); };
        env.executable = home.filePath(QStringLiteral("zarn"));
        env.starter = [this](const QString& program, const QStringList& args, QString* error) {
            started << QStringList{program} + args;
            iniWhenStarted << QString::fromUtf8(test::readAll(home.filePath(QStringLiteral("Zarn.ini"))));
            if (!startSucceeds)
                *error = QStringLiteral("No such file or directory");
            return startSucceeds;
        };
        env.quit = [this] { ++quits; };
        return env;
    }
    void start(const QByteArray& ini, const QStringList& switches = {},
               const QString& program = QStringLiteral("/opt/zarn/zarn"))
    {
        test::writeAll(home.filePath(QStringLiteral("Zarn.ini")), "[COM-Port]\nDevicePath=/nonexistent/ttyCAR\n" + ini);
        core = std::make_unique<MainController>(environment(switches, program));
        core->FormCreate();
    }
    void startWindow(const QByteArray& ini)
    {
        test::writeAll(home.filePath(QStringLiteral("Zarn.ini")), "[COM-Port]\nDevicePath=/nonexistent/ttyCAR\n" + ini);
        main = std::make_unique<MainWindow>(environment({}, QStringLiteral("/opt/zarn/zarn")));
        main->FormCreate();
    }
    MainController& c() { return main ? main->core() : *core; }
    QStringList lines() { return test::texts(c().log()); }
    QByteArray ini() { return test::readAll(home.filePath(QStringLiteral("Zarn.ini"))); }
    void feed(const QString& hex) { c().dispatcher().ProcessIbusText(test::blockText(hex)); }
};

QByteArray option(int index)
{
    return "[Special]\nRadioGroup1.ItemIndex=" + QByteArray::number(index) + "\n";
}
} // namespace

class TestProgramExit : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QDBusConnection::disconnectFromBus(QStringLiteral("zarn-no-bus")); }

    void powerOptions_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<int>("quits");
        QTest::addColumn<QStringList>("started");
        QTest::addColumn<QString>("line"); // the power line written, if any
        QTest::addRow("none selected: saved, keeps running") << option(-1) << 0 << QStringList{} << QString();
        QTest::addRow("just exit") << option(0) << 1 << QStringList{} << QString();
        QTest::addRow("explorer shell without a command") << option(1) << 1 << QStringList{} << QString();
        QTest::addRow("explorer shell") << option(1) + "ExplorerShellCommand=/usr/bin/lxpanel --profile LXDE\n" << 1
                                        << QStringList{"/usr/bin/lxpanel", "--profile", "LXDE"} << QString();
        QTest::addRow("shutdown: a request, no end") << option(2) << 0 << QStringList{}
                                                     << "Power option Halt not done: no system bus";
        QTest::addRow("power off") << option(3) << 0 << QStringList{} << "Power option PowerOff not done: no system bus";
        QTest::addRow("standby") << option(4) << 0 << QStringList{} << "Power option Suspend not done: no system bus";
        QTest::addRow("5 without hibernation is standby")
            << option(5) << 0 << QStringList{} << "Power option Suspend not done: no system bus";
    }
    void powerOptions()
    {
        QFETCH(QByteArray, ini);
        QFETCH(int, quits);
        QFETCH(QStringList, started);
        QFETCH(QString, line);
        Program p;
        p.start(ini);
        p.c().vehicle().BMWpanel110 = QStringLiteral("123456");
        p.c().BMWpanel5Click();
        QCOMPARE(p.quits, quits);
        QCOMPARE(p.started, started.isEmpty() ? QList<QStringList>{} : QList<QStringList>{started});
        QVERIFY(p.ini().contains("lastknownmilage=123456"));
        if (!line.isEmpty())
            QVERIFY2(p.lines().contains(line), qPrintable(p.lines().join('\n')));
    }

    void triggers_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("frame");
        QTest::addColumn<int>("quits");
        QTest::addRow("check-control button") << QByteArray("Shutdown_with_checkcontrol=1\n") << "8004FF57012D" << 1;
        QTest::addRow("check-control button, not enabled") << QByteArray() << "8004FF57012D" << 0;
        QTest::addRow("own message") << QByteArray("ShutDownMessage_active=1\nShutDownMessage=3F04D01234\n")
                                     << "3F04D01234CD" << 1;
        QTest::addRow("own message, not enabled") << QByteArray("ShutDownMessage=3F04D01234\n") << "3F04D01234CD" << 0;
    }
    void triggers()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QString, frame);
        QFETCH(int, quits);
        Program p;
        p.start(option(0) + ini);
        p.feed(frame);
        QCOMPARE(p.quits, quits);
    }

    // The window's exit item and the simulator's end; the end ignores the power option.
    void windowExits()
    {
        Program p;
        p.startWindow(option(3));
        auto* exitItem = p.main->window().findChild<TBMWpanel*>(QStringLiteral("BMWpanel5"));
        QVERIFY(exitItem);
        exitItem->click();
        QCOMPARE(p.quits, 0); // power off is only a request
        QVERIFY(p.lines().contains(QStringLiteral("Power option PowerOff not done: no system bus")));
        auto* end = p.main->window().findChild<QPushButton*>(QStringLiteral("endButton"));
        QVERIFY(end);
        end->click();
        QCOMPARE(p.quits, 1);
    }

    void powerOptionsFilledBeforeTheStoredIndex()
    {
        Program p;
        p.startWindow(option(5));
        TabSpecial* special = p.main->window().specialTab();
        QVERIFY(special);
        QCOMPARE(special->powerOptions().size(), 5); // no logind: no hibernation
        QCOMPARE(special->powerOptions().first(), QStringLiteral("Just exit Zarn and keep Windows alive"));
        QCOMPARE(special->powerOptionIndex(), 4);
    }

    void idleShutdown_data()
    {
        QTest::addColumn<qint64>("activityAtMs"); // a block arrives; -1: never
        QTest::addColumn<qint64>("quitAtMs");     // -1: not within the test
        // The bus indicator finds the silence after 5 s; 60 s later the exit action runs.
        QTest::addRow("silent bus") << qint64(-1) << qint64(65000);
        QTest::addRow("a block stops the countdown") << qint64(30000) << qint64(-1);
    }
    void idleShutdown()
    {
        QFETCH(qint64, activityAtMs);
        QFETCH(qint64, quitAtMs);
        Program p;
        p.start(option(0) + "shutdownafterIBUSidle=1\nshutdownafterIBUSidle_seconds=60\n");
        const qint64 end = 69000;
        for (qint64 t = 0; t < end; t += 500) {
            if (t == activityAtMs)
                p.c().link().busActivity(100000);
            if (quitAtMs >= 0 && t == quitAtMs - 500)
                QCOMPARE(p.quits, 0);
            p.time.advance(500);
        }
        QCOMPARE(p.quits, quitAtMs >= 0 ? 1 : 0);
    }

    void markerFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("quits");
        QTest::addRow("none") << "none" << 0;
        QTest::addRow("a file") << "file" << 1;
        QTest::addRow("a directory") << "dir" << 0;
    }
    void markerFile()
    {
        QFETCH(QString, kind);
        QFETCH(int, quits);
        Program p;
        p.start(option(0));
        const QString marker = p.home.filePath(QStringLiteral("shutdown.now"));
        if (kind == QLatin1String("file"))
            test::writeAll(marker, "");
        else if (kind == QLatin1String("dir"))
            QVERIFY(QDir().mkdir(marker));
        p.time.advance(9999);
        QCOMPARE(p.quits, 0);
        p.time.advance(1);
        QCOMPARE(p.quits, quits);
        p.time.advance(10000);
        QCOMPARE(p.quits, 2 * quits); // left in place, it counts every tick
        const qsizetype warnings = p.lines().filter(QStringLiteral("is a directory, not a marker file")).size();
        QCOMPARE(warnings, kind == QLatin1String("dir") ? 1 : 0);
        QCOMPARE(QFileInfo::exists(marker), kind != QLatin1String("none")); // never removed
    }

    // The new instance must read what this one has just written.
    void restartSavesBeforeItStarts()
    {
        Program p;
        p.start(option(2), {QStringLiteral("/TRACE"), QStringLiteral("/AUX")});
        p.c().vehicle().BMWpanel110 = QStringLiteral("98765");
        p.c().options().miles = true;
        p.c().BMWpanel67Click();
        QCOMPARE(p.started.size(), 1);
        QCOMPARE(p.started[0], (QStringList{p.home.filePath("zarn"), "COM1", "/AUX"}));
        QVERIFY(p.iniWhenStarted[0].contains(QStringLiteral("lastknownmilage=98765")));
        QVERIFY(p.iniWhenStarted[0].contains(QStringLiteral("Miles_checkbox=1")));
        QCOMPARE(p.quits, 1);

        // What the new instance writes from now on is not overwritten by the close.
        test::writeAll(p.home.filePath(QStringLiteral("Zarn.ini")), "[mileage]\nlastknownmilage=1\n");
        p.c().FormCloseQuery();
        QCOMPARE(p.ini(), QByteArray("[mileage]\nlastknownmilage=1\n"));
    }

    void restartPassesOnThreeSwitches_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("switches");
        QTest::addColumn<QStringList>("passed");
        QTest::addRow("none") << "/opt/zarn/zarn" << QStringList{} << QStringList{};
        QTest::addRow("all three, any case")
            << "/opt/zarn/zarn" << QStringList{"tvinit", "/NoMouse", "/AUX"} << QStringList{"/AUX", "/TVINIT", "/NOMOUSE"};
        QTest::addRow("the others stay behind")
            << "/opt/zarn/zarn" << QStringList{"/TRACE", "/TIMERS", "/FORCESCREEN", "/SAVEMEMORY", "/HIGHPRIO"}
            << QStringList{};
        QTest::addRow("a path with AUX in it") << "/opt/AUXDATA/zarn" << QStringList{} << QStringList{"/AUX"};
    }
    void restartPassesOnThreeSwitches()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, switches);
        QFETCH(QStringList, passed);
        Program p;
        p.start({}, switches, program);
        p.c().BMWpanel67Click();
        QCOMPARE(p.started.size(), 1);
        QCOMPARE(p.started[0].mid(1), QStringList{QStringLiteral("COM1")} + passed);
    }

    void restartThatDoesNotStart()
    {
        Program p;
        p.start(option(0));
        p.startSucceeds = false;
        p.c().BMWpanel67Click();
        QCOMPARE(p.quits, 0);
        QVERIFY(p.lines().contains(p.home.filePath("zarn") + " - Create Process failed: No such file or directory"));
        // Still this instance's files: the close saves them.
        p.c().options().miles = true;
        p.c().FormCloseQuery();
        QVERIFY(p.ini().contains("Miles_checkbox=1"));
    }

    void refresh_data()
    {
        QTest::addColumn<QString>("beside"); // what lies beside the program as Zarn_refresh
        QTest::addColumn<int>("quits");
        QTest::addRow("nothing") << "none" << 0;
        QTest::addRow("a directory") << "dir" << 0;
        QTest::addRow("a program") << "program" << 1;
    }
    void refresh()
    {
        QFETCH(QString, beside);
        QFETCH(int, quits);
        Program p;
        p.start(option(0));
        const QString refresh = p.home.filePath(QStringLiteral("Zarn_refresh"));
        if (beside == QLatin1String("dir"))
            QVERIFY(QDir().mkdir(refresh));
        if (beside == QLatin1String("program")) {
            test::writeAll(refresh, "#!/bin/sh\n");
            QFile::setPermissions(refresh, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        p.c().options().miles = true;
        p.c().BMWpanel82Click();
        QCOMPARE(p.quits, quits);
        QCOMPARE(p.started.size(), quits);
        if (quits) {
            QCOMPARE(p.started[0], QStringList{refresh});
            QVERIFY(p.iniWhenStarted[0].contains(QStringLiteral("Miles_checkbox=1"))); // nothing lost
        } else {
            QVERIFY(p.lines().contains(refresh + " - no refresh program there"));
        }
    }

    // A Zarn.ini that cannot be written stops the exit action: no goodbye, no end.
    void unwritableSettingsStopTheExit()
    {
        Program p;
        p.start(option(0));
        p.c().options().miles = true; // something to write
        test::ReadOnlyDir readOnly(p.home.path());
        if (!readOnly.ok())
            QSKIP("cannot make a directory read-only here");
        p.c().BMWpanel5Click();
        p.c().BMWpanel67Click();
        QCOMPARE(p.quits, 0);
        QVERIFY(p.started.isEmpty());
    }
};

QTEST_MAIN(TestProgramExit)
#include "tst_programexit.moc"
