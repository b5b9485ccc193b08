#include "ui/WindowAccess.h"

#include "ui/ZarnWindow.h"

namespace zarn {

WindowAccess windowAccess(ZarnWindow& window)
{
    WindowAccess a;
    a.window = &window;
    a.activePage = [&window] { return window.activePage(); };
    a.showPage = [&window](int page) { window.ShowPage(page); };
    a.undockHeader = [&window] { window.setHeaderDock(ZarnWindow::HeaderDock::None); };
    a.roles = &window.roles;
    a.forwardOrder = [&window](int page) { return window.forwardOrder(page); };
    a.input = [&window] { return window.visibleInput(); };
    a.players = [&window]() -> Players& { return window.players(); };
    return a;
}

} // namespace zarn
