// The sound effects' controller on an engine that keeps what it is told: effects and
// their parameters by handle, callbacks by stream, attributes.
#include "media/SoundEffects.h"

#include "core/IniFile.h"
#include "media/MediaSettings.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <map>

using namespace zarn;

namespace {

class NoteEngine : public AudioEngine {
public:
    struct Fx {
        StreamHandle stream;
        quint32 type;
        int priority;
        ParamEqParameters eq;
        ReverbParameters reverb;
    };
    struct Dsp {
        StreamHandle stream;
        DspProc proc;
        void* user;
        int priority;
    };
    std::vector<FxHandle> fxOrder;
    std::map<FxHandle, Fx> fx;
    std::map<DspHandle, Dsp> dsps;
    std::vector<DspHandle> removed;
    StreamHandle live = 0;
    int freq = 0, volume = 0, pan = 0;

    quint32 version() const override { return Version; }
    bool setConfig(int, int) override { return true; }
    bool init(int, quint32, quint32) override { return true; }
    void free() override {}
    StreamHandle streamCreateFile(const QString&, quint64, quint64, quint32) override { return 0; }
    // A new stream: the old one's effects and callbacks die with it.
    StreamHandle start()
    {
        std::erase_if(fx, [&](const auto& e) { return e.second.stream == live; });
        std::erase_if(dsps, [&](const auto& e) { return e.second.stream == live; });
        return live = ++serial_;
    }
    bool streamFree(StreamHandle) override { return true; }
    qint64 streamGetLength(StreamHandle) const override { return -1; }
    bool channelGetInfo(StreamHandle, ChannelInfo&) const override { return false; }
    bool channelPlay(StreamHandle, bool) override { return true; }
    bool channelPause(StreamHandle) override { return true; }
    int channelIsActive(StreamHandle) const override { return ActivePlaying; }
    qint64 channelGetPosition(StreamHandle) const override { return -1; }
    bool channelSetPosition(StreamHandle, qint64) override { return false; }
    float channelBytes2Seconds(StreamHandle, qint64) const override { return -1; }
    qint64 channelSeconds2Bytes(StreamHandle, float) const override { return -1; }
    bool channelSetAttributes(StreamHandle s, int f, int v, int p) override
    {
        if (s != live || !s)
            return false;
        freq = f, volume = v, pan = p;
        return true;
    }
    FxHandle channelSetFX(StreamHandle s, quint32 type, int priority) override
    {
        if (s != live || !s)
            return 0;
        const FxHandle h = ++serial_;
        fx[h] = Fx{s, type, priority, {}, {}};
        fxOrder.push_back(h);
        return h;
    }
    bool fxGetParameters(FxHandle h, ParamEqParameters& p) const override
    {
        return fx.count(h) && fx.at(h).type == FxParamEq && (p = fx.at(h).eq, true);
    }
    bool fxGetParameters(FxHandle h, ReverbParameters& p) const override
    {
        return fx.count(h) && fx.at(h).type == FxReverb && (p = fx.at(h).reverb, true);
    }
    bool fxSetParameters(FxHandle h, const ParamEqParameters& p) override
    {
        return fx.count(h) && fx[h].type == FxParamEq && (fx[h].eq = p, true);
    }
    bool fxSetParameters(FxHandle h, const ReverbParameters& p) override
    {
        return fx.count(h) && fx[h].type == FxReverb && (fx[h].reverb = p, true);
    }
    DspHandle channelSetDSP(StreamHandle s, DspProc proc, void* user, int priority) override
    {
        if (s != live || !s)
            return 0;
        const DspHandle h = ++serial_;
        dsps[h] = Dsp{s, proc, user, priority};
        return h;
    }
    bool channelRemoveDSP(StreamHandle s, DspHandle h) override
    {
        if (!dsps.count(h) || dsps[h].stream != s)
            return false;
        dsps.erase(h);
        removed.push_back(h);
        return true;
    }
    qint64 channelGetData(StreamHandle, float*, quint32) override { return -1; }

    // The effects of the live stream in the order they were made.
    std::vector<Fx> liveFx() const
    {
        std::vector<Fx> out;
        for (FxHandle h : fxOrder)
            if (fx.count(h) && fx.at(h).stream == live)
                out.push_back(fx.at(h));
        return out;
    }

private:
    quint32 serial_ = 100;
};

struct Rig {
    QTemporaryDir home;
    IniFile ini{home.filePath(QStringLiteral("Zarn.ini"))};
    MediaSettings settings;
    NoteEngine engine;
    SoundEffects fx{engine, ini, settings};

    void track(quint32 rate = 44100) { fx.attachTo(engine.start(), rate); }
    double stored(int band) const
    {
        return ini.readFloat(QStringLiteral("EQ"), QStringLiteral("EQ%1_Gain").arg(band + 1), -99);
    }
};

} // namespace

