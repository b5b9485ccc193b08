#pragma once

#include "core/Timer.h"

#include <QObject>

namespace zarn {

class SerialPortNG;
class StatusLog;

// Keeps the port open: RestartPort and ClosePort, and CommPortSupervisor, which every
// 10 seconds opens a port that is not active. Owns only its timer; the port, the log
// and Request_Timer belong to the composition root. Main thread only.
class PortSupervisor : public QObject {
    Q_OBJECT
public:
    static constexpr int SupervisorIntervalMs = 10000;
    static constexpr int RequestIntervalMs = 3000;

    // requestTimer is Request_Timer (may be null).
    PortSupervisor(SerialPortNG& port, StatusLog& log, Timer* requestTimer = nullptr,
                   QObject* parent = nullptr);

    // Starts CommPortSupervisor (10000 ms).
    void start();

    // Active false then true, RTSState false, Request_Timer 3000 ms. A port that does
    // not open is not an error here (the component reports it); false only if a step threw.
    bool RestartPort();
    // Closes the port if open and stops Request_Timer.
    void ClosePort();

    void CommPortSupervisorTimer();
    Timer& CommPortSupervisor() { return timer_; }

private:
    SerialPortNG& port_;
    StatusLog& log_;
    Timer* requestTimer_;
    Timer timer_;
};

} // namespace zarn
