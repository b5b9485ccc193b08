#pragma once

#include <QWebEnginePage>

namespace zarn {

class WebBrowserEvents;

// The engine's page with the two decisions the program takes: every main-frame
// navigation is announced before it starts, and no page gets a window of its own.
// Main thread only.
class WebEnginePage : public QWebEnginePage {
    Q_OBJECT
public:
    WebEnginePage(WebBrowserEvents* events, QObject* parent);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    // Refused: a link with a target of its own or window.open stays on this page.
    QWebEnginePage* createWindow(WebWindowType type) override;

private:
    WebBrowserEvents* events_;
};

} // namespace zarn
