// The mail retrieval against a real Dovecot on loopback: empty and filled mailboxes, a
// wrong password, the message page's fields and body, encoded and 8-bit headers, STLS
// and POP3S with a throw-away CA, and a server that dies or stops answering in the middle.
#include "core/StatusLog.h"
#include "services/MailController.h"
#include "DovecotServer.h"
#include "TestSupport.h"

#include <QLocale>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

using namespace zarn;
using zarn::test::DovecotServer;

namespace {

constexpr int NetworkLimitMs = 60000;
const QString User = QStringLiteral("alice");
const QString Password = QStringLiteral("s3cr3t-Pw");

QByteArray crlf(QByteArray text)
{
    return text.replace("\n", "\n");
}

QByteArray simpleMessage(int n, const QByteArray& body = "Hello.\n")
{
    return crlf("From: Sender " + QByteArray::number(n) + " <s" + QByteArray::number(n)
                + "@example.com>\nTo: alice@example.com\nSubject: Message " + QByteArray::number(n)
                + "\nDate: Fri, 11 Dec 2026 10:0" + QByteArray::number(n % 10) + ":00 +0000\n\n" + body);
}

// A server with alice's mailbox, or a skip/fail with the reason.
#define START_SERVER(server)                                                                                           \
    do {                                                                                                               \
        const QString why = (server).start();                                                                          \
        if ((server).missing())                                                                                        \
            QSKIP(qPrintable(why));                                                                                    \
        QVERIFY2(why.isEmpty(), qPrintable(why));                                                                      \
    } while (false)

struct Fixture {
    StatusLog log;
    MailController mail;
    explicit Fixture(const DovecotServer& server, Pop3Limits limits = {}, int port = 0)
        : mail(log, limits)
    {
        MailSettings s;
        s.pop3.serverName = QStringLiteral("127.0.0.1");
        s.pop3.serverPort = QString::number(port ? port : server.port());
        s.pop3.serverUser = User;
        s.pop3.serverPassword = Password;
        mail.applySettings(s);
    }
    bool download()
    {
        mail.BMWpanel43Click();
        return QTest::qWaitFor([this] { return !mail.busy(); }, NetworkLimitMs);
    }
    bool open(int row)
    {
        mail.lvHeadersClick(row);
        return QTest::qWaitFor([this] { return !mail.busy(); }, NetworkLimitMs);
    }
    QString allLog() const { return test::texts(log).join(u'\n'); }
};

} // namespace

class TestMail : public QObject {
    Q_OBJECT
private slots:
    void emptyMailbox();
    void threeMessages();
    void wrongPassword();
    void unreachableServer();
    void messagePage();
    void oversizeMessageShowsHeadersOnly_data();
    void oversizeMessageShowsHeadersOnly();
    void tls_data();
    void tls();
    void serverStoppedMidDownload();
    void serverStopsAnswering();
    void endlessLines_data();
    void endlessLines();
};

void TestMail::emptyMailbox()
{
    DovecotServer server;
    server.addUser(User, Password);
    START_SERVER(server);
    Fixture f(server);
    QSignalSpy status(&f.mail, &MailController::statusChanged);
    QVERIFY(f.download());
    QCOMPARE(status.first().first().toString(), QStringLiteral(" Connecting to 127.0.0.1..."));
    QCOMPARE(f.mail.status(), QStringLiteral(" No messages on server"));
    QVERIFY(f.mail.rows().isEmpty());
    QVERIFY(f.mail.downloadEnabled());
    QVERIFY(f.mail.client().connected());
}

void TestMail::threeMessages()
{
    DovecotServer server;
    server.addUser(User, Password);
    for (int n = 1; n <= 3; ++n)
        server.addMessage(User, simpleMessage(n));
    START_SERVER(server);
    Fixture f(server);
    QSignalSpy status(&f.mail, &MailController::statusChanged);
    QSignalSpy enabled(&f.mail, &MailController::downloadEnabledChanged);
    QVERIFY(f.download());
    QCOMPARE(f.mail.status(), QStringLiteral(" Download completed"));
    QCOMPARE(f.mail.messageCount(), 3);
    QStringList seen;
    for (const QList<QVariant>& s : status)
        seen << s.first().toString();
    QVERIFY(seen.contains(QStringLiteral(" Retrieving messsage 2 of 3")));
    QCOMPARE(enabled.first().first().toBool(), false);
    QCOMPARE(enabled.last().first().toBool(), true);
    QCOMPARE(f.mail.rows().size(), 3);
    const QString date = QLocale::system().toString(QDateTime(QDate(2026, 12, 11), QTime(10, 2), Qt::UTC).toLocalTime().date(),
                                                    QLocale::ShortFormat);
    QCOMPARE(f.mail.rows()[1], (MailController::HeaderRow{QStringLiteral("Sender 2 <s2@example.com>"), QStringLiteral("Message 2"), date}));

    // A second download starts over with the same rows, not twice as many.
    QVERIFY(f.download());
    QCOMPARE(f.mail.rows().size(), 3);
}

