#pragma once

#include "ui/pages/ZarnPage.h"

namespace zarn {

class PlainPanel;

// Page 10, the driver's log: back item and " Actions", the position items, the hidden
// action panel and the message field `Driverslog_Msg`. The log list comes with the log.
class DriversLogPage : public ZarnPage {
    Q_OBJECT
public:
    explicit DriversLogPage(QWidget* parent = nullptr);
    void applyDocking() override;

private:
    QWidget* position_;
    QWidget* actions_;
    PlainPanel* message_;
};

} // namespace zarn
