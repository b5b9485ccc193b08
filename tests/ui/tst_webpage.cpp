// The web page with the real browser module, on pages served by the test on loopback.
#include "InputFixture.h"
#include "TestSupport.h"

#include "ui/FocusNavigator.h"
#include "ui/PlainPanel.h"
#include "ui/PlainItemHighlight.h"
#include "ui/SelectActions.h"
#include "ui/WebBrowserModule.h"
#include "ui/pages/WebPage.h"

#include <QApplication>
#include <QHash>
#include <QListWidget>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <memory>

#include <unistd.h>

using namespace zarn;
using namespace zarn::test;

namespace {

constexpr int Patience = 60000; // the engine's first start, on a busy machine

// Pages by path, served over HTTP on a loopback port; a silent site takes connections
// and never answers.
class LocalSite : public QObject {
public:
    explicit LocalSite(bool silent = false)
        : silent_(silent)
    {
        server_.listen(QHostAddress::LocalHost);
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = server_.nextPendingConnection()) {
                s->setParent(this);
                connect(s, &QTcpSocket::readyRead, this, [this, s] { answer(s); });
            }
        });
    }
    QString url(const QString& path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path);
    }
    QHash<QString, QByteArray> pages;
    QStringList requested;

private:
    void answer(QTcpSocket* s)
    {
        QByteArray& request = buffers_[s];
        request += s->readAll();
        if (silent_ || !request.contains("\r\n\r\n"))
            return;
        const QString path = QString::fromLatin1(request.split(' ').value(1));
        request.clear();
        requested << path;
        const bool found = pages.contains(path);
        const QByteArray body = found ? pages.value(path) : QByteArray("<html><body>none</body></html>");
        s->write((found ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n") + QByteArray("Content-Type: text/html\r\n")
                 + "Content-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
        s->disconnectFromHost();
    }
    QTcpServer server_;
    bool silent_;
    QHash<QTcpSocket*, QByteArray> buffers_;
};

QByteArray page(const QString& title, int height, const QString& body = QString())
{
    return QStringLiteral("<html><head><title>%1</title></head><body style='margin:0'>"
                          "<div style='height:%2px'>%3</div></body></html>")
        .arg(title)
        .arg(height)
        .arg(body)
        .toUtf8();
}

// The real window's web page with the knob, the press and the browser module.
struct WebFixture {
    VirtualTime time; // before the page, whose load timer takes the scheduler it finds
    RealWindow w;
    FocusNavigator nav{w.access()};
    SelectActions select{w.access(), nav};
    PlainItemHighlight highlight{w.access()};
    WebBrowserModule module{{binaryPath(QLatin1String(WebBrowserModule::FileName))}};
    WebPage* web = static_cast<WebPage*>(w.window.page(PageWeb));
    QStringList headers;
    QStringList statusLines;

    WebFixture()
    {
        web->setBrowserFactory([this](QWidget* parent, WebBrowserEvents* events, QString* error) {
            return module.create(parent, events, error);
        });
        QObject::connect(web, &WebPage::headerText, [this](const QString& t) { headers << t; });
        QObject::connect(web, &WebPage::statusLine, [this](const QString& t) { statusLines << t; });
        w.window.setBounds(0, 0, 800, 600);
    }
    bool open(const QStringList& sites)
    {
        web->setSites(sites);
        if (!w.showActive())
            return false;
        w.window.ShowPage(PageWeb);
        web->BMWpanel7Click();
        return true;
    }
    QString lastHeader() const { return headers.value(headers.size() - 1); }
    qint64 scrollPosition() const { return web->browser() ? web->browser()->scrollPosition() : -1; }
    QString url() const { return web->browser() ? web->browser()->url().toString() : QString(); }
};

} // namespace

class TstWebPage : public QObject {
    Q_OBJECT
private slots:
    void storedSiteOpensAtTheFirstNavigation();
    void knobScrollsTheDocument();
    void knobStopsAtTheDocumentsEnd();
    void knobWalksTheRowAndTheSiteList();
    void backAndForward();
    void newWindowLinkStaysInThePage();
    void siteThatRefuses();
    void siteThatNeverAnswers();
    void withoutTheModuleThePageSaysSo();
};

void TstWebPage::storedSiteOpensAtTheFirstNavigation()
{
    LocalSite site;
    site.pages["/home"] = page("Home", 300, "Hello");
    WebFixture f;
    QVERIFY(!f.web->browser()); // nothing made before the page is used
    QVERIFY(f.open({site.url("/home"), site.url("/other")}));
    QVERIFY(f.web->browser());
    // The engine's sandbox cannot start for root; it is switched off for root alone.
    if (::geteuid() == 0)
        QCOMPARE(qgetenv("QTWEBENGINE_DISABLE_SANDBOX"), QByteArray("1"));
    QCOMPARE(f.web->currentAddress(), site.url("/home"));
    QTRY_COMPARE_WITH_TIMEOUT(f.lastHeader(), QString("done"), Patience);
    // The address loading showed first.
    QCOMPARE(f.headers.value(0), site.url("/home"));
    QCOMPARE(site.requested.value(0), "/home");
    QCOMPARE(f.w.find<QWidget>("WebBrowser1") != nullptr, true);
    QVERIFY(f.statusLines.isEmpty());
}

