#include "app/UiActions.h"

#include "ui/FocusNavigator.h"
#include "ui/SelectActions.h"
#include "ui/ZarnWindow.h"

namespace zarn {

void UiActions::SteerUPClick()
{
    select_.SteerUPClick();
}

void UiActions::SelButton8Click()
{
    select_.SelButton8Click();
}

void UiActions::SelButton7Click()
{
    select_.SelButton7Click();
}

void UiActions::SelButton1Click()
{
    select_.SelButton1Click();
}

void UiActions::longClick()
{
    select_.longClick();
}

bool UiActions::TurnbottonleftClick()
{
    return navigator_.TurnbottonleftClick();
}

bool UiActions::TurnbottonrightClick()
{
    return navigator_.TurnbottonrightClick();
}

void UiActions::zahlbutton1Click()
{
    select_.zahlbutton1Click();
}

void UiActions::Button4Click()
{
    select_.Button4Click();
}

void UiActions::Button10Click()
{
    select_.Button10Click();
}

void UiActions::Button5Click()
{
    select_.Button5Click();
}

void UiActions::Button3Click()
{
    select_.Button3Click();
}

void UiActions::Button6Click()
{
    select_.Button6Click();
}

void UiActions::ShowPage(int page)
{
    window_.ShowPage(page);
}

} // namespace zarn
