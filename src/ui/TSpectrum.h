#pragma once

#include "media/SpectrumBars.h"

#include <QImage>
#include <QSize>

namespace zarn {

// The spectrum analyser of the now-playing page: the bars and peaks of SpectrumBars
// drawn into an off-screen picture of the paint box's size at creation, so the screen
// gets one finished picture per frame and never a half-drawn one. Bars that fall
// outside the picture still move; they just do not show. Main thread only.
class TSpectrum {
public:
    explicit TSpectrum(const QSize& size, const SpectrumSettings& settings = {});

    // One frame: the bars follow the magnitudes and the picture is drawn anew with bar
    // 0 at x, its foot offset by y from the picture's bottom edge.
    void draw(const float* magnitudes, int count, int x, int y);

    const QImage& picture() const { return buffer_; }
    const SpectrumBars& bars() const { return bars_; }

private:
    SpectrumBars bars_;
    QImage buffer_;
};

} // namespace zarn