class TestSoundEffectsControl : public QObject {
    Q_OBJECT

private slots:
    // Each band gets its own centre and its stored gain exactly, even one that is no
    // whole number; the slider's own step stores the rounded gain for later tracks.
    void trackStartAppliesTheStoredGains()
    {
        Rig r;
        r.settings.eqGain = {2.5, 0, -15, 15, 0, -3.75};
        r.track();
        const auto fx = r.engine.liveFx();
        QCOMPARE(int(fx.size()), 7);
        const float gains[] = {2.5f, 0, -15, 15, 0, -3.75f};
        for (int b = 0; b < 6; ++b) {
            QCOMPARE(fx[size_t(b)].type, AudioEngine::FxParamEq);
            QCOMPARE(fx[size_t(b)].priority, 1);
            QCOMPARE(fx[size_t(b)].eq.center, SoundEffects::BandCentres[b]);
            QCOMPARE(fx[size_t(b)].eq.bandwidth, 18.0f);
            QCOMPARE(fx[size_t(b)].eq.gain, gains[b]);
        }
        QCOMPARE(r.fx.eqSlider(0), 17);
        QCOMPARE(r.fx.eqSlider(5), 11);
        QCOMPARE(r.settings.eqGain[0], 2.0);
        QCOMPARE(r.stored(0), 2.0);
        QCOMPARE(r.settings.eqGain[5], -4.0);
        QCOMPARE(r.stored(1), -99.0); // unchanged sliders write nothing
        // The next track uses what was stored.
        r.track();
        QCOMPARE(r.engine.liveFx()[0].eq.gain, 2.0f);
    }

    void trackStartSwitchesTheReverbOff()
    {
        Rig r;
        r.track();
        r.fx.setReverbSlider(0);
        QCOMPARE(r.engine.liveFx()[6].reverb.reverbMix, 0.0f);
        r.track();
        const auto reverb = r.engine.liveFx()[6];
        QCOMPARE(reverb.type, AudioEngine::FxReverb);
        QCOMPARE(reverb.reverb.reverbMix, -96.0f);
        QCOMPARE(reverb.reverb.reverbTime, 1200.0f);
        QCOMPARE(reverb.reverb.highFreqRTRatio, 0.1f);
        QCOMPARE(r.fx.reverbSlider(), 20);
    }

    void reverbSliderSetsTheMix_data()
    {
        QTest::addColumn<int>("slider");
        QTest::addColumn<float>("mix");
        QTest::addRow("0 is full") << 0 << 0.0f;
        QTest::addRow("10") << 10 << -12.0f;
        QTest::addRow("19") << 19 << -82.308f;
        QTest::addRow("20 is off") << 20 << -96.0f;
    }
    void reverbSliderSetsTheMix()
    {
        QFETCH(int, slider);
        QFETCH(float, mix);
        Rig r;
        r.track();
        r.fx.setReverbSlider(slider == 20 ? 5 : 20);
        r.fx.setReverbSlider(slider);
        QVERIFY(std::abs(r.engine.liveFx()[6].reverb.reverbMix - mix) < 1e-3f);
    }

    // With or without a stream, a band's slider writes its own band only.
    void bandSliderWritesItsOwnGain_data()
    {
        QTest::addColumn<bool>("playing");
        QTest::addColumn<int>("band");
        QTest::addColumn<int>("slider");
        QTest::addRow("80 Hz up, playing") << true << 0 << 30;
        QTest::addRow("4 kHz down, playing") << true << 4 << 0;
        QTest::addRow("8 kHz, no track yet") << false << 5 << 21;
    }
    void bandSliderWritesItsOwnGain()
    {
        QFETCH(bool, playing);
        QFETCH(int, band);
        QFETCH(int, slider);
        Rig r;
        if (playing)
            r.track();
        QSignalSpy changed(&r.fx, &SoundEffects::eqSliderChanged);
        r.fx.setEqSlider(band, slider);
        QCOMPARE(changed.count(), 1);
        const double gain = slider - 15;
        QCOMPARE(r.stored(band), gain);
        QCOMPARE(r.settings.eqGain[size_t(band)], gain);
        if (playing)
            QCOMPARE(r.engine.liveFx()[size_t(band)].eq.gain, float(gain));
        for (int other = 0; other < 6; ++other)
            if (other != band)
                QCOMPARE(r.stored(other), -99.0);
        r.fx.setEqSlider(band, slider); // the same value again: no step
        QCOMPARE(changed.count(), 1);
    }

