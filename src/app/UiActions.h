#pragma once

#include "app/AppActions.h"

namespace zarn {

class FocusNavigator;
class SelectActions;
class ZarnWindow;

// The window's handlers behind the bus: a knob detent from the car and a mouse-wheel
// step run the same focus step, a knob press the same click. The players, the exit
// action and the driver's log plug in here as they arrive.
class UiActions final : public AppActions {
public:
    UiActions(ZarnWindow& window, FocusNavigator& navigator, SelectActions& select)
        : window_(window), navigator_(navigator), select_(select)
    {
    }

    void SteerUPClick() override;
    void SelButton8Click() override;
    void SelButton7Click() override;
    void SelButton1Click() override;
    void longClick() override;
    bool TurnbottonleftClick() override;
    bool TurnbottonrightClick() override;
    void zahlbutton1Click() override;
    void Button4Click() override;
    void Button10Click() override;
    void Button5Click() override;
    void Button3Click() override;
    void Button6Click() override;
    void ShowPage(int page) override;

private:
    ZarnWindow& window_;
    FocusNavigator& navigator_;
    SelectActions& select_;
};

} // namespace zarn
