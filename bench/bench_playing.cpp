// The real program playing a track in real time with the now-playing page shown (dummy
// sound driver, offscreen window): its CPU share over the measured span, and its peak
// memory next to the same program idle for the same span. A third run plays with every
// sound effect on, switched on by knob frames on the link the way a driver does it.
// Usage: bench_playing [seconds, default 60]
#include "ProcStat.h"
#include "ibus/FrameText.h"
#include "PtyPair.h"
#include "TestSupport.h"
#include "ZarnProcess.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

using zarn::bench::cpuSeconds;

// VmHWM in kB.
long peakKb(qint64 pid)
{
    return zarn::bench::statusKb(pid, "VmHWM:");
}

// The monitor's knob: F0 04 3B, then 48 45 (pressed), 49 8n (n detents clockwise) or
// 49 0n (counter-clockwise), n from 1 to 9.
QByteArray knobFrame(const char* data)
{
    QByteArray frame = zarn::test::hexBytes(QStringLiteral("F0 04 3B ") + QLatin1String(data));
    frame.append(char(zarn::FrameChecksum(frame)));
    return frame;
}

// Waits until a status line after the first `from` ends with text, keeping the link's
// output drained; returns the number of lines seen, 0 when the time is up.
qsizetype waitForNewLine(zarn::test::PtyPair& pty, const zarn::test::ZarnProcess& zarn, qsizetype from,
                         const QString& text, int timeoutMs = 30000)
{
    QDeadlineTimer deadline(timeoutMs);
    do {
        const QStringList lines = zarn.statusLines();
        for (qsizetype i = from; i < lines.size(); ++i)
            if (lines[i].endsWith(text))
                return lines.size();
        pty.read(20);
    } while (!deadline.hasExpired());
    return 0;
}

// The value of a key of section [EQ] in Zarn.ini; NaN when it is missing.
double eqGain(const zarn::test::ZarnProcess& zarn, int band)
{
    const QByteArray key = "EQ" + QByteArray::number(band) + "_Gain=";
    bool inEq = false;
    for (const QByteArray& raw : zarn::test::readAll(zarn.home() + QStringLiteral("/Zarn.ini")).split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith('['))
            inEq = line == "[EQ]";
        else if (inEq && line.startsWith(key))
            return line.mid(key.size()).replace(',', '.').toDouble();
    }
    return std::nan("");
}

struct Frame {
    QByteArray bytes;
    QString line; // the trace line written once the frame was handled
    const char* what;
};

const QString Press = QStringLiteral("BMW_Menu_turnknob_Press found");
QString cw(int n)
{
    return QStringLiteral("BMW_Menu_turnknob_Clockwise - numsteps = %1").arg(n);
}
QString ccw(int n)
{
    return QStringLiteral("BMW_Menu_turnknob_Counterclockwise - numsteps = %1").arg(n);
}

// Writes the frames one by one, each after the previous one's trace line.
bool sendFrames(zarn::test::PtyPair& pty, const zarn::test::ZarnProcess& zarn, std::initializer_list<Frame> frames)
{
    qsizetype seen = zarn.statusLines().size();
    for (const Frame& f : frames) {
        const qsizetype now = pty.write(f.bytes) ? waitForNewLine(pty, zarn, seen, f.line) : 0;
        if (!now) {
            std::fprintf(stderr, "no trace line for the knob frame: %s; the last status lines:\n%s\n", f.what,
                         qPrintable(zarn.statusTexts().mid(seen - 5).join(u'\n')));
            return false;
        }
        seen = now;
    }
    return true;
}

// The random list read, 6 s after the start, shows the main menu and gives the focus back
// to its music item when it ends; a press there while a track plays opens the now-playing
// page again.
bool showNowPlaying(zarn::test::PtyPair& pty, const zarn::test::ZarnProcess& zarn)
{
    const QString noList = QStringLiteral("No Random list found as ") + zarn.home() + QStringLiteral("/Zarn_random.txt");
    if (!waitForNewLine(pty, zarn, 0, noList)) {
        std::fprintf(stderr, "the random list was not read\n");
        return false;
    }
    const qsizetype seen = zarn.statusLines().size();
    return sendFrames(pty, zarn, {{knobFrame("48 45"), Press, "the music item"}})
           && waitForNewLine(pty, zarn, seen, QStringLiteral("BitBtnWithColor1Click"));
}

// Stored gains with a fraction: the track start applies them and moves each slider to the
// whole dB below, whose change step writes that back. The rewritten keys prove it ran.
constexpr double StartGains[] = {3.5, -2.5, 4.5, -3.5, 5.5, 2.5};
constexpr double AttachedGains[] = {3, -3, 4, -4, 5, 2};

bool gainsAre(const zarn::test::ZarnProcess& zarn, const double (&gains)[6], int timeoutMs = 30000)
{
    QDeadlineTimer deadline(timeoutMs);
    do {
        bool all = true;
        for (int b = 0; b < 6 && all; ++b)
            all = eqGain(zarn, b + 1) == gains[b];
        if (all)
            return true;
        QThread::msleep(20);
    } while (!deadline.hasExpired());
    return false;
}

