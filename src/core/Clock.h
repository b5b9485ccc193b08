#pragma once

#include <QDateTime>

namespace zarn {

class ManualTimerScheduler;

// "Now" for status lines, the car's time and the driver's log.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;

    static Clock& current();
    static void setCurrent(Clock* clock); // nullptr restores the system clock
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

// Test clock; when given a virtual-time scheduler it moves along with it.
class ManualClock final : public Clock {
public:
    explicit ManualClock(QDateTime start, const ManualTimerScheduler* scheduler = nullptr);
    QDateTime now() const override;
    void setNow(const QDateTime& now);

private:
    QDateTime base_;
    qint64 baseMs_ = 0;
    const ManualTimerScheduler* scheduler_;
};

} // namespace zarn
