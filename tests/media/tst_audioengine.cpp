#include "media/FfmpegAudioEngine.h"

#include "core/StatusLog.h"
#include "TestSupport.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <vector>

using namespace zarn;

namespace {

constexpr int Rate = 44100;
// Tones that fall on the centre of a bin of a 1024-point spectrum at 44100 Hz.
double binHz(int bin) { return bin * double(Rate) / 1024.0; }

const char* encoderFor(const QString& ext)
{
    if (ext == QLatin1String("mp3"))
        return "libmp3lame";
    if (ext == QLatin1String("ogg"))
        return "libvorbis";
    return "wmav2";
}

// Writes a stereo file from an aevalsrc expression with the ffmpeg tool.
QString makeFile(const QString& dir, const QString& name, const QString& expr, double seconds, int rate = Rate)
{
    const QString path = dir + QLatin1Char('/') + name;
    QProcess p;
    p.start(QStringLiteral("ffmpeg"),
            {QStringLiteral("-nostdin"), QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y"),
             QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
             QStringLiteral("aevalsrc=%1:s=%2:d=%3").arg(expr).arg(rate).arg(seconds), QStringLiteral("-ac"),
             QStringLiteral("2"), QStringLiteral("-c:a"), QString::fromLatin1(encoderFor(QFileInfo(name).suffix())),
             path});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        qWarning("ffmpeg failed for %s: %s", qPrintable(name), p.readAllStandardError().constData());
    return path;
}

QString sine(int bin, double amplitude = 0.5)
{
    const QString one = QStringLiteral("%1*sin(2*PI*%2*t)").arg(amplitude).arg(binHz(bin), 0, 'f', 6);
    return one + QLatin1Char('|') + one; // both channels, at full amplitude
}

// The first second at bin 20, the second at bin 80: the spectrum tells where we are.
QString twoTones()
{
    const QString one = QStringLiteral("if(lt(t\\,1)\\,0.5*sin(2*PI*%1*t)\\,0.5*sin(2*PI*%2*t))")
                            .arg(binHz(20), 0, 'f', 6)
                            .arg(binHz(80), 0, 'f', 6);
    return one + QLatin1Char('|') + one;
}

int peakBin(FfmpegAudioEngine& engine, AudioEngine::StreamHandle h, float* magnitude = nullptr)
{
    float bins[AudioEngine::FftBins];
    if (engine.channelGetData(h, bins, AudioEngine::DataFft1024) != qint64(sizeof bins))
        return -1;
    const float* top = std::max_element(bins, bins + AudioEngine::FftBins);
    if (magnitude)
        *magnitude = *top;
    return int(top - bins);
}

void render(FfmpegAudioEngine& engine, int frames)
{
    std::vector<float> buffer(size_t(frames) * 2);
    QVERIFY(engine.renderOffline(buffer.data(), frames));
}

double seconds(FfmpegAudioEngine& engine, AudioEngine::StreamHandle h, qint64 bytes)
{
    return engine.channelBytes2Seconds(h, bytes);
}

// Sample callbacks of the test: they note their order into a fixed log.
struct CallLog {
    int order[64]{};
    int count = 0;
    quint32 lastLength = 0;
};
struct Tagged {
    CallLog* log;
    int id;
};
void noteCall(AudioEngine::DspHandle, AudioEngine::StreamHandle, void*, quint32 length, void* user)
{
    auto* t = static_cast<Tagged*>(user);
    if (t->log->count < 64)
        t->log->order[t->log->count++] = t->id;
    t->log->lastLength = length;
}
void silence(AudioEngine::DspHandle, AudioEngine::StreamHandle, void* buffer, quint32 length, void*)
{
    std::fill_n(static_cast<float*>(buffer), length / sizeof(float), 0.0f);
}

// A callback that keeps the left channel's RMS of the last block it saw.
void levelProbe(AudioEngine::DspHandle, AudioEngine::StreamHandle, void* buffer, quint32 length, void* user)
{
    const float* f = static_cast<const float*>(buffer);
    const quint32 frames = length / 8;
    double sum = 0;
    for (quint32 i = 0; i < frames; ++i)
        sum += double(f[i * 2]) * f[i * 2];
    *static_cast<double*>(user) = frames ? std::sqrt(sum / frames) : 0.0;
}

double leftRms(const std::vector<float>& v, int from, int to)
{
    double sum = 0;
    for (int i = from; i < to; ++i)
        sum += double(v[size_t(i) * 2]) * v[size_t(i) * 2];
    return std::sqrt(sum / (to - from));
}

} // namespace

