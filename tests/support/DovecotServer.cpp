#include "DovecotServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace zarn::test {

namespace {

constexpr uid_t MailUid = 65534; // nobody: Dovecot refuses to serve mail as root

int freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

bool write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

void ownForMail(const QString& path)
{
    if (::chown(QFile::encodeName(path).constData(), MailUid, MailUid) != 0)
        qWarning("chown %s failed", qPrintable(path));
}

// The processes below the master: the login and pop3 processes holding connections.
QList<qint64> descendants(qint64 root)
{
    QList<qint64> found{root};
    for (qsizetype i = 0; i < found.size(); ++i) {
        for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
            bool ok = false;
            const qint64 pid = entry.toLongLong(&ok);
            if (!ok)
                continue;
            QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
            if (!stat.open(QIODevice::ReadOnly))
                continue;
            const QByteArray line = stat.readAll();
            const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
            if (fields.size() > 1 && fields[1].toLongLong() == found[i] && !found.contains(pid))
                found.append(pid);
        }
    }
    return found;
}

} // namespace

DovecotServer::DovecotServer()
{
    // The mail processes run as nobody and must reach their Maildirs.
    ::chmod(QFile::encodeName(dir_.path()).constData(), 0755);
    QDir(dir_.path()).mkpath(QStringLiteral("home"));
}

DovecotServer::~DovecotServer()
{
    stop();
}

void DovecotServer::addUser(const QString& name, const QString& password)
{
    passwd_ += name.toUtf8() + ":{PLAIN}" + password.toUtf8() + "\n";
    for (const char* sub : {"cur", "new", "tmp"})
        QDir(dir_.path()).mkpath(QStringLiteral("home/%1/Maildir/%2").arg(name, QLatin1String(sub)));
}

void DovecotServer::addMessage(const QString& user, const QByteArray& raw)
{
    ++messages_;
    // Maildir names order the messages: time stamp, then a sequence.
    const QString file = path(QStringLiteral("home/%1/Maildir/new/%2.%3.zarntest").arg(user).arg(1700000000 + messages_).arg(messages_));
    write(file, raw);
}

bool DovecotServer::run(const QString& program, const QStringList& arguments, QString* error)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    if (!p.waitForFinished(StartLimitMs) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        *error = program + QStringLiteral(" failed: ") + QString::fromLocal8Bit(p.readAll());
        return false;
    }
    return true;
}

