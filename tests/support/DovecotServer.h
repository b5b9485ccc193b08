#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace zarn::test {

// A real Dovecot serving POP3 on loopback from a configuration of its own: its own
// base_dir, a passwd-file of users, Maildirs owned by uid 65534 under a temporary
// directory. Nothing of the machine's mail setup (/etc) is read or changed. With a
// certificate it offers STLS on the plain port and POP3S on a second one.
class DovecotServer {
public:
    static constexpr int StartLimitMs = 30000;

    DovecotServer();
    ~DovecotServer();
    DovecotServer(const DovecotServer&) = delete;
    DovecotServer& operator=(const DovecotServer&) = delete;

    // Before start(): a user and the messages of his mailbox (raw bytes, CRLF or LF).
    void addUser(const QString& name, const QString& password);
    void addMessage(const QString& user, const QByteArray& raw);
    // Before start(): a throw-away CA and a server certificate for localhost and
    // 127.0.0.1 signed by it, made with openssl. Empty when made, else why not.
    QString makeCertificates();
    QString caFile() const { return dir_.filePath(QStringLiteral("ca.pem")); }

    // Empty when the server answers on its ports; otherwise why not.
    QString start();
    // The dovecot binary is not installed (a reason to skip, anything else fails).
    bool missing() const { return missing_; }
    int port() const { return port_; }
    int tlsPort() const { return tlsPort_; }

    // Ends the server and every connection it serves at once.
    void stop();
    // Freezes (true) or thaws (false) the server with its sessions: connections stay
    // open and nothing answers.
    void freeze(bool frozen);
    QString path(const QString& name) const { return dir_.filePath(name); }

private:
    bool run(const QString& program, const QStringList& arguments, QString* error);
    qint64 masterPid() const;

    QTemporaryDir dir_;
    QByteArray passwd_;
    int port_ = 0;
    int tlsPort_ = 0;
    int messages_ = 0;
    bool tls_ = false;
    bool running_ = false;
    bool missing_ = false;
};

} // namespace zarn::test
