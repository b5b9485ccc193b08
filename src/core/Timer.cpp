#include "core/Timer.h"

#include "core/TimerScheduler.h"

namespace zarn {

Timer::Timer(const QString& name, QObject* parent)
    : Timer(TimerScheduler::current(), name, parent)
{
}

Timer::Timer(TimerScheduler& scheduler, const QString& name, QObject* parent)
    : QObject(parent)
    , scheduler_(scheduler)
    , name_(name)
{
}

Timer::~Timer()
{
    if (interval_ > 0)
        scheduler_.disarm(this);
}

void Timer::setInterval(int ms)
{
    if (ms < 0)
        ms = 0;
    if (ms == interval_)
        return;
    interval_ = ms;
    if (ms == 0)
        scheduler_.disarm(this);
    else
        scheduler_.arm(this, ms);
}

void Timer::fire()
{
    if (interval_ > 0)
        emit timeout();
}

} // namespace zarn
