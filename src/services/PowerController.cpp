#include "services/PowerController.h"

#include "core/StatusLog.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

#include <algorithm>

namespace zarn {

namespace {
const QString Service = QStringLiteral("org.freedesktop.login1");
const QString Path = QStringLiteral("/org/freedesktop/login1");
const QString Manager = QStringLiteral("org.freedesktop.login1.Manager");
// logind answers at once; a request that takes longer than this is reported.
constexpr int RequestTimeoutMs = 25000;

bool absentService(const QString& errorName)
{
    return errorName == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown")
        || errorName == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner");
}

} // namespace

PowerController::PowerController(StatusLog& log, QDBusConnection bus, QObject* parent)
    : QObject(parent)
    , log_(log)
    , bus_(std::move(bus))
{
}

QString PowerController::methodOf(Option option)
{
    switch (option) {
    case Shutdown: return QStringLiteral("Halt");
    case PowerOff: return QStringLiteral("PowerOff");
    case Standby: return QStringLiteral("Suspend");
    case Hibernate: return QStringLiteral("Hibernate");
    default: return {};
    }
}

QStringList PowerController::optionTexts() const
{
    QStringList texts{
        QStringLiteral("Just exit Zarn and keep Windows alive"),
        QStringLiteral("Just exit Zarn, keep Windows alive but start explorer shell"),
        QStringLiteral("Shutdown (with remaining \"it is now safe to turn off your computer\" screen !)"),
        QStringLiteral("Shutdown with Power Off (no more leds or fans active)"),
        QStringLiteral("Standby (some power consumption remains)"),
    };
    if (hibernateAllowed_)
        texts << QStringLiteral("Hibernate (all memory written to disk, no power needed to keep it - needs to be "
                                "activated in the Power/Energy Options of Windows)");
    return texts;
}

PowerController::Option PowerController::optionAt(int storedIndex) const
{
    if (storedIndex < 0)
        return NoOption;
    const int last = hibernateAllowed_ ? Hibernate : Standby;
    return Option(std::min(storedIndex, last));
}

QString PowerController::capability(const QString& method)
{
    if (!bus_.isConnected()) {
        reportFailure(method, QStringLiteral("NoBus"),
                      QStringLiteral("Power options: no system bus - ") + bus_.lastError().message());
        return {};
    }
    const QDBusMessage reply =
        bus_.call(QDBusMessage::createMethodCall(Service, Path, Manager, method), QDBus::Block, CapabilityTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        reportFailure(method, reply.errorName(),
                      absentService(reply.errorName())
                          ? QStringLiteral("Power options: logind (org.freedesktop.login1) is not on the system bus")
                          : QStringLiteral("Power options: ") + method + QStringLiteral(" failed: ")
                                + reply.errorName() + QLatin1Char(' ') + reply.errorMessage());
        return {};
    }
    return reply.arguments().constFirst().toString();
}

void PowerController::ReadPowerCapabilities()
{
    const QString hibernate = capability(QStringLiteral("CanHibernate"));
    if (hibernate.isEmpty())
        return; // one line is enough when logind is not there at all
    hibernateAllowed_ = hibernate == QLatin1String("yes");
    const QString suspend = capability(QStringLiteral("CanSuspend"));
    if (!suspend.isEmpty())
        suspendAllowed_ = suspend == QLatin1String("yes");
}

bool PowerController::request(Option option)
{
    const QString method = methodOf(option);
    if (method.isEmpty())
        return false;
    if (!bus_.isConnected()) {
        reportFailure(method, QStringLiteral("NoBus"),
                      QStringLiteral("Power option ") + method + QStringLiteral(" not done: no system bus"));
        emit requestFinished(option, false);
        return true;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Manager, method);
    call << false; // interactive: nobody is there to answer a password question
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, RequestTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, option, method](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusPendingReply<> reply = *w;
        if (!reply.isError()) {
            lastFailure_.clear();
            emit requestFinished(option, true);
            return;
        }
        const QDBusError error = reply.error();
        reportFailure(method, error.name(),
                      absentService(error.name())
                          ? QStringLiteral("Power option ") + method
                                + QStringLiteral(" not done: logind (org.freedesktop.login1) is not on the system bus")
                          : QStringLiteral("Power option ") + method + QStringLiteral(" refused: ") + error.name()
                                + QLatin1Char(' ') + error.message());
        emit requestFinished(option, false);
    });
    return true;
}

void PowerController::reportFailure(const QString& method, const QString& errorName, const QString& text)
{
    const QString key = method + QLatin1Char(' ') + errorName;
    if (key == lastFailure_)
        return;
    lastFailure_ = key;
    // Without logind the program runs on; only what it was asked to do is an error.
    if (method.startsWith(QLatin1String("Can")))
        log_.addWarning(text);
    else
        log_.addError(text);
}

} // namespace zarn
