#include "media/FfmpegAudioEngine.h"

#include "core/StatusLog.h"
#include "media/EqualizerBand.h"
#include "media/Reverb.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <pthread.h>
#include <thread>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/tx.h>
#include <libswresample/swresample.h>
}

#include <SDL.h>

namespace zarn {

namespace {

constexpr int BlockFrames = 1024;   // the block the sample callbacks get at most
constexpr int MaxDsps = 24; // sample callbacks and effects together
constexpr int HistoryFrames = 1024; // the spectrum's window
constexpr int MinRingFrames = 8192;

} // namespace

struct DspEntry {
    AudioEngine::DspProc proc = nullptr;
    void* user = nullptr;
    int priority = 0;
    AudioEngine::DspHandle handle = 0;
    bool fx = false; // an effect of the engine's own, not removable as a callback
};

namespace {

struct FxEntry {
    AudioEngine::FxHandle handle = 0;
    quint32 type = 0;
    int priority = 0;
    AudioEngine::ParamEqParameters eq;
    AudioEngine::ReverbParameters reverb;
    // The processors: made and set by the main thread, run by the output.
    std::unique_ptr<EqualizerBand> band;
    std::unique_ptr<Reverb> room;
};

void runBand(AudioEngine::DspHandle, AudioEngine::StreamHandle, void* buffer, quint32 length, void* user)
{
    static_cast<EqualizerBand*>(user)->process(static_cast<float*>(buffer), int(length / 8));
}

void runReverb(AudioEngine::DspHandle, AudioEngine::StreamHandle, void* buffer, quint32 length, void* user)
{
    static_cast<Reverb*>(user)->process(static_cast<float*>(buffer), int(length / 8));
}

} // namespace

struct EngineStream {
    AudioEngine::StreamHandle handle = 0; // immutable
    int rate = 0;                          // immutable: the file's sample rate
    bool loop = false;                     // immutable

    // FFmpeg state: the decoder thread's while it runs, the main thread's while it is
    // stopped (open, seek, free).
    AVFormatContext* fmt = nullptr;
    AVCodecContext* codec = nullptr;
    SwrContext* swr = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* frame = nullptr;
    int index = -1;
    int swrFormat = -1, swrRate = 0;
    AVChannelLayout swrLayout{};
    // Decoded frames not yet in the ring: floats [pendingFrom, pendingEnd) of pending.
    // The vector only grows, so a decoded frame costs no allocation or zero-fill.
    std::vector<float> pending;
    size_t pendingFrom = 0, pendingEnd = 0;
    qint64 absFrame = 0;           // frame index of the next decoded frame
    qint64 skipUntil = -1;         // after a seek: drop frames before this index
    qint64 lengthFrames = 0;       // main thread: what the container says

    // The ring: frames written by the decoder (writePos) and read by the output
    // (readPos); both only grow. Reset by the main thread while both are held off.
    std::unique_ptr<float[]> ring;
    quint64 ringFrames = 0, ringMask = 0;
    std::atomic<quint64> writePos{0};
    std::atomic<quint64> readPos{0};
    std::atomic<bool> decoderDone{false};  // decoder: no frame will follow
    std::atomic<qint64> passFrames{-1};    // decoder: frames of one whole pass, once known

    std::thread thread;
    std::atomic<bool> stop{false};
    std::mutex wakeMutex;
    std::condition_variable spaceCv; // the decoder waits for room
    std::condition_variable dataCv;  // the offline render waits for frames
    // Who sleeps on them, so the other side wakes it only then (and never the output).
    std::atomic<bool> decoderWaiting{false};
    std::atomic<bool> renderWaiting{false};
    std::atomic<quint64> renderTarget{0}; // the writePos the sleeping render waits for

    // Attributes: main thread writes, output reads.
    std::atomic<int> state{AudioEngine::ActiveStopped};
    std::atomic<int> freq{44100};          // source frames per second of output time
    std::atomic<float> gainLeft{1.0f}, gainRight{1.0f};
    int freqAttr = 0, volumeAttr = 100, panAttr = 0; // main thread

    // The resampler: output thread only (main while held off). Output frames lie at
    // ring frame pos + phase / outRate, the fraction kept as an exact integer so that
    // positions never drift; pos may run ahead of writePos while the ring is dry.
    quint32 outRate = 44100;     // immutable: the output's rate
    float invOutRate = 1.0f / 44100.0f;
    quint64 pos = 0;
    quint32 phase = 0;
    int stepFreq = 0;            // the freq that stepWhole/stepFrac were made for
    quint32 stepWhole = 0, stepFrac = 0;
    qint64 baseFrame = 0;        // stream frame of ring frame 0
    std::atomic<qint64> consumed{0}; // stream frame at pos: the play position
    // The block being played and the one before: the spectrum's window is taken from
    // them once a whole output block is done, not frame by frame.
    float scratch[2][BlockFrames * 2]{};

    // Sample callbacks, higher priority first: changed by the main thread while the
    // output is held off, read by the output.
    DspEntry dsps[MaxDsps];
    int dspCount = 0;

    // The last frames played (mono): output writes, main thread reads for the spectrum.
    std::array<std::atomic<float>, HistoryFrames> history{};
    std::atomic<quint32> historyPos{0};

    std::vector<FxEntry> fx; // main thread

