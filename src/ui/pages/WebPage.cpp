#include "ui/pages/WebPage.h"

#include "services/WebSettings.h"
#include "ui/PlainPanel.h"
#include "ui/TMouseControl.h"
#include "ui/TBMWpanel.h"
#include "ui/pages/PageBuilder.h"

#include <QHash>
#include <QListWidget>

#include <algorithm>

namespace zarn {

namespace {
constexpr int RowHeight = 66;
// The browser sits inside the web area with a margin, so the area's focus color shows.
constexpr int BrowserMargin = 8;

QString shown(const QUrl& url)
{
    return url.toString();
}
} // namespace

WebPage::WebPage(QWidget* parent)
    : ZarnPage(QStringLiteral("Iexplorer"), parent)
    , loadTimer_(QStringLiteral("WebLoadTimer"), this)
{
    using namespace PageBuilder;
    backItem(this, QStringLiteral("BMWpanel44"), QRect(0, 0, 273, RowHeight));
    const QFont small = pixelFont(QStringLiteral("Arial Narrow"), 40, true);
    auto* back = item(this, QStringLiteral("BMWpanel45"), QStringLiteral("<"), QRect(273, 0, 55, RowHeight), false, small);
    auto* forward = item(this, QStringLiteral("BMWpanel46"), QStringLiteral(">"), QRect(328, 0, 55, RowHeight), false, small);
    for (TBMWpanel* p : {back, forward}) {
        p->setBMW_rectanglewidth(4);
        p->setBMW_llf1(4);
        p->setBMW_7er_style(false);
    }
    address_ = item(this, QStringLiteral("BMWpanel47"), QString(), QRect(400, 0, 401, RowHeight), true,
                    pixelFont(QStringLiteral("Arial Narrow"), 32, true));

    // The area the browser fills; it takes the knob's steps as scrolling.
    webArea_ = panel(this, QStringLiteral("BitBtnWithColor94"), QString(), QRect(0, RowHeight, 792, 468));
    webArea_->setFocusPolicy(Qt::StrongFocus);

    overlay_ = panel(this, QStringLiteral("BitBtnWithColor100"), QString(), QRect(261, 66, 534, 429));
    overlay_->setFocusPolicy(Qt::StrongFocus);
    siteList_ = new QListWidget(overlay_);
    siteList_->setObjectName(QStringLiteral("ListBox1"));
    siteList_->setFont(pixelFont(QStringLiteral("Arial"), 32));
    siteList_->setGeometry(overlay_->rect().adjusted(4, 4, -4, -4));
    overlay_->hide();

    connect(back, &TBMWpanel::clicked, this, &WebPage::BMWpanel45Click);
    connect(forward, &TBMWpanel::clicked, this, &WebPage::BMWpanel46Click);
    connect(address_, &TBMWpanel::clicked, this, &WebPage::BMWpanel47Click);
    connect(siteList_, &QListWidget::itemClicked, this, &WebPage::ListBox1Click);
    connect(&loadTimer_, &Timer::timeout, this, &WebPage::WebLoadTimerTimer);
    setSites(WebSettings::defaultWebSites());
    applyDocking();
}

WebPage::~WebPage()
{
    // The browser reports to this page: it goes first.
    loadTimer_.stop();
    delete browserWidget_.data();
}

void WebPage::applyDocking()
{
    webArea_->setGeometry(0, RowHeight, width(), std::max(0, height() - RowHeight));
    if (browserWidget_)
        browserWidget_->setGeometry(webArea_->rect().adjusted(BrowserMargin, BrowserMargin, -BrowserMargin, -BrowserMargin));
}

void WebPage::setSites(const QStringList& sites)
{
    siteList_->clear();
    siteList_->addItems(sites);
    address_->setBMW_supercaption(sites.value(0));
}

QStringList WebPage::sites() const
{
    QStringList list;
    for (int i = 0; i < siteList_->count(); ++i)
        list << siteList_->item(i)->text();
    return list;
}

QString WebPage::currentAddress() const
{
    return address_->BMW_supercaption();
}

WebBrowserControl* WebPage::browser() const
{
    return browserWidget_ ? browser_ : nullptr;
}

void WebPage::BMWpanel7Click()
{
    scrollOffset_ = 0;
    navigate(currentAddress());
}

void WebPage::BMWpanel45Click()
{
    scrollOffset_ = 0;
    if (WebBrowserControl* b = browser())
        b->back();
}

void WebPage::BMWpanel46Click()
{
    scrollOffset_ = 0;
    if (WebBrowserControl* b = browser())
        b->forward();
}

void WebPage::BMWpanel47Click()
{
    navigate(currentAddress());
}

void WebPage::ListBox1Click()
{
    const int row = selectedSite();
    if (row < 0)
        return;
    QListWidgetItem* chosen = siteList_->item(row);
    address_->setBMW_supercaption(chosen->text());
    scrollOffset_ = 0;
    BMWpanel47Click();
    // The page just chosen is what the knob works on next.
    if (overlay_->isAncestorOf(focusWidget()))
        webArea_->setFocus(Qt::OtherFocusReason);
    hideSiteList();
}

void WebPage::navigate(const QString& entry)
{
    const QUrl url = WebSettings::siteAddress(entry);
    if (!url.isValid() || !ensureBrowser())
        return;
    browser_->navigate(url);
}

bool WebPage::ensureBrowser()
{
    if (browserWidget_)
        return true;
    QString error;
    browser_ = factory_ ? factory_(webArea_, this, &error) : nullptr;
    if (!browser_) {
        if (!factory_)
            error = QStringLiteral("no browser engine configured");
        webArea_->setCaption(QStringLiteral("Web Browser not available"));
        emit statusLine(QStringLiteral("Web Browser not available: ") + error);
        return false;
    }
    webArea_->setCaption(QString());
    browserWidget_ = browser_->widget();
    browserWidget_->setGeometry(webArea_->rect().adjusted(BrowserMargin, BrowserMargin, -BrowserMargin, -BrowserMargin));
    browserWidget_->show();
    return true;
}

void WebPage::beforeNavigate(const QUrl& url)
{
    loading_ = url;
    loadTimer_.restart(LoadTimeoutMs);
    emit headerText(shown(url));
}

void WebPage::documentComplete(const QUrl&)
{
    loadTimer_.stop();
    loading_.clear();
    emit headerText(QStringLiteral("done"));
}

void WebPage::loadFailed(const QUrl& url, const QString& reason)
{
    // Late news of a load given up already, or of one a newer navigation replaced.
    if (!loadTimer_.isActive())
        return;
    const QUrl::FormattingOptions same = QUrl::StripTrailingSlash | QUrl::NormalizePathSegments;
    if (!loading_.isEmpty() && url.adjusted(same) != loading_.adjusted(same))
        return;
    loadTimer_.stop();
    loading_.clear();
    emit headerText(shown(url) + QStringLiteral(" not reached"));
    emit statusLine(QStringLiteral("Web Browser: ") + shown(url) + QStringLiteral(" not reached - ") + reason);
}

void WebPage::newWindowCancelled()
{
    emit newWindowRefused();
}

void WebPage::WebLoadTimerTimer()
{
    loadTimer_.stop();
    const QUrl url = loading_;
    loading_.clear();
    if (WebBrowserControl* b = browser())
        b->stop();
    emit headerText(shown(url) + QStringLiteral(" not answering"));
    emit statusLine(QStringLiteral("Web Browser: ") + shown(url) + QStringLiteral(" did not answer within %1 s")
                                                                      .arg(LoadTimeoutMs / 1000));
}

// The list's current row is not always a selection (the list makes its first row current
// as it takes the focus); the knob goes by the selection.
int WebPage::selectedSite() const
{
    const QList<QListWidgetItem*> selected = siteList_->selectedItems();
    return selected.isEmpty() ? -1 : siteList_->row(selected.first());
}

bool WebPage::webAreaHasFocus(QWidget* focus) const
{
    return focus && (focus == webArea_ || webArea_->isAncestorOf(focus));
}

bool WebPage::siteListHasFocus(QWidget* focus) const
{
    return focus && (focus == overlay_ || overlay_->isAncestorOf(focus));
}

void WebPage::hideSiteList()
{
    overlay_->hide();
}

void WebPage::showSiteList()
{
    overlay_->show();
    overlay_->raise();
    siteList_->setFocus(Qt::OtherFocusReason);
}

// The page follows the knob down as far as it reaches; the offset never runs past the
// page's end, so one detent back up always shows the page move.
void WebPage::scrollBy(qint64 pixels)
{
    WebBrowserControl* b = browser();
    if (!b)
        return;
    const qint64 now = -scrollOffset_;
    const qint64 target = std::max(now, std::min(now + pixels, b->scrollRange()));
    scrollOffset_ = -target;
    b->scrollTo(target);
}

void WebPage::scrollToTop()
{
    if (WebBrowserControl* b = browser())
        b->scrollTo(0);
    scrollOffset_ = 0;
}

bool WebPage::turn(Turn turn, QWidget* focus)
{
    const QString name = focus ? focus->objectName() : QString();
    if (turn == Turn::CounterClockwise) {
        if (webAreaHasFocus(focus) && scrollOffset_ != 0) {
            scrollToTop();
            findChild<QWidget*>(QStringLiteral("BMWpanel44"))->setFocus(Qt::BacktabFocusReason);
            return true;
        }
        return false;
    }
    // The item row, left to right, into the site list.
    static const QHash<QString, QString> row = {{QStringLiteral("BMWpanel44"), QStringLiteral("BMWpanel45")},
                                                {QStringLiteral("BMWpanel45"), QStringLiteral("BMWpanel46")},
                                                {QStringLiteral("BMWpanel46"), QStringLiteral("BMWpanel47")}};
    if (const auto next = row.constFind(name); next != row.constEnd()) {
        findChild<QWidget*>(*next)->setFocus(Qt::TabFocusReason);
        if (name == QLatin1String("BMWpanel46"))
            hideSiteList();
        return true;
    }
    if (name == QLatin1String("BMWpanel47")) {
        showSiteList();
        return true;
    }
    if (siteListHasFocus(focus)) {
        const int selected = selectedSite();
        if (selected >= siteList_->count() - 1) {
            webArea_->setFocus(Qt::TabFocusReason);
            hideSiteList();
        } else {
            siteList_->setCurrentRow(selected + 1);
        }
        return true;
    }
    if (webAreaHasFocus(focus)) {
        hideSiteList();
        scrollBy(ScrollStep);
        return true;
    }
    return false;
}

bool WebPage::press(QWidget* focus)
{
    if (!siteListHasFocus(focus))
        return false;
    ListBox1Click();
    return true;
}

bool WebPage::preset(int key)
{
    TMouseControl pointer;
    switch (key) {
    case 1: pointer.MouseClick(); return true;
    case 4: pointer.setY(pointer.Y() - 10); return true;
    default: return false;
    }
}

} // namespace zarn
