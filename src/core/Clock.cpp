#include "core/Clock.h"

#include "core/TimerScheduler.h"

namespace zarn {

namespace {
Clock* g_clock = nullptr;
}

Clock& Clock::current()
{
    static SystemClock system;
    return g_clock ? *g_clock : system;
}

void Clock::setCurrent(Clock* clock)
{
    g_clock = clock;
}

ManualClock::ManualClock(QDateTime start, const ManualTimerScheduler* scheduler)
    : base_(std::move(start))
    , baseMs_(scheduler ? scheduler->nowMs() : 0)
    , scheduler_(scheduler)
{
}

QDateTime ManualClock::now() const
{
    return scheduler_ ? base_.addMSecs(scheduler_->nowMs() - baseMs_) : base_;
}

void ManualClock::setNow(const QDateTime& now)
{
    base_ = now;
    baseMs_ = scheduler_ ? scheduler_->nowMs() : 0;
}

} // namespace zarn
