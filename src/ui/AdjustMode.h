#pragma once

#include <QString>

#include <array>
#include <span>

namespace zarn {

// The controls whose value the knob changes instead of moving the focus while their
// flag is on. The knob press toggles a flag; leaving the page keeps it. Main thread only.
class AdjustMode {
public:
    // In the order the knob press tests them.
    enum Control { RadarScale, Speed, Zoom, Eq1, Eq2, Eq3, Eq4, Eq5, Reverb, Eq6, Luminance, Count };

    struct Row {
        Control control;
        const char* name;      // the focusable item
        const char* indicator; // shows the mode by its text color
        const char* picture;   // shown only while the mode is on, or null
    };
    static std::span<const Row> rows();
    static const Row* rowFor(const QString& focusedName);

    bool isOn(Control c) const { return flags_[c]; }
    void setOn(Control c, bool on) { flags_[c] = on; }
    bool toggle(Control c) { return flags_[c] = !flags_[c]; }
    void clear() { flags_.fill(false); }

private:
    std::array<bool, Count> flags_{};
};

} // namespace zarn
