#include "ui/pages/MusicPage.h"

#include "ui/PlainPanel.h"
#include "ui/TBMWpanel.h"
#include "ui/pages/PageBuilder.h"
#include "ui/pages/StatusStrip.h"

#include <QLabel>

namespace zarn {

namespace {
constexpr int HeaderHeight = 79;
constexpr int FilterHeight = 41;
constexpr int KeysTop = HeaderHeight + FilterHeight;
constexpr int KeyWidth = 26;
constexpr int KeyHeight = 39;
constexpr int KeyPitch = 28;

struct Key {
    int number;
    const char* text;
};
// Row 2 after the digits; the key "| |" appends a blank.
const Key Row2[] = {
    {36, "1"}, {37, "2"}, {38, "3"}, {39, "4"}, {41, "5"}, {42, "6"}, {43, "7"}, {44, "8"}, {45, "9"}, {46, "0"},
    {47, "!"}, {48, "§"}, {49, "$"}, {50, "("}, {51, ")"}, {52, "-"}, {53, "."}, {54, "_"}, {55, "| |"},
};
} // namespace

MusicPage::MusicPage(QWidget* parent)
    : ZarnPage(QStringLiteral("MP3"), parent)
{
    using namespace PageBuilder;
    backItem(this, QStringLiteral("BMWpanel11"), QRect(0, 0, 464, HeaderHeight));
    symbolItem(this, QStringLiteral("BMWpanel12"), QStringLiteral(" B"), QRect(464, 0, 336, HeaderHeight), true);

    auto* random = item(this, QStringLiteral("BMWpanel71"), QStringLiteral("Make Random List"),
                        QRect(0, HeaderHeight, 265, FilterHeight), false, pixelFont(QStringLiteral("Arial Narrow"), 30, true));
    random->setBMW_llf1(4);
    random->setBMW_rectanglewidth(18);
    auto* filterLabel = new QLabel(QStringLiteral("Filter: "), this);
    filterLabel->setObjectName(QStringLiteral("FilterLabel"));
    filterLabel->setFont(pixelFont(QStringLiteral("Arial Narrow"), 30, true));
    filterLabel->setGeometry(275, HeaderHeight, 80, FilterHeight);
    auto* filter = panel(this, QStringLiteral("DateiFilterDisplay"), QString(), QRect(355, HeaderHeight, 437, FilterHeight),
                         pixelFont(QStringLiteral("Arial Narrow"), 30, true));
    filter->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    const QFont keyFont = pixelFont(QStringLiteral("Arial Narrow"), 37, true);
    const auto key = [&](const QString& name, const QString& text, int x, int y, int w) {
        auto* k = panel(this, name, text, QRect(x, y, w, KeyHeight), keyFont);
        k->setFocusPolicy(Qt::StrongFocus);
        return k;
    };
    for (int i = 0; i < 26; ++i)
        key(QStringLiteral("BitBtnWithColor%1").arg(10 + i), QString(QChar('a' + i)), i * KeyPitch, KeysTop, KeyWidth);
    int x = 0;
    for (const Key& k : Row2) {
        key(QStringLiteral("BitBtnWithColor%1").arg(k.number), QString::fromUtf8(k.text), x, KeysTop + 40, KeyWidth);
        x += KeyPitch;
    }
    key(QStringLiteral("Panel82"), QStringLiteral("<"), x, KeysTop + 40, 54);

    auto* up = item(this, QStringLiteral("BMWpanel70"), QString(), QRect(768, KeysTop, 31, 79));
    up->setBMW_rectanglewidth(4);
    up->setBMW_llf1(4);
    up->setBMW_7er_style(false);
    up->setFocusPolicy(Qt::NoFocus);

    // Set by the list as the highlight moves: "n of count".
    auto* counter = panel(this, QStringLiteral("Button7"), QString(), QRect(0, 0, 100, 20));
    counter->hide();

    filterInfo_ = statusStrip(this, "FilterInfo", "");
    // BMWListbox1 comes with the music library browser.
}

void MusicPage::setModel(MusicListModel* model)
{
    model_ = model;
}

void MusicPage::applyDocking()
{
    PageBuilder::dockBottom(filterInfo_);
}

} // namespace zarn
