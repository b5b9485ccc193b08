#include "media/SpectrumBars.h"

#include <algorithm>
#include <cmath>

namespace zarn {

SpectrumBars::SpectrumBars(const SpectrumSettings& settings)
    : settings_(settings)
{
}

int SpectrumBars::heightOf(float magnitude) const
{
    const double scaled = std::fabs(double(magnitude)) * PixelsPerUnit;
    // The comparison is false for NaN, which must not reach the int conversion.
    if (!(scaled < double(settings_.maxBarHeight)))
        return std::isnan(scaled) ? 0 : settings_.maxBarHeight;
    return int(scaled);
}

void SpectrumBars::update(const float* magnitudes, int count)
{
    for (int i = 0; i < Count; ++i) {
        const int bin = i * settings_.resolution + settings_.skippedBins;
        const int h = bin >= 0 && bin < count ? heightOf(magnitudes[bin]) : 0;
        int& peak = peaks_[size_t(i)];
        peak = h >= peak ? h : std::max(peak - settings_.peakFall, 0);
        int& bar = bars_[size_t(i)];
        bar = h >= bar ? h : std::max(bar - settings_.barFall, 0);
    }
}

} // namespace zarn
