#include "media/EqualizerBand.h"

#include <algorithm>
#include <cmath>

namespace zarn {

// The RBJ audio-EQ-cookbook peaking filter: A = 10^(gain/40), w0 = 2 pi f0 / fs,
// alpha = sin(w0) sinh(ln2/2 * BW * w0/sin(w0)) with BW in octaves = semitones / 12;
// b = {1 + alpha A, -2 cos w0, 1 - alpha A}, a = {1 + alpha/A, -2 cos w0, 1 - alpha/A}.
// Its gain at f0 is exactly the band's gain.
EqualizerBand::Coefficients EqualizerBand::design(double rate, double centre, double bandwidth, double gain)
{
    // A centre at or above Nyquist has no band to lift; keep it just below.
    const double f0 = std::clamp(centre, 1.0, rate * 0.49);
    const double A = std::pow(10.0, gain / 40.0);
    const double w0 = 2.0 * M_PI * f0 / rate;
    const double sn = std::sin(w0), cs = std::cos(w0);
    const double alpha = sn * std::sinh(std::log(2.0) / 2.0 * (bandwidth / 12.0) * w0 / sn);
    const double a0 = 1.0 + alpha / A;
    Coefficients c;
    c.b0 = (1.0 + alpha * A) / a0;
    c.b1 = -2.0 * cs / a0;
    c.b2 = (1.0 - alpha * A) / a0;
    c.a1 = -2.0 * cs / a0;
    c.a2 = (1.0 - alpha / A) / a0;
    return c;
}

void EqualizerBand::setParameters(double centre, double bandwidth, double gain)
{
    box_.publish(design(rate_, centre, bandwidth, gain));
}

void EqualizerBand::process(float* frames, int count)
{
    const Coefficients c = box_.take();
    for (int ch = 0; ch < 2; ++ch) {
        double z1 = z1_[ch], z2 = z2_[ch];
        for (int i = 0; i < count; ++i) {
            const double x = frames[i * 2 + ch];
            const double y = c.b0 * x + z1;
            z1 = c.b1 * x - c.a1 * y + z2;
            z2 = c.b2 * x - c.a2 * y;
            frames[i * 2 + ch] = float(y);
        }
        // Denormals in a silent tail would cost far more than the filter itself.
        z1_[ch] = std::abs(z1) < 1e-30 ? 0.0 : z1;
        z2_[ch] = std::abs(z2) < 1e-30 ? 0.0 : z2;
    }
}

} // namespace zarn
