#pragma once

#include <QByteArray>
#include <QHash>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace zarn::test {

// python3 -m http.server on a free loopback port, serving the given files from a
// directory of its own; its request log is kept.
class PythonHttpServer {
public:
    ~PythonHttpServer();
    // Returns once the server says which port it took.
    bool start(const QHash<QString, QByteArray>& files);
    QString url(const QString& path) const;
    // Waits until the request log holds text; false when the time is up or the server ended.
    bool waitForRequest(const QString& text, int timeoutMs = 60000);
    const QString& log() const { return log_; }

private:
    bool readMore(int timeoutMs);

    QTemporaryDir dir_;
    QProcess server_;
    QString port_;
    QString log_;
};

} // namespace zarn::test
