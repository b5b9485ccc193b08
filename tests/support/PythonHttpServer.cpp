#include "PythonHttpServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace zarn::test {

PythonHttpServer::~PythonHttpServer()
{
    if (server_.state() != QProcess::NotRunning) {
        server_.terminate();
        server_.waitForFinished(5000);
    }
}

bool PythonHttpServer::start(const QHash<QString, QByteArray>& files)
{
    for (auto it = files.begin(); it != files.end(); ++it) {
        QFile f(dir_.filePath(it.key()));
        if (!f.open(QIODevice::WriteOnly) || f.write(it.value()) != it.value().size())
            return false;
    }
    server_.setWorkingDirectory(dir_.path());
    server_.setProcessChannelMode(QProcess::MergedChannels);
    // -u: the "Serving ... port N" line comes at once, not with a full buffer.
    server_.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-u"), QStringLiteral("-m"), QStringLiteral("http.server"),
                                                      QStringLiteral("0"), QStringLiteral("--bind"), QStringLiteral("127.0.0.1")});
    static const QRegularExpression serving(QStringLiteral("port (\\d+)"));
    QDeadlineTimer deadline(30000);
    while (!serving.match(log_).hasMatch())
        if (deadline.hasExpired() || !readMore(200))
            return false;
    port_ = serving.match(log_).captured(1);
    return true;
}

QString PythonHttpServer::url(const QString& path) const
{
    return QStringLiteral("http://127.0.0.1:%1/%2").arg(port_, path);
}

bool PythonHttpServer::waitForRequest(const QString& text, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!log_.contains(text))
        if (deadline.hasExpired() || !readMore(200))
            return false;
    return true;
}

bool PythonHttpServer::readMore(int timeoutMs)
{
    if (server_.state() == QProcess::NotRunning)
        return false;
    server_.waitForReadyRead(timeoutMs);
    log_ += QString::fromUtf8(server_.readAll());
    return true;
}

} // namespace zarn::test
