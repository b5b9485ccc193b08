#pragma once

#include "core/Timer.h"
#include "ui/WebBrowserControl.h"
#include "ui/pages/ZarnPage.h"

#include <QPointer>
#include <QStringList>

#include <functional>

class QListWidget;

namespace zarn {

class PlainPanel;
class TBMWpanel;

// Page 2, the web page: back, forward and the address item above the web area, and the
// site list overlay. The browser is made on the page's first navigation, never before:
// its engine costs hundreds of megabytes. The knob walks the item row, steps through
// the site list and scrolls the page 80 pixels a detent. Main thread only.
class WebPage : public ZarnPage, private WebBrowserEvents {
    Q_OBJECT
public:
    // Makes the browser inside `parent`; null with `error` set when it cannot.
    using BrowserFactory = std::function<WebBrowserControl*(QWidget* parent, WebBrowserEvents* events, QString* error)>;

    explicit WebPage(QWidget* parent = nullptr);
    ~WebPage() override;
    void applyDocking() override;

    void setBrowserFactory(BrowserFactory factory) { factory_ = std::move(factory); }
    // The site list (usable entries only); the first one becomes the current address.
    void setSites(const QStringList& sites);
    QStringList sites() const;
    QString currentAddress() const;

    // The page as the main menu's " Web Browser" item opens it (the page is shown by
    // then): back to the top, and the current address loaded.
    void BMWpanel7Click();
    void BMWpanel45Click(); // back
    void BMWpanel46Click(); // forward
    void BMWpanel47Click(); // the current address again
    void ListBox1Click();   // the selected site becomes the current address

    // Pixels the knob has scrolled the page down, held as a negative number (0 = top).
    qint64 WebScrollOffset() const { return scrollOffset_; }
    // Null until the page first navigated, or when the browser could not be made.
    WebBrowserControl* browser() const;
    Timer& loadTimer() { return loadTimer_; }
    static constexpr int ScrollStep = 80;
    // A site that has not loaded by then is stopped and reported.
    static constexpr int LoadTimeoutMs = 30000;

    bool turn(Turn turn, QWidget* focus) override;
    bool press(QWidget* focus) override;
    // Preset 1 clicks at the mouse pointer, preset 4 moves it up; the others are the
    // window's pointer moves.
    bool preset(int key) override;

signals:
    // The header's text after " " + Versiontitle + " ": the address loading, "done", or
    // why a site did not load.
    void headerText(const QString& text);
    // A failure worth the status log.
    void statusLine(const QString& text);
    // A link or script asked for a window of its own and was refused.
    void newWindowRefused();

private:
    void beforeNavigate(const QUrl& url) override;
    void documentComplete(const QUrl& url) override;
    void loadFailed(const QUrl& url, const QString& reason) override;
    void newWindowCancelled() override;
    void WebLoadTimerTimer();

    void navigate(const QString& entry);
    bool ensureBrowser();
    void scrollBy(qint64 pixels);
    void scrollToTop();
    int selectedSite() const;
    bool webAreaHasFocus(QWidget* focus) const;
    bool siteListHasFocus(QWidget* focus) const;
    void hideSiteList();
    void showSiteList();

    PlainPanel* webArea_;
    PlainPanel* overlay_;
    QListWidget* siteList_;
    TBMWpanel* address_;
    BrowserFactory factory_;
    WebBrowserControl* browser_ = nullptr;
    QPointer<QWidget> browserWidget_; // the control goes with its widget
    bool browserFailed_ = false;
    qint64 scrollOffset_ = 0;
    QUrl loading_;
    Timer loadTimer_;
};

} // namespace zarn
