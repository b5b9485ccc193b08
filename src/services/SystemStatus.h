#pragma once

#include "core/Timer.h"
#include "services/SystemProbe.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace zarn {

class StatusLog;
class TimerScheduler;

// The values of the system status page: processor, clock speed and load, memory, power
// and the network address, with the two timers that keep load and address fresh.
//
// Main thread only. start() reads the processor once (kernel files, no timing run, so
// the start-up does not wait) and starts Timer2 (load, 900 ms) and Timer1 (network
// check, 60 s); stop() ends the network check (the close request). The texts are read
// when asked for, so a fill of the page shows the state of that moment.
//
// The network check never blocks: the look-up answers later on the main thread or times
// out after LookupTimeoutMs, and only one check is under way at a time.
class SystemStatus : public QObject {
    Q_OBJECT
public:
    static constexpr int LoadIntervalMs = 900;
    static constexpr int NetworkIntervalMs = 60000;
    static constexpr int LookupTimeoutMs = 4500;

    struct Roots {
        QString proc = QStringLiteral("/proc");
        QString sys = QStringLiteral("/sys");
    };
    // How the network check reaches the network; tests give their own.
    struct NetworkProbe {
        // Looks host up and calls done later, on the main thread, with an empty text on
        // success or the reason it failed. Nothing is called once context is gone.
        std::function<void(const QString& host, QObject* context, std::function<void(const QString& error)> done)> resolve;
        // This PC's address as four numbers joined by "."; empty when it has none.
        std::function<QString()> localAddress;
    };
    // Qt's resolver and the first address of an interface that is up (loopback aside).
    static NetworkProbe systemNetwork();

    // The machine's own /proc and /sys.
    explicit SystemStatus(StatusLog& log, QObject* parent = nullptr);
    SystemStatus(StatusLog& log, Roots roots, TimerScheduler* scheduler = nullptr, QObject* parent = nullptr);

    void setNetworkProbe(NetworkProbe probe) { probe_ = std::move(probe); }
    // The host whose look-up tells that the network answers; a dotted address is used as
    // it is.
    void setHost(const QString& host) { host_ = host; }

    void start();
    void stop() { Timer1.stop(); }

    QString processorText() const { return SystemProbe::processorText(processor_); }
    // "System running at <MHz> Mhz"
    QString speedText() const;
    // The speed text with ",  CPU busy = 07.5%" since the latest load tick.
    const QString& speedLoadText() const { return speedLoad_; }
    // "CPU at <MHz> Mhz", for the cluster when the page is opened.
    QString clusterText() const;
    QString memoryText() const { return SystemProbe::memoryText(roots_.proc); }
    QString powerText() const { return SystemProbe::powerText(SystemProbe::readPower(roots_.sys)); }
    // "IP is a.b.c.d" or "No ip connection present".
    const QString& networkText() const { return network_; }
    bool IpShown() const { return ipShown_; }
    bool lookupPending() const { return pending_ != 0; }

    // The ticks; the page fill also runs the network check.
    void Timer1Timer();
    void Timer2Timer();

    Timer Timer1; // network check
    Timer Timer2; // processor load

signals:
    void speedLoadChanged(const QString& text);
    void networkChanged(const QString& text);

private:
    void lookupDone(quint64 check, const QString& error);
    void applyCheck(const QString& error);
    void setNetwork(const QString& text);

    StatusLog& log_;
    Roots roots_;
    NetworkProbe probe_;
    QString host_ = QStringLiteral("www.debian.org");
    SystemProbe::Processor processor_;
    std::optional<SystemProbe::CpuCounters> lastSample_;
    bool loadErrorShown_ = false;
    QString speedLoad_;
    QString network_ = QStringLiteral("No ip connection present");
    bool ipShown_ = false;
    Timer lookupTimeout_;
    quint64 checks_ = 0;
    quint64 pending_ = 0; // the check waiting for its look-up, 0 when none
};

} // namespace zarn
