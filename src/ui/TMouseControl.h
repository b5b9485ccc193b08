#pragma once

#include <Qt>

namespace zarn {

// The screen's mouse pointer: its position, and a click of the configured button at it.
// The click is a press and a release delivered as Qt mouse events to this program's
// widget under the pointer. It reaches only the program's own windows (all the presets
// need: the web page) and works on X11, Wayland and headless displays alike, without
// the X test extension. Main thread only.
class TMouseControl {
public:
    int X() const;
    void setX(int x);
    int Y() const;
    void setY(int y);

    Qt::MouseButton button() const { return button_; }
    void setButton(Qt::MouseButton b) { button_ = b; }

    // False when no widget of the program lies under the pointer.
    bool MouseClick();

private:
    Qt::MouseButton button_ = Qt::LeftButton;
};

} // namespace zarn
