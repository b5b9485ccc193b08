// Offline throughput of the music chain (decode, resample to the output rate, sample
// callbacks, mix) on one MP3, next to the ffmpeg tool decoding the same file to nothing
// in the same run. Prints the CPU seconds of both, their ratio and the multiple of real
// time of the chain. Usage: bench_audio [seconds of music, default 120] [seconds played in
// real time on SDL's dummy driver, default 0 = not played]
//
// What each side does, so the ratio compares like with like:
// - the chain: opens and probes the file, decodes it on the decoder thread, interleaves
//   it to float stereo, resamples 48 kHz to 44.1 kHz, runs two sample callbacks and mixes
//   with the spectrum's history; its own start-up is counted, not subtracted.
// - the tool, as asked for ("-f null -"): decodes, converts to 16-bit (the null muxer's
//   default codec is pcm_s16le, so a conversion filter is inserted) and muxes nothing.
//   It does not resample. Run again with -frames:a 1 for its start-up (process, libraries,
//   probing), which is subtracted for the second ratio.
// - the tool with "-c:a pcm_f32le": the same, but to float, as the chain hands out.
#include "media/FfmpegAudioEngine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

using namespace zarn;

namespace {

double cpuSeconds(int who)
{
    rusage u{};
    getrusage(who, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

bool runFfmpeg(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral("ffmpeg"), QStringList{QStringLiteral("-nostdin"), QStringLiteral("-v"),
                                                  QStringLiteral("error"), QStringLiteral("-y")} + args);
    return p.waitForFinished(600000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// A gain, as cheap as the effects that will sit there.
void halfGain(AudioEngine::DspHandle, AudioEngine::StreamHandle, void* buffer, quint32 length, void*)
{
    float* f = static_cast<float*>(buffer);
    for (quint32 i = 0; i < length / sizeof(float); ++i)
        f[i] *= 0.5f;
}

double chainSeconds(const QString& path, double* musicSeconds)
{
    FfmpegAudioEngine engine;
    engine.init(AudioEngine::DeviceNoSound, 44100, 0);
    const double before = cpuSeconds(RUSAGE_SELF);
    const auto h = engine.streamCreateFile(path, 0, 0, 0);
    if (h == 0)
        return -1;
    engine.channelSetDSP(h, halfGain, nullptr, 1);
    engine.channelSetDSP(h, halfGain, nullptr, 0);
    engine.channelPlay(h, false);
    std::vector<float> out(4096 * 2);
    while (engine.channelIsActive(h) == AudioEngine::ActivePlaying)
        engine.renderOffline(out.data(), 4096);
    *musicSeconds = engine.channelBytes2Seconds(h, engine.channelGetPosition(h));
    engine.streamFree(h);
    return cpuSeconds(RUSAGE_SELF) - before;
}

// Counts the output's blocks from inside the output callback.
std::atomic<quint64> blocks{0}, blockFrames{0};
void countBlock(AudioEngine::DspHandle, AudioEngine::StreamHandle, void*, quint32 length, void*)
{
    blocks.fetch_add(1, std::memory_order_relaxed);
    blockFrames.fetch_add(length / 8, std::memory_order_relaxed);
}

// Voluntary context switches (sleeps) of the threads of this process whose name starts
// with prefix.
long threadSleeps(const QByteArray& prefix)
{
    long total = 0;
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString& tid : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(tasks.filePath(tid + QStringLiteral("/comm")));
        QFile status(tasks.filePath(tid + QStringLiteral("/status")));
        if (!comm.open(QIODevice::ReadOnly) || !comm.readAll().startsWith(prefix) || !status.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("voluntary_ctxt_switches:"))
                total += line.mid(24).trimmed().toLong();
    }
    return total;
}

// Plays the file in real time on SDL's dummy driver with the main thread asleep: the
// engine's own threads are all that run.
void realTime(const QString& path, int seconds)
{
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    FfmpegAudioEngine engine;
    engine.setConfig(AudioEngine::ConfigBuffer, 1000); // as the player sets it
    if (!engine.init(AudioEngine::DeviceDefault, 44100, 0)) {
        std::fprintf(stderr, "no output device\n");
        return;
    }
    const auto h = engine.streamCreateFile(path, 0, 0, AudioEngine::SampleLoop);
    engine.channelSetDSP(h, halfGain, nullptr, 1);
    engine.channelSetDSP(h, countBlock, nullptr, 0);
    engine.channelPlay(h, false);
    std::this_thread::sleep_for(std::chrono::seconds(1)); // past the first fill of the ring
    const quint64 b0 = blocks.load(), f0 = blockFrames.load();
    const long d0 = threadSleeps("zarn-decoder"), s0 = threadSleeps("SDLAudio");
    const double before = cpuSeconds(RUSAGE_SELF);
    const auto start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu = cpuSeconds(RUSAGE_SELF) - before;
    const quint64 nb = blocks.load() - b0, nf = blockFrames.load() - f0;
    std::printf("real time, dummy driver: %.1f s played, %.3f%% of one core; %.1f output blocks/s of %.0f frames;"
                " decoder slept %.1f/s, output thread %.1f/s\n",
                wall, 100.0 * cpu / wall, double(nb) / wall, nb ? double(nf) / double(nb) : 0.0,
                double(threadSleeps("zarn-decoder") - d0) / wall, double(threadSleeps("SDLAudio") - s0) / wall);
    engine.streamFree(h);
}

// frames > 0: stop after that many audio frames (the tool's start-up cost).
double ffmpegSeconds(const QString& path, int frames = 0, bool toFloat = false)
{
    QStringList args{QStringLiteral("-threads"), QStringLiteral("1"), QStringLiteral("-i"), path};
    if (frames > 0)
        args << QStringLiteral("-frames:a") << QString::number(frames);
    if (toFloat)
        args << QStringLiteral("-c:a") << QStringLiteral("pcm_f32le");
    args << QStringLiteral("-f") << QStringLiteral("null") << QStringLiteral("-");
    const double before = cpuSeconds(RUSAGE_CHILDREN);
    if (!runFfmpeg(args))
        return -1;
    return cpuSeconds(RUSAGE_CHILDREN) - before;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(5, atoi(argv[1])) : 120;
    const int playSeconds = argc > 2 ? std::max(0, atoi(argv[2])) : 0;
    QTemporaryDir dir;
    // 48 kHz, so the chain resamples to the 44.1 kHz output as it does for such files.
    const QString path = dir.path() + QStringLiteral("/bench.mp3");
    if (!runFfmpeg({QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                    QStringLiteral("sine=frequency=440:sample_rate=48000:duration=%1").arg(seconds),
                    QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                    QStringLiteral("anoisesrc=color=pink:sample_rate=48000:amplitude=0.2:duration=%1").arg(seconds),
                    QStringLiteral("-filter_complex"), QStringLiteral("[0][1]amix=inputs=2,aformat=channel_layouts=stereo"),
                    QStringLiteral("-c:a"), QStringLiteral("libmp3lame"), QStringLiteral("-b:a"), QStringLiteral("192k"),
                    path})) {
        std::fprintf(stderr, "ffmpeg could not write the test file\n");
        return 1;
    }

    // Best of three each, interleaved, so both see the same machine load.
    double chain = 1e9, tool = 1e9, toolFloat = 1e9, startup = 1e9, music = 0;
    for (int i = 0; i < 3; ++i) {
        const double c = chainSeconds(path, &music);
        const double t = ffmpegSeconds(path);
        const double tf = ffmpegSeconds(path, 0, true);
        startup = std::min(startup, ffmpegSeconds(path, 1));
        if (c < 0 || t < 0 || tf < 0) {
            std::fprintf(stderr, "a run failed\n");
            return 1;
        }
        chain = std::min(chain, c);
        tool = std::min(tool, t);
        toolFloat = std::min(toolFloat, tf);
    }
    const auto net = [startup](double t) { return std::max(1e-6, t - startup); };
    std::printf("music:             %.1f s MP3, 48000 Hz stereo, played out at 44100 Hz (best of 3 each)\n", music);
    std::printf("zarn chain:        %.3f s CPU (open + decode + float stereo + resample to 44.1 kHz"
                " + 2 callbacks + mix and spectrum history; start-up included)\n", chain);
    std::printf("ffmpeg -f null -:  %.3f s CPU (decode + convert to s16 + null muxer; no resampling),"
                " of which %.3f s start-up\n", tool, startup);
    std::printf("ffmpeg -c:a pcm_f32le -f null -: %.3f s CPU (decode + interleave to float + null muxer)\n",
                toolFloat);
    std::printf("ratio chain/tool:  %.2f (%.2f against the tool without its start-up)\n", chain / tool,
                chain / net(tool));
    std::printf("ratio chain/tool to float: %.2f (%.2f without its start-up)\n", chain / toolFloat,
                chain / net(toolFloat));
    std::printf("real-time multiple of the chain on one core: %.0fx\n", music / chain);
    if (playSeconds > 0)
        realTime(path, playSeconds);
    return 0;
}
