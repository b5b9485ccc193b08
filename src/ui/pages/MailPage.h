#pragma once

#include "ui/pages/ZarnPage.h"

namespace zarn {

// Page 7, one mail: the band with the back panel `BitBtnWithColor82` and
// `BitBtnWithColor83`. The header fields and the text come with the mail retrieval, and
// with them the page's input (the text's knob steps, the press on the band's panels).
class MailPage : public ZarnPage {
    Q_OBJECT
public:
    explicit MailPage(QWidget* parent = nullptr);
};

} // namespace zarn
