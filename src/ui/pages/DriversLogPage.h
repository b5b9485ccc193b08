#pragma once

#include "ui/pages/ZarnPage.h"

class QListWidget;

namespace zarn {

class PlainPanel;
class TBMWpanel;

// Page 10, the driver's log: back item and " Actions", the position items (city, street,
// mileage), the hidden action panel, the log list `loglist` and the message field
// `Driverslog_Msg`. " Actions" and "Done !" swap the action panel and the position
// panel here; the other items only ask (the signals), the driver's log decides.
// Main thread only.
class DriversLogPage : public ZarnPage {
    Q_OBJECT
public:
    explicit DriversLogPage(QWidget* parent = nullptr);
    void applyDocking() override;

    // The city, street and mileage items. A place not reported yet (empty) keeps the
    // item's design caption; each item repaints only when its text changes.
    void showPlace(const QString& city, const QString& street, const QString& mileage);
    void showMessage(const QString& text); // Driverslog_Msg
    void setModeCaption(const QString& caption); // "Mode is BUSINESS" / "Mode is PRIVATE"
    // The log list: a line at the end, scrolled into view; emptied.
    void addLogLine(const QString& line);
    void clearLogList();

    void BMWpanel22Click(); // " Actions"
    void BMWpanel25Click(); // "Done !"

signals:
    void modeToggleRequested(); // BMWpanel23
    void forceEntryRequested(); // BMWpanel63, "Force an entry"
    void gasFillRequested();    // BMWpanel24, "Record Gas Fill"
    void streetClicked();       // BMWpanel107, by pointer or touch

private:
    TBMWpanel* headerItem(const char* name) const;
    // The list fills what the bands above and the message field leave.
    void placeList();

    QWidget* position_;
    bool placeReported_[2] = {false, false};
    QWidget* actions_;
    TBMWpanel* modeItem_;
    QListWidget* list_;
    PlainPanel* message_;
};

} // namespace zarn