void TestMail::wrongPassword()
{
    DovecotServer server;
    server.addUser(User, QStringLiteral("another"));
    START_SERVER(server);
    Fixture f(server);
    QVERIFY(f.download());
    QCOMPARE(f.mail.status(), QStringLiteral(" No Connection to 127.0.0.1 - check settings"));
    QVERIFY(f.mail.downloadEnabled());
    const QString log = f.allLog();
    QVERIFY2(log.contains(QStringLiteral("Mail: login to 127.0.0.1:%1 as \"alice\" refused: Login denied (server: -ERR [AUTH] "
                                         "Authentication failed.)").arg(server.port())),
             qPrintable(log));
    QVERIFY(!log.contains(Password));
}

void TestMail::unreachableServer()
{
    DovecotServer server; // never started: nothing listens on its port
    StatusLog log;
    MailController mail(log);
    mail.setServer(QStringLiteral("127.0.0.1"), 1, User, Password);
    mail.BMWpanel43Click();
    QVERIFY(QTest::qWaitFor([&] { return !mail.busy(); }, NetworkLimitMs));
    QCOMPARE(mail.status(), QStringLiteral(" No Connection to 127.0.0.1 - check settings"));
    QVERIFY(test::texts(log).join(u'\n').contains(QStringLiteral("Mail: no connection to 127.0.0.1:1")));

    // A host name that cannot be one is refused before any network work.
    mail.setServer(QStringLiteral("pop.example.com/x"), 110, User, Password);
    mail.BMWpanel43Click();
    QVERIFY(QTest::qWaitFor([&] { return !mail.busy(); }, NetworkLimitMs));
    QVERIFY(test::texts(log).last().contains(QStringLiteral("is no host name")));
}

void TestMail::messagePage()
{
    DovecotServer server;
    server.addUser(User, Password);
    server.addMessage(User, simpleMessage(1, "Only a single part.\n"));
    server.addMessage(
        User, crlf("From: =?UTF-8?Q?J=C3=BCrgen?= <j@example.de>\nTo: alice@example.com, Bob <bob@example.com>\n"
                   "Cc: carol@example.com\nSubject: Gr\xfc\xdf" "e\nDisposition-Notification-To: j@example.de\n"
                   "Date: Fri, 11 Dec 2026 10:30:15 +0000\nMIME-Version: 1.0\n"
                   "Content-Type: multipart/alternative; boundary=\"AB\"\n\n"
                   "--AB\nContent-Type: text/plain; charset=utf-8\n\nplain version\n"
                   "--AB\nContent-Type: text/html; charset=utf-8\nContent-Transfer-Encoding: quoted-printable\n\n"
                   "<p>HTML version: K=C3=B6ln</p>\n--AB--\n"));
    START_SERVER(server);
    Fixture f(server);
    QVERIFY(f.download());
    QCOMPARE(f.mail.rows().size(), 2);
    QCOMPARE(f.mail.rows()[1].subject, QString::fromUtf8("Grüße"));
    QCOMPARE(f.mail.rows()[1].from, QString::fromUtf8("Jürgen <j@example.de>"));

    QSignalSpy status(&f.mail, &MailController::statusChanged);
    QSignalSpy ready(&f.mail, &MailController::messageReady);
    QVERIFY(f.open(1));
    QCOMPARE(status.first().first().toString(), QStringLiteral(" Retrieving message \"") + f.mail.rows()[1].date + u'"');
    QCOMPARE(status.at(status.size() - 2).first().toString(), QStringLiteral(" Decoding attachments (2)"));
    QCOMPARE(f.mail.status(), QString());
    QCOMPARE(ready.size(), 1);
    const MailController::MessageView& m = f.mail.message();
    QCOMPARE(m.from, QString::fromUtf8("Jürgen <j@example.de>"));
    QCOMPARE(m.recipients, QStringLiteral("alice@example.com, Bob <bob@example.com>"));
    QCOMPARE(m.cc, QStringLiteral("carol@example.com"));
    QCOMPARE(m.receipt, QStringLiteral("j@example.de"));
    QCOMPARE(m.date, QLocale::system().toString(QDateTime(QDate(2026, 12, 11), QTime(10, 30, 15), Qt::UTC).toLocalTime(),
                                                QStringLiteral("dd MMM yyyy hh:mm:ss")));
    QCOMPARE(m.body, QString::fromUtf8("HTML version: Köln"));

    // A message of one plain part shows its text.
    QVERIFY(f.open(0));
    QCOMPARE(f.mail.message().body, QStringLiteral("Only a single part.\n"));

    // No row selected: nothing is fetched.
    status.clear();
    f.mail.lvHeadersClick(-1);
    QVERIFY(!f.mail.busy());
    QVERIFY(status.isEmpty());
}

