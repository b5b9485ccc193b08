#pragma once

#include "ibus/ClockSetter.h"

#include <QDBusConnection>
#include <QString>

namespace zarn {

// Sets the PC clock through systemd-timedated (org.freedesktop.timedate1.SetTime).
// Never asks the user: without the right to set the time, or with automatic time
// sync on, timedated refuses and SetLocalTime returns false. Main thread only.
class TimedatedClockSetter final : public ClockSetter {
public:
    static constexpr int CallTimeoutMs = 5000;

    explicit TimedatedClockSetter(QDBusConnection bus = QDBusConnection::systemBus());

    bool SetLocalTime(const QDateTime& localTime) override;

    // Why the last call failed (empty after a success).
    const QString& lastError() const { return lastError_; }

private:
    QDBusConnection bus_;
    QString lastError_;
};

} // namespace zarn
