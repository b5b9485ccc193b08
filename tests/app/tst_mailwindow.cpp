// The mail pages in the real main window against a Dovecot on loopback, worked with the
// knob as in the car: eMail, " Get Mail", a header, the text, back.
#include "app/MainWindow.h"
#include "ibus/ClockSetter.h"
#include "ui/PageIndex.h"
#include "ui/PlainPanel.h"
#include "DovecotServer.h"
#include "TestSupport.h"

#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace zarn;

namespace {

constexpr int NetworkLimitMs = 60000;

struct NoClock : ClockSetter {
    bool SetLocalTime(const QDateTime&) override { return false; }
};

QByteArray message(int n)
{
    return QByteArray("From: Sender " + QByteArray::number(n) + " <s@example.com>\r\nSubject: Message " + QByteArray::number(n)
                      + "\r\nDate: Fri, 11 Dec 2026 10:00:00 +0000\r\n\r\nText of message " + QByteArray::number(n) + ".\r\n");
}

} // namespace

class TestMailWindow : public QObject {
    Q_OBJECT
private slots:
    void getMailAndReadOne();
};

void TestMailWindow::getMailAndReadOne()
{
    test::DovecotServer server;
    server.addUser(QStringLiteral("car"), QStringLiteral("pw"));
    for (int n = 1; n <= 3; ++n)
        server.addMessage(QStringLiteral("car"), message(n));
    const QString why = server.start();
    if (server.missing())
        QSKIP(qPrintable(why));
    QVERIFY2(why.isEmpty(), qPrintable(why));

    QTemporaryDir home;
    test::writeAll(home.filePath("Zarn.ini"), "[COM-Port]\nDevicePath=/nonexistent/ttyCAR\n[Pop3]\nServerName=127.0.0.1\nServerPort="
                                                  + QByteArray::number(server.port()) + "\nServerUser=car\nServerPassword=pw\n");
    test::VirtualTime time;
    NoClock clock;
    MainController::Environment env;
    env.arguments = QStringList{QStringLiteral("/opt/zarn/zarn")};
    env.appDir = home.path() + QLatin1Char('/');
    env.clockSetter = &clock;
    env.watchSleep = false;
    MainWindow main(env);
    main.FormCreate();
    main.show();
    QVERIFY(QTest::qWaitForWindowActive(&main.window()));
    ZarnWindow& w = main.window();
    const auto focusName = [&w] { return w.focusWidget() ? w.focusWidget()->objectName() : QString(); };
    const auto press = [&main] { main.select().SelButton1Click(); };
    const auto focus = [&w](const char* name) { w.findChild<QWidget*>(QLatin1String(name))->setFocus(); };

    focus("BMWpanel8");
    press();
    QCOMPARE(w.activePage(), int(PageMailHeaders));
    auto* list = w.findChild<QTreeWidget*>(QStringLiteral("lvHeaders"));
    auto* status = w.findChild<PlainPanel*>(QStringLiteral("Mailstatus"));
    QVERIFY(!list->isEnabled());
    QCOMPARE(status->caption(), QStringLiteral(" System ready"));

    focus("BMWpanel43");
    press();
    QCOMPARE(w.headerCaption(), QStringLiteral(" Zarn Mail"));
    QVERIFY(QTest::qWaitFor([&] { return status->caption() == QLatin1String(" Download completed"); }, NetworkLimitMs));
    QVERIFY(list->isEnabled());
    QCOMPARE(list->topLevelItemCount(), 3);
    QCOMPARE(list->topLevelItem(2)->text(1), QStringLiteral("Message 3"));

    // Into the list and down to the second header; the press opens it.
    list->setFocus();
    main.navigator().step(Turn::Clockwise);
    main.navigator().step(Turn::Clockwise);
    QCOMPARE(focusName(), QStringLiteral("lvHeaders"));
    press();
    QCOMPARE(w.activePage(), int(PageMail));
    auto* body = w.findChild<QPlainTextEdit*>(QStringLiteral("MailBody"));
    QVERIFY(QTest::qWaitFor([&] { return body->toPlainText() == QLatin1String("Text of message 2.\n"); }, NetworkLimitMs));
    QCOMPARE(body->focusPolicy(), Qt::StrongFocus);
    QCOMPARE(status->caption(), QString());

    // The text's counter-clockwise step goes to the back panel, whose press returns.
    body->setFocus();
    main.navigator().step(Turn::CounterClockwise);
    QCOMPARE(focusName(), QStringLiteral("BitBtnWithColor82"));
    press();
    QCOMPARE(w.activePage(), int(PageMailHeaders));
    QCOMPARE(w.headerCaption(), QStringLiteral(" Zarn eMail"));
    QCOMPARE(body->focusPolicy(), Qt::NoFocus);
}

QTEST_MAIN(TestMailWindow)
#include "tst_mailwindow.moc"
