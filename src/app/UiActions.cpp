#include "app/UiActions.h"

#include "ui/FocusNavigator.h"
#include "ui/SelectActions.h"
#include "ui/ZarnWindow.h"
#include "ui/pages/MainMenuPage.h"

namespace zarn {

bool UiActions::busEvent(const BusEvent& event)
{
    using K = BusEvent::Kind;
    switch (event.kind) {
    case K::WheelUp: select_.SteerUPClick(); break;
    case K::WheelDown: select_.SelButton8Click(); break;
    case K::RadioTelephone: select_.SelButton7Click(); break;
    case K::KnobPress: select_.SelButton1Click(); break;
    case K::KnobLongPress: select_.longClick(); break;
    case K::KnobTurn: return turnKnob(event.value);
    case K::Preset: preset(event.value); break;
    case K::RandomKey: select_.Button5Click(); break;
    case K::Exit: window_.mainMenu()->BMWpanel5Click(); break;
    default: return AppActions::busEvent(event); // the music player's pause rows; the telephone picture comes with its page
    }
    return true;
}

// One focus step per detent; a step that fails ends the turn.
bool UiActions::turnKnob(int detents)
{
    for (int i = 0; i < detents; ++i)
        if (!navigator_.TurnbottonrightClick())
            return false;
    for (int i = 0; i > detents; --i)
        if (!navigator_.TurnbottonleftClick())
            return false;
    return true;
}

void UiActions::preset(int number)
{
    switch (number) {
    case 1: select_.zahlbutton1Click(); break;
    case 2: select_.Button4Click(); break;
    case 3: select_.Button10Click(); break;
    case 4: select_.Button5Click(); break;
    case 5: select_.Button3Click(); break;
    case 6: select_.Button6Click(); break;
    default: break;
    }
}

} // namespace zarn
