// Fetching a mailbox of 100 messages of 20 KB from a Dovecot on loopback, next to the
// curl tool fetching the same messages over one connection in the same run. Prints the
// median wall time of five rounds of each:
// - " Get Mail": the mail controller's whole download (connect, login, LIST, TOP n 0 for
//   every message, the header rows), as the header page runs it;
// - all messages: RETR of each of the 100 messages through the client's worker thread,
//   parsed for the message page;
// - curl: `curl pop3://host:port/[1-100]`, one process, one connection, to /dev/null.
// Usage: bench_mail [messages, default 100] [KB per message, default 20]
#include "core/StatusLog.h"
#include "services/MailController.h"
#include "DovecotServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace zarn;

namespace {

constexpr int Rounds = 5;
constexpr int LimitMs = 120000;

QByteArray message(int n, int kb)
{
    QByteArray body;
    const QByteArray line = "The quick brown fox jumps over the lazy dog, message " + QByteArray::number(n) + ".\r\n";
    while (body.size() < kb * 1024)
        body += line;
    return "From: Sender <s" + QByteArray::number(n) + "@example.com>\r\nTo: car@example.com\r\nSubject: Message "
           + QByteArray::number(n) + "\r\nDate: Fri, 11 Dec 2026 10:00:00 +0000\r\nMIME-Version: 1.0\r\n"
           "Content-Type: text/plain; charset=utf-8\r\n\r\n" + body;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 100;
    const int kb = argc > 2 ? std::max(1, atoi(argv[2])) : 20;

    test::DovecotServer server;
    server.addUser(QStringLiteral("car"), QStringLiteral("pw"));
    for (int n = 1; n <= count; ++n)
        server.addMessage(QStringLiteral("car"), message(n, kb));
    if (const QString why = server.start(); !why.isEmpty()) {
        std::fprintf(stderr, "dovecot: %s\n", qPrintable(why));
        return 1;
    }

    std::vector<double> getMail, retrieve, curl;
    for (int round = 0; round < Rounds; ++round) {
        StatusLog log;
        MailController mail(log);
        mail.setServer(QStringLiteral("127.0.0.1"), server.port(), QStringLiteral("car"), QStringLiteral("pw"));
        QElapsedTimer t;
        t.start();
        {
            // The program's own event loop, which wakes at once for each result (a
            // test's polling wait would add its sleep to every message).
            QEventLoop loop;
            QObject::connect(&mail, &MailController::downloadEnabledChanged, &loop, [&loop](bool on) {
                if (on)
                    loop.quit();
            });
            QTimer::singleShot(LimitMs, &loop, &QEventLoop::quit);
            mail.BMWpanel43Click();
            loop.exec();
        }
        if (mail.busy() || mail.rows().size() != count) {
            std::fprintf(stderr, "download failed: %s\n", qPrintable(mail.status()));
            return 1;
        }
        getMail.push_back(t.elapsed() / 1000.0);

        int done = 0;
        qint64 bytes = 0;
        QEventLoop loop;
        QObject::connect(&mail.client(), &Pop3Client::finished, &loop, [&](const Pop3Client::Result& r) {
            ++done;
            bytes += r.ok ? r.message.body.size() : 0;
            if (done == count)
                loop.quit();
        });
        QTimer::singleShot(LimitMs, &loop, &QEventLoop::quit);
        t.restart();
        for (int n = 1; n <= count; ++n)
            mail.client().fetchMessage(n);
        loop.exec();
        if (done != count || bytes < qint64(count) * kb * 1000) {
            std::fprintf(stderr, "retrieving failed\n");
            return 1;
        }
        retrieve.push_back(t.elapsed() / 1000.0);

        t.restart();
        QProcess tool;
        tool.start(QStringLiteral("curl"), {QStringLiteral("-s"), QStringLiteral("-S"), QStringLiteral("--user"), QStringLiteral("car:pw"),
                                            QStringLiteral("pop3://127.0.0.1:%1/[1-%2]").arg(server.port()).arg(count),
                                            QStringLiteral("-o"), QStringLiteral("/dev/null")});
        if (!tool.waitForFinished(LimitMs) || tool.exitCode() != 0) {
            std::fprintf(stderr, "curl failed: %s\n", tool.readAllStandardError().constData());
            return 1;
        }
        curl.push_back(t.elapsed() / 1000.0);
    }
    std::printf("%d messages of %d KB, median of %d rounds\n", count, kb, Rounds);
    std::printf("Get Mail (LIST + %d x TOP n 0, header rows): %.3f s\n", count, median(getMail));
    std::printf("all messages (%d x RETR, parsed):            %.3f s\n", count, median(retrieve));
    std::printf("curl tool (%d x RETR, one connection):       %.3f s\n", count, median(curl));
    return 0;
}
