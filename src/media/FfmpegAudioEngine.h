#pragma once

#include "media/AudioEngine.h"

#include <array>
#include <atomic>
#include <memory>

namespace zarn {

class StatusLog;
struct EngineStream;
struct SpectrumTransform;
struct DspEntry;

// The audio engine on FFmpeg (decoding) and SDL2 (output).
//
// Threads:
// - main thread: every AudioEngine member and renderOffline().
// - one decoder thread per stream: reads and decodes the file into float stereo at
//   the file's own rate and fills the stream's ring; it may block and allocate.
// - SDL's output thread: runs the output callback, which takes frames from the rings,
//   resamples them to the device rate (the rate attribute sets the step, so speed and
//   pitch change together), runs the effects and sample callbacks by priority (the
//   effects take new parameters through lock-free mailboxes), mixes and keeps the last frames
//   for the spectrum. It never allocates, locks, logs or waits: it only reads what the
//   decoder has already written and outputs silence when the ring runs dry.
// - The ring between a decoder and the output is single-producer/single-consumer and
//   lock-free. Structural changes (streams and callbacks added or removed, seeks) are
//   made by the main thread while SDL holds the callback off (SDL_LockAudioDevice), so
//   the callback never sees them half done.
//
// Without a device (init(DeviceNoSound), or a device that failed to open) nothing is
// played; renderOffline() pulls frames through the same chain on the main thread and
// waits for the decoder, so tests and benchmarks get the same samples as the speaker.
// A device that fails to open is reported as an error line (with SDL's reason) and is
// tried again by the next channelPlay.
class FfmpegAudioEngine : public AudioEngine {
public:
    // log may be null; then failures go to stderr only.
    explicit FfmpegAudioEngine(StatusLog* log = nullptr);
    ~FfmpegAudioEngine() override;
    FfmpegAudioEngine(const FfmpegAudioEngine&) = delete;
    FfmpegAudioEngine& operator=(const FfmpegAudioEngine&) = delete;

    quint32 version() const override { return Version; }
    bool setConfig(int option, int value) override;
    bool init(int device, quint32 freq, quint32 flags) override;
    void free() override;
    StreamHandle streamCreateFile(const QString& path, quint64 offset, quint64 length, quint32 flags) override;
    bool streamFree(StreamHandle stream) override;
    qint64 streamGetLength(StreamHandle stream) const override;
    bool channelGetInfo(StreamHandle stream, ChannelInfo& info) const override;
    bool channelPlay(StreamHandle stream, bool restart) override;
    bool channelPause(StreamHandle stream) override;
    int channelIsActive(StreamHandle stream) const override;
    qint64 channelGetPosition(StreamHandle stream) const override;
    bool channelSetPosition(StreamHandle stream, qint64 bytes) override;
    float channelBytes2Seconds(StreamHandle stream, qint64 bytes) const override;
    qint64 channelSeconds2Bytes(StreamHandle stream, float seconds) const override;
    bool channelSetAttributes(StreamHandle stream, int freq, int volume, int pan) override;
    FxHandle channelSetFX(StreamHandle stream, quint32 type, int priority) override;
    bool fxGetParameters(FxHandle fx, ParamEqParameters& params) const override;
    bool fxGetParameters(FxHandle fx, ReverbParameters& params) const override;
    bool fxSetParameters(FxHandle fx, const ParamEqParameters& params) override;
    bool fxSetParameters(FxHandle fx, const ReverbParameters& params) override;
    DspHandle channelSetDSP(StreamHandle stream, DspProc proc, void* user, int priority) override;
    bool channelRemoveDSP(StreamHandle stream, DspHandle dsp) override;
    qint64 channelGetData(StreamHandle stream, float* buffer, quint32 what) override;

    // Pulls frames (interleaved float stereo at the output rate) through the chain
    // while no device plays; returns false when a device is open.
    bool renderOffline(float* out, int frames);
    // A device is open and playing.
    bool hasDevice() const { return device_ != 0; }
    quint32 outputRate() const { return outRate_; }

    static constexpr int MaxStreams = 8;

private:
    static void outputCallback(void* self, quint8* stream, int len);
    void mix(float* out, int frames, bool offline);
    bool openDevice();
    void closeDevice();
    EngineStream* find(StreamHandle stream) const;
    // The stream that owns the effect, and the effect's index in it, or null.
    EngineStream* findFx(FxHandle fx, int* index) const;
    // Adds a callback or an effect to the stream's chain, in priority order.
    void insertDsp(EngineStream& s, const DspEntry& e);
    void lockOutput();
    void unlockOutput();

    StatusLog* log_ = nullptr;             // main thread
    bool initialised_ = false;             // main thread
    int deviceWanted_ = 0;                 // main thread: what init asked for
    quint32 device_ = 0;                   // main thread writes; SDL device id, 0 = none
    quint32 outRate_ = 44100;              // fixed while a device is open
    int bufferMs_ = 500;                   // main thread: ring length of new streams
    quint32 nextSerial_ = 1;               // main thread: makes handles unique
    // Written by the main thread only while the output is held off; read by the output.
    std::array<EngineStream*, MaxStreams> streams_{};
    // Main thread only: the spectrum's transform and window, made on first use and kept,
    // because making them costs more than the transform itself.
    std::unique_ptr<SpectrumTransform> spectrum_;
};

} // namespace zarn
