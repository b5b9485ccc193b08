#include "media/EqualizerBand.h"
#include "media/Reverb.h"
#include "media/SampleEffects.h"

#include <QRandomGenerator>
#include <QTest>

#include <cmath>
#include <cstring>
#include <vector>

using namespace zarn;

namespace {

constexpr double Rate = 44100;

std::vector<float> sine(double hz, int frames, double amplitude = 0.25)
{
    std::vector<float> v(size_t(frames) * 2);
    for (int i = 0; i < frames; ++i)
        v[size_t(i) * 2] = v[size_t(i) * 2 + 1] = float(amplitude * std::sin(2 * M_PI * hz * i / Rate));
    return v;
}

// RMS of one channel over frames [from, to).
double rms(const std::vector<float>& v, int from, int to, int ch = 0)
{
    double sum = 0;
    for (int i = from; i < to; ++i)
        sum += double(v[size_t(i) * 2 + ch]) * v[size_t(i) * 2 + ch];
    return std::sqrt(sum / (to - from));
}

double db(double ratio) { return 20 * std::log10(ratio); }

// Level change of a tone through one band, measured once the filter has settled.
double bandGain(double centre, double gain, double toneHz)
{
    EqualizerBand band(Rate);
    band.setParameters(centre, 18, gain);
    const int frames = int(Rate);
    std::vector<float> v = sine(toneHz, frames);
    const double before = rms(v, frames / 2, frames);
    for (int at = 0; at < frames; at += 1024)
        band.process(v.data() + at * 2, std::min(1024, frames - at));
    return db(rms(v, frames / 2, frames) / before);
}

std::vector<float> noise(int frames)
{
    std::vector<float> v(size_t(frames) * 2);
    QRandomGenerator g(7);
    for (float& x : v)
        x = float(g.generateDouble() - 0.5);
    return v;
}

} // namespace

class TestSoundEffects : public QObject {
    Q_OBJECT

private slots:
    void bandGainsItsDecibelsAtTheCentre_data()
    {
        QTest::addColumn<double>("centre");
        QTest::addColumn<double>("gain");
        const double centres[] = {80, 600, 1000, 2000, 4000, 8000};
        const double gains[] = {15, -15, 6.5, 0};
        for (double c : centres)
            for (double g : gains)
                QTest::addRow("%g Hz, %g dB", c, g) << c << g;
    }
    void bandGainsItsDecibelsAtTheCentre()
    {
        QFETCH(double, centre);
        QFETCH(double, gain);
        const double got = bandGain(centre, gain, centre);
        QVERIFY2(std::abs(got - gain) < 0.5, qPrintable(QString::number(got)));
    }

    // Three octaves and more away from the centre a full boost is barely heard.
    void bandLeavesOtherFrequenciesAlone_data()
    {
        QTest::addColumn<double>("centre");
        QTest::addColumn<double>("tone");
        QTest::addRow("80 Hz band, 2 kHz tone") << 80.0 << 2000.0;
        QTest::addRow("600 Hz band, 8 kHz tone") << 600.0 << 8000.0;
        QTest::addRow("8 kHz band, 300 Hz tone") << 8000.0 << 300.0;
        QTest::addRow("1 kHz band, 80 Hz tone") << 1000.0 << 80.0;
    }
    void bandLeavesOtherFrequenciesAlone()
    {
        QFETCH(double, centre);
        QFETCH(double, tone);
        for (double gain : {15.0, -15.0}) {
            const double got = bandGain(centre, gain, tone);
            QVERIFY2(std::abs(got) < 1.0, qPrintable(QString::number(got)));
        }
    }

    void reverbAtItsLowestMixIsExactlyDry()
    {
        Reverb reverb(Rate);
        // A tail from an audible mix first: switching it off must not let it through.
        reverb.setParameters(0, 0, 1200, 0.1);
        std::vector<float> warm = noise(4096);
        reverb.process(warm.data(), 4096);
        reverb.setParameters(0, -96, 1200, 0.1);
        const std::vector<float> dry = noise(8192);
        std::vector<float> v = dry;
        reverb.process(v.data(), 8192);
        QVERIFY(std::memcmp(v.data(), dry.data(), v.size() * sizeof(float)) == 0);
    }

    void reverbDecaysInItsReverbTime_data()
    {
        QTest::addColumn<double>("timeMs");
        QTest::addRow("1200 ms") << 1200.0;
        QTest::addRow("500 ms") << 500.0;
        QTest::addRow("2500 ms") << 2500.0;
    }
    void reverbDecaysInItsReverbTime()
    {
        QFETCH(double, timeMs);
        Reverb reverb(Rate);
        reverb.setParameters(0, 0, timeMs, 0.999);
        const int frames = int(Rate * timeMs / 1000 * 0.8) + 8192;
        std::vector<float> v(size_t(frames) * 2, 0.0f);
        v[0] = v[1] = 1.0f;
        for (int at = 0; at < frames; at += 1024)
            reverb.process(v.data() + at * 2, std::min(1024, frames - at));
        // Level over two windows 60 % of the reverb time apart: it drops 36 dB then.
        const int window = 4096;
        const int a = int(Rate * 0.1), b = a + int(Rate * timeMs / 1000 * 0.6);
        const double drop = db(rms(v, a, a + window) / rms(v, b, b + window));
        QVERIFY2(std::abs(drop - 36) < 3.6, qPrintable(QString::number(drop)));
    }

