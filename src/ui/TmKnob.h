#pragma once

#include <QColor>
#include <QPointF>
#include <QWidget>

namespace zarn {

// A round knob picture whose mark turns with Position between Min and Max over 270
// degrees, Min at the lower left. With a positive Min the turn is logarithmic, so a
// range like 1 to 1000 km spreads its steps evenly. RotationEffect turns the tick ring
// with the mark. MarkStyle is a circle (the only style in use). Main thread only.
class TmKnob : public QWidget {
    Q_OBJECT
public:
    static constexpr double Sweep = 270.0;

    explicit TmKnob(const QString& objectName, QWidget* parent = nullptr);

    int Position() const { return position_; }
    void setPosition(int position); // repaints only on a change
    int Min() const { return min_; }
    int Max() const { return max_; }
    void setRange(int min, int max);
    QColor FaceColor() const { return face_; }
    void setFaceColor(const QColor& c);
    QColor BackColor() const { return back_; }
    void setBackColor(const QColor& c);
    QColor TickColor() const { return tick_; }
    void setTickColor(const QColor& c);
    bool RotationEffect() const { return rotation_; }
    void setRotationEffect(bool on);

    // The mark's angle in degrees, 0 up and clockwise: -135 at Min, +135 at Max.
    double markAngle() const;
    // The centre of the mark circle in the control.
    QPointF markCentre() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int position_ = 1;
    int min_ = 1;
    int max_ = 1000;
    QColor face_{0xFF, 0x80, 0x00};
    QColor back_{Qt::black};
    QColor tick_{Qt::black};
    bool rotation_ = true;
};

} // namespace zarn
