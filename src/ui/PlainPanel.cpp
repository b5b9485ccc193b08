#include "ui/PlainPanel.h"

#include "ui/SymbolGlyphs.h"

#include <QMouseEvent>
#include <QPainter>

namespace zarn {

PlainPanel::PlainPanel(const QString& objectName, QWidget* parent, const QString& caption)
    : QWidget(parent)
    , caption_(caption)
{
    setObjectName(objectName);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PlainPanel::setCaption(const QString& caption)
{
    if (caption_ != caption) {
        caption_ = caption;
        update();
    }
}

void PlainPanel::setColor(const QColor& color)
{
    if (background_ != color) {
        background_ = color;
        update();
    }
}

void PlainPanel::setFontColor(const QColor& color)
{
    if (fontColor_ != color) {
        fontColor_ = color;
        update();
    }
}

void PlainPanel::setAlignment(Qt::Alignment alignment)
{
    if (alignment_ != alignment) {
        alignment_ = alignment;
        update();
    }
}

void PlainPanel::setWordWrap(bool on)
{
    if (wordWrap_ != on) {
        wordWrap_ = on;
        update();
    }
}

void PlainPanel::setVerticalText(bool on)
{
    if (vertical_ != on) {
        vertical_ = on;
        update();
    }
}

void PlainPanel::setLiteralText(bool on)
{
    if (literal_ != on) {
        literal_ = on;
        update();
    }
}

void PlainPanel::setBevel(Bevel bevel)
{
    if (bevel_ != bevel) {
        bevel_ = bevel;
        update();
    }
}

void PlainPanel::setBevelWidth(int px)
{
    if (bevelWidth_ != px) {
        bevelWidth_ = px;
        update();
    }
}

void PlainPanel::setBevelColors(const QColor& highlight, const QColor& shadow)
{
    if (highlight_ != highlight || shadow_ != shadow) {
        highlight_ = highlight;
        shadow_ = shadow;
        update();
    }
}

void PlainPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect r = rect();
    p.fillRect(r, background_);

    int inset = 0;
    if (bevel_ != Bevel::None && bevelWidth_ > 0) {
        const QColor& topLeft = bevel_ == Bevel::Raised ? highlight_ : shadow_;
        const QColor& bottomRight = bevel_ == Bevel::Raised ? shadow_ : highlight_;
        const int w = std::min(bevelWidth_, std::min(r.width(), r.height()) / 2);
        for (int i = 0; i < w; ++i) {
            p.setPen(topLeft);
            p.drawLine(i, i, r.width() - 1 - i, i);
            p.drawLine(i, i, i, r.height() - 1 - i);
            p.setPen(bottomRight);
            p.drawLine(i, r.height() - 1 - i, r.width() - 1 - i, r.height() - 1 - i);
            p.drawLine(r.width() - 1 - i, i, r.width() - 1 - i, r.height() - 1 - i);
        }
        inset = w;
    }

    if (caption_.isEmpty())
        return;
    QRect textRect = r.adjusted(inset, inset, -inset, -inset);
    p.setClipRect(textRect);
    if (vertical_) {
        p.translate(textRect.left(), textRect.bottom() + 1);
        p.rotate(-90);
        textRect = QRect(0, 0, textRect.height(), textRect.width());
    }
    if (SymbolGlyphs::isSymbolFont(font().family())) {
        const int h = QFontMetrics(font()).height();
        SymbolGlyphs::draw(p, QRectF(textRect.left(), textRect.top() + (textRect.height() - h) / 2, textRect.width(), h),
                           font().family(), caption_, fontColor_);
        return;
    }
    p.setPen(fontColor_);
    p.setFont(font());
    // As on a panel caption, "&&" shows one ampersand.
    const int mnemonic = literal_ ? 0 : int(Qt::TextShowMnemonic);
    p.drawText(textRect, int(alignment_) | mnemonic | (wordWrap_ ? Qt::TextWordWrap : Qt::TextSingleLine), caption_);
}

void PlainPanel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void PlainPanel::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
}

} // namespace zarn
