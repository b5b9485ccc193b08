#include "app/MailWiring.h"

#include "ui/PageIndex.h"
#include "ui/TBMWpanel.h"
#include "ui/ZarnWindow.h"
#include "ui/pages/MailHeadersPage.h"
#include "ui/pages/MailPage.h"

namespace zarn {

MailWiring::MailWiring(ZarnWindow& window, StatusLog& log, QObject* parent)
    : QObject(parent)
    , window_(window)
    , controller_(log)
{
    auto* headers = static_cast<MailHeadersPage*>(window.page(PageMailHeaders));
    auto* mail = static_cast<MailPage*>(window.page(PageMail));
    MailController& c = controller_;

    connect(headers, &MailHeadersPage::getMailRequested, &c, &MailController::BMWpanel43Click);
    connect(headers, &MailHeadersPage::headerChosen, this, [this](int row) {
        window_.ShowPage(PageMail);
        controller_.lvHeadersClick(row);
    });
    connect(&c, &MailController::captionRequested, this,
            [this](const QString& feature) { window_.setHeaderCaption(QLatin1Char(' ') + window_.Versiontitle + feature); });
    connect(&c, &MailController::statusChanged, headers, &MailHeadersPage::setStatus);
    connect(&c, &MailController::downloadEnabledChanged, headers, &MailHeadersPage::setDownloadEnabled);
    connect(&c, &MailController::rowsReset, headers, &MailHeadersPage::clearRows);
    connect(&c, &MailController::rowAdded, headers,
            [headers](const MailController::HeaderRow& row) { headers->addRow(row.from, row.subject, row.date); });
    connect(&c, &MailController::messageChanged, mail, [mail, &c] {
        const MailController::MessageView& m = c.message();
        mail->setFields({m.from, m.recipients, m.cc, m.date, m.subject, m.receipt, m.body});
    });
    connect(&c, &MailController::messageReady, mail, [mail] { mail->setBodyFocusStop(true); });

    connect(mail, &MailPage::backRequested, this, [this] {
        if (auto* item = window_.findChild<TBMWpanel*>(QStringLiteral("BMWpanel8")))
            window_.setFeatureCaption(item->BMW_supercaption());
        window_.ShowPage(PageMailHeaders);
    });
    connect(&window, &ZarnWindow::mailSettingsApplied, &c, &MailController::setServer);
}

} // namespace zarn
