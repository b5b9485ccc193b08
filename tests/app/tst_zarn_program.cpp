// The real program as a user meets it from a terminal or a service manager: the
// information switches, close requests during start-up, and what reaches stderr.
#include "ReadOnlyDir.h"
#include "TestSupport.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>

using namespace zarn;

namespace {

// A zarn process with its own home; stdout and stderr kept apart.
class Program {
public:
    explicit Program(QProcessEnvironment env = base())
    {
        env.insert(QStringLiteral("ZARN_HOME"), home.path());
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(home.path());
    }

    static QProcessEnvironment base()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
        env.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), QStringLiteral("unix:path=/nonexistent/zarn-test"));
        env.remove(QStringLiteral("ZARN_STATUS_LOG"));
        return env;
    }

    QString file(const QString& name) const { return home.filePath(name); }

    bool start(const QStringList& args)
    {
        process.start(test::binaryPath(QStringLiteral("zarn")), args);
        return process.waitForStarted(5000);
    }

    // Waits until stderr holds text; false when the time is up or the program ended.
    bool waitForStderr(const QString& text, int timeoutMs = 15000)
    {
        QDeadlineTimer deadline(timeoutMs);
        while (!stderrText().contains(text)) {
            if (deadline.hasExpired() || process.state() == QProcess::NotRunning)
                return false;
            process.waitForReadyRead(100);
        }
        return true;
    }

    QString stderrText()
    {
        err += process.readAllStandardError();
        return QString::fromUtf8(err);
    }

    QTemporaryDir home;
    QProcess process;
    QByteArray err;
};

QDir emptyDirEntries(const QString& path)
{
    return QDir(path, {}, QDir::Name, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

} // namespace

// The process has its SIGTERM handler in place (the "SigCgt" mask of /proc/PID/status).
static bool catchesSigterm(pid_t pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (SIGTERM - 1)) & 1;
    return false;
}

