#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QStringList>


namespace zarn {

class StatusLog;

// What the exit action does with the PC afterwards, through systemd-logind
// (org.freedesktop.login1.Manager) on the bus given at construction.
//
// Main thread only. Every request is asynchronous: a logind that is absent, slow or
// refusing never blocks the window. The one blocking call is ReadPowerCapabilities,
// bounded by CapabilityTimeoutMs. A failed request is written once (status log and,
// as an error line, stderr); the same failure repeated (the idle exit every interval)
// is not written again until a request succeeds or fails differently.
//
// Signals: requestFinished(option, ok) after each logind reply, or at once when the
// request could not be sent.
class PowerController : public QObject {
    Q_OBJECT
public:
    // The indices of RadioGroup1, in their order.
    enum Option {
        NoOption = -1,
        JustExit = 0,
        ExplorerShell = 1,
        Shutdown = 2,
        PowerOff = 3,
        Standby = 4,
        Hibernate = 5,
    };
    static constexpr int CapabilityTimeoutMs = 2000;

    explicit PowerController(StatusLog& log, QDBusConnection bus = QDBusConnection::systemBus(),
                             QObject* parent = nullptr);

    // CanHibernate / CanSuspend: allowed only when logind answers "yes". Without logind
    // both stay as they were and a clear line says why.
    void ReadPowerCapabilities();
    bool HibernateAllowed() const { return hibernateAllowed_; }
    bool SuspendAllowed() const { return suspendAllowed_; }

    // Options 0 to 4, and 5 only where hibernation is allowed.
    QStringList optionTexts() const;
    // The option a stored index selects among the offered ones: below 0 none, beyond
    // the last one the last one.
    Option optionAt(int storedIndex) const;

    // Options 2 to 5: sends the logind request; the program keeps running. Options 0, 1
    // and none are no requests: false.
    bool request(Option option);

    // The logind method and text of an option (empty for the options that are no request).
    static QString methodOf(Option option);

signals:
    void requestFinished(int option, bool ok);

private:
    QString capability(const QString& method);
    void reportFailure(const QString& method, const QString& errorName, const QString& text);

    StatusLog& log_;
    QDBusConnection bus_;
    bool hibernateAllowed_ = false;
    bool suspendAllowed_ = false;
    QString lastFailure_; // errorName + method of the last written failure
};

} // namespace zarn
