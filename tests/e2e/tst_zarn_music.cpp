// The real zarn program on a pseudo-terminal with a music directory of its own: the
// last track resumes at start-up with its name on the cluster, and the steering wheel's
// "up" button goes on to the next entry of the list.
#include "ibus/FrameText.h"
#include "PtyPair.h"
#include "TestSupport.h"
#include "ZarnProcess.h"

#include <QDir>
#include <QProcess>
#include <QTest>

using namespace zarn;
using test::hexBytes;

namespace {
// Only a bound on failure: every wait ends on the bytes it waits for.
constexpr int TimeoutMs = 60000;

// Long enough that no track ends by itself while the test runs, however busy the machine.
bool makeTrack(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("ffmpeg"), {QStringLiteral("-nostdin"), QStringLiteral("-v"), QStringLiteral("error"),
                                       QStringLiteral("-y"), QStringLiteral("-f"), QStringLiteral("lavfi"),
                                       QStringLiteral("-i"), QStringLiteral("sine=f=440:r=8000:d=600"),
                                       QStringLiteral("-ac"), QStringLiteral("2"), QStringLiteral("-b:a"),
                                       QStringLiteral("16k"), path});
    return p.waitForFinished(TimeoutMs) && p.exitCode() == 0;
}

// 68 LL 80 23 62 30, the first 20 characters of the file name, the checksum.
QByteArray clusterFrame(const QString& fileName)
{
    const QByteArray text = fileName.left(20).toLatin1();
    QByteArray frame = hexBytes(QStringLiteral("68 00 80 23 62 30")) + text;
    frame[1] = char(frame.size() - 1);
    frame.append(char(FrameChecksum(frame)));
    return frame;
}
} // namespace

class TestZarnMusic : public QObject {
    Q_OBJECT
private slots:
    void resumesAndSkipsWithTheSteeringWheel()
    {
        const QString first = QStringLiteral("Alpha track number one.mp3");
        const QString second = QStringLiteral("Bravo track number two.mp3");
        test::PtyPair pty;
        QVERIFY(pty.isOpen());
        test::ZarnProcess zarn;
        const QString music = zarn.home() + QStringLiteral("/music");
        QVERIFY(QDir().mkpath(music));
        QVERIFY(makeTrack(music + QLatin1Char('/') + first));
        QVERIFY(makeTrack(music + QLatin1Char('/') + second));
        zarn.writeIni("[COM-Port]\nDevicePath=" + pty.slavePath().toUtf8() + "\n[Pathes]\nmp3=" + music.toUtf8()
                      + "\n[Special]\nautoreplay_after_restart=1\n[MP3Player]\nLastMP3played=" + music.toUtf8() + "/"
                      + first.toUtf8() + "\n");
        QVERIFY(zarn.start());

        const QByteArray resumed = clusterFrame(first);
        QByteArray seen = pty.readUntil(resumed, TimeoutMs);
        QVERIFY2(seen.contains(resumed), seen.toHex(' ').constData());

        QVERIFY(pty.write(hexBytes(QStringLiteral("50 04 C8 3B 01 A6")))); // steering wheel "up"
        const QByteArray next = clusterFrame(second);
        seen = pty.readUntil(next, TimeoutMs);
        QVERIFY2(seen.contains(next), seen.toHex(' ').constData());

        QCOMPARE(zarn.terminate(), 0);
        const QByteArray ini = test::readAll(zarn.home() + QStringLiteral("/Zarn.ini"));
        QVERIFY2(ini.contains("LastMP3played=" + music.toUtf8() + "/" + second.toUtf8()), ini.constData());
    }
};

QTEST_GUILESS_MAIN(TestZarnMusic)
#include "tst_zarn_music.moc"
