#pragma once

#include <QProcess>
#include <QStringList>

namespace zarn::test {

// The simulated car (zarn-carsim) on a pseudo-terminal linked into a zarn home.
class CarSimProcess {
public:
    ~CarSimProcess();

    // Prepares home (Zarn.ini with the link as DevicePath, CD emulation on) and
    // plays the scenario text; waits until the link exists.
    bool start(const QString& home, const QByteArray& scenario, const QStringList& extraArguments = {});
    // Waits for the simulator to end by itself; its exit code, -1 when it did not end.
    int waitForExit(int timeoutMs);
    // What it printed (one line per frame zarn sent, notes, check results).
    QString output();
    QString linkPath() const { return link_; }

private:
    QProcess process_;
    QString link_;
    QString output_;
};

} // namespace zarn::test
