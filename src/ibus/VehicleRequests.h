#pragma once

#include "core/Timer.h"

#include <QObject>

namespace zarn {

class CommandLine;
class IbusSender;
class StatusLog;

// The requests the program sends so the car reports what it only sends on demand
// (odometer, position, street and city), and the television module's start and
// sleep frames. Main thread only.
class VehicleRequests : public QObject {
    Q_OBJECT
public:
    static constexpr int RequestInterval = 3000; // Request_Timer, while the port is open
    static constexpr int RetryInterval = 100;    // the two request one-shots
    static constexpr int TvInitDelay = 3000;     // tvinittimer
    static constexpr int TvSleepDelay = 2000;    // TVinit2Timer

    VehicleRequests(IbusSender& sender, StatusLog& log, const CommandLine& commandLine,
                    QObject* parent = nullptr);

    // Started with RequestInterval by RestartPort, stopped by ClosePort.
    Timer Request_Timer{QStringLiteral("Request_Timer")};
    Timer request_odometer_timer{QStringLiteral("request_odometer_timer")};
    Timer requestlatlon_timer{QStringLiteral("requestlatlon_timer")};
    Timer tvinittimer{QStringLiteral("tvinittimer")};
    Timer TVinit2Timer{QStringLiteral("TVinit2Timer")};

    // 1: the next Request_Timer tick asks for the odometer, 0: for the position.
    int RequestToggle = 1;

    // Last step of the 10-second Makeselfactive tick: ask for street and city unless
    // the link is busy (then the next tick asks).
    void RequestStreetCity();

    // The PC woke up from sleep or hibernation.
    void onResume();

    void Request_TimerTimer();
    void request_odometer_timerTimer();
    void requestlatlon_timerTimer();
    void tvinittimerTimer();
    void TVinit2TimerTimer();

private:
    IbusSender& sender_;
    StatusLog& log_;
    const CommandLine& commandLine_;
};

} // namespace zarn
