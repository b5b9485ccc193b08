#include "ui/pages/RadarPage.h"

#include "ui/TBMWpanel.h"
#include "ui/pages/PageBuilder.h"

#include <QEvent>
#include <QLabel>

namespace zarn {

namespace {
constexpr int HeaderHeight = 79;
constexpr int RowHeight = 55;
constexpr int StripHeight = 44;
} // namespace

RadarPage::RadarPage(QWidget* parent)
    : ZarnPage(QStringLiteral("TabSheet8"), parent)
{
    using namespace PageBuilder;
    backItem(this, QStringLiteral("BMWpanel90"), QRect(0, 0, 400, HeaderHeight));
    item(this, QStringLiteral("BMWpanel91"), QStringLiteral(" Actions"), QRect(400, 0, 400, HeaderHeight), true);

    map_ = new QWidget(this);
    map_->setObjectName(QStringLiteral("seekartepanel"));
    map_->setGeometry(0, HeaderHeight, 792, 455);
    strip_ = new QWidget(map_);
    strip_->setObjectName(QStringLiteral("Panel17"));
    const QFont stripFont = pixelFont(QStringLiteral("Arial Narrow"), 29, true);
    for (const auto& [name, caption] : {std::pair{"BMWpanel105", "3 km"}, std::pair{"BMWpanel108", "Sound=OFF"}}) {
        auto* p = item(strip_, QLatin1String(name), QLatin1String(caption), QRect(0, 0, 396, StripHeight), false, stripFont);
        p->setBMW_llf1(4);
        p->setBMW_rectanglewidth(18);
    }

    actions_ = new QWidget(this);
    actions_->setObjectName(QStringLiteral("radaractions"));
    auto* threshold = new QLabel(actions_);
    threshold->setObjectName(QStringLiteral("RadarSensitivitylabel"));
    threshold->setFont(pixelFont(QStringLiteral("Arial Narrow"), 48, false, true));
    threshold->setGeometry(0, 0, 800, RowHeight);
    // From the top; the knob walks them bottom-up ("Done !" first).
    int top = RowHeight;
    for (const auto& [name, caption] :
         {std::pair{"BMWpanel92", "Radarwarning now OFF"}, std::pair{"BMWpanel93", "Warn regardless of speed"},
          std::pair{"BMWpanel97", "Threshold for acoustic warning +"},
          std::pair{"BMWPanel96", "Threshold for acoustic warning -"},
          std::pair{"BMWpanel122", "Record Hot Spot to user.bin"}, std::pair{"BMWpanel94", "Done !"}}) {
        if (QLatin1String(name) == QLatin1String("BMWpanel94"))
            top += 12; // further down
        auto* p = item(actions_, QLatin1String(name), QLatin1String(caption), QRect(0, top, 800, RowHeight), false, actionFont());
        p->setBMW_llf1(4);
        top += RowHeight;
    }
    actions_->hide();
    map_->installEventFilter(this);
    applyDocking();
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
    return ZarnPage::eventFilter(watched, event);
}

void RadarPage::placeStrip()
{
    strip_->setGeometry(0, map_->height() - StripHeight, map_->width(), StripHeight);
    const int half = map_->width() / 2;
    if (auto* scale = strip_->findChild<QWidget*>(QStringLiteral("BMWpanel105")))
        scale->setGeometry(0, 0, half, StripHeight);
    if (auto* sound = strip_->findChild<QWidget*>(QStringLiteral("BMWpanel108")))
        sound->setGeometry(half, 0, half, StripHeight);
}

} // namespace zarn
