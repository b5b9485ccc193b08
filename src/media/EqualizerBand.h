#pragma once

#include "media/FxMailbox.h"

namespace zarn {

// One peaking band of the equalizer on interleaved float stereo frames.
// Threads: setParameters on the main thread, process on the output thread; the
// coefficients travel through a lock-free mailbox and apply from the next block.
class EqualizerBand {
public:
    struct Coefficients {
        double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0; // normalised by a0
    };

    // centre in Hz, bandwidth in semitones, gain in dB, at the given sample rate.
    static Coefficients design(double rate, double centre, double bandwidth, double gain);

    explicit EqualizerBand(double rate) : rate_(rate) {}
    void setParameters(double centre, double bandwidth, double gain);
    void process(float* frames, int count);

private:
    double rate_;                     // immutable
    FxMailbox<Coefficients> box_;
    double z1_[2]{}, z2_[2]{};        // output thread: transposed direct form II state
};

} // namespace zarn
