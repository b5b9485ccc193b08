#include "ui/pages/DriversLogPage.h"

#include "ui/PlainPanel.h"
#include "ui/TBMWpanel.h"
#include "ui/pages/PageBuilder.h"
#include "ui/pages/StatusStrip.h"

namespace zarn {

namespace {
constexpr int HeaderHeight = 79;
constexpr int RowHeight = 55;
} // namespace

DriversLogPage::DriversLogPage(QWidget* parent)
    : ZarnPage(QStringLiteral("TabSheet5"), parent)
{
    using namespace PageBuilder;
    backItem(this, QStringLiteral("BMWpanel15"), QRect(0, 0, 400, HeaderHeight));
    item(this, QStringLiteral("BMWpanel22"), QStringLiteral(" Actions"), QRect(400, 0, 400, HeaderHeight), true);

    position_ = new QWidget(this);
    position_->setObjectName(QStringLiteral("PositionPanel"));
    int top = 0;
    for (const auto& [name, caption] : {std::pair{"BMWpanel106", "city"}, std::pair{"BMWpanel107", "street"},
                                        std::pair{"BMWpanel110", "kmstand"}}) {
        auto* p = item(position_, QLatin1String(name), QLatin1String(caption), QRect(0, top, 800, RowHeight), false,
                       pixelFont(QStringLiteral("Arial Narrow"), 32, true));
        p->setFocusPolicy(Qt::NoFocus);
        top += RowHeight;
    }
    position_->setGeometry(0, HeaderHeight, 800, top);

    // From the top; the knob walks them bottom-up ("Done !" first).
    actions_ = new QWidget(this);
    actions_->setObjectName(QStringLiteral("DriversLogActions"));
    top = 0;
    for (const auto& [name, caption] :
         {std::pair{"BMWpanel23", "Mode is BUSINESS"}, std::pair{"BMWpanel63", "Force an entry"},
          std::pair{"BMWpanel24", "Record Gas Fill"}, std::pair{"BMWPanel69", "Set Time (future use)"},
          std::pair{"BMWpanel68", "Set date (future use)"}, std::pair{"BMWpanel25", "Done !"}}) {
        auto* p = item(actions_, QLatin1String(name), QLatin1String(caption), QRect(0, top, 800, RowHeight), false, actionFont());
        p->setBMW_llf1(4);
        top += RowHeight;
    }
    actions_->setGeometry(0, HeaderHeight, 800, top);
    actions_->hide();

    message_ = statusStrip(this, "Driverslog_Msg", "", 48, 37);
    applyDocking();
}

void DriversLogPage::showPlace(const QString& city, const QString& street, const QString& mileage)
{
    const QString texts[] = {city, street, mileage};
    const char* names[] = {"BMWpanel106", "BMWpanel107", "BMWpanel110"};
    for (int i = 0; i < 3; ++i) {
        if (i < 2) {
            if (texts[i].isEmpty() && !placeReported_[i])
                continue;
            placeReported_[i] = true;
        }
        if (auto* item = position_->findChild<TBMWpanel*>(QLatin1String(names[i])))
            item->setBMW_supercaption(texts[i]);
    }
}

void DriversLogPage::showMessage(const QString& text)
{
    message_->setCaption(text);
}

void DriversLogPage::applyDocking()
{
    for (QWidget* band : {position_, actions_}) {
        band->setGeometry(0, HeaderHeight, width(), band->height());
        for (QWidget* row : band->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            row->setGeometry(0, row->y(), width(), row->height());
    }
    PageBuilder::dockBottom(message_);
}

} // namespace zarn
