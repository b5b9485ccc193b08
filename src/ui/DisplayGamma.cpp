#include "ui/DisplayGamma.h"

#include <QGuiApplication>

#include <algorithm>
#include <cmath>
#include <vector>

// Xlib defines macros (Bool, Status, None, ...) that clash with Qt's names, so the
// X11 headers are only included here, after every Qt header.
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

namespace zarn {

GammaRamp gammaRamp(int position)
{
    GammaRamp ramp{};
    const double a = position / 100.0;
    for (int i = 0; i < 256; ++i) {
        double v = (i == 255) ? 1.0 : 1.0 - std::pow(1.0 - i / 255.0, a);
        v = std::clamp(v, 0.0, 1.0);
        // nearbyint rounds halves to even under the default rounding mode.
        ramp[std::size_t(i)] = quint16(std::nearbyint(v * 255.0) * 256.0);
    }
    return ramp;
}

bool setDisplayGamma(const GammaRamp& ramp)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return false;
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    bool done = false;
    const Window root = DefaultRootWindow(display);
    if (XRRScreenResources* res = XRRGetScreenResourcesCurrent(display, root)) {
        for (int c = 0; c < res->ncrtc; ++c) {
            const RRCrtc crtc = res->crtcs[c];
            const int size = XRRGetCrtcGammaSize(display, crtc);
            if (size < 2)
                continue;
            XRRCrtcGamma* gamma = XRRAllocGamma(size);
            if (!gamma)
                continue;
            // A CRTC whose ramp is not 256 long samples ours at its own steps.
            for (int j = 0; j < size; ++j) {
                const quint16 v = ramp[std::size_t(j * 255 / (size - 1))];
                gamma->red[j] = gamma->green[j] = gamma->blue[j] = v;
            }
            XRRSetCrtcGamma(display, crtc, gamma);
            XRRFreeGamma(gamma);
            done = true;
        }
        XRRFreeScreenResources(res);
    }
    XCloseDisplay(display);
    return done;
}

} // namespace zarn
