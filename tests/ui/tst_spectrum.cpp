// The spectrum analyser's picture, and the now-playing page that shows it: one frame
// repaints the paint box alone, and a new analyser starts from nothing.
#include "ui/PaintBox.h"
#include "ui/TSpectrum.h"
#include "ui/pages/NowPlayingPage.h"

#include <QApplication>
#include <QPaintEvent>
#include <QTest>

#include <array>

using namespace zarn;

namespace {

using Magnitudes = std::array<float, 512>;

// A column of the picture from the top as runs of colors: "90K 31G 3K" is 90 black
// pixels, 31 green, 3 black; R is red, ? anything else.
QString column(const QImage& image, int x)
{
    const auto letter = [](QRgb c) {
        switch (c & 0xFFFFFF) {
        case 0x000000: return 'K';
        case 0x008000: return 'G';
        case 0xFF0000: return 'R';
        default: return '?';
        }
    };
    QStringList runs;
    char last = 0;
    int n = 0;
    for (int y = 0; y <= image.height(); ++y) {
        const char c = y < image.height() ? letter(image.pixel(x, y)) : 0;
        if (c != last && n > 0) {
            runs << QString::number(n) + QLatin1Char(last);
            n = 0;
        }
        last = c;
        ++n;
    }
    return runs.join(QLatin1Char(' '));
}

// Binary fractions, so x 500 is exact: 31 and 62 pixels.
Magnitudes twoBars()
{
    Magnitudes m{};
    m[5] = 0.0625f;   // bar 0
    m[26] = 0.125f;   // bar 21, the last that shows
    m[27] = 0.125f;   // bar 22, wholly outside
    return m;
}

struct PaintLog : QObject {
    QStringList painted;
    QRegion region; // of all paint events together, in their widgets' coordinates
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Paint) {
            painted << o->objectName();
            region += static_cast<QPaintEvent*>(e)->region();
        }
        return false;
    }
};

} // namespace

class TestSpectrum : public QObject {
    Q_OBJECT
private slots:
    // The page's offsets: bar 0 is cut to its right 8 pixels, bar 21 to its left 4, and
    // every foot stands 3 pixels above the bottom edge.
    void picture_data()
    {
        QTest::addColumn<int>("frame"); // 1: the two bars; 2: one silent frame later
        QTest::addColumn<int>("x");
        QTest::addColumn<QString>("runs");
        QTest::addRow("bar 0 up") << 1 << 0 << "90K 31G 3K";
        QTest::addRow("bar 0 right edge") << 1 << 7 << "90K 31G 3K";
        QTest::addRow("gap after bar 0") << 1 << 8 << "124K";
        QTest::addRow("silent bar 1: its peak at the foot") << 1 << 9 << "121K 1R 2K";
        QTest::addRow("bar 21 at the right edge") << 1 << 392 << "59K 62G 3K";
        QTest::addRow("bar 0 fallen, its peak above") << 2 << 0 << "91K 1R 15K 14G 3K";
        QTest::addRow("bar 21 fallen") << 2 << 392 << "60K 1R 15K 45G 3K";
    }
    void picture()
    {
        QFETCH(int, frame);
        QFETCH(int, x);
        QFETCH(QString, runs);
        TSpectrum s(QSize(393, 124));
        const Magnitudes m = twoBars();
        s.draw(m.data(), int(m.size()), NowPlayingPage::SpectrumX, NowPlayingPage::SpectrumY);
        if (frame == 2) {
            const Magnitudes silent{};
            s.draw(silent.data(), int(silent.size()), NowPlayingPage::SpectrumX, NowPlayingPage::SpectrumY);
        }
        QCOMPARE(s.picture().size(), QSize(393, 124));
        QCOMPARE(column(s.picture(), x), runs);
        QCOMPARE(s.bars().bar(22), frame == 1 ? 62 : 45); // moves unseen
    }

    void pageShowsEachFrameAndRepaintsOnlyThePaintBox()
    {
        NowPlayingPage page;
        page.resize(800, 535);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        const Magnitudes m = twoBars();
        page.drawSpectrum(m.data(), int(m.size())); // no analyser yet: nothing
        QVERIFY(!page.spectrum());

        page.newSpectrum();
        QApplication::processEvents();
        auto* box = page.findChild<PaintBox*>(QStringLiteral("PaintFrame"));
        QVERIFY(box);
        PaintLog paints;
        for (QWidget* w : page.findChildren<QWidget*>())
            w->installEventFilter(&paints);
        page.installEventFilter(&paints);

        page.drawSpectrum(m.data(), int(m.size()));
        QApplication::processEvents();
        QCOMPARE(paints.painted, QStringList{"PaintFrame"});
        QCOMPARE(paints.region, QRegion(box->rect()));
        QCOMPARE(box->grab().toImage().convertToFormat(QImage::Format_RGB32), page.spectrum()->picture());
        QCOMPARE(page.spectrum()->bars().bar(0), 31);

        // The audio output opened again: bars, peaks and picture start from nothing.
        page.newSpectrum();
        QCOMPARE(page.spectrum()->bars().bar(0), 0);
        QCOMPARE(page.spectrum()->bars().peak(21), 0);
        QCOMPARE(column(page.spectrum()->picture(), 0), QStringLiteral("124K"));
        QCOMPARE(box->picture(), &page.spectrum()->picture());
    }
};

QTEST_MAIN(TestSpectrum)
#include "tst_spectrum.moc"
