#include "ui/TMouseControl.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

namespace zarn {

int TMouseControl::X() const
{
    return QCursor::pos().x();
}

void TMouseControl::setX(int x)
{
    QCursor::setPos(x, QCursor::pos().y());
}

int TMouseControl::Y() const
{
    return QCursor::pos().y();
}

void TMouseControl::setY(int y)
{
    QCursor::setPos(QCursor::pos().x(), y);
}

bool TMouseControl::MouseClick()
{
    const QPoint global = QCursor::pos();
    QPointer<QWidget> target = QApplication::widgetAt(global);
    if (!target)
        return false;
    const QPointF local = target->mapFromGlobal(QPointF(global));
    QMouseEvent press(QEvent::MouseButtonPress, local, QPointF(global), button_, button_, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    // The press may have closed or replaced the widget.
    if (!target)
        return true;
    QMouseEvent release(QEvent::MouseButtonRelease, local, QPointF(global), button_, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
    return true;
}

} // namespace zarn
