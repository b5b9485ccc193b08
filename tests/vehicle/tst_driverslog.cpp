// The driver's log as the driver works it: the action items and the question in every
// mode, the start-up question's timer, the log list and logs that cannot be written.
#include "ReadOnlyDir.h"
#include "RecordingSink.h"
#include "TestSupport.h"

#include "core/StatusLog.h"
#include "ibus/BusOptions.h"
#include "ibus/IbusSender.h"
#include "ibus/VehicleState.h"
#include "vehicle/DriversLog.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace zarn;

namespace {
struct Log {
    QTemporaryDir home;
    test::VirtualTime time{QDateTime(QDate(2004, 12, 24), QTime(14, 5, 9))};
    StatusLog log;
    BusOptions options;
    test::RecordingSink sink;
    IbusSender sender{sink, log, options};
    VehicleState vehicle;
    DriversLog driversLog{vehicle, sender, log, home.path()};

    explicit Log(int record = 1, const QString& city = QStringLiteral("Ulm"))
    {
        log.setMessagesEnabled(true);
        vehicle.BMWpanel106 = city;
        vehicle.BMWpanel107 = QStringLiteral("Bahnhofstrasse");
        vehicle.BMWpanel110 = QStringLiteral("123456");
        DriversLogSettings s;
        s.driversLogRecord = record;
        driversLog.load(s);
    }
    QString path() const { return home.filePath(QStringLiteral("driverslog/12-2004.LOG")); }
    QList<QByteArray> records() const
    {
        const QByteArray all = test::readAll(path());
        if (all == "<missing>")
            return {};
        QList<QByteArray> out = all.split('\n');
        out.removeLast(); // after the last CR LF
        return out;
    }
    QStringList cluster() const
    {
        QStringList texts;
        for (const QByteArray& f : sink.frames)
            texts << QString::fromLatin1(f.mid(6, f.size() - 7));
        return texts;
    }
    // t mode toggle, f "Force an entry", g "Record Gas Fill", y "A yes", n "A no".
    void run(const QString& ops)
    {
        for (const QChar op : ops) {
            switch (op.toLatin1()) {
            case 't': driversLog.BMWpanel23Click(); break;
            case 'f': driversLog.BMWpanel63Click(); break;
            case 'g': driversLog.BMWpanel24Click(); break;
            case 'y': driversLog.BMWpanel74Click(); break;
            case 'n': driversLog.BMWpanel75Click(); break;
            default: QFAIL("unknown operation");
            }
        }
    }
};

QByteArray record(const char* tail)
{
    return "Friday," + QLocale().toString(QDate(2004, 12, 24), QLocale::ShortFormat).toUpper().toUtf8()
        + ",14:05:09,123456,ULM,BAHNHOFSTRASSE" + tail + "\r";
}
} // namespace

class TestDriversLog : public QObject {
    Q_OBJECT
private slots:
    void items_data()
    {
        QTest::addColumn<int>("record");     // Zarn.ini's record at start
        QTest::addColumn<QString>("ops");
        QTest::addColumn<QStringList>("tails"); // what follows the street in each record
        QTest::addColumn<QString>("message");   // Driverslog_Msg at the end
        QTest::addColumn<int>("pages");         // times the driver's log page was asked for
        const QString lastEntry = QStringLiteral(" Last entry: Ulm, Bahnhofstrasse");
        QTest::addRow("private: the items do nothing") << 0 << "fg" << QStringList{} << " Private mode set" << 0;
        QTest::addRow("question open: no records") << 1 << "fg" << QStringList{} << " Business mode set" << 0;
        QTest::addRow("yes forces an entry") << 1 << "y" << QStringList{""} << lastEntry << 1;
        QTest::addRow("a fuel stop") << 1 << "yg" << QStringList{"", ",GAS FILLED UP"} << lastEntry + ",GAS filled up" << 1;
        QTest::addRow("no: private") << 1 << "nfg" << QStringList{} << " Private mode set" << 1;
        QTest::addRow("toggled twice while asking: still asking") << 1 << "ttf" << QStringList{} << " Business mode set" << 0;
        QTest::addRow("toggled to business from private") << 0 << "tf" << QStringList{""} << lastEntry << 0;
        QTest::addRow("no, then toggled to business") << 1 << "ntg" << QStringList{",GAS FILLED UP"}
                                                     << lastEntry + ",GAS filled up" << 1;
        QTest::addRow("toggled to private") << 1 << "ytf" << QStringList{""} << " Private mode set" << 1;
    }
    void items()
    {
        QFETCH(int, record);
        QFETCH(QString, ops);
        QFETCH(QStringList, tails);
        QFETCH(QString, message);
        QFETCH(int, pages);
        Log l(record);
        QSignalSpy page(&l.driversLog, &DriversLog::pageRequested);
        QSignalSpy list(&l.driversLog, &DriversLog::logLineAdded);
        l.run(ops);
        QList<QByteArray> expected;
        for (const QString& tail : tails)
            expected << ::record(tail.toUtf8().constData());
        QCOMPARE(l.records(), expected);
        QCOMPARE(list.size(), tails.size());
        QCOMPARE(l.driversLog.logList().size(), tails.size());
        QCOMPARE(l.vehicle.Driverslog_Msg, message);
        QCOMPARE(page.size(), pages);
    }

