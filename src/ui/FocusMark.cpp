#include "ui/FocusMark.h"

#include <QCoreApplication>
#include <QWidget>
#include <QWindow>

namespace zarn {

QEvent::Type FocusMark::Event::type()
{
    static const auto id = QEvent::Type(QEvent::registerEventType());
    return id;
}

FocusMark::FocusMark(QWidget* window)
    : QObject(window)
    , window_(window)
{
    setObjectName(QStringLiteral("FocusMark"));
    window->installEventFilter(this);
    attach();
}

FocusMark& FocusMark::of(QWidget* w)
{
    QWidget* window = w->window();
    if (auto* mark = window->findChild<FocusMark*>(QStringLiteral("FocusMark"), Qt::FindDirectChildrenOnly))
        return *mark;
    return *new FocusMark(window);
}

bool FocusMark::holds(const QWidget* w)
{
    return w && w->window()->focusWidget() == w;
}

// The platform window exists from the first show; it tells every change of the
// window's focus widget, active or not.
void FocusMark::attach()
{
    QWindow* handle = window_->windowHandle();
    if (handle && handle != handle_) {
        if (handle_)
            disconnect(handle_, nullptr, this, nullptr);
        handle_ = handle;
        connect(handle, &QWindow::focusObjectChanged, this, &FocusMark::follow);
    }
    follow();
}

void FocusMark::follow()
{
    QWidget* now = window_->focusWidget();
    if (now == current_)
        return;
    QPointer<QWidget> from = current_;
    current_ = now;
    if (from) {
        Event lost(false);
        QCoreApplication::sendEvent(from, &lost);
    }
    if (now) {
        Event gained(true);
        QCoreApplication::sendEvent(now, &gained);
    }
    emit moved(from, now);
}

bool FocusMark::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window_ && (event->type() == QEvent::Show || event->type() == QEvent::WinIdChange))
        attach();
    return false;
}

} // namespace zarn
