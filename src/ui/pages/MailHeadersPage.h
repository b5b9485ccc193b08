#pragma once

#include "ui/pages/ZarnPage.h"

namespace zarn {

class PlainPanel;

// Page 6, the mail headers: back item and " Get Mail", the status line `Mailstatus`.
// The header list comes with the mail retrieval, and with it the list's knob steps and
// press.
class MailHeadersPage : public ZarnPage {
    Q_OBJECT
public:
    explicit MailHeadersPage(QWidget* parent = nullptr);
    void applyDocking() override;

private:
    PlainPanel* status_;
};

} // namespace zarn
