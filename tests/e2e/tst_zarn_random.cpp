// The real zarn program with random play: a list file from an earlier run is read at
// start-up and the end of the resumed track starts a track drawn from it; an exit in the
// middle of building a new list is quick and keeps the earlier list file whole.
#include "ibus/FrameText.h"
#include "CarSimProcess.h"
#include "PtyPair.h"
#include "TestSupport.h"
#include "ZarnProcess.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <signal.h>

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
} // namespace

class TestZarnRandom : public QObject {
    Q_OBJECT
private slots:
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
};

QTEST_GUILESS_MAIN(TestZarnRandom)
#include "tst_zarn_random.moc"
