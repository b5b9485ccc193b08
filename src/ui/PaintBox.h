#pragma once

#include <QWidget>

class QImage;

namespace zarn {

// A control that shows a picture drawn elsewhere at its top left corner, the rest in
// its background (palette Window). It never draws the picture itself, so a repaint is
// one copy. Main thread only.
class PaintBox : public QWidget {
    Q_OBJECT
public:
    explicit PaintBox(const QString& objectName, QWidget* parent = nullptr);

    // Not owned; it must live until it is replaced. Null shows the background only.
    void setPicture(const QImage* picture);
    const QImage* picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const QImage* picture_ = nullptr;
};

} // namespace zarn