void TstWebPage::knobScrollsTheDocument()
{
    LocalSite site;
    site.pages["/tall"] = page("Tall", 5000);
    WebFixture f;
    QVERIFY(f.open({site.url("/tall")}));
    QTRY_COMPARE_WITH_TIMEOUT(f.lastHeader(), QString("done"), Patience);
    QTRY_VERIFY_WITH_TIMEOUT(f.web->browser()->scrollRange() > 1000, Patience);

    f.w.focus("BitBtnWithColor94");
    for (int i = 0; i < 3; ++i)
        QVERIFY(f.nav.TurnbottonrightClick());
    QCOMPARE(f.web->WebScrollOffset(), -240);
    QTRY_COMPARE_WITH_TIMEOUT(f.scrollPosition(), 240, Patience);
    QCOMPARE(f.w.focusName(), "BitBtnWithColor94");

    // One detent back: to the top, the focus on the back item.
    QVERIFY(f.nav.TurnbottonleftClick());
    QCOMPARE(f.web->WebScrollOffset(), 0);
    QCOMPARE(f.w.focusName(), "BMWpanel44");
    QTRY_COMPARE_WITH_TIMEOUT(f.scrollPosition(), 0, Patience);
}

void TstWebPage::knobStopsAtTheDocumentsEnd()
{
    LocalSite site;
    site.pages["/short"] = page("Short", 700);
    WebFixture f;
    QVERIFY(f.open({site.url("/short")}));
    QTRY_COMPARE_WITH_TIMEOUT(f.lastHeader(), QString("done"), Patience);
    QTRY_VERIFY_WITH_TIMEOUT(f.web->browser()->scrollRange() > 0, Patience);
    const qint64 range = f.web->browser()->scrollRange();
    QVERIFY2(range < 400, qPrintable(QString::number(range)));

    f.w.focus("BitBtnWithColor94");
    for (int i = 0; i < 10; ++i)
        f.nav.TurnbottonrightClick();
    QCOMPARE(f.web->WebScrollOffset(), -range);
    QTRY_COMPARE_WITH_TIMEOUT(f.scrollPosition(), range, Patience);
}

void TstWebPage::knobWalksTheRowAndTheSiteList()
{
    LocalSite site;
    for (const char* p : {"/a", "/b", "/c"})
        site.pages[p] = page(p, 200);
    WebFixture f;
    QVERIFY(f.open({site.url("/a"), site.url("/b"), site.url("/c")}));
    QTRY_COMPARE_WITH_TIMEOUT(f.lastHeader(), QString("done"), Patience);
    QWidget* overlay = f.w.find<QWidget>("BitBtnWithColor100");
    auto* list = f.w.find<QListWidget>("ListBox1");

    f.w.focus("BMWpanel44");
    const QStringList row{"BMWpanel45", "BMWpanel46", "BMWpanel47", "ListBox1"};
    for (const QString& next : row) {
        f.nav.TurnbottonrightClick();
        QCOMPARE(f.w.focusName(), next);
    }
    QVERIFY(overlay->isVisible());
    QVERIFY(list->selectedItems().isEmpty());
    f.nav.TurnbottonrightClick(); // no entry selected: the first
    QCOMPARE(list->selectedItems().value(0)->text(), site.url("/a"));
    f.nav.TurnbottonrightClick();
    QCOMPARE(list->selectedItems().value(0)->text(), site.url("/b"));

    // The knob press opens the selected site.
    f.select.SelButton1Click();
    QCOMPARE(f.web->currentAddress(), site.url("/b"));
    QVERIFY(!overlay->isVisible());
    QTRY_COMPARE_WITH_TIMEOUT(f.url(), site.url("/b"), Patience);

    // Past the list's last entry: the web area, the list hidden.
    f.w.focus("BMWpanel47");
    f.nav.TurnbottonrightClick();
    list->setCurrentRow(2);
    f.nav.TurnbottonrightClick();
    QCOMPARE(f.w.focusName(), "BitBtnWithColor94");
    QVERIFY(!overlay->isVisible());
}

