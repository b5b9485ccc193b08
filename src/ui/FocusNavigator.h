#pragma once

#include "ui/AdjustMode.h"
#include "ui/PageInput.h"
#include "ui/WindowAccess.h"

#include <QObject>
#include <QString>

#include <functional>

class QWidget;

namespace zarn {

class Players;

// The knob's turn: one step clockwise or counter-clockwise, decided by the first rule
// that applies: an explicit move, adjust mode, the visible page's own rules (PageInput),
// then the page's focus ring. Main thread only.
class FocusNavigator : public QObject {
    Q_OBJECT
public:
    explicit FocusNavigator(WindowAccess access, QObject* parent = nullptr);
    ~FocusNavigator() override;

    // The display's "Lighter" and "Darker" actions (luminance adjust, presets 4 and 1).
    void setDisplayActions(std::function<void()> lighter, std::function<void()> darker);
    void Lighter();
    void Darker();

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

    QWidget* focusedControl() const;
    // Visible, enabled (with its parents) and focusable; by Tab for the ring steps.
    bool canTakeFocus(QWidget* w, bool asTabStop) const;
    QWidget* control(const QString& name) const;

signals:
    void knobPositionChanged(int position);

private:
    bool explicitMove(const QString& target, const char* lowlight);
    void adjustValue(AdjustMode::Control c, Turn turn);
    void defaultStep(Turn turn);
    bool ringStep(Turn turn);
    bool focusChainStep(Turn turn);
    int ringPage() const;
    PageInput* pageInput() const;
    Players& players() const;

    WindowAccess access_;
    AdjustMode adjust_;
    std::function<void()> lighter_;
    std::function<void()> darker_;
    QString lastError_;
    int knobPosition_ = 0;
    int movieZoom_ = 100;
};

} // namespace zarn
