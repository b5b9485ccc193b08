#pragma once

#include "media/NowPlayingView.h"

#include <QWidget>

namespace zarn {

// The 32 by 32 picture of a music file's format: an MP3, WMA or OGG badge drawn by the
// program, nothing for any other kind. Main thread only.
class FormatIcon : public QWidget {
    Q_OBJECT
public:
    using Format = NowPlayingView::Format;
    static constexpr int Size = 32;

    explicit FormatIcon(const QString& objectName, QWidget* parent = nullptr);

    Format format() const { return format_; }
    void setFormat(Format format);

    // The badge alone, transparent around it; null for None.
    static QImage picture(Format format);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Format format_ = Format::None;
};

} // namespace zarn
