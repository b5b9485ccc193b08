#include "ui/TmKnob.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zarn {

namespace {
constexpr double DegToRad = std::numbers::pi / 180.0;
constexpr int Ticks = 11;
} // namespace

TmKnob::TmKnob(const QString& objectName, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(objectName);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TranslucentBackground);
}

void TmKnob::setPosition(int position)
{
    if (position_ == position)
        return;
    position_ = position;
    update();
}

void TmKnob::setRange(int min, int max)
{
    min_ = min;
    max_ = std::max(min, max);
    update();
}

void TmKnob::setFaceColor(const QColor& c)
{
    face_ = c;
    update();
}

void TmKnob::setBackColor(const QColor& c)
{
    back_ = c;
    update();
}

void TmKnob::setTickColor(const QColor& c)
{
    tick_ = c;
    update();
}

void TmKnob::setRotationEffect(bool on)
{
    rotation_ = on;
    update();
}

double TmKnob::markAngle() const
{
    if (max_ <= min_)
        return -Sweep / 2;
    const double pos = std::clamp<double>(position_, min_, max_);
    const double share = min_ > 0 ? std::log(pos / min_) / std::log(double(max_) / min_)
                                  : (pos - min_) / double(max_ - min_);
    return -Sweep / 2 + share * Sweep;
}

QPointF TmKnob::markCentre() const
{
    const QRectF face = QRectF(rect()).adjusted(6, 6, -6, -6);
    const double r = face.width() * 0.32;
    const double a = markAngle() * DegToRad;
    return {face.center().x() + r * std::sin(a), face.center().y() - r * std::cos(a)};
}

void TmKnob::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF outer = QRectF(rect()).adjusted(1, 1, -1, -1);
    p.setPen(Qt::NoPen);
    p.setBrush(back_);
    p.drawEllipse(outer);
    const QRectF face = QRectF(rect()).adjusted(6, 6, -6, -6);
    p.setBrush(face_);
    p.drawEllipse(face);

    // The tick ring on the face's rim; with the rotation effect it turns with the mark.
    const QPointF c = face.center();
    const double spin = rotation_ ? markAngle() + Sweep / 2 : 0;
    p.setPen(QPen(tick_, 2));
    for (int i = 0; i < Ticks; ++i) {
        const double a = (-Sweep / 2 + i * Sweep / (Ticks - 1) + spin) * DegToRad;
        const double r1 = face.width() / 2 - 1, r2 = face.width() / 2 - 5;
        p.drawLine(QPointF(c.x() + r1 * std::sin(a), c.y() - r1 * std::cos(a)),
                   QPointF(c.x() + r2 * std::sin(a), c.y() - r2 * std::cos(a)));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(tick_);
    p.drawEllipse(markCentre(), 5, 5);
}

} // namespace zarn
