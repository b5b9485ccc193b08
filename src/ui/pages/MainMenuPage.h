#pragma once

#include "ui/pages/ZarnPage.h"

class QLabel;

namespace zarn {

class PlainPanel;
class TBMWpanel;
class ZarnWindow;

// Page 0, the classic main menu: twelve items in two columns and a bottom row, over a
// full-page picture, above the status bar with the date and time. The items' handlers
// live here; the alternate menu's words and the knob press run the same ones. What
// belongs to subsystems outside the window (exit, status values, web, launcher, rear
// camera) leaves as a request signal, and so does the rear camera's close on a knob press
// (its pressFirst). Main thread only.
class MainMenuPage : public ZarnPage {
    Q_OBJECT
public:
    explicit MainMenuPage(ZarnWindow& window, QWidget* parent = nullptr);

    // The item names in the order of their captions in the settings.
    static const QStringList& itemNames();
    TBMWpanel* menuItem(const QString& name) const;

    QLabel* MainImage() const { return mainImage_; }
    PlainPanel* StatusBar() const { return statusBar_; }
    QWidget* Panel40() const { return panel40_; }

    void applyDocking() override;
    // A knob press while the rear camera is shown closes it.
    bool pressFirst(QWidget* focus) override;

    void BMWpanel1Click();   // MP3 Player
    void BMWpanel2Click();   // I-Bus Explorer
    void BMWpanel3Click();   // movies
    void BMWpanel4Click();   // Driver's log
    void BMWpanel5Click();   // Shutdown
    void BMWpanel6Click();   // System Status
    void BMWpanel7Click();   // Web Browser
    void BMWpanel8Click();   // eMail
    void BMWpanel9Click();   // Settings
    void BMWpanel76Click();  // Launch
    void BMWpanel89Click();  // Radar
    void BMWpanel123Click(); // Rear Cam

signals:
    // The exit action with its power option.
    void exitRequested();
    // The status page is about to be shown: fill its values.
    void systemStatusRequested();
    // The web page was shown: reset its scroll offset and load the address.
    void webRequested();
    // Start the program of the launch field.
    void launchRequested();
    // Show the rear camera.
    void rearCameraRequested();
    void rearCameraCloseRequested();

private:
    void connectItem(const char* name, void (MainMenuPage::*handler)());
    void openFeature(const char* item, int page);

    ZarnWindow& window_;
    QLabel* mainImage_;
    PlainPanel* statusBar_;
    QLabel* dateLabel_;
    QWidget* panel40_;
};

} // namespace zarn
