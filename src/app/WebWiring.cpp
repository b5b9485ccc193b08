#include "app/WebWiring.h"

#include "core/StatusLog.h"
#include "services/WebSettings.h"
#include "ui/WebBrowserModule.h"
#include "ui/ZarnWindow.h"
#include "ui/pages/MainMenuPage.h"
#include "ui/pages/WebPage.h"

namespace zarn::WebWiring {

namespace {
WebPage* webPage(ZarnWindow& window)
{
    return static_cast<WebPage*>(window.page(PageWeb));
}
} // namespace

void wire(ZarnWindow& window, StatusLog& log)
{
    WebPage* page = webPage(window);
    page->setBrowserFactory([](QWidget* parent, WebBrowserEvents* events, QString* error) {
        static WebBrowserModule module(WebBrowserModule::defaultCandidates());
        return module.create(parent, events, error);
    });
    QObject::connect(window.mainMenu(), &MainMenuPage::webRequested, page, &WebPage::BMWpanel7Click);
    // A page loading behind another one leaves that page's header alone.
    QObject::connect(page, &WebPage::headerText, &window, [&window](const QString& text) {
        if (window.activePage() == PageWeb)
            window.setFeatureCaption(text);
    });
    QObject::connect(page, &WebPage::statusLine, &log, [&log](const QString& text) { log.addWarning(text); });
}

void applySites(ZarnWindow& window, StatusLog& log, const WebSettings& settings)
{
    QStringList rejected;
    const QStringList sites = WebSettings::usableSites(settings.webSites, &rejected);
    for (const QString& entry : rejected)
        log.addWarning(QStringLiteral("Zarn.ini [Websites] site ") + entry + QStringLiteral(" - skipped"));
    webPage(window)->setSites(sites.isEmpty() ? WebSettings::defaultWebSites() : sites);
}

} // namespace zarn::WebWiring
