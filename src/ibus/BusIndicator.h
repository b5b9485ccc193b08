#pragma once

#include "core/Timer.h"

#include <QObject>

namespace zarn {

class StatusLog;

// The "I" indicator: raised while blocks arrive, lowered by IbusIndicatorTimer once
// 5 seconds pass without one; each tick of a silent bus arms the idle shutdown when
// shutdownafterIBUSidle is chosen. Owns only its timer; IdleShutdownTimer belongs to
// the composition root. Main thread only.
class BusIndicator : public QObject {
    Q_OBJECT
public:
    static constexpr int IndicatorIntervalMs = 5000;

    // idleShutdownTimer is IdleShutdownTimer (may be null).
    explicit BusIndicator(StatusLog& log, Timer* idleShutdownTimer = nullptr, QObject* parent = nullptr);

    // Starts IbusIndicatorTimer (5000 ms).
    void start();

    bool raised() const { return raised_; }
    // The bus is alive (a block, or the header's double click): the indicator timer
    // starts again with indicatorMs; a lowered indicator rises and the idle shutdown stops.
    void busActivity(int indicatorMs);

    // shutdownafterIBUSidle and shutdownafterIBUSidle_seconds.
    bool shutdownAfterIbusIdle() const { return shutdownAfterIdle_; }
    void setShutdownAfterIbusIdle(bool on) { shutdownAfterIdle_ = on; }
    int shutdownAfterIbusIdleSeconds() const { return shutdownAfterIdleSeconds_; }
    void setShutdownAfterIbusIdleSeconds(int seconds) { shutdownAfterIdleSeconds_ = seconds; }

    void IbusIndicatorTimerTimer();
    Timer& IbusIndicatorTimer() { return timer_; }

signals:
    void indicatorChanged(bool raised);
    // The indicator lowered (every tick of a silent bus): reapply the color scheme.
    void colorSchemeNeeded();

private:
    StatusLog& log_;
    Timer* idleShutdownTimer_;
    Timer timer_;
    bool raised_ = true;
    bool shutdownAfterIdle_ = false;
    int shutdownAfterIdleSeconds_ = 0;
};

} // namespace zarn
