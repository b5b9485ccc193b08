#pragma once

#include "app/AppActions.h"

namespace zarn {

class FocusNavigator;
class SelectActions;
class ZarnWindow;

// Routes the bus events to the window's handlers: a knob detent from the car and a
// mouse-wheel step run the same focus step, a knob press the same click. The players,
// the exit action and the driver's log plug in here as they arrive.
class UiActions final : public AppActions {
public:
    UiActions(ZarnWindow& window, FocusNavigator& navigator, SelectActions& select)
        : window_(window), navigator_(navigator), select_(select)
    {
    }

    bool busEvent(const BusEvent& event) override;

private:
    bool turnKnob(int detents);
    void preset(int number);

    ZarnWindow& window_;
    FocusNavigator& navigator_;
    SelectActions& select_;
};

} // namespace zarn
