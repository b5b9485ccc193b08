#pragma once

#include "ui/WebBrowserControl.h"

#include <QWebEngineView>

namespace zarn {

class WebEnginePage;

// The browser control on Qt WebEngine. The view fills its parent's area and the page
// scrolls inside it. Main thread only.
class QtWebBrowser : public QWebEngineView, public WebBrowserControl {
    Q_OBJECT
public:
    QtWebBrowser(QWidget* parent, WebBrowserEvents* events);

    QWidget* widget() override { return this; }
    void navigate(const QUrl& url) override;
    void back() override;
    void forward() override;
    void stop() override;
    QUrl url() const override;
    void scrollTo(qint64 y) override;
    qint64 scrollPosition() const override;
    qint64 scrollRange() const override;

private:
    WebEnginePage* page_;
    WebBrowserEvents* events_;
};

} // namespace zarn