void TestMail::oversizeMessageShowsHeadersOnly_data()
{
    QTest::addColumn<int>("bodyKiB");
    QTest::addColumn<qint64>("limit");
    QTest::addRow("200 KB over a 64 KB limit") << 200 << qint64(64 * 1024);
    QTest::addRow("50 MB over the default limit") << 50 * 1024 << Pop3Limits().maxMessage;
}

void TestMail::oversizeMessageShowsHeadersOnly()
{
    QFETCH(int, bodyKiB);
    QFETCH(qint64, limit);
    DovecotServer server;
    server.addUser(User, Password);
    QByteArray body;
    body.reserve(qsizetype(bodyKiB) * 1024 + 1);
    const QByteArray line = QByteArray(1023, 'x') + '\n';
    for (int i = 0; i < bodyKiB; ++i)
        body += line;
    server.addMessage(User, simpleMessage(1, body));
    body.clear();
    START_SERVER(server);
    Pop3Limits limits;
    limits.maxMessage = limit;
    Fixture f(server, limits);
    QVERIFY(f.download());
    QVERIFY(f.open(0));
    QCOMPARE(f.mail.message().subject, QStringLiteral("Message 1"));
    // The server counts its size with CRLF line ends, a little more than was stored.
    const QString shown = f.mail.message().body;
    const int kb = shown.section(u' ', 3, 3).toInt();
    QVERIFY2(kb >= bodyKiB && kb < bodyKiB * 1.01 + 2, qPrintable(shown));
    QVERIFY2(shown.startsWith(QStringLiteral("This message has %1 KB, more than the %2 KB").arg(kb).arg(limit / 1024)), qPrintable(shown));

    // The session itself refuses an answer beyond the limit, whatever the listing said.
    Pop3Session session({QStringLiteral("127.0.0.1"), server.port(), User, Password}, limits);
    const Pop3Reply reply = session.retrieve(1);
    QVERIFY(!reply.ok);
    QCOMPARE(reply.error, QStringLiteral("the answer is larger than %1 KB").arg(limit / 1024));
}

void TestMail::tls_data()
{
    QTest::addColumn<QString>("security");
    QTest::addColumn<bool>("tlsPort");
    QTest::addColumn<bool>("trustCa");
    QTest::addColumn<bool>("check");
    QTest::addColumn<bool>("accepted");
    QTest::addRow("STLS, CA trusted") << "starttls" << false << true << true << true;
    QTest::addRow("STLS, CA not trusted") << "starttls" << false << false << true << false;
    QTest::addRow("auto takes STLS, CA not trusted") << "auto" << false << false << true << false;
    QTest::addRow("POP3S, CA trusted") << "tls" << true << true << true << true;
    QTest::addRow("POP3S, CA not trusted") << "tls" << true << false << true << false;
    QTest::addRow("POP3S, check turned off") << "tls" << true << false << false << true;
}

void TestMail::tls()
{
    QFETCH(QString, security);
    QFETCH(bool, tlsPort);
    QFETCH(bool, trustCa);
    QFETCH(bool, check);
    QFETCH(bool, accepted);
    DovecotServer server;
    server.addUser(User, Password);
    server.addMessage(User, simpleMessage(1));
    const QString made = server.makeCertificates();
    QVERIFY2(made.isEmpty(), qPrintable(made));
    START_SERVER(server);

    StatusLog log;
    MailController mail(log);
    MailSettings s;
    s.pop3.serverName = QStringLiteral("localhost");
    s.pop3.serverPort = QString::number(tlsPort ? server.tlsPort() : server.port());
    s.pop3.serverUser = User;
    s.pop3.serverPassword = Password;
    s.pop3Security = security;
    s.pop3CheckCertificate = check;
    s.pop3CaFile = trustCa ? server.caFile() : QString();
    mail.applySettings(s);
    mail.BMWpanel43Click();
    QVERIFY(QTest::qWaitFor([&] { return !mail.busy(); }, NetworkLimitMs));
    const QString logText = test::texts(log).join(u'\n');
    if (accepted) {
        QCOMPARE(mail.status(), QStringLiteral(" Download completed"));
        QCOMPARE(mail.rows().size(), 1);
    } else {
        QCOMPARE(mail.status(), QStringLiteral(" No Connection to localhost - check settings"));
        QVERIFY2(logText.contains(QStringLiteral("certificate"), Qt::CaseInsensitive), qPrintable(logText));
    }
    QVERIFY(!logText.contains(Password));
}

