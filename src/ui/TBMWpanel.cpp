#include "ui/TBMWpanel.h"

#include "ui/FocusMark.h"
#include "ui/SymbolGlyphs.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

namespace zarn {

namespace {
const QColor White(0xFF, 0xFF, 0xFF);
const QColor Grey(0x80, 0x80, 0x80);
const QColor InsetLight(0xEA, 0xEA, 0xEA);
} // namespace

TBMWpanel::TBMWpanel(const QString& objectName, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(objectName);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TBMWpanel::setBMW_right(bool right)
{
    if (right_ != right) {
        right_ = right;
        repaint();
    }
}

void TBMWpanel::setBMW_llf1(int px)
{
    if (llf1_ != px) {
        llf1_ = px;
        update();
    }
}

void TBMWpanel::setBMW_llf2(int px)
{
    if (llf2_ != px) {
        llf2_ = px;
        update();
    }
}

void TBMWpanel::setBMW_rectanglewidth(int px)
{
    if (rectangleWidth_ != px) {
        rectangleWidth_ = px;
        update();
    }
}

void TBMWpanel::setBMW_supercaption(const QString& caption)
{
    if (caption_ != caption) {
        caption_ = caption;
        update();
    }
}

void TBMWpanel::setBMW_Focuscolor(const QColor& color)
{
    if (focusColor_ != color) {
        focusColor_ = color;
        if (highlighted_)
            update();
    }
}

void TBMWpanel::setBMW_7er_style(bool on)
{
    if (sevenStyle_ != on) {
        sevenStyle_ = on;
        repaint();
    }
}

void TBMWpanel::setBMW_Lightcolor(const QColor& color)
{
    if (lightColor_ != color) {
        lightColor_ = color;
        update();
    }
}

void TBMWpanel::setColor(const QColor& color)
{
    if (background_ != color) {
        background_ = color;
        update();
    }
}

void TBMWpanel::setFontColor(const QColor& color)
{
    if (fontColor_ != color) {
        fontColor_ = color;
        update();
    }
}

void TBMWpanel::setHighlighted(bool on)
{
    if (highlighted_ != on) {
        highlighted_ = on;
        update();
    }
}

void TBMWpanel::highlight()
{
    setHighlighted(true);
}

void TBMWpanel::lowlight()
{
    setHighlighted(false);
}

bool TBMWpanel::event(QEvent* event)
{
    if (event->type() == FocusMark::Event::type()) {
        setHighlighted(static_cast<FocusMark::Event*>(event)->gained());
        return true;
    }
    return QWidget::event(event);
}

void TBMWpanel::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    FocusMark::of(this);
}

void TBMWpanel::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    setHighlighted(true);
}

// The window losing its activation keeps the mark where the focus widget is.
void TBMWpanel::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    setHighlighted(FocusMark::holds(this));
}

void TBMWpanel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void TBMWpanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), background_);
    malen(p);
}

void TBMWpanel::malen(QPainter& p)
{
    const int W = width();
    const int H = height();
    const int r = rectangleWidth_;
    const int f = llf1_;
    const int T = int(r * 0.7);
    const auto box = [&p](int x1, int y1, int x2, int y2, const QColor& c) {
        if (x2 > x1 && y2 > y1)
            p.fillRect(QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)), c);
    };

    // Side bar.
    if (!right_) {
        box(0, 0, 2, H, White);
        box(0, 0, r, 2, White);
        box(2, 2, r, H, lightColor_);
        box(r - 2, 2, r, H, Grey);
        box(0, H - 2, r, H, Grey);
    } else {
        box(W - r - 2, 0, W - r, H, White);
        box(W - r - 2, 0, W, 2, White);
        box(W - r, 2, W - 2, H, lightColor_);
        box(W - 2, 0, W, H, Grey);
        box(W - r - 2, H - 2, W, H, Grey);
    }

    // Text: vertically centred on the height of "W", never wrapped, clipped at the edge.
    const QFontMetrics fm(font());
    const int textHeight = fm.height();
    const int left = right_ ? 10 : r + 10;
    const QRect textRect(left, (height() - textHeight) / 2, std::max(0, (right_ ? W - r - 2 : W) - left), textHeight);
    p.save();
    p.setClipRect(textRect.intersected(rect()));
    if (SymbolGlyphs::isSymbolFont(font().family()))
        SymbolGlyphs::draw(p, textRect, font().family(), caption_, fontColor_);
    else {
        p.setPen(fontColor_);
        p.setFont(font());
        p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic | Qt::TextSingleLine | Qt::TextExpandTabs,
                   caption_);
    }
    p.restore();

    if (!highlighted_)
        return;
    const QColor& fc = focusColor_;
    if (!right_) {
        box(0, 0, W, f, fc);
        box(0, H - f, W, H, fc);
        box(W - llf2_, 0, W, H, fc);
        box(W - f, 0, W, H, fc);
        box(0, 0, r, H, fc);
        if (sevenStyle_) {
            box(14, f, 16, H - f, InsetLight);
            box(14, f, 14 + T, f + 2, InsetLight);
            box(16, f + 2, T + 12, H - f - 2, fc);
            box(T + 12, f + 2, T + 14, H - f, Grey);
            box(16, H - f - 2, T + 14, H - f, Grey);
        }
    } else {
        box(W - r - 2, 0, W, H, fc);
        box(0, 0, W, f, fc);
        box(0, H - f, W, H, fc);
        box(W - f, 0, W, H, fc);
        box(0, 0, f, H, fc);
        if (sevenStyle_) {
            box(W - 16, f, W - 14, H - f, White);
            box(W - 14 - T, f, W - 14, f + 2, White);
            box(W - T - 12, f + 2, W - 16, H - f - 2, fc);
            box(W - T - 14, f + 2, W - T - 12, H - f, Grey);
            box(W - T - 14, H - f - 2, W - 16, H - f, Grey);
        }
    }
}

} // namespace zarn
