#pragma once

#include <QProcess>
#include <QStringList>

namespace zarn::test {

// The simulated car (zarn-carsim) on a pseudo-terminal linked into a zarn home. Every
// wait reads the simulator's output and ends on a line; its time-out only bounds a
// failure.
class CarSimProcess {
public:
    static constexpr int DefaultTimeoutMs = 30000;

    ~CarSimProcess();

    // Prepares home (Zarn.ini with the link as DevicePath, CD emulation on) and plays a
    // live scenario, whose lines come from run(); returns once the simulator says it is
    // ready (the home written, the link made).
    bool startLive(const QString& home, const QStringList& extraArguments = {});
    // Any command line; returns once the simulator is ready.
    bool startWith(const QStringList& arguments);
    // Scenario lines for a live run, each "<time> <event>", time counted from its arrival.
    bool run(const QByteArray& lines);

    // Waits for an output line containing text, after the line the last wait found.
    bool waitForOutput(const QString& text, int timeoutMs = DefaultTimeoutMs);
    // Waits for a well-formed frame from the program beginning with these bytes ("18 04 FF").
    bool waitForFrame(const QString& hexPrefix, int timeoutMs = DefaultTimeoutMs);
    // Waits for the program's greeting on the cluster, sent once it has opened the port.
    bool waitForGreeting(int timeoutMs = 60000);

    // Waits for the simulator to end by itself; its exit code, -1 when it did not end.
    int waitForExit(int timeoutMs);
    // Ends it (SIGTERM: open checks are decided); its exit code, -1 on a hang or crash.
    int stop(int timeoutMs = 10000);
    // What it printed (one line per frame zarn sent, notes, check results).
    QString output();
    QString linkPath() const { return link_; }

private:
    // Reads what has come; false when nothing came within timeoutMs.
    bool readMore(int timeoutMs);
    template <typename Match> bool waitForLine(Match match, int timeoutMs);

    QProcess process_;
    QString link_;
    QString output_;
    QByteArray partial_;
    QStringList lines_;
    qsizetype nextLine_ = 0; // the first line the next wait looks at
};

} // namespace zarn::test
