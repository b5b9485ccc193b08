#pragma once

#include <QPixmap>
#include <QWidget>

namespace zarn {

// The cover picture of the now-playing page: the file at a path, drawn to fit the
// control with its proportions kept, or the default picture when the path is empty or
// the file cannot be read. Setting the path it already shows reads nothing. A click
// emits clicked(). Background from the palette (Window). Main thread only.
class CoverImage : public QWidget {
    Q_OBJECT
public:
    explicit CoverImage(const QString& objectName, QWidget* parent = nullptr);

    const QString& path() const { return path_; }
    void setPath(const QString& path);
    void setDefaultPicture(const QPixmap& picture);
    // True while the default picture stands in (no path, or an unreadable file).
    bool showsDefault() const { return showsDefault_; }
    // How often a file was read, for the cache's tests and the benchmark.
    int loads() const { return loads_; }
    // The picture as drawn now (scaled to the control).
    const QPixmap& shown() const { return scaled_; }

public slots:
    void click() { emit clicked(); }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void rebuild();

    QString path_;
    QPixmap default_;
    QPixmap scaled_;
    bool showsDefault_ = true;
    int loads_ = 0;
};

} // namespace zarn
