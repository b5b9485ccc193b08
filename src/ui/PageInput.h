#pragma once

#include "ui/AdjustMode.h"

class QWidget;

namespace zarn {

enum class Turn { Clockwise, CounterClockwise };
enum class Steer { Up, Down, LongUp, LongDown };

// What a page does with the car's controls. The focus step and the select rules ask the
// visible page (the movie page while a movie fills the screen) at the stage named on each
// operation, and carry out their window-wide rules when the page returns false. `focus` is
// the window's focused control as the input arrives (may be null). Every default leaves
// the input to the window-wide rules. Main thread only.
class PageInput {
public:
    virtual ~PageInput() = default;

    // A knob detent, after the explicit moves and adjust mode, before the page's ring.
    virtual bool turn(Turn turn, QWidget* focus) { return false; }
    // A value step of one of this page's controls while its adjust mode is on.
    virtual bool adjust(AdjustMode::Control control, Turn turn) { return false; }
    // A knob press before every other rule: a window the page shows over everything.
    virtual bool pressFirst(QWidget* focus) { return false; }
    // A knob press after the option items and adjust mode, before the menu items.
    virtual bool press(QWidget* focus) { return false; }
    // The knob held down.
    virtual bool longPress() { return false; }
    // A steering-wheel button, before the players' rules.
    virtual bool steer(Steer button) { return false; }
    // Radio preset 1 to 6, before the window-wide presets.
    virtual bool preset(int key) { return false; }
};

} // namespace zarn
