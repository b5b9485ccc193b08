#include "ui/pages/DriversLogPage.h"

#include "ui/PlainPanel.h"
#include "ui/TBMWpanel.h"
#include "ui/pages/PageBuilder.h"
#include "ui/pages/StatusStrip.h"

#include <QListWidget>

namespace zarn {

namespace {
constexpr int HeaderHeight = 79;
constexpr int RowHeight = 55;
constexpr int ListIndent = 20;

struct ActionRow {
    const char* name;
    const char* caption;
    void (DriversLogPage::*signal)();
};
// From the top; the knob walks them bottom-up ("Done !" first).
const ActionRow ActionRows[] = {
    {"BMWpanel23", "Mode is BUSINESS", &DriversLogPage::modeToggleRequested},
    {"BMWpanel63", "Force an entry", &DriversLogPage::forceEntryRequested},
    {"BMWpanel24", "Record Gas Fill", &DriversLogPage::gasFillRequested},
    {"BMWPanel69", "Set Time (future use)", nullptr},
    {"BMWpanel68", "Set date (future use)", nullptr},
    {"BMWpanel25", "Done !", nullptr},
};
} // namespace

DriversLogPage::DriversLogPage(QWidget* parent)
    : ZarnPage(QStringLiteral("TabSheet5"), parent)
{
    using namespace PageBuilder;
    backItem(this, QStringLiteral("BMWpanel15"), QRect(0, 0, 400, HeaderHeight));
    TBMWpanel* actionsItem =
        item(this, QStringLiteral("BMWpanel22"), QStringLiteral(" Actions"), QRect(400, 0, 400, HeaderHeight), true);
    connect(actionsItem, &TBMWpanel::clicked, this, &DriversLogPage::BMWpanel22Click);

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
    if (auto* street = position_->findChild<TBMWpanel*>(QStringLiteral("BMWpanel107")))
        connect(street, &TBMWpanel::clicked, this, &DriversLogPage::streetClicked);

    actions_ = new QWidget(this);
    actions_->setObjectName(QStringLiteral("DriversLogActions"));
    top = 0;
    for (const ActionRow& row : ActionRows) {
        auto* p = item(actions_, QLatin1String(row.name), QLatin1String(row.caption), QRect(0, top, 800, RowHeight), false,
                       actionFont());
        p->setBMW_llf1(4);
        if (row.signal)
            connect(p, &TBMWpanel::clicked, this, row.signal);
        top += RowHeight;
    }
    actions_->setGeometry(0, HeaderHeight, 800, top);
    actions_->hide();
    modeItem_ = actions_->findChild<TBMWpanel*>(QStringLiteral("BMWpanel23"));
    if (auto* done = actions_->findChild<TBMWpanel*>(QStringLiteral("BMWpanel25")))
        connect(done, &TBMWpanel::clicked, this, &DriversLogPage::BMWpanel25Click);

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("loglist"));
    list_->setFont(pixelFont(QStringLiteral("Arial Narrow"), 27, true));
    list_->setFocusPolicy(Qt::NoFocus);
    list_->setFrameShape(QFrame::NoFrame);
    list_->setSelectionMode(QAbstractItemView::NoSelection);
    // The knob never scrolls it: the newest lines stay in view, each record whole.
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setWordWrap(true);
    list_->setResizeMode(QListView::Adjust);

    message_ = statusStrip(this, "Driverslog_Msg", "", 48, 37);
    applyDocking();
}

TBMWpanel* DriversLogPage::headerItem(const char* name) const
{
    return findChild<TBMWpanel*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
}

void DriversLogPage::BMWpanel22Click()
{
    position_->hide();
    actions_->show();
    for (const char* name : {"BMWpanel22", "BMWpanel15"})
        if (TBMWpanel* item = headerItem(name))
            item->setFocusPolicy(Qt::NoFocus);
    placeList();
    if (auto* done = actions_->findChild<TBMWpanel*>(QStringLiteral("BMWpanel25")))
        done->setFocus();
}

void DriversLogPage::BMWpanel25Click()
{
    actions_->hide();
    position_->show();
    for (const char* name : {"BMWpanel22", "BMWpanel15"})
        if (TBMWpanel* item = headerItem(name))
            item->setFocusPolicy(Qt::StrongFocus);
    placeList();
    if (TBMWpanel* back = headerItem("BMWpanel15"))
        back->setFocus();
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

void DriversLogPage::setModeCaption(const QString& caption)
{
    modeItem_->setBMW_supercaption(caption);
}

void DriversLogPage::addLogLine(const QString& line)
{
    list_->addItem(line);
    list_->scrollToBottom();
}

void DriversLogPage::clearLogList()
{
    list_->clear();
}

void DriversLogPage::applyDocking()
{
    for (QWidget* band : {position_, actions_}) {
        band->setGeometry(0, HeaderHeight, width(), band->height());
        for (QWidget* row : band->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            row->setGeometry(0, row->y(), width(), row->height());
    }
    PageBuilder::dockBottom(message_);
    placeList();
}

void DriversLogPage::placeList()
{
    const QWidget* band = actions_->isVisibleTo(this) ? actions_ : position_;
    const int top = band->geometry().bottom() + 1;
    list_->setGeometry(ListIndent, top, std::max(0, width() - ListIndent), std::max(0, message_->y() - top));
    list_->scrollToBottom();
}

} // namespace zarn
