#include "DbusMock.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QStandardPaths>
#include <QThread>
#include <QTest>

namespace zarn::test {

namespace {
const QString Python = QStringLiteral("/usr/bin/python3");
const QString ConnectionName = QStringLiteral("zarn-test-bus");

// Waits for a condition while events run, up to the start limit.
template <typename F> bool waitFor(F done)
{
    QDeadlineTimer deadline(DbusMock::StartLimitMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(10);
    }
    return true;
}
} // namespace

DbusMock::DbusMock() = default;

DbusMock::~DbusMock()
{
    stopTemplate();
    bus_.reset();
    QDBusConnection::disconnectFromBus(ConnectionName);
    if (daemon_.state() != QProcess::NotRunning) {
        daemon_.terminate();
        daemon_.waitForFinished(StartLimitMs);
    }
}

QString DbusMock::startDaemon()
{
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    missing_ = true;
    if (daemon.isEmpty())
        return QStringLiteral("dbus-daemon is not installed");
    if (QProcess::execute(Python, {QStringLiteral("-c"), QStringLiteral("import dbusmock")}) != 0)
        return QStringLiteral("python3-dbusmock is not installed for /usr/bin/python3");
    missing_ = false;
    daemon_.setProgram(daemon);
    daemon_.setArguments({QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
    daemon_.start();
    if (!daemon_.waitForStarted(StartLimitMs) || !waitFor([this] { return daemon_.canReadLine(); }))
        return QStringLiteral("dbus-daemon did not start");
    const QString address = QString::fromLocal8Bit(daemon_.readLine()).trimmed();
    if (address.isEmpty())
        return QStringLiteral("dbus-daemon gave no address");
    // Before QtDBus first opens the system bus, and inherited by the mocks.
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", address.toLocal8Bit());
    bus_ = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(address, ConnectionName));
    if (!bus_->isConnected())
        return QStringLiteral("cannot connect to the private bus");
    return {};
}

bool DbusMock::startTemplate(const QString& templateName, const QString& busName, const QString& parameters)
{
    stopTemplate();
    mock_ = std::make_unique<QProcess>();
    mock_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QStringList args{QStringLiteral("-m"), QStringLiteral("dbusmock"), QStringLiteral("--template"), templateName};
    if (!parameters.isEmpty())
        args << QStringLiteral("-p") << parameters;
    mock_->start(Python, args);
    busName_ = busName;
    return mock_->waitForStarted(StartLimitMs)
        && waitFor([this] { return bus_->interface()->isServiceRegistered(busName_).value(); });
}

void DbusMock::stopTemplate()
{
    if (!mock_)
        return;
    mock_->terminate();
    if (!mock_->waitForFinished(StartLimitMs))
        mock_->kill();
    mock_.reset();
    if (bus_)
        waitFor([this] { return !bus_->interface()->isServiceRegistered(busName_).value(); });
}

QDBusMessage DbusMock::mockCall(const QString& path, const QString& method) const
{
    return QDBusMessage::createMethodCall(busName_, path, QStringLiteral("org.freedesktop.DBus.Mock"), method);
}

bool DbusMock::addMethod(const QString& path, const QString& interface, const QString& name,
                         const QString& inSignature, const QString& outSignature, const QString& code)
{
    QDBusMessage add = mockCall(path, QStringLiteral("AddMethod"));
    add << interface << name << inSignature << outSignature << code;
    return bus_->call(add).type() == QDBusMessage::ReplyMessage;
}

QList<DbusMock::Call> DbusMock::calls(const QString& path)
{
    const QDBusMessage reply = bus_->call(mockCall(path, QStringLiteral("GetCalls")));
    QList<Call> out;
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return out;
    const QDBusArgument array = reply.arguments().at(0).value<QDBusArgument>();
    array.beginArray(); // a(tsav): time, method, arguments
    while (!array.atEnd()) {
        qulonglong when = 0;
        Call call;
        array.beginStructure();
        array >> when >> call.method >> call.args;
        array.endStructure();
        out << call;
    }
    array.endArray();
    return out;
}

} // namespace zarn::test
