#include "ui/pages/RadarPage.h"

#include "ui/PaintBox.h"
#include "ui/PlainPanel.h"
#include "ui/TBMWpanel.h"
#include "ui/Tcompass.h"
#include "ui/TmKnob.h"
#include "ui/pages/PageBuilder.h"
#include "vehicle/RadarSettings.h"

#include <QEvent>
#include <QLabel>

namespace zarn {

namespace {
constexpr int HeaderHeight = 79;
constexpr int RowHeight = 55;
constexpr int StripHeight = 44;
constexpr int MapWidth = 400;
constexpr int SeparatorWidth = 5; // Panel55
constexpr int SecondHeight = 36;  // Panel53
constexpr int DistanceHeight = 49; // Panel54
constexpr int SpeedHeight = 34;   // Panel52
constexpr int CompassSize = 252;
constexpr int KnobSize = 67;
const QColor Yellow{0xFF, 0xFF, 0x00};

PlainPanel* yellowBand(QWidget* parent, const char* name, int height)
{
    auto* band = new PlainPanel(QLatin1String(name), parent);
    band->setColor(Yellow);
    band->resize(parent->width(), height);
    return band;
}

PlainPanel* text(QWidget* parent, const char* name, const QRect& geometry, int px, const QColor& background,
                 const QColor& color = Qt::white)
{
    auto* p = PageBuilder::panel(parent, QLatin1String(name), QString(), geometry,
                                 PageBuilder::pixelFont(QStringLiteral("Arial Narrow"), px, true));
    p->setColor(background);
    p->setFontColor(color);
    return p;
}
} // namespace

RadarPage::RadarPage(QWidget* parent)
    : ZarnPage(QStringLiteral("TabSheet8"), parent)
{
    using namespace PageBuilder;
    backItem(this, QStringLiteral("BMWpanel90"), QRect(0, 0, 400, HeaderHeight));
    auto* actionsItem = item(this, QStringLiteral("BMWpanel91"), QStringLiteral(" Actions"), QRect(400, 0, 400, HeaderHeight), true);
    connect(actionsItem, &TBMWpanel::clicked, this, &RadarPage::BMWpanel91Click);

    map_ = new QWidget(this);
    map_->setObjectName(QStringLiteral("seekartepanel"));
    map_->setGeometry(0, HeaderHeight, 792, 455);
    seekarte_ = new PaintBox(QStringLiteral("seekarte"), map_);
    seekarte_->setGeometry(0, 0, MapWidth, 455 - StripHeight);
    seekarte_->installEventFilter(this);
    separator_ = new QWidget(map_);
    separator_->setObjectName(QStringLiteral("Panel55"));
    buildCameraSide();
    strip_ = new QWidget(map_);
    strip_->setObjectName(QStringLiteral("Panel17"));
    const QFont stripFont = pixelFont(QStringLiteral("Arial Narrow"), 29, true);
    for (const auto& [name, caption] : {std::pair{"BMWpanel105", "3 km"}, std::pair{"BMWpanel108", "Sound=OFF"}}) {
        auto* p = item(strip_, QLatin1String(name), QLatin1String(caption), QRect(0, 0, 396, StripHeight), false, stripFont);
        p->setBMW_llf1(4);
        p->setBMW_rectanglewidth(18);
    }
    connect(strip_->findChild<TBMWpanel*>(QStringLiteral("BMWpanel105")), &TBMWpanel::clicked, this,
            [this] { emit scaleStepRequested(1); });
    connect(strip_->findChild<TBMWpanel*>(QStringLiteral("BMWpanel108")), &TBMWpanel::clicked, this,
            &RadarPage::soundToggleRequested);

    // Shown only while the scale item is in adjust mode.
    knob_ = new TmKnob(QStringLiteral("mKnob1"), map_);
    knob_->setGeometry(8, 319, KnobSize, KnobSize);
    knob_->setRange(1, 1000);
    knob_->setPosition(3);
    knob_->hide();

    buildActions();
    map_->installEventFilter(this);
    applyDocking();
}

void RadarPage::buildActions()
{
    using namespace PageBuilder;
    actions_ = new QWidget(this);
    actions_->setObjectName(QStringLiteral("radaractions"));
    auto* threshold = new QLabel(actions_);
    threshold->setObjectName(QStringLiteral("RadarSensitivitylabel"));
    threshold->setFont(pixelFont(QStringLiteral("Arial Narrow"), 48, false, true));
    threshold->setGeometry(0, 0, 800, RowHeight);
    struct Row {
        const char* name;
        const char* caption;
        void (RadarPage::*click)();
    };
    // From the top; the knob walks them bottom-up ("Done !" first). The hot spot item
    // has no action.
    const Row rows[] = {
        {"BMWpanel92", "Radarwarning now OFF", nullptr},
        {"BMWpanel93", "Warn regardless of speed", nullptr},
        {"BMWpanel97", "Threshold for acoustic warning +", nullptr},
        {"BMWPanel96", "Threshold for acoustic warning -", nullptr},
        {"BMWpanel122", "Record Hot Spot to user.bin", nullptr},
        {"BMWpanel94", "Done !", &RadarPage::BMWpanel94Click},
    };
    int top = RowHeight;
    for (const Row& r : rows) {
        if (r.click == &RadarPage::BMWpanel94Click)
            top += 12; // further down
        auto* p = item(actions_, QLatin1String(r.name), QLatin1String(r.caption), QRect(0, top, 800, RowHeight), false, actionFont());
        p->setBMW_llf1(4);
        if (r.click)
            connect(p, &TBMWpanel::clicked, this, r.click);
        top += RowHeight;
    }
    const auto on = [this](const char* name) { return actions_->findChild<TBMWpanel*>(QLatin1String(name)); };
    connect(on("BMWpanel92"), &TBMWpanel::clicked, this, &RadarPage::warningToggleRequested);
    connect(on("BMWpanel93"), &TBMWpanel::clicked, this, &RadarPage::tooFastToggleRequested);
    connect(on("BMWpanel97"), &TBMWpanel::clicked, this, [this] { emit thresholdStepRequested(1); });
    connect(on("BMWPanel96"), &TBMWpanel::clicked, this, [this] { emit thresholdStepRequested(-1); });
    actions_->hide();
}

void RadarPage::buildCameraSide()
{
    side_ = new QWidget(map_);
    side_->setObjectName(QStringLiteral("Panel11"));
    side_->setGeometry(MapWidth + SeparatorWidth, 0, 792 - MapWidth - SeparatorWidth, 455 - StripHeight);
    // Image4: the picture behind the compass, between the top and bottom strips.
    image4_ = new PlainPanel(QStringLiteral("Image4"), side_);
    static_cast<PlainPanel*>(image4_)->setColor(QColor(0x20, 0x20, 0x28));
    compass_ = new Tcompass(QStringLiteral("compass1"), side_);
    compass_->move(13, 47);
    compass_->setSize(CompassSize);
    compass_->setNeedleLength(120);
    compass_->setNeedleWidth(8);
    compass_->setNeedletype(2);
    compass_->setNeedleColor(Qt::red);
    compass_->setNeedleLineColor(Qt::red);
    compass_->setNeedleTriangularDistance(89);
    compass_->setNeedleTriangularWidth(23);
    compass_->setNeedleBackEndAngle(2);
    compass_->setCenterCircleVisible(true);
    compass_->setCenterCircleWidth(15);
    compass_->setCenterCircleColor(QColor(0x3A, 0x3A, 0x3A));
    compass_->setCenterCircleLineColor(Qt::gray);
    compass_->setCircleLineWidth(2);
    compass_->setHeading(0);

    sideTop_ = yellowBand(side_, "Panel53", SecondHeight);
    second_ = text(sideTop_, "Second_RadarWarning_distance", sideTop_->rect(), 32, Yellow);
    sideMiddle_ = yellowBand(side_, "Panel54", DistanceHeight);
    distance_ = text(sideMiddle_, "RadarWarning_distance", sideMiddle_->rect(), 48, Yellow);
    sideBottom_ = yellowBand(side_, "Panel52", SpeedHeight);
    speedo_ = text(sideBottom_, "Speedo_Display", QRect(0, 0, side_->width() / 2, SpeedHeight), 32, Yellow);
    rpm_ = text(sideBottom_, "Umin_Display", QRect(side_->width() / 2, 0, side_->width() / 2, SpeedHeight), 32, Yellow);
    speedo_->setCaption(QStringLiteral("xxx km/h "));
    rpm_->setCaption(QStringLiteral("xxxx rpm"));

    // The speed sign: red ring, white face, the limit in black.
    auto* ring = new PlainPanel(QStringLiteral("Shape4"), side_);
    ring->setColor(Qt::red);
    ring->setGeometry(266, 44, 93, 101);
    auto* face = new PlainPanel(QStringLiteral("Shape3"), side_);
    face->setColor(Qt::white);
    face->setGeometry(278, 57, 69, 75);
    limit_ = text(side_, "RadarWarning_limit", QRect(289, 74, 48, 42), 35, Qt::white, Qt::black);

    ampel_ = new PlainPanel(QStringLiteral("ampel"), side_, QStringLiteral("Ampel"));
    ampel_->setGeometry(266, 150, 93, 30);
    ampel_->hide();

    // The position fields beside the compass: latitude left, longitude right.
    for (int i = 0; i < 8; ++i) {
        const QString name = QStringLiteral("Label%1").arg(54 + i);
        auto* p = PageBuilder::panel(side_, name, QString(), QRect(266 + (i / 4) * 61, 185 + (i % 4) * 34, 60, 30),
                                     PageBuilder::pixelFont(QStringLiteral("Arial Narrow"), 18, true));
        p->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        position_ << p;
    }
}

void RadarPage::showSpeed(const QString& speedo, const QString& rpm)
{
    speedo_->setCaption(speedo);
    rpm_->setCaption(rpm);
}

void RadarPage::showPosition(const QStringList& fields)
{
    for (qsizetype i = 0; i < position_.size() && i < fields.size(); ++i)
        position_[i]->setCaption(fields[i]);
}

void RadarPage::showCheck(const QString& limitText, const QString& distanceText, const QString& secondText, bool redLight)
{
    limit_->setCaption(limitText);
    distance_->setCaption(distanceText);
    second_->setCaption(secondText);
    if (ampel_->isHidden() == redLight)
        ampel_->setVisible(redLight);
}

void RadarPage::showRelativeBearing(int degrees)
{
    compass_->setNeedleLength(120);
    compass_->setHeading(degrees);
}

void RadarPage::showSettings(const RadarSettings& s)
{
    const auto caption = [this](const char* name, const QString& text) {
        if (auto* p = findChild<TBMWpanel*>(QLatin1String(name)))
            p->setBMW_supercaption(text);
    };
    caption("BMWpanel92", s.radarWarningCaption());
    caption("BMWpanel93", s.radarTooFastCaption());
    caption("BMWpanel108", s.radarSoundCaption());
    caption("BMWpanel105", s.radarScaleCaption());
    if (auto* label = actions_->findChild<QLabel*>(QStringLiteral("RadarSensitivitylabel")))
        if (label->text() != s.warningThresholdLabel())
            label->setText(s.warningThresholdLabel());
    knob_->setPosition(s.radarScaleKm);
}

void RadarPage::setMapPicture(const QImage* picture)
{
    seekarte_->setPicture(picture);
}

void RadarPage::mapDrawn()
{
    seekarte_->update();
}

void RadarPage::setMapColors(const RadarMap::Colors& colors)
{
    if (colors == mapColors_)
        return;
    mapColors_ = colors;
    emit mapColorsChanged(colors);
}

QSize RadarPage::mapSize() const
{
    return seekarte_->size();
}

void RadarPage::setHeaderFocusable(bool on)
{
    for (const char* name : {"BMWpanel90", "BMWpanel91"})
        if (auto* p = findChild<TBMWpanel*>(QLatin1String(name)))
            p->setFocusPolicy(on ? Qt::StrongFocus : Qt::NoFocus);
}

void RadarPage::BMWpanel91Click()
{
    map_->hide();
    actions_->show();
    setHeaderFocusable(false);
    if (auto* done = actions_->findChild<TBMWpanel*>(QStringLiteral("BMWpanel94")))
        done->setFocus(Qt::OtherFocusReason);
}

void RadarPage::BMWpanel94Click()
{
    actions_->hide();
    map_->show();
    emit doneRequested();
    setHeaderFocusable(true);
    if (auto* back = findChild<TBMWpanel*>(QStringLiteral("BMWpanel90")))
        back->setFocus(Qt::OtherFocusReason);
}

bool RadarPage::adjust(AdjustMode::Control control, Turn turn)
{
    if (control != AdjustMode::RadarScale)
        return false;
    emit scaleStepRequested(turn == Turn::Clockwise ? 1 : -1);
    return true;
}

void RadarPage::applyDocking()
{
    // Both panels fill the page below the header (the screen layout docks them too).
    const QRect below(0, HeaderHeight, width(), std::max(0, height() - HeaderHeight));
    map_->setGeometry(below);
    actions_->setGeometry(below);
    placeStrip();
    for (QWidget* row : actions_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        row->setGeometry(0, row->y(), width(), row->height());
}

} // namespace zarn

namespace zarn {

bool RadarPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == map_ && event->type() == QEvent::Resize)
        placeStrip();
    if (watched == seekarte_ && event->type() == QEvent::Resize)
        emit mapResized(seekarte_->size());
    return ZarnPage::eventFilter(watched, event);
}

