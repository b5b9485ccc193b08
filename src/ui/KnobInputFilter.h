#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QWidget;

namespace zarn {

class FocusNavigator;

// The bench's knob: the mouse wheel over the window turns it (down = clockwise, one step
// per notch, the wheel event is used up), and the keys R, L and C turn it and press it.
// The filter sees every key before the focused control; the key still reaches the control
// afterwards, and a field that takes text keeps its letters. Main thread only.
class KnobInputFilter : public QObject {
    Q_OBJECT
public:
    // press: what the key C runs (the knob press).
    KnobInputFilter(FocusNavigator& navigator, std::function<void()> press, QObject* parent = nullptr);
    ~KnobInputFilter() override;

    // Filters the input of this window (application-wide, so that it sees every child).
    void install(QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    FocusNavigator& navigator_;
    std::function<void()> press_;
    QPointer<QWidget> window_;
    int wheelRemainder_ = 0;
};

} // namespace zarn
