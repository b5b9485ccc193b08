// libmpv behind the video player contract, on movies made by ffmpeg for the test: every
// container the movie list offers opens with its length, pauses, seeks and stops; broken
// files report an error while opening; the software renderer draws the picture.
#include "media/MpvVideoPlayer.h"
#include "MovieFiles.h"
#include "TestSupport.h"

#include <QVector>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace zarn;

namespace {
constexpr int TimeoutMs = 60000; // only a bound on failure
const MpvVideoPlayer::Options Silent = {{"ao", "null"}};

bool waitForState(VideoPlayer& player, int state)
{
    QSignalSpy spy(&player, &VideoPlayer::openStateChanged);
    return player.openState() == state || QTest::qWaitFor([&] { return player.openState() == state; }, TimeoutMs);
}
} // namespace

class TestMpvVideoPlayer : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir_;

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        for (const char* name : {"movie.mpg", "movie.avi", "movie.vob", "movie.wmv", "movie.dat"})
            QVERIFY2(test::makeMovie(dir_.filePath(name), 5), name);
        QVERIFY(test::makeMovie(dir_.filePath("whole.mpg"), 5));
        QByteArray whole = test::readAll(dir_.filePath("whole.mpg"));
        test::writeAll(dir_.filePath("truncated.mpg"), whole.left(300));
        test::writeAll(dir_.filePath("empty.mpg"), {});
        test::writeAll(dir_.filePath("text.avi"), "This is not a movie at all.\nJust some words.\n");
    }

    void playsEveryContainer_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addRow("MPEG-2 program stream") << "movie.mpg";
        QTest::addRow("AVI with MPEG-4") << "movie.avi";
        QTest::addRow("DVD VOB") << "movie.vob";
        QTest::addRow("Windows Media") << "movie.wmv";
        QTest::addRow("VCD DAT") << "movie.dat";
    }
    void playsEveryContainer()
    {
        QFETCH(QString, file);
        MpvVideoPlayer player(MpvVideoPlayer::Output::NoVideo, 0, Silent);
        QVERIFY2(player.isValid(), qPrintable(player.startError()));
        QSignalSpy states(&player, &VideoPlayer::openStateChanged);
        QSignalSpy complete(&player, &VideoPlayer::openComplete);
        QSignalSpy errors(&player, &VideoPlayer::error);
        player.open(dir_.filePath(file));
        QCOMPARE(player.openState(), int(VideoPlayer::Opening));
        QVERIFY(waitForState(player, VideoPlayer::Open));
        QCOMPARE(errors.count(), 0);
        QCOMPARE(complete.count(), 1);
        QCOMPARE(states.last().at(1).toInt(), int(VideoPlayer::Open));
        QVERIFY2(std::abs(player.duration() - 5.0) < 0.5, qPrintable(QString::number(player.duration())));
        QCOMPARE(player.playState(), int(VideoPlayer::Playing));

        QVERIFY(player.pause());
        QCOMPARE(player.playState(), int(VideoPlayer::Paused));
        QVERIFY(!player.pause()); // only a playing movie pauses
        QVERIFY(player.play());
        QCOMPARE(player.playState(), int(VideoPlayer::Playing));

        QSignalSpy moved(&player, &VideoPlayer::positionChanged);
        player.setPosition(2.5);
        QCOMPARE(player.position(), 2.5);
        player.setPosition(player.position() + 1.0); // before the decoder caught up
        QCOMPARE(player.position(), 3.5);
        QCOMPARE(moved.count(), 2);
        QCOMPARE(moved.last().at(1).toDouble(), 3.5);

        QVERIFY(player.stop());
        QCOMPARE(player.openState(), int(VideoPlayer::Closed));
        QVERIFY(!player.stop());
        QVERIFY(!player.play());
        // The stop's own end of file must not close a movie opened right after it.
        player.open(dir_.filePath(file));
        QVERIFY(waitForState(player, VideoPlayer::Open));
        QTest::qWait(0);
        QCOMPARE(player.openState(), int(VideoPlayer::Open));
    }

    void brokenFilesReportWhileOpening_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addRow("zero length") << "empty.mpg";
        QTest::addRow("text with a movie extension") << "text.avi";
        QTest::addRow("missing") << "no such movie.mpg";
    }
    void brokenFilesReportWhileOpening()
    {
        QFETCH(QString, file);
        MpvVideoPlayer player(MpvVideoPlayer::Output::NoVideo, 0, Silent);
        QSignalSpy errors(&player, &VideoPlayer::error);
        int stateAtError = -1;
        connect(&player, &VideoPlayer::error, this, [&] { stateAtError = player.openState(); });
        player.open(dir_.filePath(file));
        QVERIFY(errors.count() > 0 || errors.wait(TimeoutMs));
        QCOMPARE(stateAtError, int(VideoPlayer::Opening));
        QVERIFY(!errors.first().at(1).toString().isEmpty());
        QCOMPARE(player.openState(), int(VideoPlayer::Closed));
    }

    // What is left of a cut movie plays to its end at once, or fails to open.
    void truncatedMovieEndsOrFails()
    {
        MpvVideoPlayer player(MpvVideoPlayer::Output::NoVideo, 0, Silent);
        QSignalSpy errors(&player, &VideoPlayer::error);
        QSignalSpy ended(&player, &VideoPlayer::endReached);
        player.open(dir_.filePath("truncated.mpg"));
        QVERIFY(QTest::qWaitFor([&] { return !errors.isEmpty() || !ended.isEmpty(); }, TimeoutMs));
        if (ended.count())
            QCOMPARE(player.playState(), int(VideoPlayer::Stopped));
    }

    void softwareRendererDrawsThePicture()
    {
        MpvVideoPlayer player(MpvVideoPlayer::Output::Frames, 0, Silent);
        QVERIFY(player.rendersFrames());
        QSignalSpy frames(&player, &VideoPlayer::frameReady);
        player.open(dir_.filePath("movie.mpg"));
        QVERIFY(waitForState(player, VideoPlayer::Open));
        constexpr int W = 160, H = 120;
        QVector<quint32> pixels(W * H, 0); // 0x00RRGGBB, as a 32-bit RGB image holds them
        // The first frames may still be black while the decoder starts.
        const bool drawn = QTest::qWaitFor([&] {
            if (frames.isEmpty() && !frames.wait(1000))
                return false;
            frames.clear();
            player.renderFrame(W, H, W * 4, pixels.data());
            return (pixels[(H / 4) * W + W / 4] & 0xFFFFFF) != 0;
        }, TimeoutMs);
        QVERIFY(drawn);
    }

    void zoomIsKept()
    {
        MpvVideoPlayer player(MpvVideoPlayer::Output::NoVideo, 0, Silent);
        player.setZoom(150);
        QCOMPARE(player.zoom(), 150);
        player.setZoom(0);
        QCOMPARE(player.zoom(), 150);
    }
};

QTEST_GUILESS_MAIN(TestMpvVideoPlayer)
#include "tst_mpvvideoplayer.moc"
