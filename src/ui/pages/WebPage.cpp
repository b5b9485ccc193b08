#include "ui/pages/WebPage.h"

#include "ui/PlainPanel.h"
#include "ui/TMouseControl.h"
#include "ui/TBMWpanel.h"
#include "ui/pages/PageBuilder.h"

#include <QListWidget>

namespace zarn {

namespace {
constexpr int RowHeight = 66;
}

WebPage::WebPage(QWidget* parent)
    : ZarnPage(QStringLiteral("Iexplorer"), parent)
{
    using namespace PageBuilder;
    backItem(this, QStringLiteral("BMWpanel44"), QRect(0, 0, 273, RowHeight));
    const QFont small = pixelFont(QStringLiteral("Arial Narrow"), 40, true);
    auto* back = item(this, QStringLiteral("BMWpanel45"), QStringLiteral("<"), QRect(273, 0, 55, RowHeight), false, small);
    auto* forward = item(this, QStringLiteral("BMWpanel46"), QStringLiteral(">"), QRect(328, 0, 55, RowHeight), false, small);
    for (TBMWpanel* p : {back, forward}) {
        p->setBMW_rectanglewidth(4);
        p->setBMW_llf1(4);
        p->setBMW_7er_style(false);
    }
    item(this, QStringLiteral("BMWpanel47"), QString(), QRect(400, 0, 401, RowHeight), true,
         pixelFont(QStringLiteral("Arial Narrow"), 32, true));

    // The area the browser fills; it takes the knob's steps as scrolling.
    webArea_ = panel(this, QStringLiteral("BitBtnWithColor94"), QString(), QRect(0, RowHeight, 792, 468));
    webArea_->setFocusPolicy(Qt::StrongFocus);

    auto* overlay = panel(this, QStringLiteral("BitBtnWithColor100"), QString(), QRect(261, 66, 534, 429));
    overlay->setFocusPolicy(Qt::StrongFocus);
    auto* sites = new QListWidget(overlay);
    sites->setObjectName(QStringLiteral("ListBox1"));
    sites->setFont(pixelFont(QStringLiteral("Arial"), 32));
    sites->setGeometry(overlay->rect().adjusted(4, 4, -4, -4));
    overlay->hide();
    applyDocking();
}

bool WebPage::preset(int key)
{
    TMouseControl pointer;
    switch (key) {
    case 1: pointer.MouseClick(); return true;
    case 4: pointer.setY(pointer.Y() - 10); return true;
    default: return false;
    }
}

void WebPage::applyDocking()
{
    webArea_->setGeometry(0, RowHeight, width(), std::max(0, height() - RowHeight));
}

} // namespace zarn
