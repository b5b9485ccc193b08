#pragma once

#include "ui/pages/ZarnPage.h"

namespace zarn {

class PlainPanel;

// Page 2, the web page: the row of back, history and address items, the web area and
// the hidden site list overlay. The browser itself is created on first use.
class WebPage : public ZarnPage {
    Q_OBJECT
public:
    explicit WebPage(QWidget* parent = nullptr);
    void applyDocking() override;

private:
    PlainPanel* webArea_;
};

} // namespace zarn
