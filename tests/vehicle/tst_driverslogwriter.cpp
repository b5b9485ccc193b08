// The driver's log files: names by month, the record text, the dual log and what
// happens when a log cannot be written.
#include "RecordingSink.h"
#include "TestSupport.h"

#include "core/Clock.h"
#include "core/StatusLog.h"
#include "ibus/BusOptions.h"
#include "ibus/IbusSender.h"
#include "vehicle/DriversLogWriter.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace zarn;

namespace {
struct Log {
    QTemporaryDir home;
    ManualClock clock{QDateTime(QDate(2004, 12, 24), QTime(14, 5, 9))};
    StatusLog log;
    BusOptions options;
    test::RecordingSink sink;
    IbusSender sender{sink, log, options};
    DriversLogWriter writer{sender, log, home.path()};

    Log()
    {
        Clock::setCurrent(&clock);
        log.setMessagesEnabled(true);
    }
    ~Log() { Clock::setCurrent(nullptr); }

    QString file(const char* name) const { return home.filePath(QStringLiteral("driverslog/") + QLatin1String(name)); }
    QStringList lines() const { return test::texts(log); }
};
} // namespace

class TestDriversLogWriter : public QObject {
    Q_OBJECT
private slots:
    void recordLine_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("line");
        const QLocale german(QLocale::German, QLocale::Germany);
        const QDateTime christmas(QDate(2004, 12, 24), QTime(14, 5, 9));
        const QString date = german.toString(christmas.date(), QLocale::ShortFormat);
        QTest::addRow("weekday kept, the rest upper-cased")
            << christmas << "Munich,Leopoldstrasse" << "Friday," + date + ",14:05:09,123456,MUNICH,LEOPOLDSTRASSE\r\n";
        QTest::addRow("umlauts stay as they are")
            << christmas << QStringLiteral("München,Türkenstraße")
            << QStringLiteral("Friday,") + date + QStringLiteral(",14:05:09,123456,MüNCHEN,TüRKENSTRAßE\r\n");
        QTest::addRow("a Sunday, a fuel stop")
            << QDateTime(QDate(2005, 3, 6), QTime(7, 0, 0)) << "Ulm,Hauptstr.,GAS filled up"
            << "Sunday," + german.toString(QDate(2005, 3, 6), QLocale::ShortFormat)
                   + ",07:00:00,123456,ULM,HAUPTSTR.,GAS FILLED UP\r\n";
    }
    void recordLine()
    {
        QFETCH(QDateTime, now);
        QFETCH(QString, data);
        QFETCH(QString, line);
        QCOMPARE(DriversLogWriter::recordLine(now, QStringLiteral("123456"), data, QLocale(QLocale::German, QLocale::Germany)),
                 line);
    }

    void entriesGoToTheFileOfTheirMonth()
    {
        Log l;
        QSignalSpy list(&l.writer, &DriversLogWriter::entryWritten);
        l.clock.setNow(QDateTime(QDate(2005, 2, 28), QTime(23, 59, 0)));
        QVERIFY(l.writer.WriteDriversLogEntry(QStringLiteral("Ulm,A8"), QStringLiteral("A8"), QStringLiteral("100")));
        QVERIFY(l.writer.WriteDriversLogEntry(QStringLiteral("Ulm,A8"), QStringLiteral("A8"), QStringLiteral("101")));
        l.clock.setNow(QDateTime(QDate(2005, 3, 1), QTime(0, 1, 0)));
        QVERIFY(l.writer.WriteDriversLogEntry(QStringLiteral("München,Türkenstraße"), QStringLiteral("Türkenstraße"),
                                              QStringLiteral("102")));

        const QByteArray february = test::readAll(l.file("2-2005.LOG"));
        QCOMPARE(february.count("\r\n"), 2);
        QVERIFY(february.startsWith("Monday,"));
        QVERIFY(february.contains(",23:59:00,101,ULM,A8\r\n"));
        // UTF-8 on disk, umlauts whole.
        QVERIFY(test::readAll(l.file("3-2005.LOG")).endsWith(",00:01:00,102,M\xC3\xBCNCHEN,T\xC3\xBCRKENSTRA\xC3\x9F" "E\r\n"));
        QCOMPARE(list.size(), 3);
        QVERIFY(!list.last().first().toString().endsWith(QLatin1Char('\n')));

        const QStringList lines = l.lines();
        QCOMPARE(lines.count(l.file("2-2005.LOG") + QStringLiteral(" newly created")), 1);
        QCOMPARE(lines.count(l.file("2-2005.LOG") + QStringLiteral(" found, appending log records...")), 1);
        QCOMPARE(lines.count(l.file("3-2005.LOG") + QStringLiteral(" newly created")), 1);
        QCOMPARE(lines.count(QStringLiteral("Dual logging not active !")), 3);
    }

    void clusterToldUnlessTheLinkIsBusy()
    {
        Log l;
        QVERIFY(l.writer.WriteDriversLogEntry(QStringLiteral("Munich,Leopoldstrasse"), QStringLiteral("Leopoldstrasse"),
                                              QStringLiteral("123456")));
        QCOMPARE(l.sink.frames.size(), 1);
        // 68 len 80 23 62 30 + the first 20 characters + checksum
        QCOMPARE(l.sink.frames.first().mid(6, l.sink.frames.first().size() - 7), QByteArray("Leopoldstrasse at 12"));
        l.sink.busy = true;
        QVERIFY(l.writer.WriteDriversLogEntry(QStringLiteral("Munich,Leopoldstrasse"), QStringLiteral("Leopoldstrasse"),
                                              QStringLiteral("123457")));
        QCOMPARE(l.sink.refused, 0);
        QCOMPARE(test::readAll(l.file("12-2004.LOG")).count("\r\n"), 2);
    }

    void dualLog()
    {
        Log l;
        QTemporaryDir dual;
        l.writer.setDualLogDirectory(dual.path());
        QVERIFY(l.writer.WriteDriversLogEntry(QStringLiteral("Ulm,A8"), QStringLiteral("A8"), QStringLiteral("1")));
        const QByteArray copy = test::readAll(dual.filePath(QStringLiteral("driverslog/12-2004.LOG")));
        QCOMPARE(copy, test::readAll(l.file("12-2004.LOG")));
        QVERIFY(l.lines().contains(dual.filePath(QStringLiteral("driverslog/12-2004.LOG")) + QStringLiteral(" dual log newly created")));

        // A dual log that cannot be opened is reported; the main log's entry still counts.
        test::writeAll(dual.filePath(QStringLiteral("blocked")), "a file, not a directory");
        l.writer.setDualLogDirectory(dual.filePath(QStringLiteral("blocked")));
        QVERIFY(l.writer.WriteDriversLogEntry(QStringLiteral("Ulm,A7"), QStringLiteral("A7"), QStringLiteral("2")));
        QCOMPARE(test::readAll(l.file("12-2004.LOG")).count("\r\n"), 2);
        QVERIFY(l.lines().last().endsWith(QStringLiteral("cannot open the driver's log ")
                                          + dual.filePath(QStringLiteral("blocked/driverslog/12-2004.LOG"))));
    }

    // A process killed right after its entries counted as written leaves them all whole.
    void killedRightAfterAnEntry()
    {
        Log l;
        int ready[2];
        QVERIFY(::pipe(ready) == 0);
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            for (int i = 0;; ++i) {
                if (l.writer.WriteDriversLogEntry(QStringLiteral("Ulm,A8"), QStringLiteral("A8"), QString::number(i))
                    && i == 20)
                    (void)!::write(ready[1], "w", 1);
            }
        }
        ::close(ready[1]);
        char c;
        const bool signalled = ::read(ready[0], &c, 1) == 1;
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        ::close(ready[0]);
        QVERIFY(signalled);
        const QList<QByteArray> records = test::readAll(l.file("12-2004.LOG")).split('\n');
        QVERIFY(records.size() > 21);
        QVERIFY2(records.last().isEmpty(), records.last().constData()); // no torn record at the end
        for (qsizetype i = 0; i + 1 < records.size(); ++i)
            QVERIFY2(records[i] == "Friday," + QLocale().toString(QDate(2004, 12, 24), QLocale::ShortFormat).toUpper().toUtf8()
                             + ",14:05:09," + QByteArray::number(i) + ",ULM,A8\r",
                     records[i].constData());
    }

    void mainLogFailuresAreReportedAndReturned_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("error");
        QTest::addRow("driverslog is a file") << "file" << "cannot open the driver's log";
        QTest::addRow("disk full") << "full" << "cannot write the driver's log";
    }
    void mainLogFailuresAreReportedAndReturned()
    {
        QFETCH(QString, how);
        QFETCH(QString, error);
        Log l;
        l.log.setMessagesEnabled(false); // reported all the same
        if (how == QLatin1String("file")) {
            test::writeAll(l.home.filePath(QStringLiteral("driverslog")), "x");
        } else {
            QVERIFY(QDir().mkpath(l.home.filePath(QStringLiteral("driverslog"))));
            QVERIFY(QFile::link(QStringLiteral("/dev/full"), l.file("12-2004.LOG")));
        }
        QSignalSpy list(&l.writer, &DriversLogWriter::entryWritten);
        QVERIFY(!l.writer.WriteDriversLogEntry(QStringLiteral("Ulm,A8"), QStringLiteral("A8"), QStringLiteral("1")));
        QCOMPARE(list.size(), 1); // the page's list still shows it
        const QStringList lines = l.lines();
        QVERIFY2(std::any_of(lines.begin(), lines.end(),
                             [&](const QString& s) { return s.contains(error) && s.endsWith(l.file("12-2004.LOG")); }),
                 qPrintable(lines.join('\n')));
    }
};

QTEST_GUILESS_MAIN(TestDriversLogWriter)
#include "tst_driverslogwriter.moc"
