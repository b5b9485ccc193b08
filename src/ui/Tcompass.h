#pragma once

#include <QColor>
#include <QPoint>
#include <QWidget>

namespace zarn {

// The compass beside the radar map: a needle from the centre at Heading degrees (0 up,
// clockwise) with a triangular head, and a centre circle over it. Transparent around
// the drawing, so the picture behind it shows. Each setter repaints only when the value
// changes (CenterCircleVisible and NeedleBackEndAngle always). Main thread only.
class Tcompass : public QWidget {
    Q_OBJECT
public:
    explicit Tcompass(const QString& objectName, QWidget* parent = nullptr);

    int Heading() const { return heading_; }
    void setHeading(int degrees);
    int NeedleLength() const { return needleLength_; }
    void setNeedleLength(int px);
    int NeedleWidth() const { return needleWidth_; }
    void setNeedleWidth(int px);
    int Needletype() const { return needleType_; }
    void setNeedletype(int type);
    QColor NeedleColor() const { return needleColor_; }
    void setNeedleColor(const QColor& c);
    QColor NeedleLineColor() const { return needleLineColor_; }
    void setNeedleLineColor(const QColor& c);
    int NeedleTriangularDistance() const { return triangularDistance_; }
    void setNeedleTriangularDistance(int px);
    int NeedleTriangularWidth() const { return triangularWidth_; }
    void setNeedleTriangularWidth(int px);
    int NeedleBackEndAngle() const { return backEndAngle_; }
    void setNeedleBackEndAngle(int degrees);
    bool CenterCircleVisible() const { return centerVisible_; }
    void setCenterCircleVisible(bool on);
    int CenterCircleWidth() const { return centerWidth_; }
    void setCenterCircleWidth(int px);
    QColor CenterCircleColor() const { return centerColor_; }
    void setCenterCircleColor(const QColor& c);
    QColor CenterCircleLineColor() const { return centerLineColor_; }
    void setCenterCircleLineColor(const QColor& c);
    int CircleLineWidth() const { return circleLineWidth_; }
    void setCircleLineWidth(int px);
    void setSize(int px); // width and height together

    // The point at distance rho and angle theta degrees from the centre, as painted.
    QPoint polar(double rho, double thetaDeg) const;
    QPoint needleTip() const;
    // The two base corners of the head (type 2), left then right of the needle.
    std::pair<QPoint, QPoint> headBase() const;
    // The centre circle's bounding box, edges included.
    QRect centerCircle() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    template <typename T> void store(T& field, const T& value);

    int heading_ = 90;
    int needleLength_ = 68;
    int needleWidth_ = 1;
    int needleType_ = 1;
    QColor needleColor_{0xFF, 0x80, 0x40}; // 0x4080FF
    QColor needleLineColor_{0xFF, 0x00, 0x00};
    int triangularDistance_ = 0;
    int triangularWidth_ = 8;
    int backEndAngle_ = 34;
    bool centerVisible_ = true;
    int centerWidth_ = 17;
    QColor centerColor_{0x2D, 0x2D, 0x2D};
    QColor centerLineColor_{0x2D, 0x2D, 0x2D};
    int circleLineWidth_ = 1;
};

} // namespace zarn
