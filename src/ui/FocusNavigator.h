#pragma once

#include "ui/AdjustMode.h"
#include "ui/NavigationHooks.h"
#include "ui/WindowAccess.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QWidget;

namespace zarn {

// The knob's turn: one step clockwise or counter-clockwise, decided by the first rule
// that applies (explicit move, adjust mode, the players', lists' and pages' rules through
// NavigationHooks, then the page's focus ring). Also the other sources of steps (mouse
// wheel, keys R, L, C) and the focus highlight of the plain-panel items.
// Main thread only.
class FocusNavigator : public QObject {
    Q_OBJECT
public:
    explicit FocusNavigator(WindowAccess access, QObject* parent = nullptr);
    ~FocusNavigator() override;

    // Hooks of the later rules; null restores the defaults (never applicable).
    void setHooks(NavigationHooks* hooks);
    // The display's "Lighter" and "Darker" actions (luminance adjust, presets 4 and 1).
    void setDisplayActions(std::function<void()> lighter, std::function<void()> darker);
    void Lighter();
    void Darker();
    // What the key C runs: the knob press.
    void setKnobPress(std::function<void()> press) { knobPress_ = std::move(press); }

    // One detent. False when an explicit move's target cannot take the focus; the focus
    // then stays and lastError() says why (the dispatcher reports it).
    bool TurnbottonrightClick();
    bool TurnbottonleftClick();
    bool step(Turn turn);
    const QString& lastError() const { return lastError_; }

    AdjustMode& adjustMode() { return adjust_; }
    const AdjustMode& adjustMode() const { return adjust_; }

    // The simulator's knob picture mKnob2, 0 to 10.
    int knobPosition() const { return knobPosition_; }

    // The movie zoom in percent that the zoom item's adjust mode steps (starts at 100).
    int movieZoom() const { return movieZoom_; }
    void setMovieZoom(int percent) { movieZoom_ = percent; }

    // Mouse wheel over the window (down = clockwise) and keys R, L, C, seen before the
    // focused control; the key still reaches the control afterwards.
    void installInputFilter(QWidget& window);

    QWidget* focusedControl() const;
    // Visible, enabled (with its parents) and focusable; by Tab for the ring steps.
    bool canTakeFocus(QWidget* w, bool asTabStop) const;
    QWidget* control(const QString& name) const;

signals:
    void knobPositionChanged(int position);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool explicitMove(const QString& target, const char* lowlight);
    void adjustValue(AdjustMode::Control c, Turn turn);
    void defaultStep(Turn turn);
    bool ringStep(Turn turn);
    bool focusChainStep(Turn turn);
    int ringPage() const;
    void focusChanged(QWidget* old, QWidget* now);
    void BitBtnWithColor1Enter(QWidget* item);
    void BitBtnWithColor1Exit(QWidget* item);

    WindowAccess access_;
    NavigationHooks defaultHooks_;
    NavigationHooks* hooks_ = &defaultHooks_;
    AdjustMode adjust_;
    std::function<void()> lighter_;
    std::function<void()> darker_;
    std::function<void()> knobPress_;
    QString lastError_;
    int knobPosition_ = 0;
    int movieZoom_ = 100;
    int wheelRemainder_ = 0;
    QPointer<QWidget> filteredWindow_;
};

} // namespace zarn
