#include "ui/pages/MailHeadersPage.h"

#include "ui/PlainPanel.h"
#include "ui/pages/PageBuilder.h"
#include "ui/pages/StatusStrip.h"

namespace zarn {

MailHeadersPage::MailHeadersPage(QWidget* parent)
    : ZarnPage(QStringLiteral("EmailHeaders"), parent)
{
    using namespace PageBuilder;
    backItem(this, QStringLiteral("BMWpanel42"), QRect(0, 0, 280, 66));
    item(this, QStringLiteral("BMWpanel43"), QStringLiteral(" Get Mail"), QRect(280, 0, 520, 66), true);
    status_ = statusStrip(this, "Mailstatus", " System ready", 49);
}

void MailHeadersPage::applyDocking()
{
    PageBuilder::dockBottom(status_);
}

} // namespace zarn
