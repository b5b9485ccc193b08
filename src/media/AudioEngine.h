#pragma once

#include <QString>
#include <QtGlobal>

namespace zarn {

// The operations the music player, the sound effects, the movie player and the exit
// path call on the audio library, one member each (the comment names the library
// operation it stands for). Handles are 32-bit; 0 means none, and a stale handle is
// harmless: every call on it fails and changes nothing.
//
// Contract:
// - Main thread only: every member is called there.
// - Sample callbacks (DspProc) are the only code of the program that runs on the
//   engine's own threads. They get each block of 32-bit float stereo frames (left,
//   right) before output, higher priorities first, and change it in place. They must
//   not allocate, lock, log or wait, and must not call back into the engine.
// - Positions and lengths count bytes of the decoded float stereo stream (8 bytes a
//   frame at the stream's own sample rate); the seconds/bytes conversions use the same
//   rate, so a position converted to seconds is the time played from the start.
class AudioEngine {
public:
    using StreamHandle = quint32;
    using DspHandle = quint32;
    using FxHandle = quint32;
    // callback(handle, channel, buffer, length in bytes, user value)
    using DspProc = void (*)(DspHandle handle, StreamHandle channel, void* buffer, quint32 length, void* user);

    static constexpr quint32 Version = 0x00010002; // "2.1"

    // setConfig options.
    static constexpr int ConfigBuffer = 0;    // playback buffer length in ms
    static constexpr int ConfigFloatDsp = 9;  // sample callbacks get floats (always so here)

    // init devices: 0 plays nothing and renders only on demand (renderOffline), 1 is the
    // system's default output.
    static constexpr int DeviceNoSound = 0;
    static constexpr int DeviceDefault = 1;

    // streamCreateFile flags.
    static constexpr quint32 SampleLoop = 4; // restart at the beginning at the end

    // channelIsActive results.
    static constexpr int ActiveStopped = 0;
    static constexpr int ActivePlaying = 1;
    static constexpr int ActivePaused = 3;

    // channelSetAttributes: a value that leaves the attribute as it is.
    static constexpr int KeepFreq = -1;
    static constexpr int KeepVolume = -1;
    static constexpr int KeepPan = -101;

    // channelSetFX types and their parameter records.
    static constexpr quint32 FxParamEq = 7;
    static constexpr quint32 FxReverb = 8;
    struct ParamEqParameters {
        float center = 100.0f;   // Hz
        float bandwidth = 12.0f; // semitones
        float gain = 0.0f;       // dB, -15 to +15
    };
    struct ReverbParameters {
        float inGain = 0.0f;             // dB
        float reverbMix = 0.0f;          // dB, -96 is off
        float reverbTime = 1000.0f;      // ms
        float highFreqRTRatio = 0.001f;
    };

    // channelGetData: 512 magnitudes of a 1024-sample spectrum.
    static constexpr quint32 DataFft1024 = 0x80000001;
    static constexpr int FftBins = 512;

    struct ChannelInfo {
        quint32 freq = 0;  // sample rate of the stream in Hz
        quint32 chans = 0; // channels as delivered: always 2
        quint32 flags = 0;
    };

    virtual ~AudioEngine() = default;

    virtual quint32 version() const = 0;                         // BASS_GetVersion
    virtual bool setConfig(int option, int value) = 0;           // BASS_SetConfig
    virtual bool init(int device, quint32 freq, quint32 flags) = 0; // BASS_Init
    virtual void free() = 0;                                     // BASS_Free
    // BASS_StreamCreateFile (from a file, not memory; offset and length 0 = whole file).
    virtual StreamHandle streamCreateFile(const QString& path, quint64 offset, quint64 length, quint32 flags) = 0;
    virtual bool streamFree(StreamHandle stream) = 0;            // BASS_StreamFree
    virtual qint64 streamGetLength(StreamHandle stream) const = 0; // BASS_StreamGetLength, -1 on error
    virtual bool channelGetInfo(StreamHandle stream, ChannelInfo& info) const = 0; // BASS_ChannelGetInfo
    virtual bool channelPlay(StreamHandle stream, bool restart) = 0; // BASS_ChannelPlay
    virtual bool channelPause(StreamHandle stream) = 0;          // BASS_ChannelPause
    virtual int channelIsActive(StreamHandle stream) const = 0;  // BASS_ChannelIsActive
    virtual qint64 channelGetPosition(StreamHandle stream) const = 0; // BASS_ChannelGetPosition, -1 on error
    virtual bool channelSetPosition(StreamHandle stream, qint64 bytes) = 0; // BASS_ChannelSetPosition
    virtual float channelBytes2Seconds(StreamHandle stream, qint64 bytes) const = 0; // BASS_ChannelBytes2Seconds
    virtual qint64 channelSeconds2Bytes(StreamHandle stream, float seconds) const = 0; // BASS_ChannelSeconds2Bytes
    // BASS_ChannelSetAttributes: freq 100 to 100000 Hz changes speed and pitch together;
    // volume 0 to 100; pan -100 (left) to 100 (right).
    virtual bool channelSetAttributes(StreamHandle stream, int freq, int volume, int pan) = 0;
    virtual FxHandle channelSetFX(StreamHandle stream, quint32 type, int priority) = 0; // BASS_ChannelSetFX
    virtual bool fxGetParameters(FxHandle fx, ParamEqParameters& params) const = 0; // BASS_FXGetParameters
    virtual bool fxGetParameters(FxHandle fx, ReverbParameters& params) const = 0;
    virtual bool fxSetParameters(FxHandle fx, const ParamEqParameters& params) = 0; // BASS_FXSetParameters
    virtual bool fxSetParameters(FxHandle fx, const ReverbParameters& params) = 0;
    virtual DspHandle channelSetDSP(StreamHandle stream, DspProc proc, void* user, int priority) = 0; // BASS_ChannelSetDSP
    virtual bool channelRemoveDSP(StreamHandle stream, DspHandle dsp) = 0; // BASS_ChannelRemoveDSP
    // BASS_ChannelGetData with DataFft1024: fills 512 floats; returns the bytes written or -1.
    virtual qint64 channelGetData(StreamHandle stream, float* buffer, quint32 what) = 0;
};

} // namespace zarn
