#pragma once

#include "ui/AdjustMode.h"
#include "ui/PageInput.h"
#include "ui/TMouseControl.h"
#include "ui/WindowAccess.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

class QWidget;

namespace zarn {

class FocusNavigator;
class Players;

// What the knob press, the steering-wheel buttons, their long presses, the radio/telephone
// button and the six radio presets do. Each asks the visible page (PageInput) first, at
// the stage its rules hold in the order, then carries out the window-wide rules. The bus
// dispatcher, the steering simulator and the key C reach the same operations.
// Main thread only.
class SelectActions : public QObject {
    Q_OBJECT
public:
    // Takes the safety screen's clicks; the navigator holds the adjust mode flags.
    SelectActions(WindowAccess access, FocusNavigator& navigator, QObject* parent = nullptr);
    ~SelectActions() override;

    TMouseControl& MouseControl1() { return mouse_; }

    // Knob press: the first rule that applies to the focus as the press arrives.
    void SelButton1Click();
    // Knob held: only a page's (the music browser's).
    void longClick();
    void SteerUPClick();    // steering wheel "up"
    void SelButton8Click(); // steering wheel "down"
    void LongclicksteerUPClick();
    void LongclicksteerDOWNClick();
    // Radio/telephone button: the safety screen on or off.
    void SelButton7Click();

    // Radio presets 1 to 6, by the active page.
    void zahlbutton1Click() { preset(1); }
    void Button4Click() { preset(2); }
    void Button10Click() { preset(3); }
    void Button5Click() { preset(4); }
    void Button3Click() { preset(5); }
    void Button6Click() { preset(6); }
    void preset(int key);

    // Sets a control's adjust mode and shows it by its indicator's text color (and the
    // radar knob picture); the movie options' hiding switches zoom and luminance off here.
    void setAdjustMode(AdjustMode::Control control, bool on);

    // The items whose click a knob press runs: the option panels' items, the alternate
    // menu's pictures, and the menu items of the pages.
    static const QStringList& optionItems();
    static const QStringList& alternateMenuItems();
    static const QStringList& menuItems();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* control(const QString& name) const;
    int activePage() const;
    bool pageControlVisible() const;
    void movePointer(int dx, int dy);
    PageInput* pageInput() const;
    Players& players() const;
    bool pageSteers(Steer button) const;

    WindowAccess access_;
    FocusNavigator& navigator_;
    TMouseControl mouse_;
    QPointer<QWidget> safetyScreen_;
};

} // namespace zarn
