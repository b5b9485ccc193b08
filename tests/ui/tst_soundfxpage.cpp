// The sound effects page bound to its controller, before any track plays: the engine
// calls fail, the sliders, captions and Zarn.ini still follow.
#include "ui/pages/SoundFxPage.h"

#include "core/IniFile.h"
#include "media/FfmpegAudioEngine.h"
#include "media/MediaSettings.h"
#include "media/SoundEffects.h"
#include "ui/TBMWpanel.h"

#include <QCheckBox>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

using namespace zarn;

namespace {

struct Rig {
    QTemporaryDir home;
    IniFile ini{home.filePath(QStringLiteral("Zarn.ini"))};
    MediaSettings settings;
    FfmpegAudioEngine engine;
    SoundEffects fx{engine, ini, settings};
    SoundFxPage page;

    Rig()
    {
        engine.init(AudioEngine::DeviceNoSound, 44100, 0);
        page.setEffects(&fx);
    }
    template <typename T>
    T* child(const char* name) const { return page.findChild<T*>(QLatin1String(name)); }
    QString caption(const char* row) const { return child<TBMWpanel>(row)->BMW_supercaption(); }
    double stored(int band) const
    {
        IniFile reread(ini.path());
        return reread.readFloat(QStringLiteral("EQ"), QStringLiteral("EQ%1_Gain").arg(band + 1), -99);
    }
};

const char* const SliderNames[] = {"EQ1", "EQ2", "EQ3", "EQ4", "EQ5", "EQ6"};

} // namespace

class TestSoundFxPage : public QObject {
    Q_OBJECT

private slots:
    void slidersWriteTheirBandsGain_data()
    {
        QTest::addColumn<int>("band");
        QTest::addColumn<int>("value");
        QTest::addRow("EQ1 top") << 0 << 30;
        QTest::addRow("EQ4 bottom") << 3 << 0;
        QTest::addRow("EQ6 one up") << 5 << 16;
    }
    void slidersWriteTheirBandsGain()
    {
        QFETCH(int, band);
        QFETCH(int, value);
        Rig r;
        auto* slider = r.child<QSlider>(SliderNames[band]);
        QVERIFY(slider);
        QCOMPARE(slider->orientation(), Qt::Vertical);
        QCOMPARE(slider->value(), 15);
        slider->setValue(value);
        QCOMPARE(r.settings.eqGain[size_t(band)], double(value - 15));
        QCOMPARE(r.stored(band), double(value - 15));
        for (int other = 0; other < 6; ++other)
            if (other != band)
                QCOMPARE(r.stored(other), -99.0);
    }

    void knobStepsTheSliderInAdjustMode_data()
    {
        QTest::addColumn<int>("control");
        QTest::addColumn<QString>("slider");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("clockwise");
        QTest::addColumn<int>("counter");
        QTest::addRow("band 3") << int(AdjustMode::Eq3) << QStringLiteral("EQ3") << 15 << 16 << 14;
        QTest::addRow("band 6") << int(AdjustMode::Eq6) << QStringLiteral("EQ6") << 15 << 16 << 14;
        QTest::addRow("reverb stops at 20") << int(AdjustMode::Reverb) << QStringLiteral("reverb_slider") << 20 << 20 << 19;
        QTest::addRow("speed") << int(AdjustMode::Speed) << QStringLiteral("Speed_MP3") << 0 << 2000 << -2000;
    }
    void knobStepsTheSliderInAdjustMode()
    {
        QFETCH(int, control);
        QFETCH(QString, slider);
        QFETCH(int, start);
        QFETCH(int, clockwise);
        QFETCH(int, counter);
        Rig r;
        auto* s = r.page.findChild<QSlider*>(slider);
        QCOMPARE(s->value(), start);
        QVERIFY(r.page.adjust(AdjustMode::Control(control), Turn::Clockwise));
        QCOMPARE(s->value(), clockwise);
        s->setValue(start);
        QVERIFY(r.page.adjust(AdjustMode::Control(control), Turn::CounterClockwise));
        QCOMPARE(s->value(), counter);
        QVERIFY(!r.page.adjust(AdjustMode::Zoom, Turn::Clockwise));
    }

    void speedRowShowsTheRateInEffect()
    {
        Rig r;
        r.fx.attachTo(0, 44100); // a stream that failed to open: only the rate is known
        r.child<QSlider>("Speed_MP3")->setValue(300000);
        QCOMPARE(r.caption("BMWpanel124"), QStringLiteral("52920"));
        r.page.adjust(AdjustMode::Speed, Turn::Clockwise);
        QCOMPARE(r.child<QSlider>("Speed_MP3")->value(), 300000);
        r.child<QSlider>("Speed_MP3")->setValue(-300000);
        QCOMPARE(r.caption("BMWpanel124"), QStringLiteral("35280"));
    }

    void effectRowsSwitchAndShowTheirState()
    {
        Rig r;
        QCOMPARE(r.caption("BMWpanel125"), QStringLiteral("Flange is OFF"));
        r.child<TBMWpanel>("BMWpanel125")->click();
        r.child<TBMWpanel>("BMWpanel128")->click();
        QCOMPARE(r.caption("BMWpanel125"), QStringLiteral("Flange is ON"));
        QCOMPARE(r.caption("BMWpanel127"), QStringLiteral("Echo is OFF"));
        QCOMPARE(r.caption("BMWpanel128"), QStringLiteral("Rotate is ON"));
        QVERIFY(r.child<QCheckBox>("CheckBox3")->isChecked());
        QVERIFY(!r.child<QCheckBox>("CheckBox2")->isChecked());
        QVERIFY(r.child<QCheckBox>("CheckBox1")->isChecked());
        QVERIFY(!r.child<QCheckBox>("CheckBox3")->isVisibleTo(&r.page));
        r.child<TBMWpanel>("BMWpanel125")->click();
        QCOMPARE(r.caption("BMWpanel125"), QStringLiteral("Flange is OFF"));
    }

    void resetAndTrackStartMoveTheSliders()
    {
        Rig r;
        r.settings.eqGain[0] = 2.5;
        r.child<QSlider>("EQ2")->setValue(3);
        r.child<QSlider>("reverb_slider")->setValue(0);
        r.fx.attachTo(0, 44100);
        QCOMPARE(r.child<QSlider>("EQ1")->value(), 17);
        QCOMPARE(r.child<QSlider>("reverb_slider")->value(), 20);
        r.child<QSlider>("reverb_slider")->setValue(7);
        r.child<TBMWpanel>("BMWpanel137")->click();
        for (const char* name : SliderNames)
            QCOMPARE(r.child<QSlider>(name)->value(), 15);
        QCOMPARE(r.stored(1), 0.0);
        QCOMPARE(r.child<QSlider>("reverb_slider")->value(), 7);
    }
};

QTEST_MAIN(TestSoundFxPage)
#include "tst_soundfxpage.moc"
