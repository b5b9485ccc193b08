#include "ui/SymbolGlyphs.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

namespace zarn::SymbolGlyphs {

namespace {
enum class Arrow { Left, Right, Up, Down, Back, Close, None };

Arrow arrowOf(const QString& family, QChar c)
{
    if (family.compare(QLatin1String("bmw"), Qt::CaseInsensitive) == 0) {
        switch (c.toUpper().unicode()) {
        case 'A': return Arrow::Back;
        case 'B': return Arrow::Up;
        case 'C': return Arrow::Close;
        default: return Arrow::None;
        }
    }
    switch (c.unicode()) {
    case 0xD9: return Arrow::Left;
    case 0xDA: return Arrow::Right;
    case 0xDB: return Arrow::Up;
    case 0xDC: return Arrow::Down;
    default: return Arrow::None;
    }
}

void drawOne(QPainter& p, const QRectF& r, Arrow arrow)
{
    const QPointF c = r.center();
    const qreal s = std::min(r.width(), r.height()) / 2.0;
    QPainterPath path;
    switch (arrow) {
    case Arrow::Left:
        path.addPolygon(QPolygonF{{c.x() - s, c.y()}, {c.x() + s * 0.7, c.y() - s * 0.8}, {c.x() + s * 0.7, c.y() + s * 0.8}});
        break;
    case Arrow::Right:
        path.addPolygon(QPolygonF{{c.x() + s, c.y()}, {c.x() - s * 0.7, c.y() - s * 0.8}, {c.x() - s * 0.7, c.y() + s * 0.8}});
        break;
    case Arrow::Up:
        path.addPolygon(QPolygonF{{c.x(), c.y() - s}, {c.x() - s * 0.8, c.y() + s * 0.7}, {c.x() + s * 0.8, c.y() + s * 0.7}});
        break;
    case Arrow::Down:
        path.addPolygon(QPolygonF{{c.x(), c.y() + s}, {c.x() - s * 0.8, c.y() - s * 0.7}, {c.x() + s * 0.8, c.y() - s * 0.7}});
        break;
    case Arrow::Back: {
        // A bent arrow pointing left: "back".
        const qreal w = s * 0.28;
        path.moveTo(c.x() - s, c.y() - s * 0.25);
        path.lineTo(c.x() - s * 0.35, c.y() - s * 0.85);
        path.lineTo(c.x() - s * 0.35, c.y() - s * 0.25 - w);
        path.lineTo(c.x() + s * 0.55, c.y() - s * 0.25 - w);
        path.quadTo(c.x() + s, c.y() - s * 0.25 - w, c.x() + s, c.y() + s * 0.3);
        path.lineTo(c.x() + s, c.y() + s * 0.85);
        path.lineTo(c.x() + s - 2 * w, c.y() + s * 0.85);
        path.lineTo(c.x() + s - 2 * w, c.y() + s * 0.3);
        path.quadTo(c.x() + s - 2 * w, c.y() - s * 0.25 + w, c.x() + s * 0.55 - w, c.y() - s * 0.25 + w);
        path.lineTo(c.x() - s * 0.35, c.y() - s * 0.25 + w);
        path.lineTo(c.x() - s * 0.35, c.y() + s * 0.35);
        path.closeSubpath();
        break;
    }
    case Arrow::Close: {
        const qreal w = s * 0.2;
        QPainterPath bar;
        bar.addRect(QRectF(-s, -w, 2 * s, 2 * w));
        QTransform t;
        t.translate(c.x(), c.y());
        t.rotate(45);
        path.addPath(t.map(bar));
        t.rotate(90);
        path = path.united(t.map(bar));
        break;
    }
    case Arrow::None: return;
    }
    p.drawPath(path);
}
} // namespace

bool isSymbolFont(const QString& family)
{
    return family.compare(QLatin1String("bmw"), Qt::CaseInsensitive) == 0
        || family.compare(QLatin1String("Wingdings 3"), Qt::CaseInsensitive) == 0;
}

void draw(QPainter& painter, const QRectF& rect, const QString& family, const QString& caption, const QColor& color)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    const qreal cell = rect.height();
    // Letters without a symbol ("A yes", "A no") are written in a plain font.
    QFont text(QStringLiteral("Arial"));
    text.setPixelSize(std::max(1, int(cell * 0.6)));
    text.setBold(true);
    const QFontMetricsF fm(text);
    qreal x = rect.left();
    for (QChar c : caption) {
        const Arrow arrow = arrowOf(family, c);
        if (arrow == Arrow::None && c != QLatin1Char(' ')) {
            painter.setFont(text);
            painter.setPen(color);
            painter.drawText(QPointF(x, rect.top() + (cell + fm.capHeight()) / 2), QString(c));
            painter.setPen(Qt::NoPen);
            x += fm.horizontalAdvance(c);
            continue;
        }
        drawOne(painter, QRectF(x + cell * 0.1, rect.top() + cell * 0.1, cell * 0.8, cell * 0.8), arrow);
        x += c == QLatin1Char(' ') ? cell * 0.4 : cell;
    }
    painter.restore();
}

} // namespace zarn::SymbolGlyphs
