#pragma once

#include "ui/pages/ZarnPage.h"

namespace zarn {

class PlainPanel;

// Page 2, the web page: the row of back, history and address items, the web area and
// the hidden site list overlay. The browser itself is created on first use; the knob's
// rules for the item row, the site list and the web area arrive with it.
class WebPage : public ZarnPage {
    Q_OBJECT
public:
    explicit WebPage(QWidget* parent = nullptr);
    void applyDocking() override;

    // Preset 1 clicks at the mouse pointer, preset 4 moves it up; the others are the
    // window's pointer moves.
    bool preset(int key) override;

private:
    PlainPanel* webArea_;
};

} // namespace zarn
