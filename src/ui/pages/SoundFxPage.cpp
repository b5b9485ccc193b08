#include "ui/pages/SoundFxPage.h"

#include "ui/TBMWpanel.h"
#include "ui/pages/PageBuilder.h"

#include <QLabel>

namespace zarn {

namespace {
constexpr int HeaderHeight = 79;
constexpr int EffectRowHeight = 44;
constexpr int SliderItemWidth = 106;
constexpr int SliderItemHeight = 230;
} // namespace

SoundFxPage::SoundFxPage(QWidget* parent)
    : ZarnPage(QStringLiteral("TabSheet14"), parent)
{
    using namespace PageBuilder;
    backItem(this, QStringLiteral("BMWpanel136"), QRect(0, 0, 512, HeaderHeight));
    item(this, QStringLiteral("BMWpanel137"), QStringLiteral(" Reset"), QRect(512, 0, 288, HeaderHeight), true);

    const QFont rowFont = pixelFont(QStringLiteral("Arial Narrow"), 32, true);
    int top = HeaderHeight;
    // The speed row shows the sample rate in effect once a track plays.
    for (const auto& [name, caption] : {std::pair{"BMWpanel124", ""}, std::pair{"BMWpanel125", "Flange is OFF"},
                                        std::pair{"BMWpanel127", "Echo is OFF"}, std::pair{"BMWpanel128", "Rotate is OFF"}}) {
        auto* p = item(this, QLatin1String(name), QLatin1String(caption), QRect(0, top, 792, EffectRowHeight), false, rowFont);
        p->setBMW_llf1(4);
        p->setBMW_rectanglewidth(18);
        top += EffectRowHeight;
    }

    // Labels above the seven slider items, in the order of the bands.
    const QFont labelFont = pixelFont(QStringLiteral("Arial Narrow"), 32, true);
    struct Band {
        const char* label;
        const char* text;
        const char* item;
    };
    const Band bands[] = {
        {"Label4", "80", "BMWpanel129"},    {"Label7", "600", "BMWpanel130"},  {"Label62", "1000", "BMWpanel131"},
        {"Label63", "2000", "BMWpanel134"}, {"Label64", "4000", "BMWpanel133"}, {"Label65", "8000", "BMWpanel132"},
        {"Label2", "Reverb", "BMWpanel135"},
    };
    const int labelTop = top + 4;
    int left = 22;
    for (const Band& b : bands) {
        auto* l = new QLabel(QLatin1String(b.text), this);
        l->setObjectName(QLatin1String(b.label));
        l->setFont(labelFont);
        l->setAlignment(Qt::AlignCenter);
        l->setGeometry(left, labelTop, SliderItemWidth, 40);
        auto* p = item(this, QLatin1String(b.item), QString(), QRect(left, labelTop + 42, SliderItemWidth, SliderItemHeight));
        p->setBMW_llf1(4);
        p->setBMW_rectanglewidth(18);
        left += SliderItemWidth + 1;
    }
}

} // namespace zarn
