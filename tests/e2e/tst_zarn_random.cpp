// The real zarn program with random play: a list file from an earlier run is read at
// start-up and the end of the resumed track starts a track drawn from it; an exit in the
// middle of building a new list ends the program (how soon is printed) and keeps the
// earlier list file whole.
#include "ibus/FrameText.h"
#include "CarSimProcess.h"
#include "PtyPair.h"
#include "TestSupport.h"
#include "ZarnProcess.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace zarn;
using test::hexBytes;

namespace {
// Only a bound on failure: every wait ends on the bytes or the line it waits for.
constexpr int TimeoutMs = 60000;

bool makeTrack(const QString& path, const char* seconds)
{
    QProcess p;
    p.start(QStringLiteral("ffmpeg"),
            {QStringLiteral("-nostdin"), QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y"),
             QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
             QStringLiteral("sine=f=440:r=8000:d=") + QLatin1String(seconds), QStringLiteral("-ac"), QStringLiteral("2"),
             QStringLiteral("-b:a"), QStringLiteral("16k"), path});
    return p.waitForFinished(TimeoutMs) && p.exitCode() == 0;
}

// 68 LL 80 23 62 30, the first 20 characters of the file name, the checksum.
QByteArray clusterFrame(const QString& fileName)
{
    QByteArray frame = hexBytes(QStringLiteral("68 00 80 23 62 30")) + fileName.left(20).toLatin1();
    frame[1] = char(frame.size() - 1);
    frame.append(char(FrameChecksum(frame)));
    return frame;
}

bool writeFile(const QString& path, const QByteArray& content)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(content) == content.size();
}

// A large collection: 50 artists of 100 albums of 20 empty tracks each, 100 000 files in
// 5 000 album folders. Plain system calls keep the making short.
constexpr int Artists = 50;
constexpr int AlbumsPerArtist = 100;
constexpr int TracksPerAlbum = 20;

QByteArray twoDigits(int n)
{
    return QByteArray::number(n).rightJustified(2, '0');
}

bool makeLargeTree(const QByteArray& root)
{
    for (int a = 0; a < Artists; ++a) {
        const QByteArray artist = root + "/Artist " + twoDigits(a);
        if (::mkdir(artist.constData(), 0755) != 0)
            return false;
        for (int b = 0; b < AlbumsPerArtist; ++b) {
            const QByteArray album = artist + "/Album " + twoDigits(b) + '/';
            if (::mkdir(album.constData(), 0755) != 0)
                return false;
            for (int t = 0; t < TracksPerAlbum; ++t) {
                const int fd = ::open((album + "Track " + twoDigits(t) + ".mp3").constData(), O_CREAT | O_WRONLY, 0644);
                if (fd < 0)
                    return false;
                ::close(fd);
            }
        }
    }
    return true;
}

// The monitor's knob: F0 04 3B, then 48 45 (pressed) or 49 0n (n detents counter-clockwise).
QByteArray knobFrame(const QString& data)
{
    QByteArray frame = hexBytes(QStringLiteral("F0 04 3B ") + data);
    frame.append(char(FrameChecksum(frame)));
    return frame;
}

} // namespace