    void reverbMixSetsTheWetLevel()
    {
        // The same impulse at 0 dB and at -12 dB: the tail differs by 12 dB, the dry
        // impulse not at all.
        double tail[2];
        int i = 0;
        for (double mix : {0.0, -12.0}) {
            Reverb reverb(Rate);
            reverb.setParameters(0, mix, 1200, 0.1);
            std::vector<float> v(8192 * 2, 0.0f);
            v[0] = v[1] = 1.0f;
            reverb.process(v.data(), 8192);
            QCOMPARE(v[0], 1.0f);
            tail[i++] = rms(v, 2048, 8192);
        }
        QVERIFY(std::abs(db(tail[0] / tail[1]) - 12) < 0.1);
    }

    void echoFeedsBackCrossedAndHalved()
    {
        EchoState s;
        s.reset();
        std::vector<float> v(4 * EchoState::Frames * 2, 0.0f);
        v[0] = 1.0f; // left only
        v[2 * 10 + 1] = 0.5f;
        echo(s, v.data(), 4 * EchoState::Frames);
        const auto at = [&](int frame, int ch) { return v[size_t(frame) * 2 + ch]; };
        QCOMPARE(at(0, 0), 1.0f);
        QCOMPARE(at(0, 1), 0.0f);
        QCOMPARE(at(1200, 0), 0.0f);
        QCOMPARE(at(1200, 1), 0.5f);
        QCOMPARE(at(2400, 0), 0.25f);
        QCOMPARE(at(3600, 1), 0.125f);
        QCOMPARE(at(1210, 0), 0.25f);
        QCOMPARE(at(1, 0), 0.0f);
        QCOMPARE(s.position, 0);
    }

    void flangeReadsBetweenTwoDelayedFrames()
    {
        FlangeState s;
        s.reset();
        std::vector<float> v(400 * 2, 0.0f);
        v[0] = 1.0f;
        v[1] = -1.0f;
        flange(s, v.data(), 400);
        QCOMPARE(v[0], 1.0f); // the dry frame, the ring still empty
        // Frame 174 reads ring frames 349 and 0 with t = 0.348; frame 175 frames 0 and 1
        // with t = 0.35; the input went into frame 0 of the ring.
        QVERIFY(std::abs(v[174 * 2] - 0.348f) < 1e-3);
        QVERIFY(std::abs(v[174 * 2 + 1] + 0.348f) < 1e-3);
        QVERIFY(std::abs(v[175 * 2] - 0.65f) < 1e-3);
        QCOMPARE(v[176 * 2], 0.0f);
        QCOMPARE(v[173 * 2], 0.0f);
        QCOMPARE(s.position, 50);
        QVERIFY(std::abs(s.delay - 175.8f) < 1e-3);
    }

    void flangeDelayTurnsAtTheEnds_data()
    {
        QTest::addColumn<float>("delay");
        QTest::addColumn<float>("step");
        QTest::addColumn<float>("afterTwo");
        QTest::addRow("top") << 349.999f << 0.002f << 349.999f;
        QTest::addRow("bottom") << 0.001f << -0.002f << 0.001f;
    }
    void flangeDelayTurnsAtTheEnds()
    {
        QFETCH(float, delay);
        QFETCH(float, step);
        QFETCH(float, afterTwo);
        FlangeState s;
        s.reset();
        s.delay = delay;
        s.step = step;
        float v[4]{};
        flange(s, v, 1);
        QCOMPARE(s.step, -step); // went past the end: the value stays, the step turns
        flange(s, v + 2, 1);
        QVERIFY(std::abs(s.delay - afterTwo) < 1e-4);
    }

    void rotateScalesBySineAndCosine()
    {
        RotateState s;
        s.reset();
        std::vector<float> v(2001 * 2, 1.0f);
        rotate(s, v.data(), 2001);
        QVERIFY(std::abs(v[0] - 0.70710678f) < 1e-6);
        QVERIFY(std::abs(v[1] - 0.70710678f) < 1e-6);
        const double a = M_PI / 4 + 2000 * 0.00003;
        QVERIFY(std::abs(v[2000 * 2] - std::abs(std::sin(a))) < 1e-4);
        QVERIFY(std::abs(v[2000 * 2 + 1] - std::abs(std::cos(a))) < 1e-4);
    }

    void rotateAngleWrapsAtPi()
    {
        RotateState s;
        s.angle = 3.14158f;
        float v[2] = {1, 1};
        rotate(s, v, 1);
        QVERIFY(s.angle >= 0.0f && s.angle < 0.0001f);
    }
};

QTEST_GUILESS_MAIN(TestSoundEffects)
#include "tst_soundeffects.moc"