class TestZarnProgram : public QObject {
    Q_OBJECT
private slots:
    void informationSwitchesNeedNoDisplayAndTouchNoFile_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QStringList>("shown");
        const QStringList usage = {"NOSPLASH", "HIGHPRIO", "TIMERS",      "TRACE",     "AUX",
                                   "TVINIT",   "NOMOUSE",  "SAVEMEMORY", "FORCESCREEN", "NOPGMSTOP",
                                   "ZARN_HOME", "ZARN_STATUS_LOG", "Zarn.ini"};
        QTest::addRow("--help") << QStringList{"--help"} << usage;
        QTest::addRow("-h after a switch") << QStringList{"/TRACE", "-h"} << usage;
        QTest::addRow("--version") << QStringList{"--version"} << QStringList{"zarn 2.9.0 Build 1005 (no voice)\n"};
    }

    void informationSwitchesNeedNoDisplayAndTouchNoFile()
    {
        QFETCH(QStringList, args);
        QFETCH(QStringList, shown);
        // No display at all: a QApplication would abort with the platform plugin's error.
        QProcessEnvironment env = Program::base();
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(QLatin1String(name));
        Program zarn(env);
        QTemporaryDir cwd;
        zarn.process.setWorkingDirectory(cwd.path());
        QVERIFY(zarn.start(args));
        QVERIFY(zarn.process.waitForFinished(10000));
        QCOMPARE(zarn.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(zarn.process.exitCode(), 0);
        const QString out = QString::fromUtf8(zarn.process.readAllStandardOutput());
        for (const QString& s : shown)
            QVERIFY2(out.contains(s), qPrintable(s + QStringLiteral(" missing in:\n") + out));
        if (args.contains(QStringLiteral("--help"))) {
            // One line per switch, and the file actually read.
            QVERIFY(out.contains(QStringLiteral("\n  NOPGMSTOP ")));
            QVERIFY(out.contains(zarn.file(QStringLiteral("Zarn.ini"))));
        }
        QCOMPARE(zarn.stderrText(), QString());
        QCOMPARE(emptyDirEntries(zarn.home.path()).entryList(), QStringList());
        QCOMPARE(emptyDirEntries(cwd.path()).entryList(), QStringList());
    }

    void closeRequestDuringStartUpEndsTheProgram_data()
    {
        QTest::addColumn<bool>("splash");
        QTest::addColumn<int>("delayMs");
        for (bool splash : {true, false})
            for (int ms : {10, 50, 200})
                QTest::addRow("%s, SIGTERM %d ms after start", splash ? "splash" : "NOSPLASH", ms) << splash << ms;
    }

    void closeRequestDuringStartUpEndsTheProgram()
    {
        QFETCH(bool, splash);
        QFETCH(int, delayMs);
        Program zarn;
        const QByteArray ini = "[MainPanelCaptions]\nVersiontitle=Kiosk\n";
        test::writeAll(zarn.file(QStringLiteral("Zarn.ini")), ini);
        QProcessEnvironment env = zarn.process.processEnvironment();
        env.insert(QStringLiteral("ZARN_STATUS_LOG"), zarn.file(QStringLiteral("status.log")));
        zarn.process.setProcessEnvironment(env);
        QVERIFY(zarn.start(splash ? QStringList() : QStringList{QStringLiteral("NOSPLASH")}));

        QThread::msleep(delayMs); // the moment of the request is the input here
        // While the dynamic loader is still at work no code of the program has run, so
        // nothing can catch the signal yet; on a slow or busy machine (or a sanitizer
        // build) that lasts beyond the delay. The request then goes at the first moment
        // the process catches SIGTERM, which is what the program controls.
        const pid_t pid = pid_t(zarn.process.processId());
        QTRY_VERIFY_WITH_TIMEOUT(catchesSigterm(pid), 10000);
        QElapsedTimer sinceSignal;
        sinceSignal.start();
        ::kill(pid, SIGTERM);
        QVERIFY2(zarn.process.waitForFinished(5000), "the close request was lost");
        QVERIFY2(sinceSignal.elapsed() < 1000, qPrintable(QString::number(sinceSignal.elapsed())));

        const QByteArray log = test::readAll(zarn.file(QStringLiteral("status.log")));
        const QByteArray after = test::readAll(zarn.file(QStringLiteral("Zarn.ini")));
        QCOMPARE(zarn.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(zarn.process.exitCode(), 0);
        if (log.contains("Last known mileage read")) {
            // Start-up had read the file: the close saved every setting, the user's kept.
            QVERIFY(after.contains("Versiontitle=Kiosk"));
            QVERIFY(after.contains("[Colors]"));
            QVERIFY(after.contains("lastknownmilage=4711"));
        } else {
            // Nothing read yet: saving would have put the defaults over the user's file.
            QCOMPARE(after, ini);
        }
    }

    void errorLinesReachStderrWithTheirReason()
    {
        Program zarn;
        const QString device = zarn.file(QStringLiteral("ttyUSB7"));
        test::writeAll(zarn.file(QStringLiteral("Zarn.ini")),
                       "[COM-Port]\nDevicePath=" + device.toUtf8() + "\n[Scale]\nform1.width=abc\n");
        QVERIFY(zarn.start({QStringLiteral("NOSPLASH")}));
        QVERIFY2(zarn.waitForStderr(QStringLiteral("SerialNG: Error reopening Port")), qPrintable(zarn.stderrText()));
        QVERIFY2(zarn.waitForStderr(QStringLiteral("Serial device ") + device + QStringLiteral(": No such file or directory")),
                 qPrintable(zarn.stderrText()));
        QVERIFY(zarn.stderrText().contains(QStringLiteral("Zarn.ini [Scale] form1.width=abc is not a whole number")));
        // Plain progress lines stay in the log.
        QVERIFY(!zarn.stderrText().contains(QStringLiteral("starting up...")));
        QVERIFY(!zarn.stderrText().contains(QStringLiteral("Msg start reactivating Port")));
        zarn.process.terminate();
        QVERIFY(zarn.process.waitForFinished(10000));
    }

    void readOnlyProgramDirectorySaysWhyZarnIniIsNotWritten()
    {
        Program zarn;
        test::ReadOnlyDir readOnly(zarn.home.path());
        if (!readOnly.ok())
            QSKIP("this file system cannot make a directory refuse new files");
        const QString ini = zarn.file(QStringLiteral("Zarn.ini"));
        QVERIFY(zarn.start({QStringLiteral("NOSPLASH")}));
        QVERIFY2(zarn.waitForStderr(QStringLiteral("Zarn.ini not found - starting with the defaults; a new one is written to ")
                                    + ini),
                 qPrintable(zarn.stderrText()));
        zarn.process.terminate();
        QVERIFY(zarn.process.waitForFinished(10000));
        QCOMPARE(zarn.process.exitCode(), 0);
        const QString prefix = QStringLiteral("Unable to write to ") + ini + QStringLiteral(": ");
        const QString err = zarn.stderrText();
        const qsizetype at = err.indexOf(prefix);
        QVERIFY2(at >= 0, qPrintable(err));
        const QString reason = err.mid(at + prefix.size()).section(QLatin1Char('\n'), 0, 0);
        QVERIFY2(reason.size() > 3, qPrintable(err)); // the system's words, e.g. "Permission denied"
    }

    void mirroredToStderrEveryLineShowsOnce()
    {
        Program zarn;
        QProcessEnvironment env = zarn.process.processEnvironment();
        env.insert(QStringLiteral("ZARN_STATUS_LOG"), QStringLiteral("stderr"));
        zarn.process.setProcessEnvironment(env);
        test::writeAll(zarn.file(QStringLiteral("Zarn.ini")), "[Scale]\nform1.width=abc\n");
        QVERIFY(zarn.start({QStringLiteral("NOSPLASH")}));
        QVERIFY(zarn.waitForStderr(QStringLiteral("Last known mileage read")));
        zarn.process.terminate();
        QVERIFY(zarn.process.waitForFinished(10000));
        const QString err = zarn.stderrText();
        QVERIFY(err.contains(QStringLiteral(" starting up...")));
        QCOMPARE(err.count(QStringLiteral("form1.width=abc is not a whole number")), 1);
    }
};

QTEST_GUILESS_MAIN(TestZarnProgram)
#include "tst_zarn_program.moc"
