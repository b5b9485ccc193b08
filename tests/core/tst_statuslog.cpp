#include "core/CommandLine.h"
#include "core/StatusLog.h"
#include "TestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace zarn;

class TestStatusLog : public QObject {
    Q_OBJECT
private slots:
    void lineIsStampPlusTextUnchanged()
    {
        test::VirtualTime time(QDateTime(QDate(2026, 12, 10), QTime(14, 5, 9)));
        StatusLog log;
        log.setClockTicked();
        log.AddStatusLine(QStringLiteral(" starting"));
        QCOMPARE(log.lines(), QStringList{"14:05:09  starting"});
    }

    void systemFormatUntilTheClockTicks()
    {
        test::VirtualTime time(QDateTime(QDate(2026, 12, 10), QTime(14, 5, 9)));
        StatusLog log;
        log.AddStatusLine(QStringLiteral("x"));
        QCOMPARE(log.lines().first(), QLocale::system().toString(QTime(14, 5, 9), QLocale::LongFormat) + " x");
    }

    void optionalAndTimerLines()
    {
        test::VirtualTime time;
        StatusLog log;
        log.addMessage(QStringLiteral("hidden"));
        log.timerTrace(QStringLiteral("Clocktimer"));
        QVERIFY(log.lines().isEmpty());
        log.setMessagesEnabled(true);
        log.setTimerTraceEnabled(true);
        log.addMessage(QStringLiteral("shown"));
        log.timerTrace(QStringLiteral("Clocktimer"));
        QCOMPARE(test::texts(log), (QStringList{"shown", "$$$ Timer - Clocktimer"}));
    }

    void saveWritesCrlfLinesThenConfirms()
    {
        test::VirtualTime time;
        QTemporaryDir dir;
        StatusLog log;
        log.setClockTicked();
        const QString path = dir.filePath(QStringLiteral("trace.txt"));
        QVERIFY(log.save(path)); // empty log: empty file, then the confirmation
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray());
        f.close();
        QCOMPARE(test::texts(log), QStringList{"File " + path + " saved"});
        QVERIFY(log.save(path));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), log.lines().first().toUtf8() + "\r\n"); // never its own confirmation
    }

    void failedSaveChangesNothing()
    {
        test::VirtualTime time;
        StatusLog log;
        log.AddStatusLine(QStringLiteral("a"));
        QString error;
        QVERIFY(!log.save(QStringLiteral("/nonexistent/dir/trace.txt"), &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(log.lines().size(), 1);
    }

    void fullLogIsEmptiedAndTheLineGoesToTheSplash()
    {
        test::VirtualTime time;
        StatusLog log;
        log.setCapacity(50); // two of the lines below fit, a third does not
        QStringList splash;
        log.setOverflowSink([&](const QString& line) { splash << line; });
        log.AddStatusLine(QStringLiteral("0123456789"));
        log.AddStatusLine(QStringLiteral("0123456789"));
        log.AddStatusLine(QStringLiteral("overflow"));
        QVERIFY(log.lines().isEmpty());
        QCOMPARE(splash.size(), 1);
        QVERIFY(splash.first().endsWith(" overflow"));
        log.setOverflowSink({});
        log.AddStatusLine(QStringLiteral("next"));
        QCOMPARE(log.lines().size(), 1); // the next line that fits starts the empty log
    }

    void errorsAndWarningsAlsoReachTheAlertSink_data()
    {
        QTest::addColumn<QString>("mirror"); // "" none, "file", "stderr"
        QTest::addColumn<bool>("alerted");
        QTest::addRow("no mirror") << QString() << true;
        QTest::addRow("mirror to a file") << QStringLiteral("file") << true;
        // stderr carries every line already: an alert there would print it twice
        QTest::addRow("mirror to stderr") << QStringLiteral("stderr") << false;
    }

    void errorsAndWarningsAlsoReachTheAlertSink()
    {
        QFETCH(QString, mirror);
        QFETCH(bool, alerted);
        test::VirtualTime time;
        QTemporaryDir dir;
        StatusLog log;
        log.setClockTicked();
        QStringList alerts;
        log.setAlertSink([&](const QString& line) { alerts << line; });
        const QString file = dir.filePath(QStringLiteral("status.log"));
        if (!mirror.isEmpty())
            QVERIFY(log.setMirror(mirror == QLatin1String("file") ? file : mirror));

        log.AddStatusLine(QStringLiteral("Serial COM Port set to COM1"));
        log.addError(QStringLiteral("SerialNG: Error reopening Port"));
        log.addWarning(QStringLiteral("Zarn.ini [Scale] form1.width=abc is not a whole number"));
        log.addMessage(QStringLiteral("Error in Process serial input routine"), StatusLog::Severity::Error); // off
        log.setMessagesEnabled(true);
        log.addMessage(QStringLiteral("Error in BMW_odometer subroutine"), StatusLog::Severity::Error);

        const QStringList expected = {log.lines()[1], log.lines()[2], log.lines()[3]};
        QCOMPARE(log.lines().size(), 4);
        QCOMPARE(alerts, alerted ? expected : QStringList());
        if (mirror == QLatin1String("file"))
            QCOMPARE(test::readAll(file), (log.lines().join('\n') + '\n').toUtf8());
    }

    void switchesAreSubstringsOfTheUpperCasedCommandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("trace");
        QTest::addRow("slash") << QStringList{"/opt/zarn/zarn", "/TRACE"} << true;
        QTest::addRow("lower case, no slash") << QStringList{"/opt/zarn/zarn", "trace"} << true;
        QTest::addRow("joined") << QStringList{"/opt/zarn/zarn", "/AUXTRACE"} << true;
        QTest::addRow("in the program path") << QStringList{"/home/trace/zarn"} << true;
        QTest::addRow("absent") << QStringList{"/opt/zarn/zarn", "/TIMERS"} << false;
    }
    void switchesAreSubstringsOfTheUpperCasedCommandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, trace);
        QCOMPARE(CommandLine(arguments).has("TRACE"), trace);
    }
};

QTEST_GUILESS_MAIN(TestStatusLog)
#include "tst_statuslog.moc"