void RadarPage::placeStrip()
{
    strip_->setGeometry(0, map_->height() - StripHeight, map_->width(), StripHeight);
    const int above = std::max(0, map_->height() - StripHeight);
    seekarte_->setGeometry(0, 0, std::min(MapWidth, map_->width()), above);
    separator_->setGeometry(MapWidth, 0, SeparatorWidth, above);
    side_->setGeometry(MapWidth + SeparatorWidth, 0, std::max(0, map_->width() - MapWidth - SeparatorWidth),
                       std::max(0, map_->height() - StripHeight));
    const int w = side_->width();
    sideTop_->setGeometry(0, 0, w, SecondHeight);
    image4_->setGeometry(0, SecondHeight, w, std::max(0, side_->height() - SecondHeight - SpeedHeight));
    image4_->lower();
    second_->setGeometry(sideTop_->rect());
    sideBottom_->setGeometry(0, side_->height() - SpeedHeight, w, SpeedHeight);
    speedo_->setGeometry(0, 0, w / 2, SpeedHeight);
    rpm_->setGeometry(w / 2, 0, w - w / 2, SpeedHeight);
    sideMiddle_->setGeometry(0, sideBottom_->y() - DistanceHeight, w, DistanceHeight);
    distance_->setGeometry(sideMiddle_->rect());
    const int half = map_->width() / 2;
    if (auto* scale = strip_->findChild<QWidget*>(QStringLiteral("BMWpanel105")))
        scale->setGeometry(0, 0, half, StripHeight);
    if (auto* sound = strip_->findChild<QWidget*>(QStringLiteral("BMWpanel108")))
        sound->setGeometry(half, 0, half, StripHeight);
}

} // namespace zarn
