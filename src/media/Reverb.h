#pragma once

#include "media/FxMailbox.h"

#include <memory>

namespace zarn {

// A small Schroeder reverb on interleaved float stereo frames: four parallel combs,
// each with a one-pole low-pass in its loop so that low frequencies die away in the
// reverb time and high ones in reverb time x ratio, then two series all-passes.
// out = in + wet x reverb(inGain x mono(in)); a mix of -96 dB or less leaves the
// input untouched, bit for bit.
// Threads: construction and setParameters on the main thread (the delay lines are
// allocated here), process on the output thread (no allocation, no lock).
class Reverb {
public:
    static constexpr int Combs = 4;
    static constexpr int AllPasses = 2;

    explicit Reverb(double rate);
    // inGain and mix in dB, time in ms, highRatio the high-frequency time ratio.
    void setParameters(double inGain, double mix, double time, double highRatio);
    void process(float* frames, int count);

private:
    struct Settings {
        float in = 1.0f;
        float wet = 0.0f;
        float feedback[Combs]{}; // low-frequency loop gain of each comb
        float pole[Combs]{};     // the loop low-pass's pole
    };
    struct Line {
        std::unique_ptr<float[]> data;
        int length = 0;
        int pos = 0;
        float lp = 0.0f;
    };

    double rate_;                       // immutable
    FxMailbox<Settings> box_;
    Line comb_[Combs];                  // output thread from here on
    Line allPass_[AllPasses];
};

} // namespace zarn
