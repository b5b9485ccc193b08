#pragma once

#include <QString>
#include <QUrl>
#include <QtGlobal>

class QWidget;

namespace zarn {

// What the web page hears from its browser. Called on the main thread, from inside the
// browser's own event handling.
class WebBrowserEvents {
public:
    virtual ~WebBrowserEvents() = default;
    // The main frame is about to load `url` (a link, a script, back or forward, a redirect).
    virtual void beforeNavigate(const QUrl& url) = 0;
    // The main frame has finished loading `url`.
    virtual void documentComplete(const QUrl& url) = 0;
    // Loading `url` failed; `reason` is the engine's text. A load that was stopped or
    // replaced by another navigation is not reported.
    virtual void loadFailed(const QUrl& url, const QString& reason) = 0;
    // A link or script asked for a window of its own; it was refused.
    virtual void newWindowCancelled() = 0;
};

// The browser control of the web page. The engine is large (hundreds of megabytes once
// running), so it lives in a module of its own that the program loads when the web page
// is first opened; this header is all the two sides share, and it has no code of its own.
// The control is a widget: it belongs to the parent it was made with and goes with it.
// Main thread only.
class WebBrowserControl {
public:
    virtual ~WebBrowserControl() = default;

    virtual QWidget* widget() = 0;
    virtual void navigate(const QUrl& url) = 0;
    // No earlier or later page: nothing happens.
    virtual void back() = 0;
    virtual void forward() = 0;
    virtual void stop() = 0;
    virtual QUrl url() const = 0;

    // Vertical scroll position of the page in pixels from its top; the page keeps it
    // within its own height.
    virtual void scrollTo(qint64 y) = 0;
    virtual qint64 scrollPosition() const = 0;
    // The largest position the loaded page can take (0 while it fits the view).
    virtual qint64 scrollRange() const = 0;
};

// The module's one entry point, found by this name.
using CreateWebBrowserFunction = WebBrowserControl* (*)(QWidget* parent, WebBrowserEvents* events);
inline constexpr const char* CreateWebBrowserSymbol = "zarn_create_web_browser";

} // namespace zarn
