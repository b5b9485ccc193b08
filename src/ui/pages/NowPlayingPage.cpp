#include "ui/pages/NowPlayingPage.h"

#include "ui/Controls.h"
#include "ui/PlainPanel.h"
#include "ui/TBMWpanel.h"
#include "ui/pages/PageBuilder.h"
#include "ui/pages/StatusStrip.h"

#include <QLabel>

namespace zarn {

namespace {
struct Button {
    const char* name;
    const char* caption;
    int column, row;
    bool symbol;
};
// The numbers are the radio's preset keys that do the same.
const Button Buttons[] = {
    {"BMWpanel53", "A", 0, 0, true},
    {"BMWpanel55", "C", 1, 0, true},
    {"BMWpanel54", "(1) Pause", 0, 1, false},
    {"BMWpanel59", " n/a (4) ", 1, 1, false},
    {"BMWpanel56", "(2) Prev. MP3", 0, 2, false},
    {"BMWpanel60", " Next MP3 (5) ", 1, 2, false},
    {"BMWpanel57", "(3) << rewind", 0, 3, false},
    {"BMWpanel61", " fast forw. >> (6) ", 1, 3, false},
    {"BMWpanel58", "Random is OFF", 0, 4, false},
    {"BMWpanel62", " Stop", 1, 4, false},
    {"BMWpanel86", "Add to favorites", 0, 5, false},
    {"BMWpanel87", " Sound FX", 1, 5, false},
};
constexpr int ButtonWidth = 272;
constexpr int ButtonHeight = 54;
} // namespace

NowPlayingPage::NowPlayingPage(QWidget* parent)
    : ZarnPage(QStringLiteral("TabSheet3"), parent)
{
    using namespace PageBuilder;
    statusBar_ = statusStrip(this, "StatusBar2", "");
    auto* date = new QLabel(QStringLiteral("DateLabel1"), statusBar_);
    date->setObjectName(QStringLiteral("DateLabel2"));
    date->setFont(pixelFont(QStringLiteral("Arial Narrow"), 32, true));
    date->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    date->setGeometry(statusBar_->rect().adjusted(0, 0, -8, 0));

    options_ = panel(this, QStringLiteral("MP3OptionsPanel"), QString(), QRect(93, 66, 551, 384));
    const QFont font = pixelFont(QStringLiteral("Arial Narrow"), 32, true);
    for (const Button& b : Buttons) {
        const QRect r(2 + b.column * (ButtonWidth + 3), 2 + b.row * (ButtonHeight + 1), ButtonWidth, ButtonHeight);
        TBMWpanel* p = b.symbol ? symbolItem(options_, QLatin1String(b.name), QLatin1String(b.caption), r, b.column == 1, 50)
                                : item(options_, QLatin1String(b.name), QLatin1String(b.caption), r, b.column == 1, font);
        p->setBMW_llf1(4);
        p->setBMW_rectanglewidth(18);
    }
    const int barTop = 2 + 6 * (ButtonHeight + 1);
    const QFont barFont = pixelFont(QStringLiteral("Arial Narrow"), 24, true);
    for (const auto& [name, left, width] : {std::tuple{"BMWpanel72", 2, 514}, std::tuple{"BMWpanel73", 518, 30}}) {
        auto* p = item(options_, QLatin1String(name), QString(), QRect(left, barTop, width, 384 - barTop - 2), false, barFont);
        p->setBMW_llf1(4);
        p->setBMW_rectanglewidth(4);
        p->setBMW_7er_style(false);
        p->setFocusPolicy(Qt::NoFocus);
    }
    options_->hide();
}

bool NowPlayingPage::preset(int key)
{
    static const char* const ItemOfKey[] = {"BMWpanel54", "BMWpanel56", "BMWpanel57",
                                            "BMWpanel59", "BMWpanel60", "BMWpanel61"};
    if (key < 1 || key > 6)
        return false;
    Controls::click(findChild<QWidget*>(QLatin1String(ItemOfKey[key - 1])));
    return true;
}

void NowPlayingPage::setView(const NowPlayingView& view)
{
    view_ = view;
}

void NowPlayingPage::applyDocking()
{
    PageBuilder::dockBottom(statusBar_);
}

} // namespace zarn
