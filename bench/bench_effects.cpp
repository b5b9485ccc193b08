// CPU of the whole effect chain of one stereo stream at 44.1 kHz: six equalizer bands,
// the reverb (audible mix), flange, echo and rotate, in the blocks the output hands
// out (1024 frames). Prints the CPU seconds per second of audio as a share of one core.
// Usage: bench_effects [seconds of audio, default 600]
#include "media/EqualizerBand.h"
#include "media/Reverb.h"
#include "media/SampleEffects.h"

#include <ctime>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

using namespace zarn;

namespace {

double threadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

} // namespace

int main(int argc, char** argv)
{
    constexpr double Rate = 44100;
    constexpr int Block = 1024;
    const double seconds = argc > 1 ? std::atof(argv[1]) : 600.0;
    const long blocks = long(seconds * Rate / Block);

    const double centres[] = {80, 600, 1000, 2000, 4000, 8000};
    std::vector<std::unique_ptr<EqualizerBand>> bands;
    for (int i = 0; i < 6; ++i) {
        bands.push_back(std::make_unique<EqualizerBand>(Rate));
        bands.back()->setParameters(centres[i], 18, i % 2 ? -6.0 : 9.0);
    }
    Reverb reverb(Rate);
    reverb.setParameters(0, -12, 1200, 0.1);
    auto fl = std::make_unique<FlangeState>();
    auto ec = std::make_unique<EchoState>();
    RotateState ro;

    // Music-like input: ten seconds of noise, played over and over.
    std::vector<float> source(size_t(Rate) * 10 * 2);
    std::mt19937 g(1);
    std::uniform_real_distribution<float> d(-0.3f, 0.3f);
    for (float& x : source)
        x = d(g);
    const long sourceBlocks = long(source.size() / 2 / Block);

    std::vector<float> block(Block * 2);
    double sink = 0;
    const double start = threadCpuSeconds();
    for (long b = 0; b < blocks; ++b) {
        std::copy_n(source.data() + (b % sourceBlocks) * Block * 2, Block * 2, block.data());
        // The callbacks' priorities: rotate 2, echo 1 with the engine's effects, flange 0.
        rotate(ro, block.data(), Block);
        echo(*ec, block.data(), Block);
        for (auto& band : bands)
            band->process(block.data(), Block);
        reverb.process(block.data(), Block);
        flange(*fl, block.data(), Block);
        sink += block[0];
    }
    const double cpu = threadCpuSeconds() - start;
    const double audio = double(blocks) * Block / Rate;
    std::printf("effect chain: %.3f s CPU for %.0f s of 44.1 kHz stereo: %.3f %% of one core (goal < 1 %%)%s\n", cpu,
                audio, 100.0 * cpu / audio, std::isfinite(sink) ? "" : " (non-finite output)");
    return 0;
}
