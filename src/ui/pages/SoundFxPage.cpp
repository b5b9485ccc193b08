#include "ui/pages/SoundFxPage.h"

#include "media/SoundEffects.h"
#include "ui/TBMWpanel.h"
#include "ui/pages/PageBuilder.h"

#include <QCheckBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>

namespace zarn {

namespace {
constexpr int HeaderHeight = 79;
constexpr int EffectRowHeight = 44;
constexpr int SliderItemWidth = 106;
constexpr int SliderItemHeight = 230;
constexpr int SpeedSliderWidth = 586;

QSlider* makeSlider(QWidget* parent, const char* name, Qt::Orientation o, int min, int max, int value)
{
    auto* s = new QSlider(o, parent);
    s->setObjectName(QLatin1String(name));
    s->setRange(min, max);
    s->setValue(value);
    s->setFocusPolicy(Qt::NoFocus); // the knob reaches it through its item
    return s;
}

QCheckBox* hiddenBox(QWidget* parent, const char* name)
{
    auto* b = new QCheckBox(parent);
    b->setObjectName(QLatin1String(name));
    b->hide();
    return b;
}
} // namespace

SoundFxPage::SoundFxPage(QWidget* parent)
    : ZarnPage(QStringLiteral("TabSheet14"), parent)
{
    using namespace PageBuilder;
    auto* back = backItem(this, QStringLiteral("BMWpanel136"), QRect(0, 0, 512, HeaderHeight));
    auto* reset = item(this, QStringLiteral("BMWpanel137"), QStringLiteral(" Reset"), QRect(512, 0, 288, HeaderHeight), true);
    connect(back, &TBMWpanel::clicked, this, &SoundFxPage::backRequested);
    connect(reset, &TBMWpanel::clicked, this, &SoundFxPage::BMWpanel137Click);

    const QFont rowFont = pixelFont(QStringLiteral("Arial Narrow"), 32, true);
    int top = HeaderHeight;
    TBMWpanel** rows[] = {&speedRow_, &flangeRow_, &echoRow_, &rotateRow_};
    int i = 0;
    // The speed row shows the sample rate in effect once a track plays.
    for (const auto& [name, caption] : {std::pair{"BMWpanel124", ""}, std::pair{"BMWpanel125", "Flange is OFF"},
                                        std::pair{"BMWpanel127", "Echo is OFF"}, std::pair{"BMWpanel128", "Rotate is OFF"}}) {
        auto* p = item(this, QLatin1String(name), QLatin1String(caption), QRect(0, top, 792, EffectRowHeight), false, rowFont);
        p->setBMW_llf1(4);
        p->setBMW_rectanglewidth(18);
        *rows[i++] = p;
        top += EffectRowHeight;
    }
    speed_ = makeSlider(speedRow_, "Speed_MP3", Qt::Horizontal, -SoundEffects::SpeedSliderMax, SoundEffects::SpeedSliderMax, 0);
    speed_->setGeometry(792 - SpeedSliderWidth - 24, 4, SpeedSliderWidth, EffectRowHeight - 8);
    flangeBox_ = hiddenBox(flangeRow_, "CheckBox3");
    echoBox_ = hiddenBox(echoRow_, "CheckBox2");
    rotateBox_ = hiddenBox(rotateRow_, "CheckBox1");
    connect(flangeRow_, &TBMWpanel::clicked, this, &SoundFxPage::BMWpanel125Click);
    connect(echoRow_, &TBMWpanel::clicked, this, &SoundFxPage::BMWpanel127Click);
    connect(rotateRow_, &TBMWpanel::clicked, this, &SoundFxPage::BMWpanel128Click);

    // Labels above the seven slider items, in the order of the bands.
    const QFont labelFont = pixelFont(QStringLiteral("Arial Narrow"), 32, true);
    struct Band {
        const char* label;
        const char* text;
        const char* item;
        const char* slider;
    };
    const Band bands[] = {
        {"Label4", "80", "BMWpanel129", "EQ1"},     {"Label7", "600", "BMWpanel130", "EQ2"},
        {"Label62", "1000", "BMWpanel131", "EQ3"},  {"Label63", "2000", "BMWpanel134", "EQ4"},
        {"Label64", "4000", "BMWpanel133", "EQ5"},  {"Label65", "8000", "BMWpanel132", "EQ6"},
        {"Label2", "Reverb", "BMWpanel135", "reverb_slider"},
    };
    const int labelTop = top + 4;
    int left = 22;
    int band = 0;
    for (const Band& b : bands) {
        auto* l = new QLabel(QLatin1String(b.text), this);
        l->setObjectName(QLatin1String(b.label));
        l->setFont(labelFont);
        l->setAlignment(Qt::AlignCenter);
        l->setGeometry(left, labelTop, SliderItemWidth, 40);
        auto* p = item(this, QLatin1String(b.item), QString(), QRect(left, labelTop + 42, SliderItemWidth, SliderItemHeight));
        p->setBMW_llf1(4);
        p->setBMW_rectanglewidth(18);
        QSlider* s = band < SoundEffects::Bands
                         ? makeSlider(p, b.slider, Qt::Vertical, 0, SoundEffects::EqSliderMax, SoundEffects::EqSliderDesign)
                         : makeSlider(p, b.slider, Qt::Vertical, 0, SoundEffects::ReverbSliderMax, SoundEffects::ReverbSliderMax);
        s->setGeometry(SliderItemWidth / 2 - 15, 10, 30, SliderItemHeight - 20);
        if (band < SoundEffects::Bands)
            eq_[size_t(band)] = s;
        else
            reverb_ = s;
        ++band;
        left += SliderItemWidth + 1;
    }
}

void SoundFxPage::setQuietly(QSlider* slider, int value)
{
    const QSignalBlocker block(slider);
    slider->setValue(value);
}

void SoundFxPage::setEffects(SoundEffects* effects)
{
    effects_ = effects;
    if (!effects)
        return;
    for (int b = 0; b < SoundEffects::Bands; ++b) {
        setQuietly(eq_[size_t(b)], effects->eqSlider(b));
        connect(eq_[size_t(b)], &QSlider::valueChanged, effects, [effects, b](int v) { effects->setEqSlider(b, v); });
    }
    setQuietly(reverb_, effects->reverbSlider());
    setQuietly(speed_, effects->speedSlider());
    connect(reverb_, &QSlider::valueChanged, effects, &SoundEffects::setReverbSlider);
    connect(speed_, &QSlider::valueChanged, effects, &SoundEffects::setSpeedSlider);
    connect(effects, &SoundEffects::eqSliderChanged, this, [this](int b, int v) { setQuietly(eq_[size_t(b)], v); });
    connect(effects, &SoundEffects::reverbSliderChanged, this, [this](int v) { setQuietly(reverb_, v); });
    connect(effects, &SoundEffects::speedSliderChanged, this, [this](int v) { setQuietly(speed_, v); });
    connect(effects, &SoundEffects::captionsChanged, this, &SoundFxPage::showCaptions);
}

void SoundFxPage::showCaptions()
{
    if (!effects_)
        return;
    speedRow_->setBMW_supercaption(effects_->speedCaption());
    flangeRow_->setBMW_supercaption(effects_->flangeCaption());
    echoRow_->setBMW_supercaption(effects_->echoCaption());
    rotateRow_->setBMW_supercaption(effects_->rotateCaption());
    flangeBox_->setChecked(effects_->flangeOn());
    echoBox_->setChecked(effects_->echoOn());
    rotateBox_->setChecked(effects_->rotateOn());
}

void SoundFxPage::BMWpanel125Click()
{
    if (effects_)
        effects_->toggleFlange();
}

void SoundFxPage::BMWpanel127Click()
{
    if (effects_)
        effects_->toggleEcho();
}

void SoundFxPage::BMWpanel128Click()
{
    if (effects_)
        effects_->toggleRotate();
}

void SoundFxPage::BMWpanel137Click()
{
    if (effects_)
        effects_->reset();
}

bool SoundFxPage::adjust(AdjustMode::Control control, Turn turn)
{
    const int sign = turn == Turn::Clockwise ? 1 : -1;
    QSlider* slider = nullptr;
    int step = 1;
    switch (control) {
    case AdjustMode::Eq1: slider = eq_[0]; break;
    case AdjustMode::Eq2: slider = eq_[1]; break;
    case AdjustMode::Eq3: slider = eq_[2]; break;
    case AdjustMode::Eq4: slider = eq_[3]; break;
    case AdjustMode::Eq5: slider = eq_[4]; break;
    case AdjustMode::Eq6: slider = eq_[5]; break;
    case AdjustMode::Reverb: slider = reverb_; break;
    case AdjustMode::Speed:
        slider = speed_;
        step = SoundEffects::SpeedKnobStep;
        break;
    default: return false;
    }
    slider->setValue(slider->value() + sign * step); // the slider keeps its range
    return true;
}

} // namespace zarn
