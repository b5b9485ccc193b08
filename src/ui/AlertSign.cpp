#include "ui/AlertSign.h"

#include "ui/pages/PageBuilder.h"

#include <QPainter>

namespace zarn {

namespace {
constexpr QSize RedRing{136, 163};
constexpr QSize WhiteFace{99, 125};
constexpr int DistanceHeight = 44;
} // namespace

AlertSign::AlertSign(QWidget* parent)
    : PlainPanel(QStringLiteral("AlertPanel"), parent)
{
    resize(Width, Height);
    hide();
}

void AlertSign::showWarning(const QString& limitText, const QString& distanceText)
{
    if (limit_ != limitText || distance_ != distanceText) {
        limit_ = limitText;
        distance_ = distanceText;
        update();
    }
    if (isHidden())
        show();
    raise();
}

void AlertSign::paintEvent(QPaintEvent* event)
{
    PlainPanel::paintEvent(event);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int top = (height() - DistanceHeight - RedRing.height()) / 2;
    const QRect ring(QPoint((width() - RedRing.width()) / 2, top), RedRing);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::red);
    p.drawEllipse(ring);
    const QRect face(ring.center() - QPoint(WhiteFace.width() / 2, WhiteFace.height() / 2), WhiteFace);
    p.setBrush(Qt::white);
    p.drawEllipse(face);

    using PageBuilder::pixelFont;
    p.setPen(Qt::black);
    p.setFont(pixelFont(QStringLiteral("Arial Narrow"), 67, true));
    p.drawText(face, Qt::AlignCenter, limit_);
    p.setPen(Qt::white);
    p.setFont(pixelFont(QStringLiteral("Arial Narrow"), 32, true));
    p.drawText(QRect(0, height() - DistanceHeight, width(), DistanceHeight), Qt::AlignCenter, distance_);
}

} // namespace zarn
