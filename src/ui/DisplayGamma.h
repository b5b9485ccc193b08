#pragma once

#include <QtGlobal>

#include <array>

namespace zarn {

// One gamma ramp: 256 levels, each 0 .. 65280 (a byte value times 256).
using GammaRamp = std::array<quint16, 256>;

// The ramp of the brightness control's position p (0 .. 300): with a = p / 100,
// level i becomes 1 - (1 - i/255)^a, the brightest level always stays full.
// 100 is the identity, 0 leaves only the brightest level lit.
GammaRamp gammaRamp(int position);

// Sets the ramp (same for red, green and blue) on every output of the screen.
// Only an X11 display has a gamma ramp to set (XRandR CRTC gamma); anywhere else,
// and when the display cannot be opened, it does nothing and returns false.
bool setDisplayGamma(const GammaRamp& ramp);

} // namespace zarn
