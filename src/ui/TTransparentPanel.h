#pragma once

#include <QLabel>
#include <QPointer>
#include <QRect>
#include <QWidget>

namespace zarn {

// A panel that can look see-through: while it has an Image and Transparent is on, it
// paints, as its own background, exactly the piece of the picture that lies under it.
// Otherwise it paints like a plain panel (its palette's window color).
// The picture control must show its pixmap unscaled at its own top left.
class TTransparentPanel : public QWidget {
    Q_OBJECT
public:
    explicit TTransparentPanel(const QString& objectName, QWidget* parent = nullptr);

    QLabel* Image() const { return image_; }
    void setImage(QLabel* image);
    bool Transparent() const { return transparent_; }
    void setTransparent(bool on);

    // The rectangle of the picture under the panel, in the picture's coordinates,
    // as of the last computation.
    QRect coveredRect() const { return covered_; }

public slots:
    // Runs the panel's click action, as a mouse click or a knob press does.
    void click() { emit clicked(); }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void computeCoveredRect();

    QPointer<QLabel> image_;
    bool transparent_ = false;
    QRect covered_;
    QRect lastGeometry_;
};

} // namespace zarn
