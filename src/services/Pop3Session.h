#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <atomic>
#include <memory>

namespace zarn {

// How the connection is protected. Auto: POP3S on port 995, elsewhere STLS when the
// server offers it and plain text when it does not.
enum class Pop3Security { Auto, Plain, StartTls, Tls };

struct Pop3Account {
    QString host;
    int port = 110;
    QString user;
    QString password; // handed to libcurl only, never into a text of this class
    Pop3Security security = Pop3Security::Auto;
    bool checkCertificate = true; // false: a self-signed server is accepted
    QString caFile;               // more trusted certificates (PEM); empty: the system's store only
};

// What keeps a server that stops answering, or sends without end, from holding the
// download or the memory.
struct Pop3Limits {
    int connectSeconds = 15;     // TCP and TLS connect
    int stallSeconds = 30;       // no byte from the server for this long ends the call
    int totalSeconds = 600;      // one call, even from a server that trickles
    qint64 maxMessage = 10 << 20; // RETR: the answer is refused beyond 10 MiB
    qint64 maxHeaders = 1 << 20;  // TOP n 0 and LIST
    qint64 maxLine = 1 << 20;     // one line of any answer
};

struct Pop3Reply {
    bool ok = false;
    bool loginDenied = false; // the server refused user or password
    QByteArray data;          // the answer's lines, dot-unstuffed, CRLF kept
    QString error;            // why it failed: the server's or libcurl's words, never the password
};

// The message list: LIST's lines as sizes, message 1 first.
struct Pop3Listing {
    QList<qint64> sizes;
    qint64 totalBytes() const;
    static Pop3Listing parse(const QByteArray& listAnswer);
};

// One POP3 mailbox over libcurl. The first call connects and logs in (USER/PASS, or
// what the server offers), later calls reuse the connection; destroying the session
// sends QUIT (waiting at most 2 s for its answer). Every call blocks until it is done
// and is made from one thread at a time; abort() may be called from any thread and ends
// the running call soon.
class Pop3Session {
public:
    explicit Pop3Session(Pop3Account account, Pop3Limits limits = {});
    ~Pop3Session();
    Pop3Session(const Pop3Session&) = delete;
    Pop3Session& operator=(const Pop3Session&) = delete;

    Pop3Reply list();
    Pop3Reply top(int n); // the headers of message n (TOP n 0)
    Pop3Reply retrieve(int n);
    void abort() { aborted_ = true; }

    // "host:port", as the status lines name the server.
    QString serverName() const;
    // Why an account cannot be used at all (an empty or malformed host); empty when fine.
    static QString accountProblem(const Pop3Account& account);

private:
    struct Curl;
    Pop3Reply run(const QByteArray& path, const QByteArray& command, qint64 maxBytes);

    Pop3Account account_;
    Pop3Limits limits_;
    std::unique_ptr<Curl> curl_;
    std::atomic<bool> aborted_{false};
};

} // namespace zarn
