// The menu item's drawing, checked on rendered pictures.
#include "ui/TBMWpanel.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QTest>

using namespace zarn;

namespace {
const QColor Background(0x00, 0x00, 0x40);
const QColor Text(Qt::white);
const QColor Bar(0x7A, 0x8A, 0xE7);
const QColor Focus(0xFF, 0x80, 0x00);

QFont itemFont()
{
    QFont f(QStringLiteral("Arial Narrow"));
    f.setPixelSize(48);
    f.setBold(true);
    return f;
}

// A main menu item with plain colors, ready to render.
struct Item {
    explicit Item(const QString& caption, bool right, QSize size = QSize(400, 81))
        : panel(QStringLiteral("BMWpanel1"))
    {
        panel.resize(size);
        panel.setFont(itemFont());
        panel.setColor(Background);
        panel.setFontColor(Text);
        panel.setBMW_Lightcolor(Bar);
        panel.setBMW_Focuscolor(Focus);
        panel.setBMW_right(right);
        panel.setBMW_supercaption(caption);
    }
    QImage image()
    {
        QImage img(panel.size(), QImage::Format_RGB32);
        panel.render(&img);
        return img;
    }
    // The rectangle the caption is drawn in.
    QRect textRect() const
    {
        const int h = QFontMetrics(panel.font()).height();
        const int r = panel.BMW_rectanglewidth();
        const int left = panel.BMW_right() ? 10 : r + 10;
        const int right = panel.BMW_right() ? panel.width() - r - 2 : panel.width();
        return QRect(left, (panel.height() - h) / 2, right - left, h);
    }
    TBMWpanel panel;
};

bool isText(QRgb c)
{
    // Anti-aliased glyph pixels: clearly lighter than the dark background.
    return qGray(c) > 96;
}

// Columns and rows that hold caption pixels, inside `area`.
QRect inkBounds(const QImage& img, const QRect& area)
{
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (isText(img.pixel(x, y)))
                ink |= QRect(x, y, 1, 1);
    return ink;
}
} // namespace

class TstTBMWpanel : public QObject {
    Q_OBJECT
private slots:
    void sideBarAtItsEdge_data()
    {
        QTest::addColumn<bool>("right");
        QTest::addColumn<int>("barX");
        QTest::addColumn<int>("otherX");
        QTest::addRow("left bar") << false << 10 << 390;
        QTest::addRow("right bar") << true << 390 << 10;
    }
    void sideBarAtItsEdge()
    {
        QFETCH(bool, right);
        QFETCH(int, barX);
        QFETCH(int, otherX);
        Item item(QString(), right);
        const QImage img = item.image();
        QCOMPARE(QColor(img.pixel(barX, 40)), Bar);
        QCOMPARE(QColor(img.pixel(otherX, 40)), Background);
    }

    void focusFrameOnlyWhileHighlighted_data()
    {
        QTest::addColumn<bool>("right");
        QTest::addRow("left bar") << false;
        QTest::addRow("right bar") << true;
    }
    void focusFrameOnlyWhileHighlighted()
    {
        QFETCH(bool, right);
        Item item(QString(), right);
        QCOMPARE(QColor(item.image().pixel(200, 2)), Background);
        item.panel.highlight();
        QVERIFY(item.panel.BMW_highlighted());
        const QImage on = item.image();
        QCOMPARE(QColor(on.pixel(200, 2)), Focus);   // top stripe
        QCOMPARE(QColor(on.pixel(200, 78)), Focus);  // bottom stripe
        QCOMPARE(QColor(on.pixel(right ? 2 : 397, 40)), Focus); // the far edge
        item.panel.lowlight();
        QCOMPARE(QColor(item.image().pixel(200, 2)), Background);
    }

    void doubledAmpersandShowsOne()
    {
        Item item(QStringLiteral("MPG, DivX && DVD"), false);
        const QImage drawn = item.image();

        Item blank(QString(), false);
        QImage expected = blank.image();
        QPainter p(&expected);
        p.setFont(item.panel.font());
        p.setPen(Text);
        p.drawText(item.textRect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, QStringLiteral("MPG, DivX & DVD"));
        p.end();
        QCOMPARE(drawn, expected);
    }

    void rightBarTextStartsAtTen()
    {
        Item item(QStringLiteral("I-Bus Explorer"), true);
        const QImage img = item.image();
        const QRect ink = inkBounds(img, QRect(0, 8, 370, 65));
        QVERIFY(!ink.isEmpty());
        QVERIFY2(ink.left() >= 10 && ink.left() <= 14, qPrintable(QString::number(ink.left())));
    }

    void longCaptionIsClippedNotWrapped()
    {
        Item item(QStringLiteral("Refresh Zarn from MP3 dir and then some more words"), false, QSize(273, 81));
        const QImage img = item.image();
        const QRect band = item.textRect();
        // Nothing above or below the one text line ...
        QVERIFY(inkBounds(img, QRect(21, 0, 252, band.top())).isEmpty());
        QVERIFY(inkBounds(img, QRect(21, band.bottom() + 1, 252, 81 - band.bottom() - 1)).isEmpty());
        // ... and the line runs on to the item's edge.
        QCOMPARE(inkBounds(img, band.intersected(img.rect())).right() >= 268, true);
    }
};

QTEST_MAIN(TstTBMWpanel)
#include "tst_tbmwpanel.moc"
