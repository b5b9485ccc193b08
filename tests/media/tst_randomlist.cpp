// The random play list on temporary trees and virtual time: the search order, the
// list file, the read at start, and a search that is stopped or large.
#include "media/RandomList.h"

#include "core/StartupSequence.h"
#include "core/StatusLog.h"
#include "ibus/BusOptions.h"
#include "ibus/IbusSender.h"
#include "ReadOnlyDir.h"
#include "UnreadableDir.h"
#include "RecordingSink.h"
#include "TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

using namespace zarn;

namespace {

// Creates an empty file (and its folders) below root.
void touch(const QString& root, const QString& relative)
{
    const QString path = root + u'/' + relative;
    QDir().mkpath(QFileInfo(path).absolutePath());
    const int fd = ::open(QFile::encodeName(path).constData(), O_CREAT | O_WRONLY, 0644);
    QVERIFY2(fd >= 0, qPrintable(path));
    ::close(fd);
}

struct Rig {
    test::VirtualTime time;
    QTemporaryDir home;
    QTemporaryDir music;
    StatusLog log;
    test::RecordingSink sink;
    BusOptions options;
    IbusSender sender{sink, log, options};
    std::unique_ptr<RandomList> list;

    Rig()
    {
        log.setMessagesEnabled(true);
        make();
    }
    void make() { list = std::make_unique<RandomList>(time.scheduler, log, sender, home.path() + u'/'); }
    QString root() const { return music.path(); }
    QString file() const { return home.filePath(QStringLiteral("Zarn_random.txt")); }
    // A build from this directory, waited for to its end.
    bool build(const QString& directory)
    {
        QSignalSpy done(list.get(), &RandomList::buildFinished);
        list->BMWpanel71Click(directory);
        return done.count() > 0 || done.wait(60000);
    }
    // The read at start, 6 s after the timer started.
    bool readAtStart()
    {
        StartupSequence startup;
        list->registerStartup(startup);
        startup.run({});
        QSignalSpy done(list.get(), &RandomList::readFinished);
        time.advance(RandomList::ReadDelayMs);
        return done.count() > 0 || done.wait(60000);
    }
    QStringList clusterTexts() const
    {
        QStringList out;
        for (const QByteArray& f : sink.frames)
            if (f.startsWith(char(0x68)) && f.mid(2, 4) == test::hexBytes(QStringLiteral("80 23 62 30")))
                out << QString::fromLatin1(f.mid(6, f.size() - 7));
        return out;
    }
    bool logged(const QString& part) const
    {
        for (const QString& line : test::texts(log))
            if (line.contains(part))
                return true;
        return false;
    }
};

QByteArray crlfLines(const QStringList& entries)
{
    QByteArray out;
    for (const QString& e : entries)
        out += e.toUtf8() + "\r\n";
    return out;
}

} // namespace

