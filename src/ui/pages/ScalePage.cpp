#include "ui/pages/ScalePage.h"

#include "ui/TBMWpanel.h"
#include "ui/pages/PageBuilder.h"

#include <QLabel>

namespace zarn {

namespace {
constexpr int RowHeight = 79;
constexpr int LabelHeight = 44;

struct Nudge {
    const char* name;
    const char16_t* caption;
    int row;
    int dx, dy, dw, dh;
};
// The captions are arrows of "Wingdings 3": D9 left, DA right, DB up, DC down.
const Nudge Nudges[] = {
    {"BMWpanel34", u"\u00D9\u00DA", 1, 0, 0, 1, 0},   // wider
    {"BMWpanel35", u" \u00DA\u00D9", 1, 0, 0, -1, 0}, // narrower
    {"BMWpanel36", u"\u00DB", 2, 0, -1, 0, 0},        // up
    {"BMWpanel37", u" \u00DC", 2, 0, 1, 0, 0},        // down
    {"BMWpanel38", u"\u00DC\u00DC", 3, 0, 0, 0, 1},   // taller
    {"BMWpanel39", u" \u00DB\u00DB", 3, 0, 0, 0, -1}, // shorter
    {"BMWpanel40", u"\u00D9", 4, -1, 0, 0, 0},        // left
    {"BMWpanel41", u" \u00DA", 4, 1, 0, 0, 0},        // right
};
} // namespace

ScalePage::ScalePage(QWidget* parent)
    : ZarnPage(QStringLiteral("TabSheet4"), parent)
{
    using namespace PageBuilder;
    backItem(this, QStringLiteral("BMWpanel32"), QRect(0, 0, 400, RowHeight));
    // Its click refreshes the system status values; the knob ignores it.
    item(this, QStringLiteral("BMWpanel33"), QString(), QRect(400, 0, 400, RowHeight), true);

    const QFont arrows = pixelFont(QStringLiteral("Wingdings 3"), 60);
    for (const Nudge& n : Nudges) {
        // The odd numbers form the right column.
        const bool right = QString::fromLatin1(n.name).mid(8).toInt() % 2 == 1;
        auto* p = item(this, QLatin1String(n.name), QString::fromUtf16(n.caption), QRect(right ? 400 : 0, n.row * RowHeight, 400, RowHeight),
                       right, arrows);
        const Nudge step = n;
        connect(p, &TBMWpanel::clicked, this, [this, step] { emit nudge(step.dx, step.dy, step.dw, step.dh); });
    }

    label34_ = new QLabel(this);
    label34_->setObjectName(QStringLiteral("Label34"));
    label34_->setFont(pixelFont(QStringLiteral("MS Sans Serif"), 35));
    applyDocking();
}

void ScalePage::applyDocking()
{
    label34_->setGeometry(0, height() - LabelHeight, width(), LabelHeight);
}

} // namespace zarn
