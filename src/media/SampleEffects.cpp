#include "media/SampleEffects.h"

#include <cmath>
#include <cstring>

namespace zarn {

namespace {
constexpr float Pi = 3.14159274f; // pi as a 32-bit float
}

void FlangeState::reset()
{
    std::memset(ring, 0, sizeof ring);
    position = 0;
    delay = 175.0f;
    step = 0.002f;
}

void EchoState::reset()
{
    std::memset(ring, 0, sizeof ring);
    position = 0;
}

void RotateState::reset() { angle = 0.785398185f; }

void flange(FlangeState& s, float* frames, int count)
{
    for (int n = 0; n < count; ++n) {
        float* f = frames + n * 2;
        const int whole = int(float(s.position) + s.delay);
        const int k = whole % FlangeState::Frames;
        const int k2 = (k + 1) % FlangeState::Frames;
        const float t = s.delay - float(int(s.delay));
        for (int ch = 0; ch < 2; ++ch) {
            const float in = f[ch];
            f[ch] = (1.0f - t) * s.ring[k][ch] + t * s.ring[k2][ch] + in;
            s.ring[s.position][ch] = in;
        }
        if (++s.position == FlangeState::Frames)
            s.position = 0;
        s.delay += s.step;
        if (s.delay < 0.0f || s.delay > float(FlangeState::Frames))
            s.step = -s.step;
    }
}

void echo(EchoState& s, float* frames, int count)
{
    for (int n = 0; n < count; ++n) {
        float* f = frames + n * 2;
        const float l = f[0] + s.ring[s.position][1] / 2.0f;
        const float r = f[1] + s.ring[s.position][0] / 2.0f;
        f[0] = l;
        f[1] = r;
        s.ring[s.position][0] = l;
        s.ring[s.position][1] = r;
        if (++s.position == EchoState::Frames)
            s.position = 0;
    }
}

void rotate(RotateState& s, float* frames, int count)
{
    for (int n = 0; n < count; ++n) {
        frames[n * 2] *= std::abs(std::sin(s.angle));
        frames[n * 2 + 1] *= std::abs(std::cos(s.angle));
        const float a = s.angle + 0.00003f;
        s.angle = a - Pi * float(int(a / Pi));
    }
}

void flangeProc(AudioEngine::DspHandle, AudioEngine::StreamHandle, void* buffer, quint32 length, void* user)
{
    flange(*static_cast<FlangeState*>(user), static_cast<float*>(buffer), int(length / 8));
}

void echoProc(AudioEngine::DspHandle, AudioEngine::StreamHandle, void* buffer, quint32 length, void* user)
{
    echo(*static_cast<EchoState*>(user), static_cast<float*>(buffer), int(length / 8));
}

void rotateProc(AudioEngine::DspHandle, AudioEngine::StreamHandle, void* buffer, quint32 length, void* user)
{
    rotate(*static_cast<RotateState*>(user), static_cast<float*>(buffer), int(length / 8));
}

} // namespace zarn
