#include "ui/pages/MailPage.h"

#include "ui/PlainPanel.h"
#include "ui/pages/PageBuilder.h"

namespace zarn {

MailPage::MailPage(QWidget* parent)
    : ZarnPage(QStringLiteral("EmailsMail"), parent)
{
    using namespace PageBuilder;
    constexpr int Band = 66;
    constexpr int Strip = 20;
    // Each focusable panel has a side strip that shows like a menu item's bar.
    auto* back = panel(this, QStringLiteral("BitBtnWithColor82"), QStringLiteral("A"), QRect(Strip, 0, 400 - Strip, Band),
                       pixelFont(QStringLiteral("bmw"), 60));
    back->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    back->setFocusPolicy(Qt::StrongFocus);
    auto* side82 = panel(this, QStringLiteral("Sidepanel82"), QString(), QRect(0, 0, Strip, Band));
    side82->setBevel(PlainPanel::Bevel::Raised);

    auto* other = panel(this, QStringLiteral("BitBtnWithColor83"), QString(), QRect(400, 0, 400 - Strip, Band));
    other->setFocusPolicy(Qt::StrongFocus);
    auto* side83 = panel(this, QStringLiteral("Sidepanel83"), QString(), QRect(800 - Strip, 0, Strip, Band));
    side83->setBevel(PlainPanel::Bevel::Raised);
}

} // namespace zarn