void TstWebPage::backAndForward()
{
    LocalSite site;
    site.pages["/first"] = page("First", 200);
    site.pages["/second"] = page("Second", 200);
    WebFixture f;
    QVERIFY(f.open({site.url("/first"), site.url("/second")}));
    QTRY_COMPARE_WITH_TIMEOUT(f.url(), site.url("/first"), Patience);
    QTRY_COMPARE_WITH_TIMEOUT(f.lastHeader(), QString("done"), Patience);

    // Back on the first page of the history leaves the page as it is.
    f.headers.clear();
    f.web->BMWpanel45Click();
    QCoreApplication::processEvents();
    QCOMPARE(f.url(), site.url("/first"));

    auto* list = f.w.find<QListWidget>("ListBox1");
    list->setCurrentRow(1);
    f.web->ListBox1Click();
    QTRY_COMPARE_WITH_TIMEOUT(f.url(), site.url("/second"), Patience);
    QTRY_COMPARE_WITH_TIMEOUT(f.lastHeader(), QString("done"), Patience);

    f.headers.clear();
    f.web->BMWpanel45Click();
    QTRY_COMPARE_WITH_TIMEOUT(f.url(), site.url("/first"), Patience);
    QTRY_COMPARE_WITH_TIMEOUT(f.lastHeader(), QString("done"), Patience);
    QCOMPARE(f.headers.value(0), site.url("/first"));
    QCOMPARE(f.web->WebScrollOffset(), 0);

    f.web->BMWpanel46Click();
    QTRY_COMPARE_WITH_TIMEOUT(f.url(), site.url("/second"), Patience);
}

void TstWebPage::newWindowLinkStaysInThePage()
{
    LocalSite site;
    site.pages["/links"] = page("Links", 400,
                                "<a id='l' href='/elsewhere' target='_blank' style='display:block;height:400px;"
                                "font-size:60px'>open a window</a>");
    site.pages["/elsewhere"] = page("Elsewhere", 200);
    WebFixture f;
    QVERIFY(f.open({site.url("/links")}));
    QTRY_COMPARE_WITH_TIMEOUT(f.lastHeader(), QString("done"), Patience);
    QSignalSpy refused(f.web, &WebPage::newWindowRefused);
    QWidget* view = f.w.find<QWidget>("WebBrowser1");
    QWidget* target = view->focusProxy() ? view->focusProxy() : view;
    // The first click may come before the page's first frame: click until one arrives.
    for (int i = 0; i < 30 && refused.isEmpty(); ++i) {
        QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(100, 100));
        refused.wait(2000);
    }
    QVERIFY(!refused.isEmpty());
    QCoreApplication::processEvents();
    QCOMPARE(f.url(), site.url("/links"));
    QVERIFY(!site.requested.contains("/elsewhere"));
    QCOMPARE(f.lastHeader(), QString("done"));
}

void TstWebPage::siteThatRefuses()
{
    // A port nobody listens on.
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    const QString url = QStringLiteral("http://127.0.0.1:%1/").arg(closed.serverPort());
    closed.close();
    WebFixture f;
    QVERIFY(f.open({url}));
    QTRY_COMPARE_WITH_TIMEOUT(f.lastHeader(), url + " not reached", Patience);
    QCOMPARE(f.statusLines.size(), 1);
    QVERIFY2(f.statusLines[0].startsWith("Web Browser: " + url + " not reached - "), qPrintable(f.statusLines[0]));
}

void TstWebPage::siteThatNeverAnswers()
{
    LocalSite silent(true);
    const QString url = silent.url("/");
    WebFixture f;
    QVERIFY(f.open({url}));
    QTRY_COMPARE_WITH_TIMEOUT(f.lastHeader(), url, Patience);
    f.time.advance(WebPage::LoadTimeoutMs - 1);
    QCOMPARE(f.lastHeader(), url);
    f.time.advance(1);
    QCOMPARE(f.lastHeader(), url + " not answering");
    QCOMPARE(f.statusLines, QStringList{"Web Browser: " + url + " did not answer within 30 s"});
    // The stopped load reports nothing more.
    QCoreApplication::processEvents();
    QTest::qWait(200);
    QCOMPARE(f.lastHeader(), url + " not answering");
}

void TstWebPage::withoutTheModuleThePageSaysSo()
{
    RealWindow w;
    auto* web = static_cast<WebPage*>(w.window.page(PageWeb));
    WebBrowserModule missing({"/nonexistent/zarn-webengine.so"});
    web->setBrowserFactory([&](QWidget* parent, WebBrowserEvents* events, QString* error) {
        return missing.create(parent, events, error);
    });
    QStringList lines;
    QObject::connect(web, &WebPage::statusLine, [&](const QString& t) { lines << t; });
    web->BMWpanel7Click();
    QVERIFY(!web->browser());
    QCOMPARE(lines, QStringList{"Web Browser not available: /nonexistent/zarn-webengine.so: not found"});
    QCOMPARE(w.find<PlainPanel>("BitBtnWithColor94")->caption(), "Web Browser not available");
}

int main(int argc, char** argv)
{
    // As the program does: the engine shares the window's GL contexts.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    TstWebPage test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_webpage.moc"