class TestZarnRandom : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(tree_.isValid());
        QElapsedTimer clock;
        clock.start();
        QVERIFY(makeLargeTree(QFile::encodeName(tree_.path())));
        qInfo("a tree of %d files in %d folders made in %lld ms", Artists * AlbumsPerArtist * TracksPerAlbum,
              Artists * AlbumsPerArtist, clock.elapsed());
    }

    void endOfResumedTrackPlaysFromTheListFile()
    {
        // The resumed track is not in the list, so only a draw can show a listed name.
        const QString resumed = QStringLiteral("Resumed short one.mp3");
        const QStringList listed{QStringLiteral("Listed track alpha.mp3"), QStringLiteral("Listed track bravo.mp3")};
        const QString unlisted = QStringLiteral("Unlisted track zulu.mp3");
        test::PtyPair pty;
        QVERIFY(pty.isOpen());
        test::ZarnProcess zarn;
        const QString music = zarn.home() + QStringLiteral("/music");
        QVERIFY(QDir().mkpath(music + QStringLiteral("/sub")));
        // A length with a fraction of a second: the stream wraps between two ticks.
        QVERIFY(makeTrack(music + QLatin1Char('/') + resumed, "1.3"));
        QVERIFY(makeTrack(music + QLatin1Char('/') + unlisted, "1.3"));
        QByteArray list;
        for (const QString& name : listed) {
            QVERIFY(makeTrack(music + QStringLiteral("/sub/") + name, "1.7"));
            list += (music + QStringLiteral("/sub/") + name).toUtf8() + "\r\n";
        }
        QVERIFY(writeFile(zarn.home() + QStringLiteral("/Zarn_random.txt"), list));
        zarn.writeIni("[COM-Port]\nDevicePath=" + pty.slavePath().toUtf8() + "\n[Pathes]\nmp3=" + music.toUtf8()
                      + "\n[Randomizer]\nstartwithrandom=1\n[Special]\nautoreplay_after_restart=1\n[MP3Player]\nLastMP3played="
                      + music.toUtf8() + "/" + resumed.toUtf8() + "\n");
        QVERIFY(zarn.start({QStringLiteral("/TRACE")}));

        QByteArray seen = pty.readUntil(clusterFrame(resumed), TimeoutMs);
        QVERIFY2(seen.contains(clusterFrame(resumed)), seen.toHex(' ').constData());
        QVERIFY(zarn.waitForLine(QStringLiteral("Random list successfully loaded"), TimeoutMs));

        seen.clear();
        QDeadlineTimer deadline(TimeoutMs);
        auto drawn = [&] {
            return std::any_of(listed.begin(), listed.end(), [&](const QString& n) { return seen.contains(clusterFrame(n)); });
        };
        while (!drawn() && !deadline.hasExpired())
            seen += pty.read(200);
        QVERIFY2(drawn(), seen.toHex(' ').constData());
        QVERIFY(!seen.contains(clusterFrame(unlisted)));
        QCOMPARE(zarn.terminate(), 0);
    }

    void exitDuringTheSearchKeepsTheEarlierList()
    {
        test::PtyPair pty;
        QVERIFY(pty.isOpen());
        test::ZarnProcess zarn;
        const QString root = tree_.path();
        // A complete list of an earlier build, made from the first artist only: a search
        // that ran to its end would have replaced it with all 100 000 files.
        QByteArray earlier;
        for (int b = 0; b < AlbumsPerArtist; ++b)
            for (int t = 0; t < TracksPerAlbum; ++t)
                earlier += QFile::encodeName(root) + "/Artist 00/Album " + twoDigits(b) + "/Track " + twoDigits(t) + ".mp3\r\n";
        const QString listFile = zarn.home() + QStringLiteral("/Zarn_random.txt");
        QVERIFY(writeFile(listFile, earlier));
        zarn.writeIni("[COM-Port]\nDevicePath=" + pty.slavePath().toUtf8() + "\n[Pathes]\nmp3=" + root.toUtf8() + "\n");
        QVERIFY(zarn.start({QStringLiteral("/TRACE"), QStringLiteral("/FORCESCREEN")}));
        // The read at start shows the main menu with the focus on "MP3 Player".
        QVERIFY(zarn.waitForLine(QStringLiteral("Random list successfully loaded"), TimeoutMs));

        // Press: the music page with the focus on its list's first entry. Three detents
        // counter-clockwise: out of the list to the up item, the back item, "Make Random
        // List". Press: the search starts in the folder the list shows.
        QVERIFY(pty.write(knobFrame(QStringLiteral("48 45"))));
        QVERIFY(zarn.waitForLine(QStringLiteral("BMW_Menu_turnknob_Press found"), TimeoutMs));
        QVERIFY(zarn.statusTexts().contains(QStringLiteral("BitBtnWithColor1Click"))); // "MP3 Player" took the press
        QVERIFY(pty.write(knobFrame(QStringLiteral("49 03"))));
        QVERIFY(zarn.waitForLine(QStringLiteral("BMW_Menu_turnknob_Counterclockwise - numsteps = 3"), TimeoutMs));
        QVERIFY(pty.write(knobFrame(QStringLiteral("48 45"))));
        QVERIFY2(zarn.waitForLine(QStringLiteral("Searching ") + root + QStringLiteral(" for the random list"), TimeoutMs),
                 qPrintable(zarn.statusTexts().filter(QRegularExpression(QStringLiteral("knob|rror|Rnd|andom"))).join(u'\n')));

        const QStringList before = QDir(zarn.home()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(zarn.terminate(TimeoutMs), 0);
        qInfo("exit during the search: %lld ms from SIGTERM to the end of the process", clock.elapsed());

        const QStringList texts = zarn.statusTexts();
        QVERIFY2(texts.contains(QStringLiteral("Rnd list search stopped - ") + listFile + QStringLiteral(" kept as it was")),
                 qPrintable(texts.join(u'\n')));
        QVERIFY(!texts.contains(QStringLiteral("Wrote random list to ") + listFile));
        QVERIFY(test::readAll(listFile) == earlier);
        // Nothing half written beside it, nothing new at all.
        const QStringList after = QDir(zarn.home()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        QCOMPARE(after.filter(QStringLiteral("Zarn_random")), QStringList{QStringLiteral("Zarn_random.txt")});
        for (const QString& name : after)
            QVERIFY2(before.contains(name), qPrintable(name));
    }

private:
    // In memory where the machine has it: 100 000 files on a disk take far longer to make than to search.
    QTemporaryDir tree_{QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                            ? QStringLiteral("/dev/shm/tst_zarn_random-XXXXXX")
                            : QDir::tempPath() + QStringLiteral("/tst_zarn_random-XXXXXX")};
};

QTEST_GUILESS_MAIN(TestZarnRandom)
#include "tst_zarn_random.moc"
