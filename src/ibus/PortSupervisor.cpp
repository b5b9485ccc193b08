#include "ibus/PortSupervisor.h"

#include "core/StatusLog.h"
#include "ibus/SerialPortNG.h"

namespace zarn {

PortSupervisor::PortSupervisor(SerialPortNG& port, StatusLog& log, Timer* requestTimer, QObject* parent)
    : QObject(parent)
    , port_(port)
    , log_(log)
    , requestTimer_(requestTimer)
    , timer_(QStringLiteral("CommPortSupervisor"))
{
    timer_.setObjectName(timer_.name());
    connect(&timer_, &Timer::timeout, this, &PortSupervisor::CommPortSupervisorTimer);
}

void PortSupervisor::start()
{
    timer_.setInterval(SupervisorIntervalMs);
}

bool PortSupervisor::RestartPort()
{
    try {
        port_.setActive(false);
        port_.setActive(true);
        port_.setRTSState(false);
        if (requestTimer_)
            requestTimer_->setInterval(RequestIntervalMs);
        return true;
    } catch (...) {
        return false;
    }
}

void PortSupervisor::ClosePort()
{
    if (port_.Active())
        port_.setActive(false);
    if (requestTimer_)
        requestTimer_->stop();
}

void PortSupervisor::CommPortSupervisorTimer()
{
    log_.timerTrace(timer_.name());
    if (!port_.Active()) {
        try {
            RestartPort();
            log_.addMessage(QStringLiteral("Com-Port supervisor found an issue - trying to restart..."));
        } catch (...) {
        }
    } else {
        log_.addMessage(QStringLiteral("Com-Port supervisor checkstatus is: active"));
    }
    log_.addMessage(port_.RTSState() ? QStringLiteral("Com-Port RTS is on")
                                     : QStringLiteral("Com-Port RTS is off"));
}

} // namespace zarn