QString DovecotServer::makeCertificates()
{
    const QString openssl = QStandardPaths::findExecutable(QStringLiteral("openssl"));
    if (openssl.isEmpty())
        return QStringLiteral("openssl is not installed");
    write(path(QStringLiteral("san.ext")), "subjectAltName=DNS:localhost,IP:127.0.0.1\n");
    const QStringList ec{QStringLiteral("-newkey"), QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
                         QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes")};
    QString error;
    if (!run(openssl, QStringList{QStringLiteral("req"), QStringLiteral("-x509")} + ec
                          + QStringList{QStringLiteral("-keyout"), path(QStringLiteral("ca.key")), QStringLiteral("-out"), caFile(),
                                        QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-subj"),
                                        QStringLiteral("/CN=Zarn throw-away test CA")},
             &error)
        || !run(openssl, QStringList{QStringLiteral("req")} + ec
                             + QStringList{QStringLiteral("-keyout"), path(QStringLiteral("server.key")), QStringLiteral("-out"),
                                           path(QStringLiteral("server.csr")), QStringLiteral("-subj"), QStringLiteral("/CN=localhost")},
                &error)
        || !run(openssl,
                {QStringLiteral("x509"), QStringLiteral("-req"), QStringLiteral("-in"), path(QStringLiteral("server.csr")),
                 QStringLiteral("-CA"), caFile(), QStringLiteral("-CAkey"), path(QStringLiteral("ca.key")),
                 QStringLiteral("-CAcreateserial"), QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-extfile"),
                 path(QStringLiteral("san.ext")), QStringLiteral("-out"), path(QStringLiteral("server.pem"))},
                &error))
        return error;
    tls_ = true;
    return {};
}

QString DovecotServer::start()
{
    const QString dovecot = QStandardPaths::findExecutable(QStringLiteral("dovecot"), {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")});
    if (dovecot.isEmpty()) {
        missing_ = true;
        return QStringLiteral("dovecot is not installed");
    }
    port_ = freePort();
    tlsPort_ = tls_ ? freePort() : 0;
    const QByteArray d = QFile::encodeName(dir_.path());
    write(path(QStringLiteral("passwd")), passwd_);
    QByteArray conf = "base_dir = " + d + "/run\n"
                      "state_dir = " + d + "/state\n"
                      "log_path = " + d + "/dovecot.log\n"
                      "protocols = pop3\n"
                      "listen = 127.0.0.1\n"
                      "disable_plaintext_auth = no\n"
                      "auth_mechanisms = plain login\n"
                      "auth_failure_delay = 0\n"
                      "mail_location = maildir:" + d + "/home/%u/Maildir\n"
                      "pop3_uidl_format = %08Xu%08Xv\n"
                      "passdb {\n  driver = passwd-file\n  args = scheme=PLAIN username_format=%u " + d + "/passwd\n}\n"
                      "userdb {\n  driver = static\n  args = uid=65534 gid=65534 home=" + d + "/home/%u\n}\n"
                      "service anvil {\n  chroot =\n}\n"
                      "service pop3-login {\n  chroot =\n"
                      "  inet_listener pop3 {\n    port = " + QByteArray::number(port_) + "\n  }\n";
    if (tls_)
        conf += "  inet_listener pop3s {\n    port = " + QByteArray::number(tlsPort_) + "\n    ssl = yes\n  }\n";
    conf += "}\n";
    conf += tls_ ? "ssl = yes\nssl_cert = <" + d + "/server.pem\nssl_key = <" + d + "/server.key\n" : QByteArray("ssl = no\n");
    write(path(QStringLiteral("dovecot.conf")), conf);
    for (const QString& f : {QStringLiteral("passwd"), QStringLiteral("server.key")})
        ::chmod(QFile::encodeName(path(f)).constData(), 0644);
    // Every directory and message of the mail tree belongs to the mail user.
    QProcess::execute(QStringLiteral("chown"), {QStringLiteral("-R"), QStringLiteral("65534:65534"), path(QStringLiteral("home"))});
    ownForMail(path(QStringLiteral("home")));

    QString error;
    if (!run(dovecot, {QStringLiteral("-c"), path(QStringLiteral("dovecot.conf"))}, &error))
        return error;
    running_ = true;
    const QDeadlineTimer deadline(StartLimitMs);
    for (int p : {port_, tlsPort_}) {
        if (p == 0)
            continue;
        for (;;) {
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, quint16(p));
            if (probe.waitForConnected(1000))
                break;
            if (deadline.hasExpired())
                return QStringLiteral("dovecot does not answer on port %1: %2").arg(p).arg(QString::fromLocal8Bit(
                    [this] { QFile log(path(QStringLiteral("dovecot.log"))); return log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray(); }()));
            QThread::msleep(20);
        }
    }
    return {};
}

qint64 DovecotServer::masterPid() const
{
    QFile pidFile(path(QStringLiteral("run/master.pid")));
    if (!pidFile.open(QIODevice::ReadOnly))
        return 0;
    return pidFile.readAll().trimmed().toLongLong();
}

void DovecotServer::freeze(bool frozen)
{
    const qint64 master = masterPid();
    if (master <= 0)
        return;
    for (qint64 pid : descendants(master))
        ::kill(pid_t(pid), frozen ? SIGSTOP : SIGCONT);
}

void DovecotServer::stop()
{
    if (!running_)
        return;
    running_ = false;
    const qint64 master = masterPid();
    if (master <= 0)
        return;
    // The sessions first, so no connection outlives the call; then the master.
    const QList<qint64> all = descendants(master);
    for (qint64 pid : all)
        ::kill(pid_t(pid), SIGCONT);
    for (qsizetype i = all.size() - 1; i >= 0; --i)
        ::kill(pid_t(all[i]), SIGKILL);
    const QDeadlineTimer deadline(StartLimitMs);
    while (::kill(pid_t(master), 0) == 0 && !deadline.hasExpired())
        QThread::msleep(10);
}

} // namespace zarn::test
