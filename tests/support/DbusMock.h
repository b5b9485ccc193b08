#pragma once

#include <QDBusConnection>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <memory>

namespace zarn::test {

// A private D-Bus daemon standing in for the system bus (DBUS_SYSTEM_BUS_ADDRESS points
// to it, so the program's default connection uses it too) and python-dbusmock services
// on it: the machine's real logind and timedated are never reached.
class DbusMock {
public:
    struct Call {
        QString method;
        QVariantList args;
    };

    static constexpr int StartLimitMs = 30000;

    DbusMock();
    ~DbusMock();
    DbusMock(const DbusMock&) = delete;
    DbusMock& operator=(const DbusMock&) = delete;

    // Empty when the daemon runs; otherwise why not (a missing tool is a reason to skip,
    // anything else a failure: see daemonMissing()).
    QString startDaemon();
    // dbus-daemon or python3-dbusmock is not installed.
    bool daemonMissing() const { return missing_; }
    QDBusConnection& bus() { return *bus_; }

    // Starts a template (with -p parameters when given) and waits until its name is on
    // the bus; false when it does not get there.
    bool startTemplate(const QString& templateName, const QString& busName, const QString& parameters = {});
    // Ends the running template and waits until its name has left the bus.
    void stopTemplate();

    // A call to the template's org.freedesktop.DBus.Mock interface at this path.
    QDBusMessage mockCall(const QString& path, const QString& method) const;
    bool addMethod(const QString& path, const QString& interface, const QString& name, const QString& inSignature,
                   const QString& outSignature, const QString& code);
    // The calls the template has recorded at this path, in their order.
    QList<Call> calls(const QString& path);

private:
    QProcess daemon_;
    std::unique_ptr<QDBusConnection> bus_;
    std::unique_ptr<QProcess> mock_;
    QString busName_;
    bool missing_ = false;
};

} // namespace zarn::test
