#include "core/TimerScheduler.h"

#include "core/Timer.h"

#include <QElapsedTimer>
#include <QTimer>

namespace zarn {

namespace {
TimerScheduler* g_current = nullptr;

QtTimerScheduler& qtScheduler()
{
    static QtTimerScheduler scheduler;
    return scheduler;
}

qint64 monotonicMs()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return clock.elapsed();
}
} // namespace

TimerScheduler& TimerScheduler::current()
{
    return g_current ? *g_current : qtScheduler();
}

void TimerScheduler::setCurrent(TimerScheduler* scheduler)
{
    g_current = scheduler;
}

QtTimerScheduler::~QtTimerScheduler() = default;

void QtTimerScheduler::arm(Timer* timer, int ms)
{
    QTimer*& qt = timers_[timer];
    if (!qt) {
        // Owned by the Timer, so it dies with it.
        qt = new QTimer(timer);
        qt->setTimerType(Qt::PreciseTimer);
        QObject::connect(qt, &QTimer::timeout, timer, &Timer::fire);
        QObject::connect(timer, &QObject::destroyed, [this, timer] { timers_.remove(timer); });
    }
    qt->start(ms);
}

void QtTimerScheduler::disarm(Timer* timer)
{
    if (QTimer* qt = timers_.value(timer))
        qt->stop();
}

qint64 QtTimerScheduler::nowMs() const
{
    return monotonicMs();
}

void ManualTimerScheduler::arm(Timer* timer, int ms)
{
    entries_.insert(timer, Entry{now_ + ms, seq_++, ms});
}

void ManualTimerScheduler::disarm(Timer* timer)
{
    entries_.remove(timer);
}

Timer* ManualTimerScheduler::nextTimer(qint64 limit) const
{
    Timer* best = nullptr;
    Entry bestEntry{};
    for (auto it = entries_.cbegin(); it != entries_.cend(); ++it) {
        const Entry& e = it.value();
        if (e.due > limit)
            continue;
        if (!best || e.due < bestEntry.due || (e.due == bestEntry.due && e.seq < bestEntry.seq)) {
            best = it.key();
            bestEntry = e;
        }
    }
    return best;
}

void ManualTimerScheduler::advance(qint64 ms)
{
    advanceTo(now_ + ms);
}

void ManualTimerScheduler::advanceTo(qint64 target)
{
    while (Timer* timer = nextTimer(target)) {
        Entry& e = entries_[timer];
        now_ = e.due;
        e.due += e.interval;
        e.seq = seq_++;
        timer->fire();
    }
    if (target > now_)
        now_ = target;
}

qint64 ManualTimerScheduler::nextDue() const
{
    qint64 due = -1;
    for (const Entry& e : entries_)
        if (due < 0 || e.due < due)
            due = e.due;
    return due;
}

} // namespace zarn