    ~EngineStream()
    {
        av_frame_free(&frame);
        av_packet_free(&packet);
        swr_free(&swr);
        avcodec_free_context(&codec);
        avformat_close_input(&fmt);
        av_channel_layout_uninit(&swrLayout);
    }
};

namespace {

bool ensureSwr(EngineStream& s, const AVFrame* f)
{
    if (s.swr && f->format == s.swrFormat && f->sample_rate == s.swrRate
        && av_channel_layout_compare(&f->ch_layout, &s.swrLayout) == 0)
        return true;
    swr_free(&s.swr);
    av_channel_layout_uninit(&s.swrLayout);
    AVChannelLayout in{};
    if (f->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || av_channel_layout_check(&f->ch_layout) == 0)
        av_channel_layout_default(&in, std::max(1, f->ch_layout.nb_channels));
    else
        av_channel_layout_copy(&in, &f->ch_layout);
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    // A chained file may change its rate: such parts are resampled to the stream's rate.
    const int rc = swr_alloc_set_opts2(&s.swr, &stereo, AV_SAMPLE_FMT_FLT, s.rate, &in,
                                       AVSampleFormat(f->format), f->sample_rate, 0, nullptr);
    if (rc < 0 || swr_init(s.swr) < 0) {
        av_channel_layout_uninit(&in);
        swr_free(&s.swr);
        return false;
    }
    s.swrFormat = f->format;
    s.swrRate = f->sample_rate;
    av_channel_layout_copy(&s.swrLayout, &f->ch_layout);
    av_channel_layout_uninit(&in);
    return true;
}

// Float stereo at the stream's rate needs no converter, only interleaving; swresample
// would do the same copy through its generic path.
bool isPlainStereo(const EngineStream& s, const AVFrame* f)
{
    if (f->sample_rate != s.rate || (f->format != AV_SAMPLE_FMT_FLTP && f->format != AV_SAMPLE_FMT_FLT))
        return false;
    if (s.swr && s.swrRate != s.rate)
        return false; // the converter may still hold resampled frames
    const AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    return f->ch_layout.nb_channels == 2
        && (f->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || av_channel_layout_compare(&f->ch_layout, &stereo) == 0);
}

// Converts the decoded frame to float stereo and appends it to pending, dropping what
// lies before a seek target.
void convertFrame(EngineStream& s)
{
    AVFrame* f = s.frame;
    if (f->nb_samples <= 0)
        return;
    const bool plain = isPlainStereo(s, f);
    if (!plain && !ensureSwr(s, f))
        return;
    const int room = plain ? f->nb_samples : swr_get_out_samples(s.swr, f->nb_samples);
    if (room <= 0)
        return;
    if (s.pendingFrom >= s.pendingEnd)
        s.pendingFrom = s.pendingEnd = 0;
    const size_t base = s.pendingEnd;
    if (s.pending.size() < base + size_t(room) * 2)
        s.pending.resize(base + size_t(room) * 2);
    float* dst = s.pending.data() + base;
    int got = 0;
    if (plain && f->format == AV_SAMPLE_FMT_FLT) {
        std::memcpy(dst, f->extended_data[0], size_t(room) * 2 * sizeof(float));
        got = room;
    } else if (plain) {
        const float* l = reinterpret_cast<const float*>(f->extended_data[0]);
        const float* r = reinterpret_cast<const float*>(f->extended_data[1]);
        for (int i = 0; i < room; ++i) {
            dst[i * 2] = l[i];
            dst[i * 2 + 1] = r[i];
        }
        got = room;
    } else {
        uint8_t* out = reinterpret_cast<uint8_t*>(dst);
        got = swr_convert(s.swr, &out, room, const_cast<const uint8_t**>(f->extended_data), f->nb_samples);
    }
    if (got <= 0)
        return;
    qint64 drop = 0;
    if (s.skipUntil >= 0) {
        const AVStream* st = s.fmt->streams[s.index];
        const qint64 ts = f->best_effort_timestamp;
        if (ts != AV_NOPTS_VALUE) {
            qint64 start = av_rescale_q(ts, st->time_base, AVRational{1, s.rate});
            if (st->start_time != AV_NOPTS_VALUE)
                start -= av_rescale_q(st->start_time, st->time_base, AVRational{1, s.rate});
            drop = std::clamp<qint64>(s.skipUntil - start, 0, got);
            if (drop < got)
                s.skipUntil = -1;
        } else {
            s.skipUntil = -1;
        }
    }
    if (drop > 0 && drop < got)
        std::memmove(dst, dst + drop * 2, size_t(got - drop) * 2 * sizeof(float));
    s.pendingEnd = base + size_t(got - drop) * 2;
    s.absFrame += got - drop;
}

// Decodes until some frames are pending; false at the end of the file (or when the
// file cannot be read further).
bool decodeMore(EngineStream& s)
{
    const size_t before = s.pendingEnd - std::min(s.pendingEnd, s.pendingFrom);
    for (int guard = 0; guard < 100000; ++guard) {
        const int rc = avcodec_receive_frame(s.codec, s.frame);
        if (rc == 0) {
            convertFrame(s);
            av_frame_unref(s.frame);
            if (s.pendingEnd - std::min(s.pendingEnd, s.pendingFrom) > before)
                return true;
            continue;
        }
        if (rc == AVERROR_EOF)
            return false;
        if (rc != AVERROR(EAGAIN))
            continue; // a damaged frame: go on with the next packet
        const int rd = av_read_frame(s.fmt, s.packet);
        if (rd < 0) {
            // End of the file or unreadable from here: drain what the decoder holds.
            if (avcodec_send_packet(s.codec, nullptr) < 0)
                return false;
            continue;
        }
        if (s.packet->stream_index == s.index)
            avcodec_send_packet(s.codec, s.packet); // damaged packets are skipped
        av_packet_unref(s.packet);
    }
    return false;
}

void seekFile(EngineStream& s, qint64 frame)
{
    const AVStream* st = s.fmt->streams[s.index];
    qint64 ts = av_rescale_q(frame, AVRational{1, s.rate}, st->time_base);
    if (st->start_time != AV_NOPTS_VALUE)
        ts += st->start_time;
    if (av_seek_frame(s.fmt, s.index, ts, AVSEEK_FLAG_BACKWARD) < 0)
        avformat_seek_file(s.fmt, s.index, INT64_MIN, ts, ts, 0);
    avcodec_flush_buffers(s.codec);
    if (s.swr)
        swr_init(s.swr); // drops what the converter held
    s.pendingFrom = s.pendingEnd = 0;
    s.absFrame = frame;
    s.skipUntil = frame > 0 ? frame : -1;
}

// Copies pending frames into the ring; true when all of them went in.
bool pushPending(EngineStream& s)
{
    const quint64 w = s.writePos.load(std::memory_order_relaxed);
    const quint64 r = s.readPos.load(std::memory_order_acquire);
    const quint64 space = s.ringFrames - (w - r);
    const quint64 want = (s.pendingEnd - s.pendingFrom) / 2;
    const quint64 n = std::min(space, want);
    const quint64 at = w & s.ringMask;
    const quint64 first = std::min(n, s.ringFrames - at); // up to the ring's end, then from its start
    std::memcpy(s.ring.get() + at * 2, s.pending.data() + s.pendingFrom, size_t(first) * 2 * sizeof(float));
    std::memcpy(s.ring.get(), s.pending.data() + s.pendingFrom + first * 2, size_t(n - first) * 2 * sizeof(float));
    s.pendingFrom += size_t(n) * 2;
    if (n > 0) {
        s.writePos.store(w + n, std::memory_order_seq_cst);
        // The offline render sleeps until a batch is there, not for every decoded frame.
        // Taking the flag wakes it once, not again for each frame decoded until it runs.
        if (s.renderWaiting.load(std::memory_order_seq_cst)
            && w + n >= s.renderTarget.load(std::memory_order_seq_cst) && s.renderWaiting.exchange(false)) {
            { std::lock_guard<std::mutex> g(s.wakeMutex); }
            s.dataCv.notify_one();
        }
    }
    return n == want;
}

// The decoder refills once half the ring is free, so it wakes once per half ring.
bool roomToRefill(const EngineStream& s)
{
    return s.writePos.load() - s.readPos.load() <= s.ringFrames / 2;
}

void decodeLoop(EngineStream* sp)
{
    EngineStream& s = *sp;
    pthread_setname_np(pthread_self(), "zarn-decoder"); // tells it apart in top and perf
    while (!s.stop.load(std::memory_order_relaxed)) {
        if (s.pendingFrom < s.pendingEnd) {
            if (!pushPending(s)) {
                // The output never wakes us (it must not), so the timeout brings us back
                // while a device plays: about the time the output takes to drain a
                // quarter of the ring, so the decoder does not poll the ring needlessly.
                const int freq = std::max(1, s.freq.load(std::memory_order_relaxed));
                const auto wait = std::chrono::milliseconds(
                    std::clamp<qint64>(qint64(s.ringFrames / 4) * 1000 / freq, 5, 250));
                std::unique_lock<std::mutex> lock(s.wakeMutex);
                const auto until = std::chrono::steady_clock::now() + wait;
                s.decoderWaiting.store(true);
                // The render takes the flag when it wakes us; raise it again before each check.
                while (!(s.stop.load() || roomToRefill(s))) {
                    if (s.spaceCv.wait_until(lock, until) == std::cv_status::timeout)
                        break;
                    s.decoderWaiting.store(true);
                }
                s.decoderWaiting.store(false);
            }
            continue;
        }
        if (decodeMore(s))
            continue;
        // The end of the file tells the exact length, which the container only estimates.
        if (s.absFrame > 0 && s.passFrames.load() < 0)
            s.passFrames.store(s.absFrame);
        if (s.loop && s.absFrame > 0) {
            seekFile(s, 0);
            continue;
        }
        break;
    }
    if (!s.stop.load()) {
        s.decoderDone.store(true, std::memory_order_release);
        { std::lock_guard<std::mutex> g(s.wakeMutex); }
        s.dataCv.notify_all();
    }
}

void startDecoder(EngineStream& s)
{
    s.stop.store(false);
    s.decoderDone.store(false);
    s.thread = std::thread(decodeLoop, &s);
}

void stopDecoder(EngineStream& s)
{
    if (!s.thread.joinable())
        return;
    {
        std::lock_guard<std::mutex> g(s.wakeMutex);
        s.stop.store(true);
    }
    s.spaceCv.notify_all();
    s.thread.join();
}

void resetOutputState(EngineStream& s, qint64 frame)
{
    s.writePos.store(0);
    s.readPos.store(0);
    s.pos = 0;
    s.phase = 0;
    s.baseFrame = frame;
    s.consumed.store(frame);
}

// The ring frame after the next `frames` output frames, plus the neighbour they
// interpolate towards: what pull needs in the ring to produce them all.
quint64 framesNeeded(const EngineStream& s, int frames)
{
    const quint64 advance = (quint64(s.phase) + quint64(frames) * quint64(std::max(0, s.freq.load()))) / s.outRate;
    return s.pos + advance + 2;
}

// out += in * gain, left and right, two frames at a time: at -O2 the compiler leaves
// this loop scalar, and it runs for every frame of every stream.
void addScaled(float* out, const float* in, int frames, float gainLeft, float gainRight)
{
    using Four = float __attribute__((vector_size(16)));
    const Four gain{gainLeft, gainRight, gainLeft, gainRight};
    int i = 0;
    for (; i + 2 <= frames; i += 2) {
        Four o, x;
        std::memcpy(&o, out + i * 2, sizeof o);
        std::memcpy(&x, in + i * 2, sizeof x);
        o += x * gain;
        std::memcpy(out + i * 2, &o, sizeof o);
    }
    for (; i < frames; ++i) {
        out[i * 2] += in[i * 2] * gainLeft;
        out[i * 2 + 1] += in[i * 2 + 1] * gainRight;
    }
}

// Output side: resamples frames from the ring into dst. Returns the frames produced;
// fewer than asked when the ring runs dry or the stream ends (then it stops).
int pull(EngineStream& s, float* dst, int frames)
{
    quint64 w = s.writePos.load(std::memory_order_acquire);
    const int freq = s.freq.load(std::memory_order_relaxed);
    if (freq != s.stepFreq) {
        s.stepFreq = freq;
        s.stepWhole = quint32(freq) / s.outRate;
        s.stepFrac = quint32(freq) % s.outRate;
    }
    const quint32 outRate = s.outRate, whole = s.stepWhole, frac = s.stepFrac;
    const float inv = s.invOutRate;
    const float* ring = s.ring.get();
    const quint64 mask = s.ringMask;
    quint64 pos = s.pos;
    quint32 phase = s.phase;
    int n = 0;
    while (n < frames) {
        if (pos + 1 < w) {
            if (whole == 1 && frac == 0 && phase == 0) {
                // At the stream's own rate every output frame is a ring frame.
                const int run = int(std::min<quint64>(quint64(frames - n), w - pos - 1));
                for (int i = 0; i < run; ++i) {
                    const float* a = ring + ((pos + quint64(i)) & mask) * 2;
                    dst[(n + i) * 2] = a[0];
                    dst[(n + i) * 2 + 1] = a[1];
                }
                pos += quint64(run);
                n += run;
                continue;
            }
            // A straight run: both neighbours written and neither index wrapping.
            const quint64 at = pos & mask;
            const quint64 end = std::min(w - 1, pos + (s.ringFrames - 1 - at)) - pos;
            if (end == 0) {
                const float t = float(phase) * inv;
                const float* a = ring + at * 2;
                const float* b = ring + ((pos + 1) & mask) * 2;
                dst[n * 2] = a[0] + (b[0] - a[0]) * t;
                dst[n * 2 + 1] = a[1] + (b[1] - a[1]) * t;
                ++n;
                pos += whole;
                phase += frac;
                if (phase >= outRate) {
                    phase -= outRate;
                    ++pos;
                }
                continue;
            }
            const float* run = ring + at * 2;
            quint64 k = 0;
            for (; n < frames && k < end; ++n) {
                const float t = float(phase) * inv;
                const float* a = run + k * 2;
                dst[n * 2] = a[0] + (a[2] - a[0]) * t;
                dst[n * 2 + 1] = a[1] + (a[3] - a[1]) * t;
                k += whole;
                phase += frac;
                if (phase >= outRate) {
                    phase -= outRate;
                    ++k;
                }
            }
            pos += k;
            continue;
        }
        const quint64 fresh = s.writePos.load(std::memory_order_acquire);
        if (fresh != w) {
            w = fresh;
            continue;
        }
        if (!s.decoderDone.load(std::memory_order_acquire))
            break; // the decoder is behind: silence for the rest
        w = s.writePos.load(std::memory_order_acquire);
        if (pos + 1 < w)
            continue;
        if (pos + 1 > w) {
            // Past the last frame: the stream has ended, and its position is its length.
            pos = w;
            s.state.store(AudioEngine::ActiveStopped, std::memory_order_relaxed);
            break;
        }
        // The last frame: nothing to interpolate towards.
        const float* a = ring + (pos & mask) * 2;
        dst[n * 2] = a[0];
        dst[n * 2 + 1] = a[1];
        ++n;
        pos += whole;
        phase += frac;
        if (phase >= outRate) {
            phase -= outRate;
            ++pos;
        }
    }
    s.pos = pos;
    s.phase = phase;
    // The frames from pos on stay in the ring: the decoder may reuse only those before.
    s.readPos.store(std::min(pos, w), std::memory_order_seq_cst);
    s.consumed.store(s.baseFrame + qint64(pos), std::memory_order_relaxed);
    return n;
}

void report(StatusLog* log, const QString& text)
{
    if (log)
        log->addError(text);
    else
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

} // namespace

struct SpectrumTransform {
    AVTXContext* tx = nullptr;
    av_tx_fn fn = nullptr;
    float window[HistoryFrames];

