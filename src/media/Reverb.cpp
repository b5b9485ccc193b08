#include "media/Reverb.h"

#include <algorithm>
#include <cmath>

namespace zarn {

namespace {

// Mutually prime delays (frames at 44.1 kHz), scaled to the rate in use.
constexpr int CombFrames[Reverb::Combs] = {1116, 1277, 1422, 1557};
constexpr int AllPassFrames[Reverb::AllPasses] = {556, 225};
constexpr float AllPassGain = 0.5f;
constexpr float CombScale = 0.25f; // the combs' sum back to the input's level

float flushDenormal(float v) { return std::abs(v) < 1e-25f ? 0.0f : v; }

} // namespace

Reverb::Reverb(double rate) : rate_(rate)
{
    const auto make = [rate](Line& l, int frames) {
        l.length = std::max(1, int(std::lround(frames * rate / 44100.0)));
        l.data = std::make_unique<float[]>(size_t(l.length));
    };
    for (int i = 0; i < Combs; ++i)
        make(comb_[i], CombFrames[i]);
    for (int i = 0; i < AllPasses; ++i)
        make(allPass_[i], AllPassFrames[i]);
}

void Reverb::setParameters(double inGain, double mix, double time, double highRatio)
{
    Settings s;
    s.in = float(std::pow(10.0, inGain / 20.0));
    s.wet = mix <= -96.0 ? 0.0f : float(std::pow(10.0, mix / 20.0));
    const double t = std::max(time, 1.0) / 1000.0;
    const double ratio = std::clamp(highRatio, 0.001, 1.0);
    for (int i = 0; i < Combs; ++i) {
        // A loop of d seconds loses 60 dB in T seconds with gain 10^(-3 d / T).
        const double d = comb_[i].length / rate_;
        const double low = std::pow(10.0, -3.0 * d / t);
        const double high = std::pow(10.0, -3.0 * d / (t * ratio));
        // y = b x + a y: gain b/(1-a) at 0 Hz is low, b/(1+a) at Nyquist is high.
        const double r = high / low;
        const double a = (1.0 - r) / (1.0 + r);
        s.pole[i] = float(a);
        s.feedback[i] = float(low * (1.0 - a));
    }
    box_.publish(s);
}

void Reverb::process(float* frames, int count)
{
    const Settings& s = box_.take();
    for (int n = 0; n < count; ++n) {
        const float x = 0.5f * (frames[n * 2] + frames[n * 2 + 1]) * s.in;
        float sum = 0.0f;
        for (int i = 0; i < Combs; ++i) {
            Line& c = comb_[i];
            const float y = c.data[size_t(c.pos)];
            sum += y;
            c.lp = flushDenormal(s.feedback[i] * y + s.pole[i] * c.lp);
            c.data[size_t(c.pos)] = x + c.lp;
            if (++c.pos == c.length)
                c.pos = 0;
        }
        float v = sum * CombScale;
        for (Line& a : allPass_) {
            const float delayed = a.data[size_t(a.pos)];
            const float w = v + AllPassGain * delayed;
            a.data[size_t(a.pos)] = flushDenormal(w);
            v = delayed - AllPassGain * w;
            if (++a.pos == a.length)
                a.pos = 0;
        }
        if (s.wet != 0.0f) {
            frames[n * 2] += s.wet * v;
            frames[n * 2 + 1] += s.wet * v;
        }
    }
}

} // namespace zarn
