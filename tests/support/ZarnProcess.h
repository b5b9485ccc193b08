#pragma once

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

namespace zarn::test {

// The real zarn program in a home of its own, its status lines mirrored to a file.
// It never reaches the machine's system bus, so it cannot move the machine's clock.
class ZarnProcess {
public:
    ZarnProcess();
    ~ZarnProcess();

    QString home() const { return dir_.path(); }
    void writeIni(const QByteArray& content);
    bool start(const QStringList& arguments = {});
    // SIGTERM, then waits for the exit; returns the exit code (-1 on a crash or hang).
    int terminate(int timeoutMs = 10000);
    bool isRunning() const { return process_.state() != QProcess::NotRunning; }
    qint64 pid() const { return process_.processId(); }

    // Every status line written so far (with time stamps).
    QStringList statusLines() const;
    // The same without their time stamps.
    QStringList statusTexts() const;
    // Waits until a status line ends with text; false when the time is up.
    bool waitForLine(const QString& text, int timeoutMs = 10000) const;
    QString statusLog() const;

private:
    QTemporaryDir dir_;
    QProcess process_;
};

} // namespace zarn::test
