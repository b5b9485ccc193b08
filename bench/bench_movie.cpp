// A 640x480 MPEG-2 movie: the time from open to the first picture on libmpv (software
// renderer and no picture), and the real program playing it full-window for a span next
// to the mpv player on the same file and display in the same run (CPU share of one core).
// Usage: bench_movie [seconds, default 60]; DISPLAY set: both draw there (X11 window),
// else the program draws offscreen and mpv with vo=null.
#include "MovieFiles.h"
#include "ProcStat.h"
#include "PtyPair.h"
#include "media/MpvVideoPlayer.h"
#include "ibus/FrameText.h"
#include "TestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

#include <algorithm>
#include <cstdio>

using namespace zarn;

namespace {

using zarn::bench::cpuSeconds;

double share(qint64 pid, int seconds)
{
    const double before = cpuSeconds(pid);
    QTest::qWait(seconds * 1000);
    return (cpuSeconds(pid) - before) / seconds;
}

// Median milliseconds from open() to the first picture (or the open state without one).
double firstPicture(const QString& movie, MpvVideoPlayer::Output output, int runs)
{
    QList<double> ms;
    for (int i = 0; i < runs; ++i) {
        MpvVideoPlayer player(output, 0, {{"ao", "null"}});
        QVector<quint32> pixels(640 * 480);
        bool drawn = false;
        QObject::connect(&player, &VideoPlayer::frameReady, [&] {
            // The first picture of the movie, not the black of an empty one.
            drawn = drawn
                    || (player.renderFrame(640, 480, 640 * 4, pixels.data()) && (pixels[120 * 640 + 160] & 0xFFFFFF) != 0);
        });
        QElapsedTimer t;
        t.start();
        player.open(movie);
        const bool ok = QTest::qWaitFor([&] {
            return output == MpvVideoPlayer::Output::Frames ? drawn : player.openState() == VideoPlayer::Open;
        }, 30000);
        if (ok)
            ms << double(t.nsecsElapsed()) / 1e6;
    }
    std::sort(ms.begin(), ms.end());
    return ms.isEmpty() ? -1 : ms[ms.size() / 2];
}

QByteArray frame(const char* hex)
{
    QByteArray f = test::hexBytes(QLatin1String(hex));
    f.append(char(FrameChecksum(f)));
    return f;
}

bool waitInLog(const QString& log, const QString& text, int count)
{
    return QTest::qWaitFor([&] {
        QFile f(log);
        return f.open(QIODevice::ReadOnly) && f.readAll().count(text.toUtf8()) >= count;
    }, 30000);
}

// The program playing the movie full-window, started with the knob from the main menu.
double zarnShare(const QString& movies, int seconds)
{
    test::PtyPair pty;
    QTemporaryDir home;
    const QString log = home.filePath("status.log");
    test::writeAll(home.filePath("Zarn.ini"), "[COM-Port]\nDevicePath=" + pty.slavePath().toUtf8() + "\n[Pathes]\nmovies="
                                                  + movies.toUtf8() + "\n[Driverslog]\nrecord=0\n");
    QProcess zarn;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ZARN_HOME", home.path());
    env.insert("ZARN_STATUS_LOG", log);
    env.insert("ZARN_MPV_OPTIONS", "ao=null");
    env.insert("SDL_AUDIODRIVER", "dummy");
    env.insert("QT_QPA_PLATFORM", env.contains("DISPLAY") ? "xcb" : "offscreen");
    zarn.setProcessEnvironment(env);
    zarn.start(test::binaryPath("zarn"), {"NOSPLASH", "TRACE", "FORCESCREEN"});
    // After the random list's read, which shows the main menu when it ends.
    if (!zarn.waitForStarted() || !waitInLog(log, "Last known mileage read", 1) || !waitInLog(log, "No Random list found", 1)) {
        std::fprintf(stderr, "the program did not start\n");
        return -1;
    }
    const QString left = "Counterclockwise - numsteps = 1", press = "BMW_Menu_turnknob_Press found";
    int lefts = 0, presses = 0;
    for (const auto& [f, isPress] : {std::pair{frame("F0043B4901"), false}, {frame("F0043B4845"), true},
                                     {frame("F0043B4901"), false}, {frame("F0043B4901"), false},
                                     {frame("F0043B4845"), true}}) {
        pty.write(f);
        if (!waitInLog(log, isPress ? press : left, isPress ? ++presses : ++lefts)) {
            std::fprintf(stderr, "the knob's frame found no answer\n%s\n", test::readAll(log).constData());
            return -1;
        }
    }
    QTest::qWait(3000); // the movie is open and plays
    const double s = share(zarn.processId(), seconds);
    zarn.terminate();
    zarn.waitForFinished(10000);
    return s;
}

double mpvShare(const QString& movie, int seconds)
{
    QProcess mpv;
    QStringList args = {"--no-config", "--ao=null", "--really-quiet", "--loop=inf"};
    args << (qEnvironmentVariableIsSet("DISPLAY") ? QStringList{"--geometry=800x600+0+0", "--no-border"}
                                                  : QStringList{"--vo=null"});
    mpv.start("mpv", args << movie);
    if (!mpv.waitForStarted())
        return -1;
    QTest::qWait(3000);
    const double s = share(mpv.processId(), seconds);
    mpv.terminate();
    mpv.waitForFinished(10000);
    return s;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(5, atoi(argv[1])) : 60;
    QTemporaryDir dir;
    const QString movie = dir.filePath("movies/movie 640x480.mpg");
    QDir().mkpath(dir.filePath("movies"));
    if (!test::makeMovie(movie, seconds + 60, "640x480")) {
        std::fprintf(stderr, "ffmpeg could not write the movie\n");
        return 1;
    }
    std::printf("open to first picture (software renderer): %.1f ms (median of 9)\n",
                firstPicture(movie, MpvVideoPlayer::Output::Frames, 9));
    std::printf("open to open state (no picture):           %.1f ms (median of 9)\n",
                firstPicture(movie, MpvVideoPlayer::Output::NoVideo, 9));
    const double z = zarnShare(dir.filePath("movies"), seconds);
    const double m = mpvShare(movie, seconds);
    std::printf("span %d s, %s\n", seconds, qEnvironmentVariableIsSet("DISPLAY") ? "X11 window" : "offscreen / vo=null");
    std::printf("zarn playing full-window: %.1f %% of one core\n", z * 100);
    std::printf("mpv on the same file:     %.1f %% of one core\n", m * 100);
    if (z > 0 && m > 0)
        std::printf("ratio zarn / mpv:         %.2f\n", z / m);
    return z < 0 || m < 0;
}
