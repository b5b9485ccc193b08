#include "ibus/VehicleRequests.h"

#include "core/CommandLine.h"
#include "core/StatusLog.h"
#include "ibus/IbusSender.h"

namespace zarn {

VehicleRequests::VehicleRequests(IbusSender& sender, StatusLog& log,
                                 const CommandLine& commandLine, QObject* parent)
    : QObject(parent)
    , sender_(sender)
    , log_(log)
    , commandLine_(commandLine)
{
    connect(&Request_Timer, &Timer::timeout, this, &VehicleRequests::Request_TimerTimer);
    connect(&request_odometer_timer, &Timer::timeout, this,
            &VehicleRequests::request_odometer_timerTimer);
    connect(&requestlatlon_timer, &Timer::timeout, this,
            &VehicleRequests::requestlatlon_timerTimer);
    connect(&tvinittimer, &Timer::timeout, this, &VehicleRequests::tvinittimerTimer);
    connect(&TVinit2Timer, &Timer::timeout, this, &VehicleRequests::TVinit2TimerTimer);
}

void VehicleRequests::Request_TimerTimer()
{
    log_.timerTrace(QStringLiteral("RequestTimer"));
    if (RequestToggle == 1) {
        request_odometer_timer.setInterval(RetryInterval);
        RequestToggle = 0;
    } else {
        requestlatlon_timer.setInterval(RetryInterval);
        RequestToggle = 1;
    }
}

void VehicleRequests::request_odometer_timerTimer()
{
    log_.timerTrace(QStringLiteral("request_odometer_timerTimer"));
    if (sender_.SendInProgress())
        return; // the next tick tries again
    log_.addMessage(QStringLiteral("Sending command to request Odometer Info"));
    sender_.SendIbusText(QStringLiteral("BF XX 80 16"));
    request_odometer_timer.stop();
}

void VehicleRequests::requestlatlon_timerTimer()
{
    log_.timerTrace(QStringLiteral("requestlatlon_timerTimer"));
    if (sender_.SendInProgress())
        return;
    log_.addMessage(QStringLiteral("Sending command to request lat/lon Info"));
    sender_.SendIbusText(QStringLiteral("C8 XX 7F A1 00"));
    requestlatlon_timer.stop();
}

void VehicleRequests::RequestStreetCity()
{
    if (sender_.SendInProgress())
        return;
    if (log_.timerTraceEnabled())
        log_.AddStatusLine(QStringLiteral("Sending command to request street/city Info"));
    sender_.SendIbusText(QStringLiteral("C8 XX 7F A3 00"));
}

void VehicleRequests::tvinittimerTimer()
{
    log_.timerTrace(QStringLiteral("tvinittimerTimer"));
    log_.AddStatusLine(QStringLiteral("TVINIT - now sending TV INIT"));
    sender_.SendIbusText(QStringLiteral("3B 05 BB 4F 01 00"));
    log_.AddStatusLine(QStringLiteral("TVINIT - TV INIT has been sent"));
    tvinittimer.stop();
    TVinit2Timer.setInterval(TvSleepDelay);
}

void VehicleRequests::TVinit2TimerTimer()
{
    log_.timerTrace(QStringLiteral("TVinit2TimerTimer"));
    TVinit2Timer.stop();
    log_.AddStatusLine(QStringLiteral("TVINIT - now sending TV sleep"));
    sender_.SendIbusText(QStringLiteral("3B 05 BB 4F 02 00"));
    log_.AddStatusLine(QStringLiteral("TVINIT - TV sleep has been sent"));
}

void VehicleRequests::onResume()
{
    // Callers and saved logs look for this exact text, whatever the platform's event.
    log_.AddStatusLine(QStringLiteral(
        "Zarn has detected wake-up from Hibernate with windows message WM_POWERBROADCAST"));
    if (commandLine_.has("TVINIT")) {
        log_.AddStatusLine(
            QStringLiteral("TVINIT command line parm was enabled previously - sending again..."));
        tvinittimer.setInterval(TvInitDelay);
    }
}

} // namespace zarn