class TestRandomList : public QObject {
    Q_OBJECT

private slots:
    void buildFindsInOrderAndWritesTheFile()
    {
        Rig r;
        const QString m = r.root();
        for (const char* f : {"b.mp3", "a.ogg", "A.WMA", "z.txt", "sub/c.mp3", "sub/d.wma", "sub/deep/e.mp3",
                              "x.mp3/inner.mp3", "\xc3\x9c" "ber.mp3"})
            touch(m, QString::fromUtf8(f));
        // A link back to the top must not search the tree twice.
        QVERIFY(QFile::link(m, m + QStringLiteral("/sub/loop")));

        QSignalSpy indicator(r.list.get(), &RandomList::indicatorChanged);
        QVERIFY(r.build(m));

        // Each folder's matches before its sub-folders', every .mp3 before every .wma before every .ogg;
        // a directory named like a music file is found like one.
        const QStringList expected{m + "/b.mp3", m + "/x.mp3", m + QString::fromUtf8("/\xc3\x9c" "ber.mp3"),
                                   m + "/sub/c.mp3", m + "/sub/deep/e.mp3", m + "/x.mp3/inner.mp3",
                                   m + "/A.WMA", m + "/sub/d.wma", m + "/a.ogg"};
        QCOMPARE(r.list->entries(), expected);
        QCOMPARE(r.list->status(), QStringLiteral("Rnd list created #=9"));
        QCOMPARE(r.list->filterInfo(), QStringLiteral(" Rnd list created #=9"));
        QCOMPARE(r.clusterTexts(), QStringList{QStringLiteral("Rnd list ok")});
        QCOMPARE(indicator.count(), 2);
        QVERIFY(!r.list->indicatorVisible());
        QVERIFY(r.logged(QStringLiteral("Searching ") + m + QStringLiteral(" for the random list")));
        QVERIFY(r.logged(QStringLiteral("Rnd list created ")));
        QVERIFY(r.logged(QStringLiteral("Wrote random list to ") + r.file()));
        QCOMPARE(test::readAll(r.file()), crlfLines(expected));

        // The next start reads the same list back.
        r.make();
        QVERIFY(r.readAtStart());
        QCOMPARE(r.list->entries(), expected);
        QCOMPARE(r.list->status(), QStringLiteral("Reading OK from file"));
    }

    void buildTextsWhileRunning()
    {
        Rig r;
        touch(r.root(), QStringLiteral("a.mp3"));
        r.sink.busy = true; // a write pending: the cluster text is left out
        QSignalSpy filter(r.list.get(), &RandomList::filterInfoChanged);
        QSignalSpy status(r.list.get(), &RandomList::statusChanged);
        QVERIFY(r.build(r.root()));
        QCOMPARE(filter.first().first().toString(), QStringLiteral(" Rnd list creation scheduled"));
        QCOMPARE(status.first().first().toString(), QStringLiteral("Build rnd list..."));
        QCOMPARE(r.sink.refused, 0);
        QVERIFY(r.clusterTexts().isEmpty());
    }

    void emptyDirectoryWritesAnEmptyFile()
    {
        Rig r;
        test::writeAll(r.file(), "/old/entry.mp3\r\n");
        QVERIFY(r.build(r.root()));
        QCOMPARE(r.list->status(), QStringLiteral("Rnd list created #=0"));
        QCOMPARE(test::readAll(r.file()), QByteArray());
    }

    void missingDirectoryKeepsThePreviousFile()
    {
        Rig r;
        test::writeAll(r.file(), "/old/entry.mp3\r\n");
        QVERIFY(r.build(r.root() + QStringLiteral("/gone")));
        QCOMPARE(r.list->status(), QStringLiteral("Rnd list created #=0"));
        QCOMPARE(test::readAll(r.file()), QByteArray("/old/entry.mp3\r\n"));
        QVERIFY(r.logged(QStringLiteral("/gone could not be read")));
    }

    void writeFailureIsReportedAndTheListStaysUsable()
    {
        Rig r;
        touch(r.root(), QStringLiteral("a.mp3"));
        test::ReadOnlyDir readOnly(r.home.path());
        if (!readOnly.ok())
            QSKIP("no way to make a read-only directory here");
        QVERIFY(r.build(r.root()));
        QCOMPARE(r.list->entries(), QStringList{r.root() + QStringLiteral("/a.mp3")});
        QVERIFY(r.logged(QStringLiteral("Error writing random list to ") + r.file()));
        QVERIFY(!r.logged(QStringLiteral("Wrote random list")));
        QVERIFY(!QFile::exists(r.file()));
    }

