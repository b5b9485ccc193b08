#include "webengine/WebEnginePage.h"

#include "ui/WebBrowserControl.h"

namespace zarn {

WebEnginePage::WebEnginePage(WebBrowserEvents* events, QObject* parent)
    : QWebEnginePage(parent)
    , events_(events)
{
}

bool WebEnginePage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame)
{
    if (isMainFrame && events_)
        events_->beforeNavigate(url);
    return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
}

QWebEnginePage* WebEnginePage::createWindow(WebWindowType)
{
    if (events_)
        events_->newWindowCancelled();
    return nullptr;
}

} // namespace zarn