// From the now-playing page, as the track plays: its options, " Sound FX", the speed up
// by ten knob steps, flange, echo and rotate on, the reverb slider at 10 (-12 dB mix),
// back to the now-playing page and its options closed. Every frame waits for its trace
// line, which the program writes once the frame was handled; the first band's slider is
// stepped on the way as a witness that the focus went where the count says.
bool switchEffectsOn(zarn::test::PtyPair& pty, const zarn::test::ZarnProcess& zarn)
{
    // Counter-clockwise walks a page's focus order forwards, clockwise backwards.
    const std::initializer_list<Frame> toWitness = {
        {knobFrame("48 45"), Press, "the options open on their back item"},
        {knobFrame("49 86"), cw(6), "to \" Sound FX\""},
        {knobFrame("48 45"), Press, "the sound effects page, on \" Reset\""},
        {knobFrame("49 02"), ccw(2), "to the speed row"},
        {knobFrame("48 45"), Press, "the speed row adjusts"},
        {knobFrame("49 85"), cw(5), "speed up by five steps"},
        {knobFrame("49 85"), cw(5), "speed up by five more"},
        {knobFrame("48 45"), Press, "the speed row moves the focus again"},
        {knobFrame("49 01"), ccw(1), "to flange"},
        {knobFrame("48 45"), Press, "flange on"},
        {knobFrame("49 01"), ccw(1), "to echo"},
        {knobFrame("48 45"), Press, "echo on"},
        {knobFrame("49 01"), ccw(1), "to rotate"},
        {knobFrame("48 45"), Press, "rotate on"},
        {knobFrame("49 01"), ccw(1), "to the 80 Hz band"},
        {knobFrame("48 45"), Press, "the band adjusts"},
        {knobFrame("49 81"), cw(1), "the band one dB up"},
        {knobFrame("48 45"), Press, "the band moves the focus again"},
    };
    const std::initializer_list<Frame> toNowPlaying = {
        {knobFrame("49 06"), ccw(6), "to the reverb"},
        {knobFrame("48 45"), Press, "the reverb adjusts"},
        {knobFrame("49 05"), ccw(5), "reverb slider to 15"},
        {knobFrame("49 05"), ccw(5), "reverb slider to 10"},
        {knobFrame("48 45"), Press, "the reverb moves the focus again"},
        {knobFrame("49 02"), ccw(2), "to the back item"},
        {knobFrame("48 45"), Press, "the now-playing page, its options on \" Sound FX\""},
        {knobFrame("49 05"), ccw(5), "to the options' close item"},
        {knobFrame("48 45"), Press, "the options closed"},
    };
    if (!sendFrames(pty, zarn, toWitness))
        return false;
    double witness[6];
    std::copy(std::begin(AttachedGains), std::end(AttachedGains), witness);
    witness[0] += 1;
    if (!gainsAre(zarn, witness)) {
        std::fprintf(stderr, "the 80 Hz band did not move: the focus is not where the frames meant\n");
        return false;
    }
    return sendFrames(pty, zarn, toNowPlaying);
}

struct Run {
    double cpuShare = -1; // of one core
    long peakKb = -1;
};

enum class Mode { Idle, Playing, AllEffects };

Run measure(const QString& music, Mode mode, int seconds)
{
    zarn::test::PtyPair pty;
    zarn::test::ZarnProcess zarn;
    // Private mode: a business start asks its question 8 s in, which would take the
    // screen from the now-playing page and the focus from the knob's route.
    QByteArray ini = "[COM-Port]\nDevicePath=" + pty.slavePath().toUtf8() + "\n[Pathes]\nmp3=" + music.toUtf8()
                     + "\n[Driverslog]\nrecord=0\n";
    if (mode != Mode::Idle)
        ini += "[Special]\nautoreplay_after_restart=1\n[MP3Player]\nLastMP3played=" + music.toUtf8() + "/long.mp3\n";
    if (mode == Mode::AllEffects) {
        ini += "[EQ]\n";
        for (int b = 0; b < 6; ++b)
            ini += "EQ" + QByteArray::number(b + 1) + "_Gain=" + QByteArray::number(StartGains[b]) + "\n";
    }
    zarn.writeIni(ini);
    // The same switches for every run: the knob acts only while the PC picture is on the
    // car's screen, and the trace lines tell when each frame was handled.
    if (!zarn.start({QStringLiteral("/TRACE"), QStringLiteral("/FORCESCREEN")}))
        return {};
    // Playing: its name on the cluster. Idle: the start-up's end.
    bool ready = mode != Mode::Idle ? pty.readUntil("long.mp3", 30000).contains("long.mp3")
                                    : zarn.waitForLine(QStringLiteral("Last known mileage read - number is 4711"), 30000);
    if (ready && mode == Mode::AllEffects && !gainsAre(zarn, AttachedGains)) {
        std::fprintf(stderr, "the stored band gains were not applied at the track start\n");
        ready = false;
    }
    ready = ready && (mode == Mode::Idle || showNowPlaying(pty, zarn));
    ready = ready && (mode != Mode::AllEffects || switchEffectsOn(pty, zarn));
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
    const Run idle = measure(dir.path(), Mode::Idle, seconds);
    const Run playing = measure(dir.path(), Mode::Playing, seconds);
    const Run effects = measure(dir.path(), Mode::AllEffects, seconds);
    if (idle.cpuShare < 0 || playing.cpuShare < 0 || effects.cpuShare < 0) {
        std::fprintf(stderr, "a run failed\n");
        return 1;
    }
    std::printf("span:             %d s\n", seconds);
    std::printf("idle:             %.2f %% of one core, peak %ld kB\n", idle.cpuShare * 100, idle.peakKb);
    std::printf("playing:          %.2f %% of one core, peak %ld kB\n", playing.cpuShare * 100, playing.peakKb);
    std::printf("playing, all effects: %.2f %% of one core, peak %ld kB\n", effects.cpuShare * 100, effects.peakKb);
    std::printf("peak above idle:  %.1f MB\n", double(playing.peakKb - idle.peakKb) / 1024.0);
    return 0;
}
