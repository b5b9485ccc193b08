// The wave cue player on SDL's dummy driver with wave files made by the ffmpeg tool.
#include "TestSupport.h"

#include "core/StatusLog.h"
#include "media/SdlWavePlayer.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace zarn;

namespace {
QString makeWave(const QString& path, double seconds)
{
    QProcess p;
    p.start(QStringLiteral("ffmpeg"), {QStringLiteral("-nostdin"), QStringLiteral("-v"), QStringLiteral("error"),
                                       QStringLiteral("-y"), QStringLiteral("-f"), QStringLiteral("lavfi"),
                                       QStringLiteral("-i"), QStringLiteral("sine=frequency=880:duration=%1").arg(seconds),
                                       QStringLiteral("-c:a"), QStringLiteral("pcm_s16le"), path});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        qWarning("ffmpeg failed: %s", p.readAllStandardError().constData());
    return path;
}
} // namespace

class TestSdlWavePlayer : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString wave;

private slots:
    void initTestCase()
    {
        wave = makeWave(dir.filePath(QStringLiteral("radar.wav")), 0.2);
        QVERIFY(QFile::exists(wave));
        QFile text(dir.filePath(QStringLiteral("text.wav")));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("not a RIFF file at all\n");
    }

    void play_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("plays");
        QTest::addColumn<QString>("reason"); // part of the status line
        QTest::newRow("wave file") << "radar.wav" << true << "";
        QTest::newRow("missing file") << "gone.wav" << false << "no such file";
        QTest::newRow("a directory") << "." << false << "no such file";
        QTest::newRow("not a wave file") << "text.wav" << false << "text.wav";
    }
    void play()
    {
        QFETCH(QString, file);
        QFETCH(bool, plays);
        QFETCH(QString, reason);
        test::VirtualTime time;
        StatusLog log;
        QStringList lines;
        log.setAlertSink([](const QString&) {});
        connect(&log, &StatusLog::lineAdded, this, [&lines](const QString& l) { lines << l; });
        SdlWavePlayer player(&log);
        QCOMPARE(player.play(dir.filePath(file)), plays);
        QCOMPARE(player.playing(), plays);
        QCOMPARE(lines.size(), plays ? 0 : 1);
        if (!plays) {
            QVERIFY2(lines.first().contains(QLatin1String("Cannot play sound file")), qPrintable(lines.first()));
            QVERIFY2(lines.first().contains(reason), qPrintable(lines.first()));
        }
        player.stop();
        QVERIFY(!player.playing());
    }

    // Once the cue has run out the device is given back, and the next cue gets a new one.
    void releasesTheDeviceAfterTheCue()
    {
        test::VirtualTime time;
        SdlWavePlayer player;
        QVERIFY(player.play(wave));
        QTRY_VERIFY_WITH_TIMEOUT((time.advance(SdlWavePlayer::CheckMs), !player.playing()), 20000);
        QVERIFY(player.play(wave));
        // A new cue replaces one still playing.
        QVERIFY(player.play(wave));
        QVERIFY(player.playing());
    }

    void noSoundDeviceIsReported()
    {
        test::VirtualTime time;
        const QByteArray driver = qgetenv("SDL_AUDIODRIVER");
        qputenv("SDL_AUDIODRIVER", "no-such-driver");
        StatusLog log;
        log.setAlertSink([](const QString&) {});
        SdlWavePlayer player(&log);
        const bool played = player.play(wave);
        qputenv("SDL_AUDIODRIVER", driver);
        QVERIFY(!played);
        QVERIFY(!player.playing());
        QVERIFY2(player.lastError().startsWith(QLatin1String("Cannot play sound file")), qPrintable(player.lastError()));
        // The driver is picked anew: with a working one the cue plays again.
        QVERIFY(player.play(wave));
    }
};

QTEST_GUILESS_MAIN(TestSdlWavePlayer)
#include "tst_sdlwaveplayer.moc"
