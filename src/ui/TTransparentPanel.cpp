#include "ui/TTransparentPanel.h"

#include <QPainter>
#include <QPixmap>

namespace zarn {

TTransparentPanel::TTransparentPanel(const QString& objectName, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(objectName);
}

void TTransparentPanel::setImage(QLabel* image)
{
    if (image_ == image)
        return;
    image_ = image;
    computeCoveredRect();
    update();
}

void TTransparentPanel::setTransparent(bool on)
{
    if (transparent_ == on)
        return;
    transparent_ = on;
    computeCoveredRect();
    update();
}

void TTransparentPanel::computeCoveredRect()
{
    lastGeometry_ = geometry();
    if (!image_) {
        covered_ = QRect();
        return;
    }
    // Through screen coordinates, so the picture need not share the panel's parent.
    const QPoint screen = mapToGlobal(QPoint(0, 0));
    QWidget* pictureParent = image_->parentWidget();
    const QPoint inParent = pictureParent ? pictureParent->mapFromGlobal(screen) : screen;
    covered_ = QRect(inParent - image_->pos(), size());
}

void TTransparentPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QPixmap picture = (transparent_ && image_) ? image_->pixmap() : QPixmap();
    if (!transparent_ || !image_) {
        p.fillRect(rect(), palette().window());
        return;
    }
    if (geometry() != lastGeometry_)
        computeCoveredRect();
    // Where the panel reaches past the picture, the plain panel shows.
    const QRect source = covered_.intersected(picture.rect());
    if (source != covered_)
        p.fillRect(rect(), palette().window());
    if (!source.isEmpty())
        p.drawPixmap(source.translated(-covered_.topLeft()), picture, source);
}

} // namespace zarn