    SpectrumTransform()
    {
        float scale = 1.0f;
        if (av_tx_init(&tx, &fn, AV_TX_FLOAT_RDFT, 0, HistoryFrames, &scale, 0) < 0)
            tx = nullptr;
        // A Hann window keeps a tone between two bins from smearing over the spectrum.
        for (int i = 0; i < HistoryFrames; ++i)
            window[i] = 0.5f - 0.5f * std::cos(2.0f * float(M_PI) * float(i) / float(HistoryFrames));
    }
    ~SpectrumTransform() { av_tx_uninit(&tx); }
    SpectrumTransform(const SpectrumTransform&) = delete;
    SpectrumTransform& operator=(const SpectrumTransform&) = delete;
};

FfmpegAudioEngine::FfmpegAudioEngine(StatusLog* log) : log_(log)
{
    // The decoders' warnings about damaged frames are not the car's journal's business.
    if (av_log_get_level() > AV_LOG_ERROR)
        av_log_set_level(AV_LOG_ERROR);
}

FfmpegAudioEngine::~FfmpegAudioEngine() { free(); }

bool FfmpegAudioEngine::setConfig(int option, int value)
{
    switch (option) {
    case ConfigBuffer:
        if (value < 10 || value > 5000)
            return false;
        bufferMs_ = value;
        return true;
    case ConfigFloatDsp:
        return true; // callbacks always get floats
    default:
        return false;
    }
}

bool FfmpegAudioEngine::init(int device, quint32 freq, quint32 flags)
{
    if (initialised_ || device < -1 || freq < 8000 || freq > 192000)
        return false;
    initialised_ = true;
    deviceWanted_ = device;
    outRate_ = freq;
    if (device == DeviceNoSound)
        return true;
    return openDevice();
}

bool FfmpegAudioEngine::openDevice()
{
    // The program handles its own SIGINT and SIGTERM (the shutdown path).
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_WasInit(SDL_INIT_AUDIO) == 0 && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        report(log_, QStringLiteral(" Can't initialize sound device (%1) - playing without sound")
                         .arg(QString::fromUtf8(SDL_GetError())));
        return false;
    }
    SDL_AudioSpec want{};
    want.freq = int(outRate_);
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = 1024;
    want.callback = &FfmpegAudioEngine::outputCallback;
    want.userdata = this;
    SDL_AudioSpec have{};
    const SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (id == 0) {
        report(log_, QStringLiteral(" Can't initialize sound device (%1) - playing without sound")
                         .arg(QString::fromUtf8(SDL_GetError())));
        SDL_QuitSubSystem(SDL_INIT_AUDIO); // the next try picks the driver anew
        return false;
    }
    device_ = id;
    SDL_PauseAudioDevice(id, 0);
    return true;
}

void FfmpegAudioEngine::closeDevice()
{
    if (device_ != 0) {
        SDL_CloseAudioDevice(device_);
        device_ = 0;
    }
    if (SDL_WasInit(SDL_INIT_AUDIO) != 0)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void FfmpegAudioEngine::free()
{
    for (EngineStream* s : streams_)
        if (s)
            streamFree(s->handle);
    closeDevice();
    initialised_ = false;
    deviceWanted_ = 0;
}

void FfmpegAudioEngine::lockOutput()
{
    if (device_ != 0)
        SDL_LockAudioDevice(device_);
}

void FfmpegAudioEngine::unlockOutput()
{
    if (device_ != 0)
        SDL_UnlockAudioDevice(device_);
}

EngineStream* FfmpegAudioEngine::find(StreamHandle stream) const
{
    const quint32 slot = stream & 0xF;
    if (stream == 0 || slot >= MaxStreams)
        return nullptr;
    EngineStream* s = streams_[slot];
    return s && s->handle == stream ? s : nullptr;
}

EngineStream* FfmpegAudioEngine::findFx(FxHandle fx, int* index) const
{
    if (fx == 0)
        return nullptr;
    for (EngineStream* s : streams_) {
        if (!s)
            continue;
        for (size_t i = 0; i < s->fx.size(); ++i)
            if (s->fx[i].handle == fx) {
                *index = int(i);
                return s;
            }
    }
    return nullptr;
}

AudioEngine::StreamHandle FfmpegAudioEngine::streamCreateFile(const QString& path, quint64 offset, quint64 length,
                                                               quint32 flags)
{
    if (!initialised_ || offset != 0 || length != 0)
        return 0;
    int slot = 0;
    while (slot < MaxStreams && streams_[slot])
        ++slot;
    if (slot == MaxStreams)
        return 0;

    auto s = std::make_unique<EngineStream>();
    const QByteArray name = QFile::encodeName(path);
    if (avformat_open_input(&s->fmt, name.constData(), nullptr, nullptr) < 0)
        return 0;
    if (avformat_find_stream_info(s->fmt, nullptr) < 0)
        return 0;
    const AVCodec* codec = nullptr;
    s->index = av_find_best_stream(s->fmt, AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0);
    if (s->index < 0 || !codec)
        return 0;
    AVStream* st = s->fmt->streams[s->index];
    s->codec = avcodec_alloc_context3(codec);
    if (!s->codec || avcodec_parameters_to_context(s->codec, st->codecpar) < 0
        || avcodec_open2(s->codec, codec, nullptr) < 0)
        return 0;
    s->rate = s->codec->sample_rate;
    if (s->rate <= 0 || s->rate > 384000)
        return 0;
    s->packet = av_packet_alloc();
    s->frame = av_frame_alloc();
    if (!s->packet || !s->frame)
        return 0;
    // A file counts as audio only when a first block of sound decodes from it; what
    // it decodes is kept as the stream's first frames.
    if (!decodeMore(*s) || s->pendingEnd == s->pendingFrom)
        return 0;

    if (st->duration != AV_NOPTS_VALUE && st->duration > 0)
        s->lengthFrames = av_rescale_q(st->duration, st->time_base, AVRational{1, s->rate});
    else if (s->fmt->duration != AV_NOPTS_VALUE && s->fmt->duration > 0)
        s->lengthFrames = av_rescale(s->fmt->duration, s->rate, AV_TIME_BASE);

    quint64 ring = MinRingFrames;
    while (ring < quint64(s->rate) * quint64(bufferMs_) / 1000)
        ring *= 2;
    s->ringFrames = ring;
    s->ringMask = ring - 1;
    s->ring = std::make_unique<float[]>(ring * 2);
    s->loop = (flags & SampleLoop) != 0;
    s->freqAttr = s->rate;
    s->freq.store(s->rate);
    s->outRate = outRate_;
    s->invOutRate = 1.0f / float(outRate_);
    s->handle = (nextSerial_++ << 4) | quint32(slot);
    if (nextSerial_ >= (1u << 27))
        nextSerial_ = 1;

    EngineStream* raw = s.release();
    startDecoder(*raw);
    lockOutput();
    streams_[slot] = raw;
    unlockOutput();
    return raw->handle;
}

bool FfmpegAudioEngine::streamFree(StreamHandle stream)
{
    EngineStream* s = find(stream);
    if (!s)
        return false;
    lockOutput();
    streams_[stream & 0xF] = nullptr;
    unlockOutput();
    stopDecoder(*s);
    delete s;
    return true;
}

qint64 FfmpegAudioEngine::streamGetLength(StreamHandle stream) const
{
    const EngineStream* s = find(stream);
    if (!s)
        return -1;
    const qint64 pass = s->passFrames.load();
    return (pass > 0 ? pass : s->lengthFrames) * 8;
}

bool FfmpegAudioEngine::channelGetInfo(StreamHandle stream, ChannelInfo& info) const
{
    const EngineStream* s = find(stream);
    if (!s)
        return false;
    info.freq = quint32(s->rate);
    info.chans = 2;
    info.flags = s->loop ? SampleLoop : 0;
    return true;
}

bool FfmpegAudioEngine::channelPlay(StreamHandle stream, bool restart)
{
    EngineStream* s = find(stream);
    if (!s)
        return false;
    if (deviceWanted_ != DeviceNoSound && device_ == 0)
        openDevice();
    lockOutput(); // the resampler's window is the output's
    const bool ended = s->state.load() == ActiveStopped && s->decoderDone.load()
        && s->pos >= s->writePos.load();
    unlockOutput();
    if (restart || ended)
        channelSetPosition(stream, 0);
    s->state.store(ActivePlaying);
    return true;
}

bool FfmpegAudioEngine::channelPause(StreamHandle stream)
{
    EngineStream* s = find(stream);
    if (!s || s->state.load() != ActivePlaying)
        return false;
    s->state.store(ActivePaused);
    return true;
}

int FfmpegAudioEngine::channelIsActive(StreamHandle stream) const
{
    const EngineStream* s = find(stream);
    return s ? s->state.load() : ActiveStopped;
}

qint64 FfmpegAudioEngine::channelGetPosition(StreamHandle stream) const
{
    const EngineStream* s = find(stream);
    if (!s)
        return -1;
    qint64 frame = s->consumed.load();
    const qint64 pass = s->passFrames.load();
    if (pass > 0 && s->loop)
        frame %= pass;
    return frame * 8;
}

bool FfmpegAudioEngine::channelSetPosition(StreamHandle stream, qint64 bytes)
{
    EngineStream* s = find(stream);
    if (!s)
        return false;
    const qint64 pass = s->passFrames.load();
    const qint64 length = pass > 0 ? pass : s->lengthFrames;
    const qint64 frame = std::clamp<qint64>(bytes / 8, 0, std::max<qint64>(length, 0));
    lockOutput();
    stopDecoder(*s);
    resetOutputState(*s, frame);
    seekFile(*s, frame);
    startDecoder(*s);
    unlockOutput();
    return true;
}

float FfmpegAudioEngine::channelBytes2Seconds(StreamHandle stream, qint64 bytes) const
{
    const EngineStream* s = find(stream);
    if (!s)
        return -1.0f;
    return float(double(bytes / 8) / double(s->rate));
}

qint64 FfmpegAudioEngine::channelSeconds2Bytes(StreamHandle stream, float seconds) const
{
    const EngineStream* s = find(stream);
    if (!s)
        return -1;
    return qint64(std::trunc(double(seconds) * s->rate)) * 8;
}

bool FfmpegAudioEngine::channelSetAttributes(StreamHandle stream, int freq, int volume, int pan)
{
    EngineStream* s = find(stream);
    if (!s)
        return false;
    if ((freq != KeepFreq && (freq < 100 || freq > 100000)) || (volume != KeepVolume && (volume < 0 || volume > 100))
        || (pan != KeepPan && (pan < -100 || pan > 100)))
        return false;
    if (freq != KeepFreq) {
        s->freqAttr = freq;
        s->freq.store(freq);
    }
    if (volume != KeepVolume)
        s->volumeAttr = volume;
    if (pan != KeepPan)
        s->panAttr = pan;
    const float v = float(s->volumeAttr) / 100.0f;
    s->gainLeft.store(v * (s->panAttr > 0 ? 1.0f - float(s->panAttr) / 100.0f : 1.0f));
    s->gainRight.store(v * (s->panAttr < 0 ? 1.0f + float(s->panAttr) / 100.0f : 1.0f));
    return true;
}

AudioEngine::FxHandle FfmpegAudioEngine::channelSetFX(StreamHandle stream, quint32 type, int priority)
{
    EngineStream* s = find(stream);
    if (!s || (type != FxParamEq && type != FxReverb) || s->dspCount == MaxDsps)
        return 0;
    FxEntry e;
    e.handle = nextSerial_++;
    e.type = type;
    e.priority = priority;
    // Effects run on the frames the output plays, so at the output's rate.
    DspEntry d{nullptr, nullptr, priority, e.handle, true};
    if (type == FxParamEq) {
        e.band = std::make_unique<EqualizerBand>(double(s->outRate));
        e.band->setParameters(e.eq.center, e.eq.bandwidth, e.eq.gain);
        d.proc = runBand;
        d.user = e.band.get();
    } else {
        e.room = std::make_unique<Reverb>(double(s->outRate));
        e.room->setParameters(e.reverb.inGain, e.reverb.reverbMix, e.reverb.reverbTime, e.reverb.highFreqRTRatio);
        d.proc = runReverb;
        d.user = e.room.get();
    }
    s->fx.push_back(std::move(e));
    insertDsp(*s, d);
    return d.handle;
}

bool FfmpegAudioEngine::fxGetParameters(FxHandle fx, ParamEqParameters& params) const
{
    int i = 0;
    const EngineStream* s = findFx(fx, &i);
    if (!s || s->fx[i].type != FxParamEq)
        return false;
    params = s->fx[i].eq;
    return true;
}

bool FfmpegAudioEngine::fxGetParameters(FxHandle fx, ReverbParameters& params) const
{
    int i = 0;
    const EngineStream* s = findFx(fx, &i);
    if (!s || s->fx[i].type != FxReverb)
        return false;
    params = s->fx[i].reverb;
    return true;
}

bool FfmpegAudioEngine::fxSetParameters(FxHandle fx, const ParamEqParameters& params)
{
    int i = 0;
    EngineStream* s = findFx(fx, &i);
    if (!s || s->fx[i].type != FxParamEq || !(params.gain >= -15.0f && params.gain <= 15.0f)
        || !(params.bandwidth >= 1.0f && params.bandwidth <= 36.0f) || !(params.center >= 80.0f))
        return false;
    s->fx[i].eq = params;
    s->fx[i].band->setParameters(params.center, params.bandwidth, params.gain);
    return true;
}

bool FfmpegAudioEngine::fxSetParameters(FxHandle fx, const ReverbParameters& params)
{
    int i = 0;
    EngineStream* s = findFx(fx, &i);
    if (!s || s->fx[i].type != FxReverb || !(params.reverbMix >= -96.0f && params.reverbMix <= 0.0f)
        || !(params.inGain >= -96.0f && params.inGain <= 0.0f)
        || !(params.reverbTime >= 0.001f && params.reverbTime <= 3000.0f)
        || !(params.highFreqRTRatio >= 0.001f && params.highFreqRTRatio <= 0.999f))
        return false;
    s->fx[i].reverb = params;
    s->fx[i].room->setParameters(params.inGain, params.reverbMix, params.reverbTime, params.highFreqRTRatio);
    return true;
}

AudioEngine::DspHandle FfmpegAudioEngine::channelSetDSP(StreamHandle stream, DspProc proc, void* user, int priority)
{
    EngineStream* s = find(stream);
    if (!s || !proc || s->dspCount == MaxDsps)
        return 0;
    DspEntry e{proc, user, priority, nextSerial_++, false};
    insertDsp(*s, e);
    return e.handle;
}

void FfmpegAudioEngine::insertDsp(EngineStream& s, const DspEntry& e)
{
    // Higher priorities first; among equals, the earlier one first.
    lockOutput();
    int at = 0;
    while (at < s.dspCount && s.dsps[at].priority >= e.priority)
        ++at;
    for (int i = s.dspCount; i > at; --i)
        s.dsps[i] = s.dsps[i - 1];
    s.dsps[at] = e;
    ++s.dspCount;
    unlockOutput();
}

bool FfmpegAudioEngine::channelRemoveDSP(StreamHandle stream, DspHandle dsp)
{
    EngineStream* s = find(stream);
    if (!s || dsp == 0)
        return false;
    bool removed = false;
    lockOutput();
    for (int i = 0; i < s->dspCount; ++i) {
        if (s->dsps[i].handle != dsp || s->dsps[i].fx)
            continue;
        for (int j = i; j + 1 < s->dspCount; ++j)
            s->dsps[j] = s->dsps[j + 1];
        --s->dspCount;
        removed = true;
        break;
    }
    unlockOutput();
    return removed;
}

qint64 FfmpegAudioEngine::channelGetData(StreamHandle stream, float* buffer, quint32 what)
{
    EngineStream* s = find(stream);
    if (!s || !buffer || what != DataFft1024)
        return -1;
    constexpr int N = HistoryFrames;
    static_assert(N == 2 * FftBins);
    alignas(64) float in[N];
    alignas(64) AVComplexFloat out[N / 2 + 1];
    if (!spectrum_)
        spectrum_ = std::make_unique<SpectrumTransform>();
    if (!spectrum_->tx)
        return -1;
    const quint32 end = s->historyPos.load(std::memory_order_acquire);
    for (int i = 0; i < N; ++i)
        in[i] = spectrum_->window[i] * s->history[(end + quint32(i)) % N].load(std::memory_order_relaxed);
    spectrum_->fn(spectrum_->tx, out, in, sizeof(float));
    // Scaled so that a full-scale sine reads 1 in its bin.
    for (int k = 0; k < FftBins; ++k)
        buffer[k] = std::hypot(out[k].re, out[k].im) * 4.0f / float(N);
    return FftBins * qint64(sizeof(float));
}

void FfmpegAudioEngine::outputCallback(void* self, quint8* stream, int len)
{
    static_cast<FfmpegAudioEngine*>(self)->mix(reinterpret_cast<float*>(stream), len / int(2 * sizeof(float)), false);
}

void FfmpegAudioEngine::mix(float* out, int frames, bool offline)
{
    std::fill(out, out + frames * 2, 0.0f);
    for (EngineStream* sp : streams_) {
        if (!sp || sp->state.load(std::memory_order_relaxed) != ActivePlaying)
            continue;
        EngineStream& s = *sp;
        const float gl = s.gainLeft.load(std::memory_order_relaxed);
        const float gr = s.gainRight.load(std::memory_order_relaxed);
        int latest = 0, latestGot = 0, earlierGot = 0;
        for (int done = 0; done < frames;) {
            const int chunk = std::min(BlockFrames, frames - done);
            if (offline) {
                const quint64 r = s.readPos.load();
                const quint64 need = std::min(framesNeeded(s, chunk), r + s.ringFrames);
                if (!s.decoderDone.load() && s.writePos.load() < need) {
                    // Sleep until half a ring is decoded rather than one decoded frame,
                    // so the two threads hand over in large batches.
                    s.renderTarget.store(std::max(need, r + s.ringFrames / 2));
                    std::unique_lock<std::mutex> lock(s.wakeMutex);
                    s.renderWaiting.store(true);
                    // The decoder takes the flag when it wakes us: raise it again before
                    // every check, or a spurious wake-up would sleep unseen.
                    while (!(s.decoderDone.load() || s.writePos.load() >= s.renderTarget.load())) {
                        s.dataCv.wait(lock);
                        s.renderWaiting.store(true);
                    }
                    s.renderWaiting.store(false);
                }
            }
            float* block = s.scratch[latest ^ 1];
            const int got = pull(s, block, chunk);
            if (offline && s.decoderWaiting.load() && roomToRefill(s) && s.decoderWaiting.exchange(false)) {
                { std::lock_guard<std::mutex> g(s.wakeMutex); }
                s.spaceCv.notify_one();
            }
            if (got > 0) {
                for (int i = 0; i < s.dspCount; ++i)
                    s.dsps[i].proc(s.dsps[i].handle, s.handle, block, quint32(got) * 8, s.dsps[i].user);
                addScaled(out + done * 2, block, got, gl, gr);
                latest ^= 1;
                earlierGot = latestGot;
                latestGot = got;
            }
            done += chunk;
            if (got < chunk && (!offline || s.state.load() != ActivePlaying))
                break; // dry or ended: silence for the rest of this block
            if (got < chunk && offline && got == 0)
                break;
        }
        // The spectrum's window: the last frames played, the latest block's and as
        // many of the one before as fit, in straight runs around the end of the history.
        const int fromEarlier = std::min(earlierGot, HistoryFrames - latestGot);
        quint32 h = s.historyPos.load(std::memory_order_relaxed);
        const auto keep = [&](const float* src, int count) {
            for (int i = 0; i < count;) {
                const int run = std::min(count - i, int(HistoryFrames - h));
                for (int j = 0; j < run; ++j, ++i)
                    s.history[h + quint32(j)].store(0.5f * (src[i * 2] * gl + src[i * 2 + 1] * gr),
                                                    std::memory_order_relaxed);
                h = (h + quint32(run)) % HistoryFrames;
            }
        };
        keep(s.scratch[latest ^ 1] + (earlierGot - fromEarlier) * 2, fromEarlier);
        keep(s.scratch[latest], latestGot);
        s.historyPos.store(h, std::memory_order_release);
    }
}

bool FfmpegAudioEngine::renderOffline(float* out, int frames)
{
    if (device_ != 0 || frames < 0)
        return false;
    mix(out, frames, true);
    return true;
}

} // namespace zarn
