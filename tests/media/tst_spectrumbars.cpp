// The spectrum's bars and peaks on given magnitudes, frame by frame, and on the
// magnitudes of a generated tone through the FFmpeg engine.
#include "media/FfmpegAudioEngine.h"
#include "media/SpectrumBars.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

using namespace zarn;

namespace {

constexpr int Rate = 44100;
constexpr int Bar = 3;     // the bar the frame tables watch
constexpr int BarBin = 8;  // its bin: five are skipped

using Magnitudes = std::array<float, AudioEngine::FftBins>;

// An ogg file of a sine at the centre of this bin of a 1024-point spectrum.
QString makeSine(const QString& dir, int bin, double amplitude)
{
    const QString path = dir + QStringLiteral("/sine%1.ogg").arg(bin);
    const QString one = QStringLiteral("%1*sin(2*PI*%2*t)").arg(amplitude).arg(bin * double(Rate) / 1024.0, 0, 'f', 6);
    QProcess p;
    p.start(QStringLiteral("ffmpeg"), {QStringLiteral("-nostdin"), QStringLiteral("-v"), QStringLiteral("error"),
                                       QStringLiteral("-y"), QStringLiteral("-f"), QStringLiteral("lavfi"),
                                       QStringLiteral("-i"), QStringLiteral("aevalsrc=%1|%1:s=%2:d=1").arg(one).arg(Rate),
                                       QStringLiteral("-c:a"), QStringLiteral("libvorbis"), path});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        qWarning("ffmpeg failed: %s", p.readAllStandardError().constData());
    return path;
}

} // namespace

class TestSpectrumBars : public QObject {
    Q_OBJECT
private slots:
    void framesOfOneBar_data()
    {
        QTest::addColumn<QList<float>>("magnitudes"); // of the watched bar's bin, one per frame
        QTest::addColumn<QList<int>>("bars");         // px after each frame
        QTest::addColumn<QList<int>>("peaks");
        const float nan = std::numeric_limits<float>::quiet_NaN();
        const float inf = std::numeric_limits<float>::infinity();

        QTest::addRow("rises at once") << QList<float>{0.1f, 0.15f} << QList<int>{50, 75} << QList<int>{50, 75};
        QTest::addRow("equal level holds") << QList<float>{0.1f, 0.1f} << QList<int>{50, 50} << QList<int>{50, 50};
        QTest::addRow("bar falls 17, peak 1 a frame")
            << QList<float>{0.1f, 0, 0, 0} << QList<int>{50, 33, 16, 0} << QList<int>{50, 49, 48, 47};
        QTest::addRow("falls stop at 0")
            << QList<float>{0.0101f, 0, 0} << QList<int>{5, 0, 0} << QList<int>{5, 4, 3};
        // A quieter level does not cut the bar short: it falls through it and rises again.
        QTest::addRow("falls towards a lower level")
            << QList<float>{0.2f, 0.1f, 0.1f, 0.1f, 0.1f} << QList<int>{100, 83, 66, 49, 50}
            << QList<int>{100, 99, 98, 97, 96};
        QTest::addRow("clipped at the height") << QList<float>{0.5f, 1e9f} << QList<int>{100, 100} << QList<int>{100, 100};
        QTest::addRow("truncated, not rounded") << QList<float>{0.0039f, 0.00199f} << QList<int>{1, 0} << QList<int>{1, 0};
        QTest::addRow("the size of a negative value") << QList<float>{-0.1f} << QList<int>{50} << QList<int>{50};
        QTest::addRow("not a number is silence") << QList<float>{0.1f, nan} << QList<int>{50, 33} << QList<int>{50, 49};
        QTest::addRow("infinity is full height") << QList<float>{inf} << QList<int>{100} << QList<int>{100};
    }
    void framesOfOneBar()
    {
        QFETCH(QList<float>, magnitudes);
        QFETCH(QList<int>, bars);
        QFETCH(QList<int>, peaks);
        SpectrumBars s;
        Magnitudes m{};
        QList<int> gotBars, gotPeaks;
        for (float v : magnitudes) {
            m[BarBin] = v;
            s.update(m.data(), int(m.size()));
            gotBars << s.bar(Bar);
            gotPeaks << s.peak(Bar);
            QCOMPARE(s.bar(Bar - 1), 0); // the neighbours see their own bins only
            QCOMPARE(s.bar(Bar + 1), 0);
        }
        QCOMPARE(gotBars, bars);
        QCOMPARE(gotPeaks, peaks);
    }

    // Bins 0 to 4 never show; bar i reads bin i + 5, the last bar bin 133.
    void binsOfTheBars()
    {
        Magnitudes m{};
        std::fill(m.begin(), m.begin() + 5, 1.0f);
        m[5] = 0.03125f; // binary fractions: x 500 is exact
        m[30] = 0.0625f;
        m[133] = 0.125f;
        m[134] = 1.0f;
        SpectrumBars s;
        s.update(m.data(), int(m.size()));
        std::vector<int> bars;
        for (int i = 0; i < SpectrumBars::Count; ++i)
            bars.push_back(s.bar(i));
        std::vector<int> expected(SpectrumBars::Count, 0);
        expected[0] = 15;
        expected[25] = 31;
        expected[128] = 62;
        QCOMPARE(bars, expected);

        // A short spectrum: the bars past its end read silence, not past the buffer.
        SpectrumBars shortOne;
        shortOne.update(m.data(), 31);
        QCOMPARE(shortOne.bar(25), 31);
        QCOMPARE(shortOne.bar(128), 0);
    }

    // A tone at the centre of bin 15 through the engine: bar 10 stands out at its
    // amplitude x 500, the bars two bins away and further stay near the floor.
    void sineStandsAtItsBar()
    {
        QTemporaryDir dir;
        const QString path = makeSine(dir.path(), 15, 0.1);
        FfmpegAudioEngine engine;
        QVERIFY(engine.init(AudioEngine::DeviceNoSound, Rate, 0));
        const auto h = engine.streamCreateFile(path, 0, 0, AudioEngine::SampleLoop);
        QVERIFY(h != 0);
        QVERIFY(engine.channelPlay(h, false));
        std::vector<float> out(8192 * 2);
        QVERIFY(engine.renderOffline(out.data(), 8192));
        Magnitudes m{};
        QCOMPARE(engine.channelGetData(h, m.data(), AudioEngine::DataFft1024), qint64(sizeof m));

        SpectrumBars s;
        s.update(m.data(), int(m.size()));
        QVERIFY2(s.bar(10) >= 45 && s.bar(10) <= 55, qPrintable(QString::number(s.bar(10))));
        QCOMPARE(s.peak(10), s.bar(10));
        for (int i = 0; i < SpectrumBars::Count; ++i)
            if (std::abs(i - 10) >= 2)
                QVERIFY2(s.bar(i) <= 2, qPrintable(QStringLiteral("bar %1: %2").arg(i).arg(s.bar(i))));
        engine.streamFree(h);
    }
};

QTEST_GUILESS_MAIN(TestSpectrumBars)
#include "tst_spectrumbars.moc"
