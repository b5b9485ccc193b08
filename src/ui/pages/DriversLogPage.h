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

    // The city, street and mileage items. A place not reported yet (empty) keeps the
    // item's design caption; each item repaints only when its text changes.
    void showPlace(const QString& city, const QString& street, const QString& mileage);
    void showMessage(const QString& text); // Driverslog_Msg

private:
    QWidget* position_;
    bool placeReported_[2] = {false, false};
    QWidget* actions_;
    PlainPanel* message_;
};

} // namespace zarn