    void readKeepsUsableLinesAndReportsTheRest()
    {
        Rig r;
        touch(r.root(), QStringLiteral("a.mp3"));
        touch(r.root(), QString::fromUtf8("\xc3\xa9t\xc3\xa9.ogg"));
        const QByteArray a = QFile::encodeName(r.root() + QStringLiteral("/a.mp3"));
        const QByteArray e = QFile::encodeName(r.root() + QString::fromUtf8("/\xc3\xa9t\xc3\xa9.ogg"));
        QByteArray content = a + "\r\n"                         // kept
                             + "\r\n"                           // empty
                             + r.root().toUtf8() + "/missing.mp3\r\n"
                             + "a.mp3\r\n"                      // relative
                             + r.root().toUtf8() + "/\xe9t\xe9.ogg\r\n" // Latin-1 bytes
                             + QByteArray("\x00\x01\xff garbage\x7f", 13) + "\n"
                             + QByteArray(100000, 'x') + "\n"   // overlong
                             + e;                               // kept, LF ending missing
        test::writeAll(r.file(), content);
        QVERIFY(r.readAtStart());
        QCOMPARE(r.list->entries(), (QStringList{QFile::decodeName(a), QFile::decodeName(e)}));
        QCOMPARE(r.list->status(), QStringLiteral("Reading OK from file"));
        QVERIFY(r.logged(QStringLiteral("Random list: 6 line(s) left out, naming no file (2 loaded)")));
    }

    // 50 MB that name no file: read to the end on the worker, every line counted.
    void garbageFileLoadsWithoutHanging_data()
    {
        constexpr qsizetype Size = 50 << 20;
        QTest::addColumn<QByteArray>("content");
        QByteArray noise(Size, Qt::Uninitialized);
        QRandomGenerator(10).fillRange(reinterpret_cast<quint32*>(noise.data()), Size / 4);
        noise.replace('/', '#'); // no line is an absolute path
        QTest::addRow("random bytes") << noise;
        QTest::addRow("one line without an end") << QByteArray(Size, 'x');
        const QByteArray missing = "/no/such/folder/track.mp3\r\n";
        QTest::addRow("missing files") << missing.repeated(Size / missing.size());
    }
    void garbageFileLoadsWithoutHanging()
    {
        QFETCH(QByteArray, content);
        Rig r;
        test::writeAll(r.file(), content);
        const qsizetype lines = content.count('\n') + (content.endsWith('\n') ? 0 : 1);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(r.readAtStart());
        qInfo("%lld lines, %lld ms", qint64(lines), clock.elapsed());
        QVERIFY(r.list->entries().isEmpty());
        QCOMPARE(r.list->status(), QStringLiteral("Reading OK from file"));
        QVERIFY2(r.logged(QStringLiteral("Random list: %1 line(s) left out, naming no file (0 loaded)").arg(lines)),
                 qPrintable(test::texts(r.log).join(u'\n')));
    }

    // What a search cannot use is left out and reported; the rest is the new list.
    void searchReportsWhatItCannotUse_data()
    {
        QTest::addColumn<QString>("closed");  // a folder made unreadable, relative to the root
        QTest::addColumn<QStringList>("kept"); // the list, relative to the root
        QTest::addColumn<QString>("line");
        QTest::addRow("unreadable folder") << "closed" << QStringList{"a.mp3", "open/c.mp3"}
                                           << "Rnd list: 1 folder(s) could not be read";
        QTest::addRow("name not in UTF-8") << "" << QStringList{"a.mp3", "closed/b.mp3", "open/c.mp3"}
                                           << "Rnd list: 1 name(s) not in UTF-8 left out";
        QTest::addRow("unreadable starting folder") << "." << QStringList{}
                                                    << " could not be read - %1 kept as it was";
    }
    void searchReportsWhatItCannotUse()
    {
        QFETCH(QString, closed);
        QFETCH(QStringList, kept);
        QFETCH(QString, line);
        Rig r;
        for (const char* f : {"a.mp3", "closed/b.mp3", "open/c.mp3"})
            touch(r.root(), QString::fromLatin1(f));
        if (closed.isEmpty()) { // Latin-1 bytes, not valid UTF-8
            const QByteArray name = QFile::encodeName(r.root()) + "/open/\xe9t\xe9.mp3";
            ::close(::open(name.constData(), O_CREAT | O_WRONLY, 0644));
        }
        const QByteArray previous = "/music/kept.mp3\r\n";
        test::writeAll(r.file(), previous);
        std::unique_ptr<test::UnreadableDir> unreadable;
        if (!closed.isEmpty()) {
            unreadable = std::make_unique<test::UnreadableDir>(r.root() + u'/' + closed);
            if (!unreadable->ok())
                QSKIP("no way to make an unreadable directory here");
        }
        QVERIFY(r.build(r.root()));
        unreadable.reset();
        QStringList expected;
        for (const QString& k : kept)
            expected << r.root() + u'/' + k;
        QCOMPARE(r.list->entries(), expected);
        QCOMPARE(r.list->status(), QStringLiteral("Rnd list created #=%1").arg(expected.size()));
        QVERIFY2(r.logged(line.replace(QStringLiteral("%1"), r.file())), qPrintable(test::texts(r.log).join(u'\n')));
        QCOMPARE(test::readAll(r.file()), closed == QLatin1String(".") ? previous : crlfLines(expected));
    }

