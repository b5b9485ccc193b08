#pragma once

#include <QHash>
#include <QtGlobal>

class QTimer;

namespace zarn {

class Timer;

// Where timer ticks come from: Qt's event loop in production, virtual time in tests.
class TimerScheduler {
public:
    virtual ~TimerScheduler() = default;

    // (Re)start: first tick ms from now, then every ms.
    virtual void arm(Timer* timer, int ms) = 0;
    virtual void disarm(Timer* timer) = 0;
    // Monotonic milliseconds.
    virtual qint64 nowMs() const = 0;

    // The scheduler new timers use unless given one; Qt's by default.
    static TimerScheduler& current();
    static void setCurrent(TimerScheduler* scheduler); // nullptr restores Qt's
};

class QtTimerScheduler final : public TimerScheduler {
public:
    ~QtTimerScheduler() override;
    void arm(Timer* timer, int ms) override;
    void disarm(Timer* timer) override;
    qint64 nowMs() const override;

private:
    QHash<Timer*, QTimer*> timers_;
};

// Virtual time: nothing ticks until advance() is called. Ticks due at the same
// moment fire in the order their timers were armed.
class ManualTimerScheduler final : public TimerScheduler {
public:
    void arm(Timer* timer, int ms) override;
    void disarm(Timer* timer) override;
    qint64 nowMs() const override { return now_; }

    void advance(qint64 ms);
    void advanceTo(qint64 ms);
    // Due time of the next tick, or -1 when no timer runs.
    qint64 nextDue() const;

private:
    struct Entry {
        qint64 due;
        quint64 seq;
        int interval;
    };
    Timer* nextTimer(qint64 limit) const;

    QHash<Timer*, Entry> entries_;
    qint64 now_ = 0;
    quint64 seq_ = 0;
};

} // namespace zarn