void TestMail::serverStoppedMidDownload()
{
    constexpr int Count = 60;
    DovecotServer server;
    server.addUser(User, Password);
    for (int n = 1; n <= Count; ++n)
        server.addMessage(User, simpleMessage(n));
    START_SERVER(server);
    Fixture f(server);
    connect(&f.mail, &MailController::rowAdded, this, [&server] { server.stop(); }, Qt::SingleShotConnection);
    QVERIFY(f.download());
    QVERIFY2(f.mail.status().startsWith(QStringLiteral(" Download stopped at message ")), qPrintable(f.mail.status()));
    QVERIFY(f.mail.status().endsWith(QStringLiteral(" of %1").arg(Count)));
    QVERIFY(!f.mail.rows().isEmpty() && f.mail.rows().size() < Count);
    QVERIFY(f.mail.downloadEnabled());
    QVERIFY(f.allLog().contains(QStringLiteral("Mail: download from 127.0.0.1:%1 stopped at message").arg(server.port())));
}

void TestMail::serverStopsAnswering()
{
    constexpr int Count = 60;
    DovecotServer server;
    server.addUser(User, Password);
    for (int n = 1; n <= Count; ++n)
        server.addMessage(User, simpleMessage(n));
    START_SERVER(server);
    Pop3Limits limits;
    limits.stallSeconds = 2;
    Fixture f(server, limits);
    connect(&f.mail, &MailController::rowAdded, this, [&server] { server.freeze(true); }, Qt::SingleShotConnection);
    QVERIFY(f.download());
    server.freeze(false);
    QVERIFY2(f.mail.status().startsWith(QStringLiteral(" Download stopped at message ")), qPrintable(f.mail.status()));
    QVERIFY2(f.allLog().contains(QStringLiteral("the server did not answer for 2 s")), qPrintable(f.allLog()));
}

namespace {

// A POP3 server that accepts any login and then sends one line without end: in its
// greeting, or as the answer to LIST.
class EndlessServer : public QObject {
public:
    explicit EndlessServer(bool inGreeting)
        : inGreeting_(inGreeting)
    {
        server_.listen(QHostAddress::LocalHost);
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            QTcpSocket* s = server_.nextPendingConnection();
            if (inGreeting_) {
                s->write("+OK ");
                flood(s);
                return;
            }
            s->write("+OK ready\r\n");
            connect(s, &QTcpSocket::readyRead, this, [this, s] {
                while (s->canReadLine()) {
                    const QByteArray line = s->readLine().trimmed().toUpper();
                    if (line.startsWith("LIST")) {
                        s->write("+OK\r\n1 ");
                        flood(s);
                    } else {
                        s->write(line.startsWith("CAPA") ? "-ERR\r\n" : "+OK\r\n");
                    }
                }
            });
        });
    }
    int port() const { return server_.serverPort(); }
    qint64 sent = 0;

private:
    void flood(QTcpSocket* s)
    {
        const QByteArray chunk(64 * 1024, 'x');
        connect(s, &QTcpSocket::bytesWritten, this, [this, s, chunk] {
            if (s->bytesToWrite() < chunk.size() && sent < 200LL * 1024 * 1024) {
                s->write(chunk);
                sent += chunk.size();
            }
        });
        s->write(chunk);
    }
    QTcpServer server_;
    bool inGreeting_;
};

} // namespace

void TestMail::endlessLines_data()
{
    QTest::addColumn<bool>("inGreeting");
    QTest::addRow("greeting") << true;
    QTest::addRow("LIST answer") << false;
}

void TestMail::endlessLines()
{
    QFETCH(bool, inGreeting);
    EndlessServer server(inGreeting);
    Pop3Client client;
    QSignalSpy finished(&client, &Pop3Client::finished);
    client.connectToServer({QStringLiteral("127.0.0.1"), server.port(), User, Password, Pop3Security::Plain});
    QVERIFY(finished.wait(NetworkLimitMs));
    const auto r = finished.first().first().value<Pop3Client::Result>();
    QVERIFY(!r.ok);
    QVERIFY2(r.error.contains(QStringLiteral("large"), Qt::CaseInsensitive), qPrintable(r.error));
    // The client gave up long before the server's 200 MB.
    QVERIFY(server.sent < 100LL * 1024 * 1024);
}

QTEST_GUILESS_MAIN(TestMail)
#include "tst_mail.moc"