    // The toggle tells the cluster unless the link is busy, and asks for the save and
    // the repaint each time; the entry's cluster text is cut to 20 characters.
    void toggleTellsTheCluster()
    {
        Log l(0);
        QSignalSpy saved(&l.driversLog, &DriversLog::saveRequested);
        QSignalSpy shown(&l.driversLog, &DriversLog::modeShown);
        l.run(QStringLiteral("t"));
        l.sink.busy = true;
        l.run(QStringLiteral("tt"));
        l.sink.busy = false;
        l.run(QStringLiteral("f"));
        QCOMPARE(l.cluster(), (QStringList{"Drivers log ON", "Bahnhofstrasse at 12"}));
        QCOMPARE(saved.size(), 3);
        QCOMPARE(shown.size(), 3);
        QVERIFY(l.driversLog.mode().indicatorRaised());
        QCOMPARE(l.records().size(), 1);
    }

    void startupQuestion_data()
    {
        QTest::addColumn<int>("record");
        QTest::addColumn<QString>("before"); // answered before the timer ticks
        QTest::addColumn<int>("asked");      // question pages requested, at load and at the tick
        QTest::addRow("business asks at once and again after 8 s") << 1 << "" << 2;
        QTest::addRow("answered before the tick") << 1 << "n" << 1;
        QTest::addRow("toggled to private: not asked again") << 1 << "t" << 1;
        QTest::addRow("private never asks") << 0 << "" << 0;
    }
    void startupQuestion()
    {
        QFETCH(int, record);
        QFETCH(QString, before);
        QFETCH(int, asked);
        QTemporaryDir home;
        test::VirtualTime time;
        StatusLog log;
        log.setTimerTraceEnabled(true);
        BusOptions options;
        test::RecordingSink sink;
        IbusSender sender{sink, log, options};
        VehicleState vehicle;
        DriversLog driversLog{vehicle, sender, log, home.path()};
        QSignalSpy question(&driversLog, &DriversLog::questionRequested);
        QSignalSpy focus(&driversLog, &DriversLog::answerFocusRequested);
        DriversLogSettings s;
        s.driversLogRecord = record;
        driversLog.load(s);
        driversLog.startTimers();
        if (before == QLatin1String("n"))
            driversLog.BMWpanel75Click();
        if (before == QLatin1String("t"))
            driversLog.BMWpanel23Click();
        time.advance(DriversLog::AskDelayMs - 1);
        QCOMPARE(focus.size(), 0);
        time.advance(1);
        QCOMPARE(focus.size(), 1);
        time.advance(60000); // once only
        QCOMPARE(focus.size(), 1);
        QCOMPARE(question.size(), asked);
        QCOMPARE(test::texts(log).count(QStringLiteral("$$$ Timer - startupandasktimerTimer")), 1);
    }

