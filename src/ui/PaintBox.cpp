#include "ui/PaintBox.h"

#include <QPaintEvent>
#include <QPainter>

namespace zarn {

PaintBox::PaintBox(const QString& objectName, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(objectName);
    setFocusPolicy(Qt::NoFocus);
    // Opaque: a frame repaints the box and nothing behind it.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PaintBox::setPicture(const QImage* picture)
{
    picture_ = picture;
    update();
}

void PaintBox::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    QRegion rest = event->region();
    if (picture_) {
        const QRect shown = picture_->rect() & rect();
        p.drawImage(shown.topLeft(), *picture_, shown);
        rest -= shown;
    }
    for (const QRect& r : rest)
        p.fillRect(r, palette().color(QPalette::Window));
}

} // namespace zarn