    void readAtStart_data()
    {
        QTest::addColumn<bool>("filePresent");
        QTest::addColumn<bool>("saveMemory");
        QTest::addColumn<int>("entries");
        QTest::addColumn<QString>("line");
        QTest::addRow("file read") << true << false << 1 << "Random list successfully loaded";
        QTest::addRow("SAVEMEMORY") << true << true << 0 << "Reading Random prohibited by command line parameter SAVEMEMORY";
        QTest::addRow("no file") << false << false << 0 << "No Random list found as ";
    }
    void readAtStart()
    {
        QFETCH(bool, filePresent);
        QFETCH(bool, saveMemory);
        QFETCH(int, entries);
        QFETCH(QString, line);
        Rig r;
        touch(r.root(), QStringLiteral("a.mp3"));
        if (filePresent)
            test::writeAll(r.file(), r.root().toUtf8() + "/a.mp3\r\n");
        r.list->setSaveMemory(saveMemory);
        QSignalSpy started(r.list.get(), &RandomList::readStarted);
        StartupSequence startup;
        r.list->registerStartup(startup);
        startup.run({});
        r.time.advance(RandomList::ReadDelayMs - 1);
        QCOMPARE(started.count(), 0);
        QVERIFY(r.readAtStart());
        QCOMPARE(started.count(), 1);
        QCOMPARE(r.list->entries().size(), entries);
        QVERIFY2(r.logged(line), qPrintable(test::texts(r.log).join(u'\n')));
        QVERIFY(r.logged(QStringLiteral("Reading Random list from ") + r.file()));
        QVERIFY(!r.list->indicatorVisible());
        QVERIFY(!r.list->RandomListreadTimer.isActive());
    }

    void buildCancelsThePendingRead()
    {
        Rig r;
        touch(r.root(), QStringLiteral("new.mp3"));
        touch(r.root(), QStringLiteral("old.mp3"));
        test::writeAll(r.file(), r.root().toUtf8() + "/old.mp3\r\n");
        StartupSequence startup;
        r.list->registerStartup(startup);
        startup.run({});
        QSignalSpy started(r.list.get(), &RandomList::readStarted);
        r.time.advance(3000);
        QFile::remove(r.root() + QStringLiteral("/old.mp3"));
        QVERIFY(r.build(r.root()));
        r.time.advance(10000);
        QCOMPARE(started.count(), 0);
        QCOMPARE(r.list->entries(), QStringList{r.root() + QStringLiteral("/new.mp3")});
    }

