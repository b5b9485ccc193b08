#include "ui/CoverImage.h"

#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>

namespace zarn {

CoverImage::CoverImage(const QString& objectName, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(objectName);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CoverImage::setPath(const QString& path)
{
    if (path == path_)
        return;
    path_ = path;
    rebuild();
}

void CoverImage::setDefaultPicture(const QPixmap& picture)
{
    default_ = picture;
    if (showsDefault_)
        rebuild();
}

void CoverImage::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    rebuild();
}

// Reads the file at most at the size it is drawn, so a large photo costs a small
// picture's memory. A file that is missing, not a picture or damaged shows the default.
void CoverImage::rebuild()
{
    QImage image;
    if (!path_.isEmpty()) {
        QImageReader reader(path_);
        reader.setAutoTransform(true);
        const QSize full = reader.size();
        if (full.isValid() && !size().isEmpty()
            && (full.width() > width() || full.height() > height()))
            reader.setScaledSize(full.scaled(size(), Qt::KeepAspectRatio));
        ++loads_;
        image = reader.read();
    }
    showsDefault_ = image.isNull();
    if (showsDefault_)
        image = default_.toImage();
    scaled_ = image.isNull() || size().isEmpty()
        ? QPixmap()
        : QPixmap::fromImage(image.size() == image.size().scaled(size(), Qt::KeepAspectRatio)
                                 ? image
                                 : image.scaled(size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    update();
}

void CoverImage::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    if (scaled_.isNull())
        return;
    const QSize s = scaled_.size();
    p.drawPixmap((width() - s.width()) / 2, (height() - s.height()) / 2, scaled_);
}

void CoverImage::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

} // namespace zarn
