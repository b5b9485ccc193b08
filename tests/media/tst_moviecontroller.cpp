// The movie player's logic on a fake video player: the texts, the seek and its clamps,
// pause and resume, the overlay and its timer, the audio output released and opened
// again, the failures; then the same controller on libmpv with movies made by ffmpeg.
#include "core/StatusLog.h"
#include "media/MovieController.h"
#include "media/MpvVideoPlayer.h"
#include "media/WavePlayer.h"
#include "FakeVideoPlayer.h"
#include "MovieFiles.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>

#include <QScopeGuard>

#include <cstdio>
#include <unistd.h>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace zarn;
using test::FakeVideoPlayer;

namespace {
constexpr int TimeoutMs = 60000; // only a bound on failure

class RecordingWave final : public WavePlayer {
public:
    QStringList played;
    bool play(const QString& path) override
    {
        played << path;
        return true;
    }
    void stop() override {}
};

// A controller on a player, with the audio output counted.
struct Rig {
    explicit Rig(VideoPlayer& player, const QString& appDir = QString())
        : movie(player, time.scheduler, appDir)
        , pages(&movie, &MovieController::pagesVisible)
    {
        movie.setAudioOutput([this] { ++released; }, [this] { ++reopened; });
        movie.setWavePlayer(&wave);
        movie.setStatusLog(&log);
    }
    test::VirtualTime time;
    MovieController movie;
    RecordingWave wave;
    StatusLog log;
    QSignalSpy pages;
    int released = 0;
    int reopened = 0;
};
} // namespace

