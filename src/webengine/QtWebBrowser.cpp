#include "webengine/QtWebBrowser.h"

#include "webengine/WebEnginePage.h"

#include <QWebEngineLoadingInfo>

namespace zarn {

QtWebBrowser::QtWebBrowser(QWidget* parent, WebBrowserEvents* events)
    : QWebEngineView(parent)
    , page_(new WebEnginePage(events, this))
    , events_(events)
{
    setObjectName(QStringLiteral("WebBrowser1"));
    setPage(page_);
    connect(page_, &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo& info) {
        if (!events_)
            return;
        switch (info.status()) {
        case QWebEngineLoadingInfo::LoadSucceededStatus:
            events_->documentComplete(info.url());
            break;
        case QWebEngineLoadingInfo::LoadFailedStatus:
            events_->loadFailed(info.url(), info.errorString());
            break;
        default: break; // started, or stopped by the program or by the next navigation
        }
    });
}

void QtWebBrowser::navigate(const QUrl& url)
{
    load(url);
}

void QtWebBrowser::back()
{
    QWebEngineView::back();
}

void QtWebBrowser::forward()
{
    QWebEngineView::forward();
}

void QtWebBrowser::stop()
{
    QWebEngineView::stop();
}

QUrl QtWebBrowser::url() const
{
    return QWebEngineView::url();
}

void QtWebBrowser::scrollTo(qint64 y)
{
    page_->runJavaScript(QStringLiteral("window.scrollTo(window.scrollX, %1)").arg(y));
}

qint64 QtWebBrowser::scrollPosition() const
{
    return qint64(page_->scrollPosition().y());
}

qint64 QtWebBrowser::scrollRange() const
{
    const qreal zoom = page_->zoomFactor() > 0 ? page_->zoomFactor() : 1.0;
    return std::max<qint64>(0, qint64(page_->contentsSize().height() - height() / zoom));
}

} // namespace zarn

// The module's entry point (see WebBrowserControl.h).
extern "C" Q_DECL_EXPORT zarn::WebBrowserControl* zarn_create_web_browser(QWidget* parent, zarn::WebBrowserEvents* events)
{
    return new zarn::QtWebBrowser(parent, events);
}
