#include "ui/DisplayGamma.h"

#include <QTest>

using namespace zarn;

class TstColorScheme : public QObject {
    Q_OBJECT
private slots:
    void gammaRampAtTheEnds();
    void gammaRampLevels_data();
    void gammaRampLevels();
    void gammaRampIsMonotoneAndKeepsFullWhite();
};

void TstColorScheme::gammaRampAtTheEnds()
{
    const GammaRamp identity = gammaRamp(100);
    for (int i = 0; i < 256; ++i)
        QCOMPARE(int(identity[std::size_t(i)]), i * 256);

    const GammaRamp black = gammaRamp(0);
    for (int i = 0; i < 255; ++i)
        QCOMPARE(int(black[std::size_t(i)]), 0);
    QCOMPARE(int(black[255]), 255 * 256);
}

void TstColorScheme::gammaRampLevels_data()
{
    // Expected values computed on their own: 255 * (1 - (1 - i/255)^(p/100)), rounded, x 256.
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("entry");
    QTest::addRow("p 200, level 1 (1.996)") << 200 << 1 << 2 * 256;
    QTest::addRow("p 200, level 128 (191.749)") << 200 << 128 << 192 * 256;
    QTest::addRow("p 200, level 254 (254.996)") << 200 << 254 << 255 * 256;
    QTest::addRow("p 300, level 1 (2.988)") << 300 << 1 << 3 * 256;
    QTest::addRow("p 50, level 1 (0.5005, just above a half)") << 50 << 1 << 1 * 256;
    QTest::addRow("p 50, level 128 (75.042)") << 50 << 128 << 75 * 256;
    QTest::addRow("p 10, level 1 (0.100)") << 10 << 1 << 0;
    QTest::addRow("p 10, level 254 (108.484)") << 10 << 254 << 108 * 256;
}

void TstColorScheme::gammaRampLevels()
{
    QFETCH(int, position);
    QFETCH(int, level);
    QFETCH(int, entry);
    QCOMPARE(int(gammaRamp(position)[std::size_t(level)]), entry);
}

void TstColorScheme::gammaRampIsMonotoneAndKeepsFullWhite()
{
    for (int p = 0; p <= 300; p += 10) {
        const GammaRamp ramp = gammaRamp(p);
        QCOMPARE(int(ramp[255]), 65280);
        QCOMPARE(int(ramp[0]), 0);
        for (int i = 1; i < 256; ++i)
            QVERIFY2(ramp[std::size_t(i)] >= ramp[std::size_t(i - 1)], qPrintable(QString("p %1 level %2").arg(p).arg(i)));
    }
}

QTEST_MAIN(TstColorScheme)
#include "tst_colorscheme.moc"