    void buildDuringTheReadGivesTheMusicItemBack()
    {
        Rig r;
        touch(r.root(), QStringLiteral("a.mp3"));
        test::writeAll(r.file(), r.root().toUtf8() + "/a.mp3\r\n/gone.mp3\r\n");
        StartupSequence startup;
        r.list->registerStartup(startup);
        startup.run({});
        QSignalSpy started(r.list.get(), &RandomList::readStarted);
        QSignalSpy read(r.list.get(), &RandomList::readFinished);
        r.time.advance(RandomList::ReadDelayMs);
        QCOMPARE(started.count(), 1);
        QVERIFY(r.build(r.root()));
        QCoreApplication::processEvents();
        QCOMPARE(read.count(), 1);
        QCOMPARE(r.list->entries(), QStringList{r.root() + QStringLiteral("/a.mp3")});
        QCOMPARE(r.list->status(), QStringLiteral("Rnd list created #=1"));
    }

    // One tree of 100 000 files in 5 000 folders for the tests below.
    void initTestCase()
    {
        QVERIFY(big_.isValid());
        for (int d = 0; d < 5000; ++d) {
            const QByteArray dir = QFile::encodeName(big_.path()) + "/d" + QByteArray::number(d / 100) + "/s"
                                   + QByteArray::number(d % 100) + "/";
            QDir().mkpath(QFile::decodeName(dir));
            for (int f = 0; f < 20; ++f) {
                const QByteArray path = dir + "t" + QByteArray::number(f) + ".mp3";
                const int fd = ::open(path.constData(), O_CREAT | O_WRONLY, 0644);
                QVERIFY(fd >= 0);
                ::close(fd);
            }
        }
    }

    void largeTreeLeavesTheMainThreadRunning()
    {
        Rig r;
        int ticks = 0;
        QTimer beat;
        connect(&beat, &QTimer::timeout, [&] { ++ticks; });
        beat.start(0);
        QElapsedTimer clock;
        clock.start();
        QSignalSpy done(r.list.get(), &RandomList::buildFinished);
        r.list->BMWpanel71Click(big_.path());
        const qint64 clickMs = clock.elapsed();
        QVERIFY(done.wait(120000));
        const qint64 buildMs = clock.elapsed();
        beat.stop();
        QCOMPARE(r.list->entries().size(), 100000);
        QCOMPARE(r.list->status(), QStringLiteral("Rnd list created #=100000"));
        QVERIFY2(clickMs < 200, qPrintable(QString::number(clickMs)));
        // The event loop went round many times while the search ran.
        QVERIFY2(ticks > 20, qPrintable(QString::number(ticks)));
        qInfo("100000 files: %lld ms, the click returned after %lld ms, %d main-thread turns", buildMs, clickMs, ticks);
    }

    void stopMidwayKeepsThePreviousFile()
    {
        Rig r;
        const QByteArray previous = "/music/kept.mp3\r\n/music/also.mp3\r\n";
        test::writeAll(r.file(), previous);
        QSignalSpy progress(r.list.get(), &RandomList::searching);
        r.list->BMWpanel71Click(big_.path());
        QVERIFY(progress.wait(60000));
        QElapsedTimer clock;
        clock.start();
        r.list->stopSearch();
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(!r.list->busy());
        QVERIFY(!r.list->indicatorVisible());
        QCOMPARE(test::readAll(r.file()), previous);
        QVERIFY(r.logged(QStringLiteral("Rnd list search stopped - ") + r.file() + QStringLiteral(" kept as it was")));
        // No leftover of the stopped search lands later.
        QSignalSpy finished(r.list.get(), &RandomList::buildFinished);
        QTest::qWait(50);
        QCOMPARE(finished.count(), 0);
        const QStringList files = QDir(r.home.path()).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(files, QStringList{QStringLiteral("Zarn_random.txt")});
    }

private:
    // In memory where the machine has it: 100 000 files on a disk take far longer to make than to search.
    QTemporaryDir big_{QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                           ? QStringLiteral("/dev/shm/tst_randomlist-XXXXXX")
                           : QDir::tempPath() + QStringLiteral("/tst_randomlist-XXXXXX")};
};

QTEST_GUILESS_MAIN(TestRandomList)
#include "tst_randomlist.moc"
