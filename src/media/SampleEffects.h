#pragma once

#include "media/AudioEngine.h"

namespace zarn {

// The three sample callbacks of the sound effects page, each on interleaved float
// stereo frames with a fixed state of its own. The state is reset on the main thread
// before the callback is registered and is only touched by the output thread after
// that; it is never freed while a stream may still call it.

struct FlangeState {
    static constexpr int Frames = 350;
    static constexpr int Priority = 0;
    float ring[Frames][2]{};
    int position = 0;
    float delay = 175.0f;
    float step = 0.002f;
    void reset();
};

struct EchoState {
    static constexpr int Frames = 1200;
    static constexpr int Priority = 1;
    float ring[Frames][2]{};
    int position = 0;
    void reset();
};

struct RotateState {
    static constexpr int Priority = 2;
    float angle = 0.785398185f; // pi/4 as a 32-bit float
    void reset();
};

void flange(FlangeState& s, float* frames, int count);
void echo(EchoState& s, float* frames, int count);
void rotate(RotateState& s, float* frames, int count);

// The same as sample callbacks: the user value is the state.
void flangeProc(AudioEngine::DspHandle, AudioEngine::StreamHandle, void* buffer, quint32 length, void* user);
void echoProc(AudioEngine::DspHandle, AudioEngine::StreamHandle, void* buffer, quint32 length, void* user);
void rotateProc(AudioEngine::DspHandle, AudioEngine::StreamHandle, void* buffer, quint32 length, void* user);

} // namespace zarn