class TestAudioEngine : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    FfmpegAudioEngine engine_;

    QString file(const QString& ext) const { return dir_.path() + QStringLiteral("/two.") + ext; }

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        for (const char* ext : {"mp3", "ogg", "wma"})
            QVERIFY(QFileInfo::exists(makeFile(dir_.path(), QStringLiteral("two.") + QLatin1String(ext), twoTones(), 2.0)));
        QVERIFY(engine_.init(AudioEngine::DeviceNoSound, Rate, 0));
    }

    // A failed test leaves no stream behind for the next one.
    void cleanup()
    {
        engine_.free();
        QVERIFY(engine_.init(AudioEngine::DeviceNoSound, Rate, 0));
    }

    void formats_data()
    {
        QTest::addColumn<QString>("ext");
        QTest::newRow("mp3") << "mp3";
        QTest::newRow("ogg") << "ogg";
        QTest::newRow("wma") << "wma";
    }

    // Length against the file, position against what was played, to the end.
    void playsThroughOnce_data() { formats_data(); }
    void playsThroughOnce()
    {
        QFETCH(QString, ext);
        const auto h = engine_.streamCreateFile(file(ext), 0, 0, 0);
        QVERIFY(h != 0);
        AudioEngine::ChannelInfo info;
        QVERIFY(engine_.channelGetInfo(h, info));
        QCOMPARE(info.freq, quint32(Rate));
        QVERIFY(qAbs(seconds(engine_, h, engine_.streamGetLength(h)) - 2.0) < 0.05);

        QVERIFY(engine_.channelPlay(h, false));
        QCOMPARE(engine_.channelIsActive(h), AudioEngine::ActivePlaying);
        render(engine_, 22050);
        QCOMPARE(engine_.channelGetPosition(h), qint64(22050) * 8);
        QCOMPARE(seconds(engine_, h, engine_.channelGetPosition(h)), 0.5f);
        QCOMPARE(peakBin(engine_, h), 20);

        for (int i = 0; i < 40 && engine_.channelIsActive(h) == AudioEngine::ActivePlaying; ++i)
            render(engine_, 4410);
        QCOMPARE(engine_.channelIsActive(h), AudioEngine::ActiveStopped);
        // Once played through, the length is what was played.
        QCOMPARE(engine_.channelGetPosition(h), engine_.streamGetLength(h));
        QVERIFY(qAbs(seconds(engine_, h, engine_.channelGetPosition(h)) - 2.0) < 0.05);
        // Played to its end, a stream starts again from its beginning.
        QVERIFY(engine_.channelPlay(h, false));
        render(engine_, 4410);
        QCOMPARE(engine_.channelGetPosition(h), qint64(4410) * 8);
        QCOMPARE(peakBin(engine_, h), 20);
        QVERIFY(engine_.streamFree(h));
    }

    void loopRestartsAtTheBeginning_data() { formats_data(); }
    void loopRestartsAtTheBeginning()
    {
        QFETCH(QString, ext);
        const auto h = engine_.streamCreateFile(file(ext), 0, 0, AudioEngine::SampleLoop);
        QVERIFY(h != 0);
        QVERIFY(engine_.channelPlay(h, false));
        render(engine_, 2 * Rate + Rate / 2);
        QCOMPARE(engine_.channelIsActive(h), AudioEngine::ActivePlaying);
        const double pos = seconds(engine_, h, engine_.channelGetPosition(h));
        QVERIFY2(qAbs(pos - 0.5) < 0.05, qPrintable(QString::number(pos)));
        QCOMPARE(peakBin(engine_, h), 20);
        // Second time round the position keeps counting from the start.
        render(engine_, Rate);
        QVERIFY(qAbs(seconds(engine_, h, engine_.channelGetPosition(h)) - 1.5) < 0.05);
        QCOMPARE(peakBin(engine_, h), 80);
        engine_.streamFree(h);
    }

    void seekMovesThePlayPosition_data() { formats_data(); }
    void seekMovesThePlayPosition()
    {
        QFETCH(QString, ext);
        const auto h = engine_.streamCreateFile(file(ext), 0, 0, AudioEngine::SampleLoop);
        QVERIFY(h != 0);
        QVERIFY(engine_.channelPlay(h, false));
        render(engine_, 4410);

        const qint64 target = engine_.channelSeconds2Bytes(h, 1.25f);
        QCOMPARE(target, qint64(1.25 * Rate) * 8);
        QVERIFY(engine_.channelSetPosition(h, target));
        QCOMPARE(engine_.channelGetPosition(h), target);
        render(engine_, Rate / 4);
        QCOMPARE(engine_.channelGetPosition(h), target + qint64(Rate / 4) * 8);
        QCOMPARE(peakBin(engine_, h), 80);

        QVERIFY(engine_.channelSetPosition(h, engine_.channelSeconds2Bytes(h, 0.25f)));
        render(engine_, Rate / 4);
        QCOMPARE(peakBin(engine_, h), 20);

        // Targets outside the track land on its ends instead of failing.
        QVERIFY(engine_.channelSetPosition(h, engine_.channelSeconds2Bytes(h, -3.0f)));
        QCOMPARE(engine_.channelGetPosition(h), qint64(0));
        QVERIFY(engine_.channelSetPosition(h, engine_.channelSeconds2Bytes(h, 60.0f)));
        QVERIFY(engine_.channelGetPosition(h) <= engine_.streamGetLength(h));
        render(engine_, Rate / 2);
        QCOMPARE(engine_.channelIsActive(h), AudioEngine::ActivePlaying);
        QVERIFY(seconds(engine_, h, engine_.channelGetPosition(h)) < 0.6);
        engine_.streamFree(h);
    }

    // The rate attribute changes speed and pitch together.
    void rateChangesSpeedAndPitch_data()
    {
        QTest::addColumn<int>("freq");
        QTest::addColumn<int>("bin");
        QTest::newRow("double") << 2 * Rate << 40;
        QTest::newRow("half") << Rate / 2 << 10;
        QTest::newRow("fastest speed item") << int(1.2 * Rate) << 24;
    }
    void rateChangesSpeedAndPitch()
    {
        QFETCH(int, freq);
        QFETCH(int, bin);
        const auto h = engine_.streamCreateFile(file(QStringLiteral("ogg")), 0, 0, AudioEngine::SampleLoop);
        QVERIFY(engine_.channelSetAttributes(h, freq, 100, -1));
        QVERIFY(engine_.channelPlay(h, false));
        render(engine_, Rate / 4);
        const qint64 played = engine_.channelGetPosition(h) / 8;
        const qint64 expected = qint64(Rate / 4) * freq / Rate;
        QVERIFY2(qAbs(played - expected) <= 2, qPrintable(QStringLiteral("%1 vs %2").arg(played).arg(expected)));
        QCOMPARE(peakBin(engine_, h), bin);
        AudioEngine::ChannelInfo info;
        QVERIFY(engine_.channelGetInfo(h, info));
        QCOMPARE(info.freq, quint32(Rate)); // the stream's own rate stays
        engine_.streamFree(h);
    }

    // The play position is the exact sum of the rate over the frames played, across rate
    // changes, and at the end it is the length, whatever the rate.
    void rateStepsAreExact_data()
    {
        QTest::addColumn<int>("freq1");
        QTest::addColumn<int>("frames1");
        QTest::addColumn<int>("freq2");
        QTest::addColumn<int>("frames2");
        QTest::newRow("own rate, then 48 kHz") << Rate << 10000 << 48000 << 30001;
        QTest::newRow("48 kHz, then own rate") << 48000 << 10001 << Rate << 10000;
        QTest::newRow("slowest, then fastest") << 100 << 777 << 100000 << 20000;
        QTest::newRow("one above, one below") << Rate + 1 << 44100 << Rate - 1 << 20000;
    }
    void rateStepsAreExact()
    {
        QFETCH(int, freq1);
        QFETCH(int, frames1);
        QFETCH(int, freq2);
        QFETCH(int, frames2);
        const auto h = engine_.streamCreateFile(file(QStringLiteral("ogg")), 0, 0, 0);
        QVERIFY(engine_.channelSetAttributes(h, freq1, 100, 0));
        QVERIFY(engine_.channelPlay(h, false));
        render(engine_, frames1);
        QVERIFY(engine_.channelSetAttributes(h, freq2, 100, 0));
        render(engine_, frames2);
        const qint64 expected = (qint64(frames1) * freq1 + qint64(frames2) * freq2) / Rate;
        QCOMPARE(engine_.channelGetPosition(h) / 8, expected);
        for (int i = 0; i < 200 && engine_.channelIsActive(h) == AudioEngine::ActivePlaying; ++i)
            render(engine_, 4096);
        QCOMPARE(engine_.channelIsActive(h), AudioEngine::ActiveStopped);
        QCOMPARE(engine_.channelGetPosition(h), engine_.streamGetLength(h));
        engine_.streamFree(h);
    }

    void badAttributesAreRefused()
    {
        const auto h = engine_.streamCreateFile(file(QStringLiteral("ogg")), 0, 0, 0);
        QVERIFY(!engine_.channelSetAttributes(h, 50, 100, 0));
        QVERIFY(!engine_.channelSetAttributes(h, AudioEngine::KeepFreq, 101, 0));
        QVERIFY(!engine_.channelSetAttributes(h, AudioEngine::KeepFreq, 100, 200));
        // Volume 0 and a hard pan reach the samples.
        QVERIFY(engine_.channelSetAttributes(h, AudioEngine::KeepFreq, 100, -100));
        QVERIFY(engine_.channelPlay(h, false));
        std::vector<float> out(4096 * 2);
        QVERIFY(engine_.renderOffline(out.data(), 4096));
        float left = 0, right = 0;
        for (int i = 0; i < 4096; ++i) {
            left = std::max(left, std::abs(out[i * 2]));
            right = std::max(right, std::abs(out[i * 2 + 1]));
        }
        QVERIFY(left > 0.3f);
        QCOMPARE(right, 0.0f);
        engine_.streamFree(h);
    }

    void callbacksRunByPriority()
    {
        const auto h = engine_.streamCreateFile(file(QStringLiteral("mp3")), 0, 0, AudioEngine::SampleLoop);
        CallLog log;
        Tagged low{&log, 0}, high{&log, 2}, mid{&log, 1};
        const auto dLow = engine_.channelSetDSP(h, noteCall, &low, 0);
        const auto dHigh = engine_.channelSetDSP(h, noteCall, &high, 2);
        const auto dMid = engine_.channelSetDSP(h, noteCall, &mid, 1);
        QVERIFY(dLow && dHigh && dMid);
        QVERIFY(engine_.channelPlay(h, false));
        render(engine_, 1000);
        QCOMPARE(log.count, 3);
        QCOMPARE(QList<int>(log.order, log.order + 3), QList<int>({2, 1, 0}));
        QCOMPARE(log.lastLength, quint32(1000 * 8));

        QVERIFY(engine_.channelRemoveDSP(h, dMid));
        QVERIFY(!engine_.channelRemoveDSP(h, dMid)); // stale: harmless
        log.count = 0;
        render(engine_, 1000);
        QCOMPARE(QList<int>(log.order, log.order + log.count), QList<int>({2, 0}));

        // The block is changed in place before output and before the spectrum.
        QVERIFY(engine_.channelSetDSP(h, silence, nullptr, -5));
        std::vector<float> out(2048 * 2);
        QVERIFY(engine_.renderOffline(out.data(), 2048));
        QVERIFY(std::all_of(out.begin(), out.end(), [](float v) { return v == 0.0f; }));
        float top = 1;
        peakBin(engine_, h, &top);
        QCOMPARE(top, 0.0f);
        engine_.streamFree(h);
        QVERIFY(!engine_.channelRemoveDSP(h, dLow));
    }

    void spectrumPeakInTheRightBin_data()
    {
        QTest::addColumn<int>("bin");
        QTest::newRow("low") << 6;
        QTest::newRow("mid") << 93;
        QTest::newRow("high") << 371;
    }
    void spectrumPeakInTheRightBin()
    {
        QFETCH(int, bin);
        const QString path = makeFile(dir_.path(), QStringLiteral("sine%1.ogg").arg(bin), sine(bin, 0.5), 1.0);
        const auto h = engine_.streamCreateFile(path, 0, 0, AudioEngine::SampleLoop);
        QVERIFY(h != 0);
        QVERIFY(engine_.channelPlay(h, false));
        render(engine_, 8192);
        float magnitude = 0;
        QCOMPARE(peakBin(engine_, h, &magnitude), bin);
        QVERIFY2(qAbs(magnitude - 0.5f) < 0.05f, qPrintable(QString::number(magnitude)));
        engine_.streamFree(h);
    }

    // The effects take their place among the sample callbacks by priority: a probe
    // above them hears the tone as it is, one below hears the cut band.
    void effectsRunInPriorityOrderAmongCallbacks()
    {
        const QString path = makeFile(dir_.path(), QStringLiteral("tone1k.ogg"), QStringLiteral("0.25*sin(2*PI*1000*t)|0.25*sin(2*PI*1000*t)"), 2.0);
        const auto h = engine_.streamCreateFile(path, 0, 0, 0);
        double above = 0, below = 0;
        QVERIFY(engine_.channelSetDSP(h, levelProbe, &below, 0));
        const auto eq = engine_.channelSetFX(h, AudioEngine::FxParamEq, 1);
        QVERIFY(engine_.channelSetDSP(h, levelProbe, &above, 2));
        QVERIFY(engine_.fxSetParameters(eq, AudioEngine::ParamEqParameters{1000, 18, -15}));
        QVERIFY(engine_.channelPlay(h, false));
        render(engine_, Rate / 2);
        QVERIFY2(std::abs(20 * std::log10(below / above) + 15) < 0.5, qPrintable(QString::number(below / above)));
        // An effect's handle is not a callback's: removing it that way does nothing.
        QVERIFY(!engine_.channelRemoveDSP(h, eq));
        engine_.streamFree(h);
    }

    // A gain set while the stream plays is heard within 100 ms of rendered audio.
    void equalizerChangeIsHeardWithin100Ms()
    {
        const QString path = makeFile(dir_.path(), QStringLiteral("tone600.ogg"), QStringLiteral("0.25*sin(2*PI*600*t)|0.25*sin(2*PI*600*t)"), 3.0);
        const auto h = engine_.streamCreateFile(path, 0, 0, 0);
        const auto eq = engine_.channelSetFX(h, AudioEngine::FxParamEq, 1);
        const auto reverb = engine_.channelSetFX(h, AudioEngine::FxReverb, 1);
        AudioEngine::ReverbParameters r;
        QVERIFY(engine_.fxGetParameters(reverb, r));
        r.reverbMix = -96;
        QVERIFY(engine_.fxSetParameters(reverb, r));
        QVERIFY(engine_.fxSetParameters(eq, AudioEngine::ParamEqParameters{600, 18, 0}));
        QVERIFY(engine_.channelPlay(h, false));
        const int tenth = Rate / 10;
        std::vector<float> before(size_t(tenth) * 2 * 5), after(size_t(tenth) * 2);
        QVERIFY(engine_.renderOffline(before.data(), tenth * 5));
        QVERIFY(engine_.fxSetParameters(eq, AudioEngine::ParamEqParameters{600, 18, 12}));
        QVERIFY(engine_.renderOffline(after.data(), tenth));
        // The last 20 ms of those 100 ms carry the whole gain.
        const double gain = 20 * std::log10(leftRms(after, tenth - tenth / 5, tenth) / leftRms(before, tenth * 4, tenth * 5));
        QVERIFY2(std::abs(gain - 12) < 0.5, qPrintable(QString::number(gain)));
        engine_.streamFree(h);
    }

    void effectsAreAttachmentPoints()
    {
        const auto h = engine_.streamCreateFile(file(QStringLiteral("mp3")), 0, 0, AudioEngine::SampleLoop);
        const auto eq = engine_.channelSetFX(h, AudioEngine::FxParamEq, 1);
        const auto reverb = engine_.channelSetFX(h, AudioEngine::FxReverb, 1);
        QVERIFY(eq && reverb && eq != reverb);
        QCOMPARE(engine_.channelSetFX(h, 3, 1), AudioEngine::FxHandle(0));
        QVERIFY(engine_.fxSetParameters(eq, AudioEngine::ParamEqParameters{600, 18, 2.5f}));
        AudioEngine::ParamEqParameters p;
        QVERIFY(engine_.fxGetParameters(eq, p));
        QCOMPARE(p.center, 600.0f);
        QCOMPARE(p.gain, 2.5f);
        AudioEngine::ReverbParameters r;
        QVERIFY(!engine_.fxGetParameters(eq, r)); // wrong kind of record
        QVERIFY(engine_.fxGetParameters(reverb, r));
        r.reverbMix = -96;
        r.reverbTime = 1200;
        r.highFreqRTRatio = 0.1f;
        QVERIFY(engine_.fxSetParameters(reverb, r));
        QVERIFY(!engine_.fxSetParameters(eq, AudioEngine::ParamEqParameters{600, 18, 40}));
        engine_.streamFree(h);
        // Effects die with their stream.
        QVERIFY(!engine_.fxGetParameters(eq, p));
    }

    void badFilesAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("keepBytesOf"); // >0: the first bytes of two.mp3/ogg instead
        QTest::newRow("empty") << "empty.mp3" << QByteArray() << 0;
        QTest::newRow("text as wma") << "notes.wma" << QByteArray("This is not music at all.\n").repeated(40) << 0;
        QTest::newRow("zeros") << "zeros.ogg" << QByteArray(50000, '\0') << 0;
        QTest::newRow("truncated mp3") << "cut.mp3" << QByteArray() << 300;
        QTest::newRow("truncated ogg") << "cut.ogg" << QByteArray() << 200;
        QTest::newRow("missing") << "" << QByteArray() << 0;
    }
    void badFilesAreRefused()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(int, keepBytesOf);
        QString path = dir_.path() + QStringLiteral("/bad/") + (name.isEmpty() ? QStringLiteral("missing.mp3") : name);
        QDir().mkpath(dir_.path() + QStringLiteral("/bad"));
        if (keepBytesOf > 0)
            bytes = test::readAll(file(QFileInfo(name).suffix())).left(keepBytesOf);
        if (!name.isEmpty())
            test::writeAll(path, bytes);
        QCOMPARE(engine_.streamCreateFile(path, 0, 0, AudioEngine::SampleLoop), AudioEngine::StreamHandle(0));
        // Nothing was left behind: a good file still opens.
        const auto h = engine_.streamCreateFile(file(QStringLiteral("ogg")), 0, 0, 0);
        QVERIFY(h != 0);
        engine_.streamFree(h);
    }

    void staleHandlesAreHarmless()
    {
        const auto h = engine_.streamCreateFile(file(QStringLiteral("ogg")), 0, 0, 0);
        QVERIFY(engine_.streamFree(h));
        QVERIFY(!engine_.streamFree(h));
        QVERIFY(!engine_.channelPlay(h, false));
        QCOMPARE(engine_.channelIsActive(h), AudioEngine::ActiveStopped);
        QCOMPARE(engine_.channelGetPosition(h), qint64(-1));
        QVERIFY(!engine_.channelSetPosition(h, 0));
        float bins[AudioEngine::FftBins];
        QCOMPARE(engine_.channelGetData(h, bins, AudioEngine::DataFft1024), qint64(-1));
        QCOMPARE(engine_.channelGetData(0, bins, AudioEngine::DataFft1024), qint64(-1));
        // A new stream in the same place does not answer to the old handle.
        const auto again = engine_.streamCreateFile(file(QStringLiteral("ogg")), 0, 0, 0);
        QVERIFY(again != h);
        QCOMPARE(engine_.channelGetPosition(h), qint64(-1));
        engine_.streamFree(again);
    }

    void pauseKeepsThePosition()
    {
        const auto h = engine_.streamCreateFile(file(QStringLiteral("mp3")), 0, 0, AudioEngine::SampleLoop);
        QVERIFY(engine_.channelPlay(h, false));
        render(engine_, 10000);
        QVERIFY(engine_.channelPause(h));
        QCOMPARE(engine_.channelIsActive(h), AudioEngine::ActivePaused);
        render(engine_, 10000);
        QCOMPARE(engine_.channelGetPosition(h), qint64(10000) * 8);
        QVERIFY(engine_.channelPlay(h, false));
        render(engine_, 10000);
        QCOMPARE(engine_.channelGetPosition(h), qint64(20000) * 8);
        QVERIFY(engine_.channelPlay(h, true));
        QCOMPARE(engine_.channelGetPosition(h), qint64(0));
        engine_.free(); // releases every stream
        QCOMPARE(engine_.channelIsActive(h), AudioEngine::ActiveStopped);
        QVERIFY(engine_.init(AudioEngine::DeviceNoSound, Rate, 0));
    }

    // No sound device: an error line with SDL's reason, streams still work, and the
    // next start tries the device again.
    void missingDeviceKeepsRunning()
    {
        const QByteArray saved = qgetenv("SDL_AUDIODRIVER");
        qputenv("SDL_AUDIODRIVER", "no-such-driver");
        StatusLog log;
        QStringList alerts;
        log.setAlertSink([&](const QString& line) { alerts << line; });
        FfmpegAudioEngine engine(&log);
        QVERIFY(!engine.init(AudioEngine::DeviceDefault, Rate, 0));
        QVERIFY(!engine.hasDevice());
        QCOMPARE(alerts.size(), 1);
        QVERIFY2(alerts.first().contains(QStringLiteral("Can't initialize sound device"))
                     && alerts.first().contains(QStringLiteral("no-such-driver")),
                 qPrintable(alerts.first()));

        const auto h = engine.streamCreateFile(file(QStringLiteral("mp3")), 0, 0, AudioEngine::SampleLoop);
        QVERIFY(h != 0);
        QVERIFY(engine.channelPlay(h, false));
        QCOMPARE(alerts.size(), 2); // tried again, failed again

        qputenv("SDL_AUDIODRIVER", "dummy");
        QVERIFY(engine.channelPlay(h, false));
        QVERIFY(engine.hasDevice());
        QCOMPARE(alerts.size(), 2);
        // The device's own thread now moves the position.
        QTRY_VERIFY_WITH_TIMEOUT(engine.channelGetPosition(h) > 0, 20000);
        engine.free();
        qputenv("SDL_AUDIODRIVER", saved);
    }

    void playsOnTheDevice()
    {
        // SDL takes an untouched SIGTERM, which belongs to the program's shutdown.
        struct sigaction testlib {}, untouched {}, after {};
        untouched.sa_handler = SIG_DFL;
        sigaction(SIGTERM, &untouched, &testlib);
        FfmpegAudioEngine engine;
        const bool opened = engine.init(AudioEngine::DeviceDefault, Rate, 0);
        sigaction(SIGTERM, &testlib, &after);
        QVERIFY(opened);
        QVERIFY(engine.hasDevice());
        QVERIFY(after.sa_handler == SIG_DFL);
        float buffer[2];
        QVERIFY(!engine.renderOffline(buffer, 1));
        const auto h = engine.streamCreateFile(file(QStringLiteral("ogg")), 0, 0, AudioEngine::SampleLoop);
        CallLog calls;
        Tagged tag{&calls, 7};
        QVERIFY(engine.channelSetDSP(h, noteCall, &tag, 0));
        QVERIFY(engine.channelPlay(h, false));
        QTRY_VERIFY_WITH_TIMEOUT(engine.channelGetPosition(h) >= engine.channelSeconds2Bytes(h, 0.3f), 20000);
        QVERIFY(calls.count > 0);
        // Seek, pause and free while the device runs.
        QVERIFY(engine.channelSetPosition(h, engine.channelSeconds2Bytes(h, 1.5f)));
        QTRY_VERIFY_WITH_TIMEOUT(engine.channelGetPosition(h) > engine.channelSeconds2Bytes(h, 1.6f), 20000);
        QVERIFY(engine.channelPause(h));
        QVERIFY(engine.streamFree(h));
    }
};

QTEST_GUILESS_MAIN(TestAudioEngine)
#include "tst_audioengine.moc"
