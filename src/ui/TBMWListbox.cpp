#include "ui/TBMWListbox.h"

#include "media/MusicListModel.h"
#include "ui/ColorRoles.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

namespace zarn {

namespace {

// Left, top, right, bottom; right and bottom exclusive.
void fill(QPainter& p, int l, int t, int r, int b, const QColor& c)
{
    if (r > l && b > t)
        p.fillRect(QRect(l, t, r - l, b - t), c);
}

// The entry that stands for the end of a list draws no text.
const QLatin1String EndMarker("gthatsallfolks");

} // namespace

TBMWListbox::TBMWListbox(const QString& objectName, Preset preset, QWidget* parent)
    : QAbstractScrollArea(parent)
{
    setObjectName(objectName);
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setAutoFillBackground(false);
    QFont f(QStringLiteral("Arial Narrow"));
    if (preset == Preset::Movie) {
        background_ = 0x080808;
        text_ = 0x000000;
        bar_ = 0xC08000;
        highlight_ = 0x4080FF;
        itemHeight_ = 36;
        f.setPixelSize(31);
    } else {
        f.setPixelSize(33);
    }
    setFont(f);
}

void TBMWListbox::setModel(MusicListModel* model)
{
    if (model_)
        disconnect(model_, nullptr, this, nullptr);
    model_ = model;
    if (model_) {
        connect(model_, &MusicListModel::changed, this, &TBMWListbox::modelChanged);
        connect(model_, &MusicListModel::highlightChanged, this, &TBMWListbox::highlightMoved);
    }
    modelChanged();
}

void TBMWListbox::setClschwarz(quint32 bgr)
{
    background_ = bgr;
    viewport()->update();
}

void TBMWListbox::setClSimpletext(quint32 bgr)
{
    text_ = bgr;
    viewport()->update();
}

void TBMWListbox::setClhellblau(quint32 bgr)
{
    bar_ = bgr;
    viewport()->update();
}

void TBMWListbox::setClOrangina(quint32 bgr)
{
    highlight_ = bgr;
    viewport()->update();
}

void TBMWListbox::setBarwidth(int px)
{
    barWidth_ = px;
    viewport()->update();
}

void TBMWListbox::setItemHeight(int px)
{
    itemHeight_ = qMax(1, px);
    updateScrollRange();
    viewport()->update();
}

int TBMWListbox::visibleRows() const
{
    return qMax(1, viewport()->height() / itemHeight_);
}

QRect TBMWListbox::itemRect(int index) const
{
    const int count = model_ ? model_->count() : 0;
    if (index < top_ || index >= count)
        return {};
    const QRect r(0, (index - top_) * itemHeight_, viewport()->width(), itemHeight_);
    return r.top() < viewport()->height() ? r : QRect();
}

int TBMWListbox::indexAt(const QPoint& pos) const
{
    if (!model_ || pos.y() < 0)
        return -1;
    const int index = top_ + pos.y() / itemHeight_;
    return index < model_->count() ? index : -1;
}

void TBMWListbox::setTopIndex(int index)
{
    updateScrollRange();
    verticalScrollBar()->setValue(index); // clamped to the range; scrollContentsBy follows
    top_ = verticalScrollBar()->value();
}

void TBMWListbox::updateScrollRange()
{
    const int count = model_ ? model_->count() : 0;
    QScrollBar* bar = verticalScrollBar();
    bar->setPageStep(visibleRows());
    bar->setSingleStep(1);
    bar->setRange(0, qMax(0, count - visibleRows()));
}

void TBMWListbox::modelChanged()
{
    // A new list starts at its top.
    top_ = 0;
    updateScrollRange();
    verticalScrollBar()->setValue(0);
    painted_ = model_ ? model_->highlighted() : -1;
    ensureVisible(painted_);
    viewport()->update();
}

void TBMWListbox::highlightMoved()
{
    const int now = model_ ? model_->highlighted() : -1;
    const int before = painted_;
    painted_ = now;
    const int oldTop = top_;
    ensureVisible(now);
    if (top_ != oldTop)
        return; // scrolled: the whole view is repainted
    for (int index : {before, now})
        if (const QRect r = itemRect(index); !r.isEmpty())
            viewport()->update(r);
}

void TBMWListbox::ensureVisible(int index)
{
    if (index < 0)
        return;
    int top = top_;
    if (index < top)
        top = index;
    else if (index >= top + visibleRows())
        top = index - visibleRows() + 1;
    if (top != top_)
        setTopIndex(top);
}

void TBMWListbox::scrollContentsBy(int, int)
{
    top_ = verticalScrollBar()->value();
    viewport()->update();
}

void TBMWListbox::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
    ensureVisible(painted_);
}

void TBMWListbox::paintEvent(QPaintEvent* event)
{
    QPainter p(viewport());
    p.setFont(font());
    const QRect dirty = event->rect();
    const int count = model_ ? model_->count() : 0;
    const int highlighted = model_ ? model_->highlighted() : -1;
    int y = 0;
    for (int index = top_; index < count && y < viewport()->height(); ++index, y += itemHeight_) {
        const QRect r(0, y, viewport()->width(), itemHeight_);
        if (r.intersects(dirty))
            drawEntry(p, index, r, index == highlighted);
    }
    if (y < viewport()->height())
        p.fillRect(QRect(0, y, viewport()->width(), viewport()->height() - y), fromBgr(background_));
}

void TBMWListbox::drawEntry(QPainter& p, int index, const QRect& rect, bool highlighted) const
{
    const int L = rect.left(), T = rect.top(), R = rect.left() + rect.width(), B = rect.top() + rect.height();
    const int W = barWidth_;
    const QColor white(0xFF, 0xFF, 0xFF), gray(0x80, 0x80, 0x80);
    const QColor bar = fromBgr(bar_);
    fill(p, L, T, R, B, fromBgr(background_));
    fill(p, qMax(0, L - 23), T, L + 2, B, white);
    // Left bar.
    fill(p, L + 2, T + 2, L + W, B - 1, bar);
    fill(p, L, T, L + W, T + 2, white);
    fill(p, L + W, T, L + W + 2, B, gray);
    // Text; the right bar drawn next covers what runs into it.
    const QString& text = model_->entries()[index].text;
    if (text != EndMarker) {
        p.setPen(fromBgr(highlighted ? highlight_ : text_));
        p.drawText(QRect(L + W + 10, T - 1, qMax(0, R - (L + W + 10)), B - T + 1),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    }
    // Right bar.
    fill(p, R - W - 2, T, R - W, B - 1, white);
    fill(p, R - W, T, R, T + 2, white);
    fill(p, R - W, T + 2, R, B - 1, bar);
    fill(p, R - 2, T, R, B, gray);
    if (highlighted) {
        const QColor h = fromBgr(highlight_);
        fill(p, qMax(0, L - 2), T, L + W + 4, B, h);
        fill(p, L, T, R, T + 5, h);
        fill(p, L, B - 5, R, B, h);
        fill(p, R - W - 4, T, R, B, h);
    }
}

void TBMWListbox::mousePressEvent(QMouseEvent* event)
{
    pressed_ = -1;
    if (event->button() != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    pressed_ = indexAt(event->position().toPoint());
    if (model_ && pressed_ >= 0)
        model_->setHighlighted(pressed_);
}

void TBMWListbox::mouseReleaseEvent(QMouseEvent* event)
{
    const int pressed = std::exchange(pressed_, -1);
    if (event->button() == Qt::LeftButton && pressed >= 0 && indexAt(event->position().toPoint()) == pressed)
        emit clicked();
}

void TBMWListbox::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    emit entered();
}

} // namespace zarn