class TestMovieController : public QObject {
    Q_OBJECT
private slots:
    void onlyTheMovieExtensionsStart_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("starts");
        QTest::addRow("mpg") << "/m/a.mpg" << true;
        QTest::addRow("upper case MPEG") << "/m/A.MPEG" << true;
        QTest::addRow("avi") << "/m/a.avi" << true;
        QTest::addRow("vob") << "/m/VTS_01_1.VOB" << true;
        QTest::addRow("dat") << "/m/avseq01.dat" << true;
        QTest::addRow("wmv is listed only") << "/m/a.wmv" << false;
        QTest::addRow("mp3") << "/m/a.mp3" << false;
        QTest::addRow("no extension") << "/m/mpg" << false;
        QTest::addRow("dot in a folder only") << "/m.mpg/readme" << false;
    }
    void onlyTheMovieExtensionsStart()
    {
        QFETCH(QString, path);
        QFETCH(bool, starts);
        FakeVideoPlayer player;
        Rig rig(player);
        QCOMPARE(rig.movie.PlayMovieFile(path), starts);
        QCOMPARE(rig.movie.MovieMode(), starts);
        QCOMPARE(player.opened.size(), starts ? 1 : 0);
        QCOMPARE(rig.released, starts ? 1 : 0);
        QCOMPARE(rig.pages.size(), starts ? 1 : 0);
        if (starts) {
            QCOMPARE(rig.pages.first().at(0).toBool(), false);
            QCOMPARE(rig.movie.view().progress, QStringLiteral(" loading..."));
            QVERIFY(rig.movie.view().indicator);
        }
    }

    void durationAndProgressTexts_data()
    {
        QTest::addColumn<double>("duration");
        QTest::addColumn<double>("position");
        QTest::addColumn<QString>("durationText");
        QTest::addColumn<QString>("progress");
        QTest::addRow("five seconds") << 5.2 << 2.6 << "00:05" << " 00:02..00:05";
        QTest::addRow("92:07") << 5527.9 << 61.0 << "92:07" << " 01:01..92:07";
        QTest::addRow("three digits of minutes") << 6000.5 << 5999.9 << "100:00" << " 99:59..100:00";
        QTest::addRow("empty movie") << 0.0 << 0.0 << "00:00" << " 00:00..00:00";
    }
    void durationAndProgressTexts()
    {
        QFETCH(double, duration);
        QFETCH(double, position);
        QFETCH(QString, durationText);
        QFETCH(QString, progress);
        FakeVideoPlayer player;
        Rig rig(player);
        rig.movie.PlayMovieFile("/m/a.mpg");
        player.finishOpen(duration);
        QCOMPARE(rig.movie.durationText(), durationText);
        player.setPosition(position);
        QCOMPARE(rig.movie.view().progress, progress);
        QCOMPARE(rig.movie.view().onstageText, progress);
    }

    void seekByFractions_data()
    {
        QTest::addColumn<double>("start");
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("k");
        QTest::addColumn<double>("expected");
        // A 400-second movie: 1/200 is 2 s, 1/400 is 1 s.
        QTest::addRow("wheel forward") << 100.0 << 1 << 200 << 102.0;
        QTest::addRow("wheel back") << 100.0 << -1 << 200 << 98.0;
        QTest::addRow("knob forward") << 100.0 << 1 << 400 << 101.0;
        QTest::addRow("knob back") << 100.0 << -1 << 400 << 99.0;
        QTest::addRow("forward near the end lands on the end") << 399.0 << 1 << 200 << 400.0;
        QTest::addRow("forward onto the end exactly") << 398.0 << 1 << 200 << 400.0;
        QTest::addRow("back near the start lands on 0") << 1.5 << -1 << 200 << 0.0;
        QTest::addRow("back onto 0 exactly") << 1.0 << -1 << 400 << 0.0;
    }
    void seekByFractions()
    {
        QFETCH(double, start);
        QFETCH(int, direction);
        QFETCH(int, k);
        QFETCH(double, expected);
        FakeVideoPlayer player;
        Rig rig(player);
        rig.movie.PlayMovieFile("/m/a.mpg");
        player.finishOpen(400);
        player.pos = start;
        rig.movie.seekFraction(direction, k);
        QCOMPARE(player.pos, expected);
    }

    void seekActsOnlyOnAnOpenMovieButShowsTheProgress()
    {
        FakeVideoPlayer player;
        Rig rig(player);
        rig.movie.PlayMovieFile("/m/a.mpg"); // still opening
        QSignalSpy moved(&player, &VideoPlayer::positionChanged);
        rig.movie.skipMovie(1);
        QCOMPARE(moved.count(), 0);
        QVERIFY(rig.movie.view().onstage);
        QCOMPARE(rig.movie.Movie_progress_onstage_timer.interval(), 8000);
        rig.time.advance(7999);
        QVERIFY(rig.movie.view().onstage);
        rig.log.setTimerTraceEnabled(true);
        rig.time.advance(1);
        QVERIFY(!rig.movie.view().onstage);
        QVERIFY(!rig.movie.Movie_progress_onstage_timer.isActive());
        QCOMPARE(test::texts(rig.log), QStringList{"$$$ Timer - Movie_progress_onstage_timer"});
    }

    void pauseAndResumeTexts()
    {
        FakeVideoPlayer player;
        Rig rig(player);
        rig.movie.PlayMovieFile("/m/a.mpg");
        player.finishOpen(60);
        QCOMPARE(rig.movie.view().pauseCaption, QStringLiteral("Pause"));
        rig.movie.BMWpanel49Click();
        QCOMPARE(player.playState(), int(VideoPlayer::Paused));
        QVERIFY(rig.movie.MoviePaused());
        QCOMPARE(rig.movie.view().pauseCaption, QStringLiteral("Resume..."));
        QCOMPARE(rig.movie.view().onstageText, QStringLiteral("Pause"));
        QCOMPARE(rig.movie.MovieOptionsPanelDisappearTimer.interval(), 15000);
        rig.movie.BMWpanel49Click();
        QCOMPARE(player.playState(), int(VideoPlayer::Playing));
        QVERIFY(!rig.movie.MoviePaused());
        QCOMPARE(rig.movie.view().pauseCaption, QStringLiteral("Pause..."));
        QCOMPARE(rig.movie.view().onstageText, QStringLiteral(" "));
    }

    void theRadiosPauseHoldsTheMovie()
    {
        FakeVideoPlayer player;
        Rig rig(player);
        rig.movie.PlayMovieFile("/m/a.mpg");
        player.finishOpen(60);
        rig.movie.HoldMovie();
        QCOMPARE(player.playState(), int(VideoPlayer::Paused));
        QCOMPARE(rig.movie.view().pauseCaption, QStringLiteral("Resume..."));
        rig.movie.HoldMovie(); // a second row of the same message resumes nothing
        QCOMPARE(player.playState(), int(VideoPlayer::Paused));
        // The pause item then resumes.
        rig.movie.BMWpanel49Click();
        QCOMPARE(player.playState(), int(VideoPlayer::Playing));
        // A pause held before a movie starts does not carry over to the next one.
        rig.movie.HoldMovie();
        rig.movie.PlayMovieFile("/m/b.mpg");
        player.finishOpen(60);
        QVERIFY(!rig.movie.MoviePaused());
        rig.movie.BMWpanel49Click();
        QCOMPARE(player.playState(), int(VideoPlayer::Paused));
    }

    void stopGivesPagesAndSoundBack()
    {
        FakeVideoPlayer player;
        Rig rig(player);
        rig.movie.PlayMovieFile("/m/a.mpg");
        player.finishOpen(60);
        rig.movie.openOverlay();
        QSignalSpy hidden(&rig.movie, &MovieController::overlayHidden);
        rig.movie.BMWpanel52Click();
        QCOMPARE(player.openState(), int(VideoPlayer::Closed));
        QVERIFY(!rig.movie.MovieMode());
        QVERIFY(!rig.movie.view().indicator);
        QVERIFY(!rig.movie.view().overlay);
        QVERIFY(!rig.movie.MovieOptionsPanelDisappearTimer.isActive());
        QCOMPARE(hidden.count(), 1);
        QCOMPARE(rig.pages.last().at(0).toBool(), true);
        QCOMPARE(rig.released, 1);
        QCOMPARE(rig.reopened, 1);
        // A second movie releases the output again, a second stop opens it again.
        rig.movie.PlayMovieFile("/m/b.avi");
        player.finishOpen(60);
        rig.movie.BMWpanel52Click();
        QCOMPARE(rig.released, 2);
        QCOMPARE(rig.reopened, 2);
    }

    void aFailingStopLeavesTheIndicator()
    {
        FakeVideoPlayer player;
        Rig rig(player);
        rig.movie.PlayMovieFile("/m/a.mpg");
        player.finishOpen(60);
        player.stopFails = true;
        rig.movie.BMWpanel52Click();
        QVERIFY(rig.movie.view().indicator);
        QVERIFY(!rig.movie.MovieMode());
        QCOMPARE(rig.pages.last().at(0).toBool(), true);
        QCOMPARE(rig.reopened, 1);
    }

    void aMovieThatCannotOpenPlaysTheCue_data()
    {
        QTest::addColumn<bool>("refused");   // open() fails at once, or reports later
        QTest::addColumn<bool>("waveThere");
        QTest::addRow("reported while opening, cue present") << false << true;
        QTest::addRow("refused at once, cue present") << true << true;
        QTest::addRow("no cue file") << false << false;
    }
    void aMovieThatCannotOpenPlaysTheCue()
    {
        QFETCH(bool, refused);
        QFETCH(bool, waveThere);
        QTemporaryDir home;
        const QString wave = home.filePath("movienotrendered.wav");
        if (waveThere)
            test::writeAll(wave, "RIFF");
        FakeVideoPlayer player;
        player.openRefused = refused;
        Rig rig(player, home.path());
        QSignalSpy errors(&rig.movie, &MovieController::videoError);
        rig.movie.PlayMovieFile("/m/broken.mpg");
        if (!refused)
            player.failWith("Failed to recognize file format.");
        QVERIFY(!rig.movie.MovieMode());
        QVERIFY(!rig.movie.MoviePaused());
        QVERIFY(!rig.movie.view().indicator);
        QCOMPARE(rig.pages.last().at(0).toBool(), true);
        QCOMPARE(rig.reopened, 1);
        QCOMPARE(errors.count(), 0);
        QCOMPARE(rig.wave.played, waveThere ? QStringList{wave} : QStringList{});
        QVERIFY(test::texts(rig.log).isEmpty());
    }

    void aPlayerErrorShowsAndStops()
    {
        FakeVideoPlayer player;
        Rig rig(player);
        QSignalSpy errors(&rig.movie, &MovieController::videoError);
        rig.movie.PlayMovieFile("/m/a.mpg");
        player.finishOpen(60);
        player.failWith("audio output initialization failed");
        QCOMPARE(errors.count(), 1);
        QCOMPARE(errors.first().at(0).toString(), QStringLiteral(" audio output initialization failed"));
        QVERIFY(!rig.movie.MovieMode());
        QCOMPARE(rig.reopened, 1);
        QVERIFY(rig.wave.played.isEmpty());
    }

    void theEndOfTheMovieStopsIt()
    {
        FakeVideoPlayer player;
        Rig rig(player);
        rig.movie.PlayMovieFile("/m/a.mpg");
        player.finishOpen(3);
        emit player.endReached();
        QVERIFY(!rig.movie.MovieMode());
        QCOMPARE(rig.reopened, 1);
    }

    void overlayHidesAfterFifteenSeconds()
    {
        FakeVideoPlayer player;
        Rig rig(player);
        rig.movie.PlayMovieFile("/m/a.mpg");
        player.finishOpen(60);
        QSignalSpy opened(&rig.movie, &MovieController::overlayOpened);
        QSignalSpy hidden(&rig.movie, &MovieController::overlayHidden);
        player.reportKey(Qt::Key_Space);
        QCOMPARE(opened.count(), 1);
        QVERIFY(rig.movie.view().overlay);
        rig.time.advance(10000);
        rig.movie.BMWpanel48Click(); // every item starts the 15 s again
        rig.time.advance(14999);
        QVERIFY(rig.movie.view().overlay);
        rig.log.setTimerTraceEnabled(true);
        rig.time.advance(1);
        QVERIFY(!rig.movie.view().overlay);
        QCOMPARE(hidden.count(), 1);
        QCOMPARE(test::texts(rig.log), QStringList{"$$$ Timer - MovieOptionsPanelDisappearTimer"});
        QVERIFY(!rig.movie.MovieOptionsPanelDisappearTimer.isActive());
    }

    void thePagesOverARunningMovie()
    {
        FakeVideoPlayer player;
        Rig rig(player);
        rig.movie.PlayMovieFile("/m/a.mpg");
        player.finishOpen(60);
        rig.movie.openOverlay();
        rig.movie.BMWpanel50Click();
        QCOMPARE(rig.pages.last().at(0).toBool(), true);
        QVERIFY(!rig.movie.view().overlay);
        QVERIFY(rig.movie.MovieMode());
        QCOMPARE(player.playState(), int(VideoPlayer::Playing));
        QCOMPARE(rig.reopened, 0);
    }

    void zoomGoesToThePlayer()
    {
        FakeVideoPlayer player;
        Rig rig(player);
        rig.movie.setZoom(110);
        QCOMPARE(player.zoom(), 110);
        rig.movie.setZoom(0);
        QCOMPARE(player.zoom(), 110);
    }

    void theListWalksBelowTheRoot()
    {
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkpath("Series/Season 1"));
        for (const char* name : {"a.mpg", "b.wmv", "c.mp3", "Series/e1.avi"})
            test::writeAll(root.filePath(name), "x");
        FakeVideoPlayer player;
        Rig rig(player);
        MusicListModel& list = rig.movie.list();
        rig.movie.setMovieRoot(root.path());
        QStringList shown;
        for (const auto& e : list.entries())
            shown << e.text;
        QCOMPARE(shown, (QStringList{QStringLiteral("\u00bb  Series"), "a.mpg", "b.wmv"}));
        rig.movie.BMWpanel14Click(); // not above the root
        QCOMPARE(list.directory(), root.path());
        rig.movie.FileListBox2Enter();
        QCOMPARE(list.highlighted(), 0);
        rig.movie.FileListBox2Click(); // into "Series"
        QCOMPARE(list.directory(), root.filePath("Series"));
        QCOMPARE(list.highlighted(), 0);
        list.setHighlighted(1); // e1.avi
        rig.movie.FileListBox2Click();
        QCOMPARE(player.opened, QStringList{root.filePath("Series/e1.avi")});
        rig.movie.BMWpanel14Click();
        QCOMPARE(list.directory(), root.path());
        list.setHighlighted(2); // b.wmv
        rig.movie.BMWpanel52Click();
        rig.movie.FileListBox2Click();
        QCOMPARE(player.opened.size(), 1);
    }

    // A name that is no UTF-8 cannot be named back from the list: whether it plays or
    // not, the pages and the sound come back when it is over.
    void aNameWithBytesThatAreNoUtf8()
    {
        QTemporaryDir dir;
        QVERIFY(test::makeMovie(dir.filePath("plain.mpg"), 2));
        const QByteArray raw = QFile::encodeName(dir.path()) + "/caf\xE9 \xFF movie.mpg";
        QCOMPARE(::rename(QFile::encodeName(dir.filePath("plain.mpg")).constData(), raw.constData()), 0);
        // Qt cannot name it to remove it with the directory.
        const auto cleanup = qScopeGuard([&raw] { ::unlink(raw.constData()); });
        MpvVideoPlayer player(MpvVideoPlayer::Output::NoVideo, 0, {{"ao", "null"}});
        Rig rig(player, dir.path());
        rig.movie.setMovieRoot(dir.path());
        QCOMPARE(rig.movie.list().count(), 1);
        rig.movie.list().setHighlighted(0);
        rig.movie.FileListBox2Click();
        QVERIFY(rig.movie.MovieMode());
        QVERIFY(QTest::qWaitFor([&] { return !rig.movie.MovieMode(); }, TimeoutMs)); // 2 s of movie at most
        QCOMPARE(rig.pages.last().at(0).toBool(), true);
        QCOMPARE(rig.released, 1);
        QCOMPARE(rig.reopened, 1);
    }

    // The controller on libmpv: a real movie opens with its length, seeks and stops;
    // broken files and awkward paths give the pages and the sound back.
    void onLibmpv_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content"); // empty: a real five-second movie
        QTest::addColumn<bool>("plays");
        QTest::addRow("mpg") << "movie.mpg" << QByteArray() << true;
        QTest::addRow("blanks and accents") << "my m\u00e9vie  x.mpg" << QByteArray() << true;
        QTest::addRow("zero length") << "empty.vob" << QByteArray("") << false;
        QTest::addRow("text") << "notes.avi" << QByteArray("not a movie\n") << false;
        QTest::addRow("truncated") << "cut.mpg" << QByteArray("cut") << false;
    }
    void onLibmpv()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(bool, plays);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        if (content.isNull()) {
            QVERIFY(test::makeMovie(path, 5));
        } else if (content == "cut") {
            QVERIFY(test::makeMovie(dir.filePath("whole.mpg"), 5));
            test::writeAll(path, test::readAll(dir.filePath("whole.mpg")).left(4096));
        } else {
            test::writeAll(path, content);
        }
        test::writeAll(dir.filePath("movienotrendered.wav"), "RIFF");
        MpvVideoPlayer player(MpvVideoPlayer::Output::NoVideo, 0, {{"ao", "null"}});
        Rig rig(player, dir.path());
        QVERIFY(rig.movie.PlayMovieFile(path));
        QCOMPARE(rig.released, 1);
        if (!plays) {
            // Refused, or a cut movie that opens and plays its remains to the end.
            QVERIFY(QTest::qWaitFor([&] { return !rig.movie.MovieMode(); }, TimeoutMs));
            QCOMPARE(rig.pages.last().at(0).toBool(), true);
            QCOMPARE(rig.reopened, 1);
            return;
        }
        QVERIFY(QTest::qWaitFor([&] { return player.openState() == VideoPlayer::Open; }, TimeoutMs));
        QCOMPARE(rig.movie.durationText(), QStringLiteral("00:05"));
        rig.movie.skipMovie(1);
        QVERIFY(rig.movie.view().progress.endsWith(QStringLiteral("..00:05")));
        rig.movie.BMWpanel49Click();
        QCOMPARE(player.playState(), int(VideoPlayer::Paused));
        rig.movie.BMWpanel52Click();
        QCOMPARE(player.openState(), int(VideoPlayer::Closed));
        QVERIFY(!rig.movie.MovieMode());
        QCOMPARE(rig.reopened, 1);
        QVERIFY(rig.wave.played.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestMovieController)
#include "tst_moviecontroller.moc"
