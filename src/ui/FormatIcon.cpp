#include "ui/FormatIcon.h"

#include <QImage>
#include <QPainter>

namespace zarn {

namespace {
struct Badge {
    const char* text;
    QRgb color;
};

Badge badgeOf(FormatIcon::Format f)
{
    switch (f) {
    case FormatIcon::Format::Mp3:
        return {"MP3", 0xFFE8720C};
    case FormatIcon::Format::Wma:
        return {"WMA", 0xFF2F6FD6};
    case FormatIcon::Format::Ogg:
        return {"OGG", 0xFF3A9A3A};
    case FormatIcon::Format::None:
        break;
    }
    return {nullptr, 0};
}

void drawBadge(QPainter& p, const Badge& b)
{
    const QRectF body(1, 3, FormatIcon::Size - 2, FormatIcon::Size - 6);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(Qt::white), 1.5));
    p.setBrush(QColor::fromRgb(b.color));
    p.drawRoundedRect(body, 5, 5);
    QFont f(QStringLiteral("Arial Narrow"));
    f.setPixelSize(13);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(body, Qt::AlignCenter, QLatin1String(b.text));
}
} // namespace

FormatIcon::FormatIcon(const QString& objectName, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(objectName);
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(Size, Size);
}

void FormatIcon::setFormat(Format format)
{
    if (format_ != format) {
        format_ = format;
        update();
    }
}

QImage FormatIcon::picture(Format format)
{
    const Badge b = badgeOf(format);
    if (!b.text)
        return {};
    QImage image(Size, Size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    drawBadge(p, b);
    return image;
}

void FormatIcon::paintEvent(QPaintEvent*)
{
    const Badge b = badgeOf(format_);
    if (!b.text)
        return;
    QPainter p(this);
    drawBadge(p, b);
}

} // namespace zarn
