#include "ui/TextScroller.h"

#include <QEvent>
#include <QPainter>

#include <algorithm>

namespace zarn {

TextScroller::TextScroller(const QString& objectName, QWidget* parent)
    : QWidget(parent)
    , timer_(objectName + QStringLiteral("Timer"), this)
{
    setObjectName(objectName);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&timer_, &Timer::timeout, this, &TextScroller::step);
}

void TextScroller::setText(const QString& text)
{
    if (text == text_)
        return;
    text_ = text;
    textWidth_ = fontMetrics().horizontalAdvance(text_);
    offset_ = 0;
    update();
}

void TextScroller::setScrolling(bool on)
{
    timer_.setInterval(on ? TickMs : 0);
}

// A short text leaves at the left before it enters again at the right; a long one
// is followed after the gap.
int TextScroller::cycle() const
{
    return std::max(textWidth_ + GapPx, width());
}

void TextScroller::step()
{
    if (text_.isEmpty())
        return;
    offset_ = (offset_ + StepPx) % cycle();
    update();
}

void TextScroller::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        textWidth_ = fontMetrics().horizontalAdvance(text_);
        offset_ %= cycle();
    }
}

void TextScroller::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    if (text_.isEmpty())
        return;
    p.setPen(palette().color(QPalette::WindowText));
    p.setFont(font());
    const int baseline = (height() + fontMetrics().ascent() - fontMetrics().descent()) / 2;
    // The copy behind the gap fills the place the first one leaves.
    for (int x = -offset_; x < width(); x += cycle())
        p.drawText(x, baseline, text_);
}

} // namespace zarn
