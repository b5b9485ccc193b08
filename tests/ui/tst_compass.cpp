// The compass and the knob picture of the radar page: needle points, the drawing at
// them, and repaints only on a change.
#include "ui/TmKnob.h"
#include "ui/Tcompass.h"

#include <QEvent>
#include <QImage>
#include <QTest>

using namespace zarn;

namespace {
// The page's compass1.
void pageValues(Tcompass& c)
{
    c.setSize(252);
    c.setNeedleLength(120);
    c.setNeedleWidth(8);
    c.setNeedletype(2);
    c.setNeedleColor(Qt::red);
    c.setNeedleLineColor(Qt::red);
    c.setNeedleTriangularDistance(89);
    c.setNeedleTriangularWidth(23);
    c.setNeedleBackEndAngle(2);
    c.setCenterCircleWidth(15);
    c.setCenterCircleColor(QColor(0x3A, 0x3A, 0x3A));
    c.setCenterCircleLineColor(Qt::gray);
    c.setCircleLineWidth(2);
}

QImage drawn(Tcompass& c)
{
    QImage img(c.size(), QImage::Format_RGB32);
    img.fill(Qt::black);
    c.render(&img, QPoint(), QRegion(), QWidget::RenderFlags());
    return img;
}

struct PaintCount : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        paints += e->type() == QEvent::Paint;
        return false;
    }
};
} // namespace

class TestCompass : public QObject {
    Q_OBJECT
private slots:
    void defaults()
    {
        Tcompass c(QStringLiteral("c"));
        QCOMPARE(c.size(), QSize(184, 184));
        QCOMPARE(c.Heading(), 90);
        QCOMPARE(c.NeedleLength(), 68);
        QCOMPARE(c.Needletype(), 1);
        QCOMPARE(c.CenterCircleWidth(), 17);
        QCOMPARE(c.NeedleColor(), QColor(0xFF, 0x80, 0x40));
        QCOMPARE(c.NeedleBackEndAngle(), 34);
    }

    void needlePoints_data()
    {
        QTest::addColumn<int>("heading");
        QTest::addColumn<QPoint>("tip");
        QTest::addColumn<QPoint>("left");
        QTest::addColumn<QPoint>("right");
        // Base corners 92 pixels out at +-14 degrees.
        QTest::newRow("ahead") << 0 << QPoint(126, 6) << QPoint(104, 37) << QPoint(148, 37);
        QTest::newRow("right") << 90 << QPoint(246, 126) << QPoint(215, 104) << QPoint(215, 148);
        QTest::newRow("behind") << 180 << QPoint(126, 246) << QPoint(148, 215) << QPoint(104, 215);
        QTest::newRow("ahead left") << 340 << QPoint(85, 14) << QPoint(75, 50) << QPoint(117, 35);
    }
    void needlePoints()
    {
        QFETCH(int, heading);
        QFETCH(QPoint, tip);
        QFETCH(QPoint, left);
        QFETCH(QPoint, right);
        Tcompass c(QStringLiteral("compass1"));
        pageValues(c);
        c.setHeading(heading);
        QCOMPARE(c.needleTip(), tip);
        QCOMPARE(c.headBase().first, left);
        QCOMPARE(c.headBase().second, right);
        QCOMPARE(c.centerCircle(), QRect(QPoint(118, 118), QPoint(134, 134)));

        const QImage img = drawn(c);
        // The needle halfway out and inside the head are red; the centre circle lies over it.
        const QPoint centre(126, 126);
        const QPoint half = centre + (tip - centre) * 0.6;
        QCOMPARE(img.pixelColor(half), QColor(Qt::red));
        const QPoint inHead = (left + right + tip) / 3;
        QCOMPARE(img.pixelColor(inHead), QColor(Qt::red));
        QCOMPARE(img.pixelColor(centre), QColor(0x3A, 0x3A, 0x3A));
        // The opposite side stays as it was.
        QCOMPARE(img.pixelColor(centre - (tip - centre) / 2), QColor(Qt::black));
    }

    void repaintsOnlyOnAChange()
    {
        Tcompass c(QStringLiteral("compass1"));
        pageValues(c);
        c.show();
        QVERIFY(QTest::qWaitForWindowExposed(&c));
        QCoreApplication::processEvents();
        PaintCount count;
        c.installEventFilter(&count);
        c.setHeading(c.Heading());
        c.setNeedleLength(120);
        QCoreApplication::processEvents();
        QCOMPARE(count.paints, 0);
        c.setHeading(45);
        QTRY_COMPARE(count.paints, 1);
        c.setCenterCircleVisible(true); // repaints even unchanged
        QTRY_COMPARE(count.paints, 2);
    }

    void knobMarkFollowsPosition_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<double>("angle");
        QTest::newRow("min") << 1 << -135.0;
        QTest::newRow("max") << 1000 << 135.0;
        QTest::newRow("middle of the log range") << 31 << -135.0 + 270.0 * std::log(31.0) / std::log(1000.0);
        QTest::newRow("below min clamps") << 0 << -135.0;
    }
    void knobMarkFollowsPosition()
    {
        QFETCH(int, position);
        QFETCH(double, angle);
        TmKnob k(QStringLiteral("mKnob1"));
        k.resize(67, 67);
        k.setRange(1, 1000);
        k.setPosition(position);
        QVERIFY(std::abs(k.markAngle() - angle) < 1e-9);
        // The mark sits on its angle from the centre.
        const QPointF d = k.markCentre() - QPointF(33.5, 33.5);
        const double drawnAngle = std::atan2(d.x(), -d.y()) * 180.0 / M_PI;
        QVERIFY2(std::abs(drawnAngle - angle) < 1e-6, qPrintable(QString::number(drawnAngle)));
    }
};

QTEST_MAIN(TestCompass)
#include "tst_compass.moc"
