#pragma once

#include <QtGlobal>

#include <array>

namespace zarn {

// How the now-playing page's bar spectrum looks and moves. Colors are 0xBBGGRR.
struct SpectrumSettings {
    quint32 backgroundColor = 0x000000; // black
    quint32 barColor = 0x008000;        // green
    quint32 peakColor = 0x0000FF;       // red
    int maxBarHeight = 100;             // px
    int resolution = 1;                 // bin step from one bar to the next
    int skippedBins = 5;                // the lowest bins carry mostly hum and offset
    bool clearEachFrame = true;
    int peakFall = 1;                   // px per frame
    int barFall = 17;                   // px per frame
    int barWidth = 18;                  // px
    bool showPeaks = true;
};

// The bar and peak heights of the spectrum analyser, frame by frame: a bar jumps up to
// a louder bin at once and falls by barFall a frame, its peak falls by peakFall.
// Heights are pixels, 0 to maxBarHeight. Plain data; any thread, one at a time.
class SpectrumBars {
public:
    static constexpr int Count = 129;
    // A magnitude of 0.2 fills the default 100 pixels.
    static constexpr double PixelsPerUnit = 500.0;

    explicit SpectrumBars(const SpectrumSettings& settings = {});

    const SpectrumSettings& settings() const { return settings_; }
    // One frame from the magnitudes of a spectrum; bins beyond count read as silence.
    void update(const float* magnitudes, int count);

    int bar(int i) const { return bars_[size_t(i)]; }
    int peak(int i) const { return peaks_[size_t(i)]; }
    // The height a magnitude gives: truncated, clipped at maxBarHeight; not-a-number
    // reads as 0.
    int heightOf(float magnitude) const;

private:
    SpectrumSettings settings_;
    std::array<int, Count> bars_{};
    std::array<int, Count> peaks_{};
};

} // namespace zarn