    void speedSetsTheRateAndCaption_data()
    {
        QTest::addColumn<int>("slider");
        QTest::addColumn<int>("rate");
        QTest::addColumn<QString>("caption");
        QTest::addRow("fastest") << 300000 << 52920 << QStringLiteral("52920");
        QTest::addRow("slowest") << -300000 << 35280 << QStringLiteral("35280");
        QTest::addRow("truncated rate, rounded caption") << 2000 << 44158 << QStringLiteral("44159");
    }
    void speedSetsTheRateAndCaption()
    {
        QFETCH(int, slider);
        QFETCH(int, rate);
        QFETCH(QString, caption);
        Rig r;
        r.track();
        QSignalSpy shown(&r.fx, &SoundEffects::sampleRateTextChanged);
        r.fx.setSpeedSlider(slider);
        QCOMPARE(r.engine.freq, rate);
        QCOMPARE(r.engine.volume, 100);
        QCOMPARE(r.engine.pan, AudioEngine::KeepPan);
        QCOMPARE(r.fx.speedCaption(), caption);
        QCOMPARE(shown.count(), 1);
        QCOMPARE(shown.first().first().toString(), caption);
    }

    void resetLeavesReverbAndSampleEffects()
    {
        Rig r;
        r.track();
        r.fx.setEqSlider(2, 3);
        r.fx.setSpeedSlider(100000);
        r.fx.setReverbSlider(4);
        r.fx.toggleEcho();
        r.fx.reset();
        QCOMPARE(r.fx.speedSlider(), 0);
        QCOMPARE(r.engine.freq, 44100);
        for (int b = 0; b < 6; ++b)
            QCOMPARE(r.fx.eqSlider(b), 15);
        QCOMPARE(r.stored(2), 0.0);
        QCOMPARE(r.stored(0), -99.0); // a slider already at 15 does not write
        QCOMPARE(r.fx.reverbSlider(), 4);
        QVERIFY(r.fx.echoOn());
        QCOMPARE(int(r.engine.dsps.size()), 1);
    }

    void sampleEffectsRegisterWithTheirPriorities_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<int>("priority");
        QTest::addColumn<QString>("on");
        QTest::addColumn<QString>("off");
        QTest::addRow("flange") << 0 << 0 << QStringLiteral("Flange is ON") << QStringLiteral("Flange is OFF");
        QTest::addRow("echo") << 1 << 1 << QStringLiteral("Echo is ON") << QStringLiteral("Echo is OFF");
        QTest::addRow("rotate") << 2 << 2 << QStringLiteral("Rotate is ON") << QStringLiteral("Rotate is OFF");
    }
    void sampleEffectsRegisterWithTheirPriorities()
    {
        QFETCH(int, which);
        QFETCH(int, priority);
        QFETCH(QString, on);
        QFETCH(QString, off);
        Rig r;
        const auto toggle = [&] {
            which == 0 ? r.fx.toggleFlange() : which == 1 ? r.fx.toggleEcho() : r.fx.toggleRotate();
        };
        const auto caption = [&] {
            return which == 0 ? r.fx.flangeCaption() : which == 1 ? r.fx.echoCaption() : r.fx.rotateCaption();
        };
        QCOMPARE(caption(), off);
        r.track();
        toggle();
        QCOMPARE(caption(), on);
        QCOMPARE(int(r.engine.dsps.size()), 1);
        const auto [handle, dsp] = *r.engine.dsps.begin();
        QCOMPARE(dsp.priority, priority);
        QCOMPARE(dsp.stream, r.engine.live);
        QVERIFY(dsp.user);
        toggle();
        QCOMPARE(caption(), off);
        QVERIFY(r.engine.dsps.empty());
        QCOMPARE(r.engine.removed, std::vector<AudioEngine::DspHandle>{handle});

        // On for one track; the next starts without it, though the row still says on.
        toggle();
        r.track();
        QVERIFY(r.engine.dsps.empty());
        QCOMPARE(caption(), on);
        toggle(); // off: nothing to remove on this stream
        QCOMPARE(caption(), off);
        toggle();
        QCOMPARE(int(r.engine.dsps.size()), 1);
        QCOMPARE(r.engine.dsps.begin()->second.stream, r.engine.live);
    }

    // Switching on starts from a fresh state, whatever the last run left in it.
    void switchingOnResetsTheState()
    {
        Rig r;
        r.track();
        r.fx.toggleRotate();
        auto dsp = r.engine.dsps.begin()->second;
        float frames[2000 * 2];
        std::fill(std::begin(frames), std::end(frames), 1.0f);
        dsp.proc(0, r.engine.live, frames, sizeof frames, dsp.user);
        r.fx.toggleRotate();
        r.fx.toggleRotate();
        dsp = r.engine.dsps.begin()->second;
        float one[2] = {1, 1};
        dsp.proc(0, r.engine.live, one, sizeof one, dsp.user);
        QVERIFY(std::abs(one[0] - 0.70710678f) < 1e-6f);
        QVERIFY(std::abs(one[1] - 0.70710678f) < 1e-6f);
    }
};

QTEST_GUILESS_MAIN(TestSoundEffectsControl)
#include "tst_soundeffectscontrol.moc"
