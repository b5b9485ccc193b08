// The real program playing a track in real time with the now-playing page shown (dummy
// sound driver, offscreen window): its CPU share over the measured span, and its peak
// memory next to the same program idle for the same span.
// Usage: bench_playing [seconds, default 60]
#include "PtyPair.h"
#include "ZarnProcess.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace {

// utime + stime of the process in seconds.
double cpuSeconds(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = f.readAll();
    // The fields after the command name, which may hold blanks and parentheses.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return -1;
    return double(fields[11].toLongLong() + fields[12].toLongLong()) / double(sysconf(_SC_CLK_TCK));
}

// VmHWM in kB.
long peakKb(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

struct Run {
    double cpuShare = -1; // of one core
    long peakKb = -1;
};

Run measure(const QString& music, bool play, int seconds)
{
    zarn::test::PtyPair pty;
    zarn::test::ZarnProcess zarn;
    QByteArray ini = "[COM-Port]\nDevicePath=" + pty.slavePath().toUtf8() + "\n[Pathes]\nmp3=" + music.toUtf8() + "\n";
    if (play)
        ini += "[Special]\nautoreplay_after_restart=1\n[MP3Player]\nLastMP3played=" + music.toUtf8() + "/long.mp3\n";
    zarn.writeIni(ini);
    if (!zarn.start())
        return {};
    // Playing: its name on the cluster. Idle: the start-up's end.
    const bool ready = play ? pty.readUntil("long.mp3", 30000).contains("long.mp3")
                            : zarn.waitForLine(QStringLiteral("Last known mileage read - number is 4711"), 30000);
    if (!ready) {
        zarn.terminate();
        return {};
    }
    const double before = cpuSeconds(zarn.pid());
    for (int i = 0; i < seconds * 10; ++i) {
        pty.read(100); // keeps the link's output drained
    }
    Run run;
    run.cpuShare = (cpuSeconds(zarn.pid()) - before) / seconds;
    run.peakKb = peakKb(zarn.pid());
    zarn.terminate();
    return run;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(5, atoi(argv[1])) : 60;
    QTemporaryDir dir;
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 {QStringLiteral("-nostdin"), QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-f"),
                  QStringLiteral("lavfi"), QStringLiteral("-i"),
                  QStringLiteral("sine=frequency=440:sample_rate=44100:duration=%1").arg(seconds + 60),
                  QStringLiteral("-ac"), QStringLiteral("2"), QStringLiteral("-c:a"), QStringLiteral("libmp3lame"),
                  QStringLiteral("-b:a"), QStringLiteral("192k"), dir.path() + QStringLiteral("/long.mp3")});
    if (!ffmpeg.waitForFinished(120000) || ffmpeg.exitCode() != 0) {
        std::fprintf(stderr, "ffmpeg could not write the track\n");
        return 1;
    }
    const Run idle = measure(dir.path(), false, seconds);
    const Run playing = measure(dir.path(), true, seconds);
    if (idle.cpuShare < 0 || playing.cpuShare < 0) {
        std::fprintf(stderr, "a run failed\n");
        return 1;
    }
    std::printf("span:             %d s\n", seconds);
    std::printf("idle:             %.2f %% of one core, peak %ld kB\n", idle.cpuShare * 100, idle.peakKb);
    std::printf("playing:          %.2f %% of one core, peak %ld kB\n", playing.cpuShare * 100, playing.peakKb);
    std::printf("peak above idle:  %.1f MB\n", double(playing.peakKb - idle.peakKb) / 1024.0);
    return 0;
}
