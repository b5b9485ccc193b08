#include "services/SystemStatus.h"

#include "core/StatusLog.h"
#include "core/TimerScheduler.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QNetworkInterface>

namespace zarn {

namespace {
TimerScheduler& schedulerOr(TimerScheduler* s)
{
    return s ? *s : TimerScheduler::current();
}
} // namespace

SystemStatus::NetworkProbe SystemStatus::systemNetwork()
{
    NetworkProbe p;
    p.resolve = [](const QString& host, QObject* context, std::function<void(const QString&)> done) {
        QHostInfo::lookupHost(host, context, [done = std::move(done)](const QHostInfo& info) {
            done(info.error() == QHostInfo::NoError && !info.addresses().isEmpty() ? QString()
                                                                                   : QStringLiteral("Host Lookup Failed"));
        });
    };
    p.localAddress = [] {
        for (const QNetworkInterface& i : QNetworkInterface::allInterfaces()) {
            const auto flags = i.flags();
            if (!(flags & QNetworkInterface::IsUp) || !(flags & QNetworkInterface::IsRunning)
                || (flags & QNetworkInterface::IsLoopBack))
                continue;
            for (const QNetworkAddressEntry& e : i.addressEntries())
                if (e.ip().protocol() == QAbstractSocket::IPv4Protocol)
                    return e.ip().toString();
        }
        return QString();
    };
    return p;
}

SystemStatus::SystemStatus(StatusLog& log, QObject* parent)
    : SystemStatus(log, Roots{}, nullptr, parent)
{
}

SystemStatus::SystemStatus(StatusLog& log, Roots roots, TimerScheduler* scheduler, QObject* parent)
    : QObject(parent)
    , Timer1(schedulerOr(scheduler), QStringLiteral("Timer1"))
    , Timer2(schedulerOr(scheduler), QStringLiteral("Timer2"))
    , log_(log)
    , roots_(std::move(roots))
    , probe_(systemNetwork())
    , lookupTimeout_(schedulerOr(scheduler), QStringLiteral("lookupTimeout"))
{
    connect(&Timer1, &Timer::timeout, this, &SystemStatus::Timer1Timer);
    connect(&Timer2, &Timer::timeout, this, &SystemStatus::Timer2Timer);
    connect(&lookupTimeout_, &Timer::timeout, this,
            [this] { lookupDone(pending_, QStringLiteral("Host Lookup Timed Out")); });
    speedLoad_ = speedText();
}

void SystemStatus::start()
{
    processor_ = SystemProbe::readProcessor(roots_.proc, roots_.sys);
    speedLoad_ = speedText();
    // The first load tick compares with this reading.
    lastSample_ = SystemProbe::readCpuCounters(roots_.proc);
    Timer2.setInterval(LoadIntervalMs);
    Timer1.setInterval(NetworkIntervalMs);
}

QString SystemStatus::speedText() const
{
    if (processor_.mhz <= 0)
        return QStringLiteral("System running at an unknown clock speed");
    return QStringLiteral("System running at ") + QString::number(processor_.mhz) + QStringLiteral(" Mhz");
}

QString SystemStatus::clusterText() const
{
    if (processor_.mhz <= 0)
        return QStringLiteral("CPU speed unknown");
    return QStringLiteral("CPU at ") + QString::number(processor_.mhz) + QStringLiteral(" Mhz");
}

void SystemStatus::Timer2Timer()
{
    log_.timerTrace(QStringLiteral("Timer2Timer"));
    QString error;
    const auto sample = SystemProbe::readCpuCounters(roots_.proc, &error);
    QString text = speedText();
    if (sample) {
        const double busy = lastSample_ ? SystemProbe::busyFraction(*lastSample_, *sample) : 0.0;
        lastSample_ = sample;
        loadErrorShown_ = false;
        text += QStringLiteral(",  CPU busy = ") + SystemProbe::loadText(busy) + QLatin1Char('%');
    } else if (!loadErrorShown_) {
        // Once until the counters can be read again, not at every tick.
        loadErrorShown_ = true;
        log_.addError(error);
    }
    if (text != speedLoad_) {
        speedLoad_ = text;
        emit speedLoadChanged(speedLoad_);
    }
}

void SystemStatus::Timer1Timer()
{
    log_.timerTrace(QStringLiteral("Timer1 IP Check"));
    if (pending_)
        return; // the check under way answers for this one too
    if (!QHostAddress(host_).isNull() || !probe_.resolve) {
        applyCheck(QString());
        return;
    }
    const quint64 check = ++checks_;
    pending_ = check;
    lookupTimeout_.restart(LookupTimeoutMs);
    probe_.resolve(host_, this, [this, check](const QString& error) { lookupDone(check, error); });
}

void SystemStatus::lookupDone(quint64 check, const QString& error)
{
    // A look-up that timed out may still answer; its check is over.
    if (check == 0 || check != pending_)
        return;
    pending_ = 0;
    lookupTimeout_.stop();
    applyCheck(error);
}

void SystemStatus::applyCheck(const QString& error)
{
    if (!error.isEmpty()) {
        ipShown_ = false;
        setNetwork(QStringLiteral("No ip connection present"));
        return;
    }
    if (ipShown_)
        return;
    const QString address = probe_.localAddress ? probe_.localAddress() : QString();
    if (address.isEmpty()) {
        setNetwork(QStringLiteral("No ip connection present"));
        return;
    }
    ipShown_ = true;
    setNetwork(QStringLiteral("IP is ") + address);
}

void SystemStatus::setNetwork(const QString& text)
{
    if (text == network_)
        return;
    network_ = text;
    emit networkChanged(network_);
}

} // namespace zarn
