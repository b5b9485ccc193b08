// The launcher: how a command line becomes program and arguments, the status lines of a
// start and of each kind of failure, the Launch item and the auto-start step.
#include "core/StartupSequence.h"
#include "core/StatusLog.h"
#include "services/Launcher.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace zarn;

namespace {

struct Start {
    QString program;
    QStringList arguments;
};

// Records the starts instead of running anything.
struct Recorder {
    QList<Start> starts;
    bool result = true;

    Launcher::Starter starter()
    {
        return [this](const QString& program, const QStringList& arguments, QString* reason) {
            starts << Start{program, arguments};
            if (!result)
                *reason = QStringLiteral("refused");
            return result;
        };
    }
};

} // namespace

class TestLauncher : public QObject {
    Q_OBJECT
private slots:
    void split_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("error");
        QTest::addRow("program alone") << "navit" << "navit" << QStringList{} << "";
        QTest::addRow("arguments, runs of blanks and tabs")
            << "  /usr/bin/mpv \t--fs   /media/a.mkv " << "/usr/bin/mpv" << QStringList{"--fs", "/media/a.mkv"} << "";
        QTest::addRow("quoted path with blanks") << "\"/opt/My Apps/run me\"" << "/opt/My Apps/run me" << QStringList{}
                                                 << "";
        QTest::addRow("quoted argument") << "prog \"a b\" c" << "prog" << QStringList{"a b", "c"} << "";
        QTest::addRow("empty quoted argument") << "prog \"\" x" << "prog" << QStringList{"", "x"} << "";
        QTest::addRow("quotes inside a word") << "prog --title=\"Zarn car\"pc" << "prog"
                                              << QStringList{"--title=Zarn carpc"} << "";
        QTest::addRow("shell characters are plain text")
            << "prog ;rm -rf $HOME |x" << "prog" << QStringList{";rm", "-rf", "$HOME", "|x"} << "";
        QTest::addRow("unbalanced quotes") << "\"/opt/My Apps/run me" << "" << QStringList{} << "unbalanced quotes";
        QTest::addRow("unbalanced after arguments") << "prog a \"b" << "" << QStringList{} << "unbalanced quotes";
        QTest::addRow("empty") << "" << "" << QStringList{} << "no program named";
        QTest::addRow("blanks only") << "   " << "" << QStringList{} << "no program named";
        QTest::addRow("empty quotes as program") << "\"\" a" << "" << QStringList{} << "no program named";
    }
    void split()
    {
        QFETCH(QString, line);
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(QString, error);
        const Launcher::Command c = Launcher::split(line);
        QCOMPARE(c.error, error);
        QCOMPARE(c.program, program);
        QCOMPARE(c.arguments, arguments);
    }

    // Real starts: each kind of failure names its reason, on the status log and on stderr.
    void failuresSayWhy_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("reason");
        QTest::addRow("not in the search path") << "zarn-no-such-program --x" << "no such program in the search path";
        QTest::addRow("missing file") << "/nonexistent/zarn/prog" << "no such file";
        QTest::addRow("a directory") << "\"$DIR\"" << "is a directory";
        QTest::addRow("not executable") << "\"$DIR/notes.txt\"" << "not executable";
        QTest::addRow("unbalanced quotes") << "\"$DIR/notes.txt" << "unbalanced quotes";
    }
    void failuresSayWhy()
    {
        QFETCH(QString, line);
        QFETCH(QString, reason);
        QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/zarn launch XXXXXX"));
        test::writeAll(dir.filePath("notes.txt"), "text\n");
        line.replace(QLatin1String("$DIR"), dir.path());
        StatusLog log;
        QStringList alerts;
        log.setAlertSink([&alerts](const QString& l) { alerts << l; });
        Launcher launcher(log);
        launcher.StartApplication(line);
        const QString expected = QStringLiteral("Error starting Application 1 - ") + line + QStringLiteral(": ") + reason;
        QCOMPARE(test::texts(log), QStringList{expected});
        QCOMPARE(alerts.size(), 1);
        QString why;
        QVERIFY(!launcher.StartProgram(line, &why));
        QCOMPARE(why, reason);
    }

    // The program really runs, with its arguments exactly as written and no shell between.
    void startsDetachedWithItsArguments()
    {
        QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/zarn launch XXXXXX"));
        const QString script = dir.filePath("say args.sh");
        const QString out = dir.filePath("args.txt");
        test::writeAll(script, "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.tmp\" && mv \"$0.tmp\" \"" + out.toUtf8() + "\"\n");
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        StatusLog log;
        Launcher launcher(log);
        const QString line = QLatin1Char('"') + script + QStringLiteral("\" one \"two words\" ;$HOME");
        launcher.StartApplication(line);
        QCOMPARE(test::texts(log), QStringList{QStringLiteral("Application 1 - ") + line + QStringLiteral(" has been started ()")});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(out), 30000);
        QFile f(out);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("one\ntwo words\n;$HOME\n"));
    }

    void launchItemQuotesThePath()
    {
        StatusLog log;
        Recorder rec;
        Launcher launcher(log);
        launcher.setStarter(rec.starter());
        launcher.BMWpanel76Click(QStringLiteral("/opt/Car Apps/navit"));
        launcher.BMWpanel76Click(QStringLiteral("/opt/Car Apps/navit")); // a second press, a second instance
        QCOMPARE(rec.starts.size(), 2);
        QCOMPARE(rec.starts[0].program, QStringLiteral("/opt/Car Apps/navit"));
        QVERIFY(rec.starts[0].arguments.isEmpty());
        QCOMPARE(test::texts(log).first(),
                 QStringLiteral("Application 1 - \"/opt/Car Apps/navit\" has been started ()"));
    }

    void autoStartStep_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("startable");
        QTest::addColumn<int>("starts");
        QTest::addColumn<QStringList>("lines");
        QTest::addRow("with arguments") << "navit -c \"/home/car/my navit.xml\"" << true << 1
                                        << QStringList{"Application 1 - navit -c \"/home/car/my navit.xml\" has been started ()"};
        QTest::addRow("empty: nothing") << "" << true << 0 << QStringList{};
        QTest::addRow("failing: reported, start-up goes on")
            << "navit" << false << 1 << QStringList{"Error starting Application 1 - navit: refused"};
    }
    void autoStartStep()
    {
        QFETCH(QString, line);
        QFETCH(bool, startable);
        QFETCH(int, starts);
        QFETCH(QStringList, lines);
        StatusLog log;
        Recorder rec;
        rec.result = startable;
        Launcher launcher(log);
        launcher.setStarter(rec.starter());
        StartupSequence startup;
        launcher.registerStartup(startup, [&line] { return line; });
        bool nextStepRan = false;
        startup.add(QStringLiteral("next"), [&](const StartupSequence::Splash&) { nextStepRan = true; });
        QStringList splash;
        startup.run([&splash](int, const QString& text) { splash << text; });
        QCOMPARE(splash, QStringList{" Checking autolaunch"});
        QCOMPARE(rec.starts.size(), starts);
        if (starts)
            QCOMPARE(rec.starts[0].program, QStringLiteral("navit"));
        QCOMPARE(test::texts(log), lines);
        QVERIFY(nextStepRan);
    }
};

QTEST_GUILESS_MAIN(TestLauncher)
#include "tst_launcher.moc"
