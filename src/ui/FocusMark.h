#pragma once

#include <QEvent>
#include <QObject>
#include <QPointer>

class QWidget;
class QWindow;

namespace zarn {

// Which control carries the focus mark: the window's own focus widget, whether or not
// the window system calls the window active. In a kiosk X session without a window
// manager the X input focus may stay on the root window, and another program started
// by the launcher may hold it for a while; Qt then sends no focus events, yet the knob
// moves the window's focus widget, and the driver must see where it went.
// One per top-level window, created on first use. Main thread only.
class FocusMark : public QObject {
    Q_OBJECT
public:
    // Sent to the control that gains the mark and to the one that loses it.
    class Event : public QEvent {
    public:
        explicit Event(bool gained) : QEvent(type()), gained_(gained) {}
        static QEvent::Type type();
        bool gained() const { return gained_; }

    private:
        bool gained_;
    };

    // The mark of w's top-level window.
    static FocusMark& of(QWidget* w);
    // True when w is its window's focus widget.
    static bool holds(const QWidget* w);

    QWidget* current() const { return current_; }

signals:
    void moved(QWidget* from, QWidget* to);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit FocusMark(QWidget* window);
    void attach();
    void follow();

    QWidget* window_;
    QPointer<QWindow> handle_;
    QPointer<QWidget> current_;
};

} // namespace zarn
