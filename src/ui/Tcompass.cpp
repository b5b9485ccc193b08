#include "ui/Tcompass.h"

#include <QPainter>
#include <QPolygon>

#include <cmath>
#include <numbers>

namespace zarn {

namespace {
constexpr double DegToRad = std::numbers::pi / 180.0;

int truncated(double v)
{
    return std::isfinite(v) && std::abs(v) < 1e9 ? int(std::trunc(v)) : 0;
}
} // namespace

Tcompass::Tcompass(const QString& objectName, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(objectName);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TranslucentBackground);
    resize(184, 184);
}

template <typename T> void Tcompass::store(T& field, const T& value)
{
    if (field == value)
        return;
    field = value;
    update();
}

void Tcompass::setHeading(int degrees) { store(heading_, degrees); }
void Tcompass::setNeedleLength(int px) { store(needleLength_, px); }
void Tcompass::setNeedleWidth(int px) { store(needleWidth_, px); }
void Tcompass::setNeedletype(int type) { store(needleType_, type); }
void Tcompass::setNeedleColor(const QColor& c) { store(needleColor_, c); }
void Tcompass::setNeedleLineColor(const QColor& c) { store(needleLineColor_, c); }
void Tcompass::setNeedleTriangularDistance(int px) { store(triangularDistance_, px); }
void Tcompass::setNeedleTriangularWidth(int px) { store(triangularWidth_, px); }
void Tcompass::setCenterCircleWidth(int px) { store(centerWidth_, px); }
void Tcompass::setCenterCircleColor(const QColor& c) { store(centerColor_, c); }
void Tcompass::setCenterCircleLineColor(const QColor& c) { store(centerLineColor_, c); }
void Tcompass::setCircleLineWidth(int px) { store(circleLineWidth_, px); }

void Tcompass::setNeedleBackEndAngle(int degrees)
{
    backEndAngle_ = degrees;
    update();
}

void Tcompass::setCenterCircleVisible(bool on)
{
    centerVisible_ = on;
    update();
}

void Tcompass::setSize(int px)
{
    resize(px, px);
}

QPoint Tcompass::polar(double rho, double thetaDeg) const
{
    const double a = thetaDeg * DegToRad;
    return {truncated(width() / 2.0 + truncated(rho * std::sin(a))),
            height() - truncated(height() / 2.0 + truncated(rho * std::cos(a)))};
}

QPoint Tcompass::needleTip() const
{
    return polar(needleLength_, heading_);
}

std::pair<QPoint, QPoint> Tcompass::headBase() const
{
    const double d = triangularDistance_;
    const double wt = triangularWidth_;
    const double rho = std::nearbyint(std::sqrt(d * d + wt * wt));
    // A head based at the centre lies across the needle.
    const double alpha = d == 0 ? 90.0 : std::nearbyint(std::atan(wt / d) / DegToRad);
    return {polar(rho, heading_ - alpha), polar(rho, heading_ + alpha)};
}

QRect Tcompass::centerCircle() const
{
    const int l = 4 + truncated((width() - 8 - centerWidth_) / 2.0);
    return QRect(QPoint(l, l), QPoint(width() - l, height() - l));
}

void Tcompass::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect circle = centerCircle();
    const auto drawCircle = [&] {
        if (!centerVisible_)
            return;
        p.setPen(QPen(centerLineColor_, circleLineWidth_));
        p.setBrush(centerColor_);
        p.drawEllipse(QRectF(circle.left(), circle.top(), circle.width() - 1, circle.height() - 1));
    };
    drawCircle();
    const QPoint tip = needleTip();
    p.setPen(QPen(needleLineColor_, needleWidth_));
    p.setBrush(needleColor_);
    p.drawLine(QPoint(width() / 2, height() / 2), tip);
    if (needleType_ == 2) {
        const auto [left, right] = headBase();
        p.drawPolygon(QPolygon({left, right, tip}));
    }
    drawCircle();
}

} // namespace zarn