    // The place changes reach the decoders' hooks in the mode's three states.
    void hookMode()
    {
        Log l(1);
        QCOMPARE(l.driversLog.hookMode(), VehicleHooks::DriversLogMode::BusinessQuestionOpen);
        l.run(QStringLiteral("y"));
        QCOMPARE(l.driversLog.hookMode(), VehicleHooks::DriversLogMode::BusinessAnswered);
        l.run(QStringLiteral("t"));
        QCOMPARE(l.driversLog.hookMode(), VehicleHooks::DriversLogMode::Private);
    }

    // A full list starts over; the file keeps every record.
    void fullLogListStartsOver()
    {
        Log l(0);
        l.driversLog.setLogListCapacity(3);
        QSignalSpy cleared(&l.driversLog, &DriversLog::logListCleared);
        l.run(QStringLiteral("tffff"));
        QCOMPARE(cleared.size(), 1);
        QCOMPARE(l.driversLog.logList().size(), 1);
        QCOMPARE(l.records().size(), 4);
        QCOMPARE(test::texts(l.log).count(QStringLiteral("Short on memory, log flush forced, log still complete on file ")), 1);
    }

    // Logs that cannot be written: a clear status line, the entry in the list, and the
    // record written whole, in its place, once the directory takes files again.
    void unwritableLogKeepsItsRecords_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("error");
        QTest::addRow("driverslog is a file") << "file" << "cannot open the driver's log";
        QTest::addRow("driverslog is read-only") << "read-only" << "cannot open the driver's log";
        QTest::addRow("disk full") << "full" << "cannot write the driver's log";
    }
    void unwritableLogKeepsItsRecords()
    {
        QFETCH(QString, how);
        QFETCH(QString, error);
        Log l(0);
        l.log.setMessagesEnabled(false);
        l.run(QStringLiteral("t"));
        const QString dir = l.home.filePath(QStringLiteral("driverslog"));
        {
            std::unique_ptr<test::ReadOnlyDir> readOnly;
            if (how == QLatin1String("file")) {
                test::writeAll(dir, "x");
            } else if (how == QLatin1String("read-only")) {
                QVERIFY(QDir().mkpath(dir));
                readOnly = std::make_unique<test::ReadOnlyDir>(dir);
                if (!readOnly->ok())
                    QSKIP("this file system cannot make a directory read-only");
            } else {
                QVERIFY(QDir().mkpath(dir));
                QVERIFY(QFile::link(QStringLiteral("/dev/full"), l.path()));
            }
            l.run(QStringLiteral("fg"));
            QCOMPARE(l.driversLog.logList().size(), 2);
            QCOMPARE(l.vehicle.Driverslog_Msg, QStringLiteral(" Last entry: Ulm, Bahnhofstrasse,GAS filled up"));
            const QStringList lines = test::texts(l.log);
            QVERIFY2(lines.filter(error).size() >= 2 && lines.filter(l.path()).size() >= 2, qPrintable(lines.join('\n')));
            QVERIFY2(lines.contains(QStringLiteral("2 driver's log records wait for the log to be writable again")),
                     qPrintable(lines.join('\n')));
        }
        QFile::remove(dir);
        QFile::remove(l.path());
        l.run(QStringLiteral("f"));
        QCOMPARE(l.records(), (QList<QByteArray>{record(""), record(",GAS FILLED UP"), record("")}));
    }

    // A city text far longer than the navigation sends goes into the record whole.
    void longCityText()
    {
        const QString city = QString(200, QLatin1Char('x'));
        Log l(0, city);
        l.run(QStringLiteral("tf"));
        const QList<QByteArray> records = l.records();
        QCOMPARE(records.size(), 1);
        QVERIFY(records[0].contains("," + QByteArray(200, 'X') + ",BAHNHOFSTRASSE\r"));
        QCOMPARE(l.vehicle.Driverslog_Msg, QStringLiteral(" Last entry: ") + city + QStringLiteral(", Bahnhofstrasse"));
    }
};

QTEST_GUILESS_MAIN(TestDriversLog)
#include "tst_driverslog.moc"
