#include "services/TimedatedClockSetter.h"

#include <QDBusMessage>

namespace zarn {

TimedatedClockSetter::TimedatedClockSetter(QDBusConnection bus)
    : bus_(std::move(bus))
{
}

bool TimedatedClockSetter::SetLocalTime(const QDateTime& localTime)
{
    if (!bus_.isConnected()) {
        lastError_ = QStringLiteral("no system bus: ") + bus_.lastError().message();
        return false;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.timedate1"), QStringLiteral("/org/freedesktop/timedate1"),
        QStringLiteral("org.freedesktop.timedate1"), QStringLiteral("SetTime"));
    const qlonglong usecUtc = localTime.toMSecsSinceEpoch() * 1000;
    call << usecUtc << false /* relative */ << false /* interactive */;
    // Blocking, but short: a missing timedated must not freeze the screen for long.
    const QDBusMessage reply = bus_.call(call, QDBus::Block, CallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        lastError_ = reply.errorName() + QStringLiteral(": ") + reply.errorMessage();
        return false;
    }
    lastError_.clear();
    return true;
}

} // namespace zarn
