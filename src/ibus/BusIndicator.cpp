#include "ibus/BusIndicator.h"

#include "core/StatusLog.h"

#include <algorithm>
#include <limits>

namespace zarn {

BusIndicator::BusIndicator(StatusLog& log, Timer* idleShutdownTimer, QObject* parent)
    : QObject(parent)
    , log_(log)
    , idleShutdownTimer_(idleShutdownTimer)
    , timer_(QStringLiteral("IbusIndicatorTimer"))
{
    timer_.setObjectName(timer_.name());
    connect(&timer_, &Timer::timeout, this, &BusIndicator::IbusIndicatorTimerTimer);
}

void BusIndicator::start()
{
    timer_.setInterval(IndicatorIntervalMs);
}

void BusIndicator::IbusIndicatorTimerTimer()
{
    log_.timerTrace(timer_.name());
    if (raised_) {
        raised_ = false;
        emit indicatorChanged(false);
    }
    emit colorSchemeNeeded();
    if (shutdownAfterIdle_ && idleShutdownTimer_) {
        const int seconds = std::clamp(shutdownAfterIdleSeconds_, 0, std::numeric_limits<int>::max() / 1000);
        // The interval it already has does not restart the countdown.
        idleShutdownTimer_->setInterval(seconds * 1000);
    }
}

void BusIndicator::busActivity(int indicatorMs)
{
    timer_.restart(indicatorMs);
    if (!raised_) {
        raised_ = true;
        if (idleShutdownTimer_)
            idleShutdownTimer_->stop();
        emit indicatorChanged(true);
    }
}

} // namespace zarn
