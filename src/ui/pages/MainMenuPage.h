#pragma once

#include "ui/pages/ZarnPage.h"

class QLabel;

namespace zarn {

class PlainPanel;
class TBMWpanel;

// Page 0, the classic main menu: twelve items in two columns and a bottom row, over a
// full-page picture, above the status bar with the date and time.
class MainMenuPage : public ZarnPage {
    Q_OBJECT
public:
    explicit MainMenuPage(QWidget* parent = nullptr);

    // The item names in the order of their captions in the settings.
    static const QStringList& itemNames();
    TBMWpanel* menuItem(const QString& name) const;

    QLabel* MainImage() const { return mainImage_; }
    PlainPanel* StatusBar() const { return statusBar_; }
    QWidget* Panel40() const { return panel40_; }

    void applyDocking() override;

private:
    QLabel* mainImage_;
    PlainPanel* statusBar_;
    QLabel* dateLabel_;
    QWidget* panel40_;
};

} // namespace zarn
