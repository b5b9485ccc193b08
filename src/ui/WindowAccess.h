#pragma once

#include "ui/ColorRoles.h"

#include <QList>

#include <functional>

class QWidget;

namespace zarn {

class PageInput;
class Players;

// What the knob, steering and preset handlers need from the window besides finding its
// controls by object name under `window`. The composition root fills it from the main
// window; tests fill it over a small widget tree. Main thread only.
struct WindowAccess {
    QWidget* window = nullptr;
    std::function<int()> activePage;
    std::function<void(int)> showPage;
    // The header leaves its dock and keeps its place (under the safety screen).
    std::function<void()> undockHeader;
    // The colors in use; must outlive the handlers.
    const ColorRoles* roles = nullptr;
    // The controls of a page's forward focus order that can take the focus now; when
    // unset or empty, the built-in FocusRings table is walked.
    std::function<QList<QWidget*>(int page)> forwardOrder;
    // The input of the page that takes the car's controls first; unset or null: none.
    std::function<PageInput*()> input;
    // The players; unset: nothing plays.
    std::function<Players&()> players;
};

class ZarnWindow;
// The main window's access.
WindowAccess windowAccess(ZarnWindow& window);

} // namespace zarn
