#include "ibus/SerialLink.h"

#include "core/StatusLog.h"
#include "ibus/FrameText.h"
#include "ibus/SerialDevice.h"
#include "ibus/SerialPortNG.h"

#include <algorithm>
#include <limits>

namespace zarn {

namespace {
constexpr int PortCount = 9;
constexpr int RejectedIndexListItem = 1;
} // namespace

SerialLink::PortChoice SerialLink::portChoice(int itemIndex, const QString& devicePathSetting)
{
    PortChoice choice;
    if (itemIndex >= 0 && itemIndex < PortCount) {
        choice.commPort = QStringLiteral("COM%1").arg(itemIndex + 1);
        choice.listIndex = itemIndex;
    } else {
        // The list rejects the index (selection -1, so "COM" + 0); the name is not one
        // of its items, so it shows its second item. Opening "COM0" fails.
        choice.commPort = QStringLiteral("COM0");
        choice.listIndex = RejectedIndexListItem;
    }
    const QString setting = devicePathSetting.trimmed();
    choice.devicePath = setting.isEmpty() ? SerialPortNG::devicePathFor(choice.commPort) : setting;
    return choice;
}

QStringList SerialLink::portNames()
{
    QStringList names;
    for (int i = 1; i <= PortCount; ++i)
        names << QStringLiteral("COM%1").arg(i);
    return names;
}

SerialLink::SerialLink(SerialPortNG& port, StatusLog& log,
                       std::function<void(const QString&)> processIbusText, Timer* requestTimer,
                       Timer* idleShutdownTimer, QObject* parent)
    : QObject(parent)
    , port_(port)
    , log_(log)
    , processIbusText_(std::move(processIbusText))
    , requestTimer_(requestTimer)
    , idleShutdownTimer_(idleShutdownTimer)
    , supervisor_(QStringLiteral("CommPortSupervisor"))
    , indicatorTimer_(QStringLiteral("IbusIndicatorTimer"))
{
    supervisor_.setObjectName(supervisor_.name());
    indicatorTimer_.setObjectName(indicatorTimer_.name());
    connect(&supervisor_, &Timer::timeout, this, &SerialLink::CommPortSupervisorTimer);
    connect(&indicatorTimer_, &Timer::timeout, this, &SerialLink::IbusIndicatorTimerTimer);
    connect(&port_, &SerialPortNG::OnRxClusterEvent, this, &SerialLink::SerialPortNG1RxClusterEvent);
    connect(&port_, &SerialPortNG::OnProcessError, this, &SerialLink::SerialPortNG1ProcessError);
}

void SerialLink::start()
{
    supervisor_.setInterval(SupervisorIntervalMs);
    indicatorTimer_.setInterval(IndicatorIntervalMs);
}

bool SerialLink::RestartPort()
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

void SerialLink::ClosePort()
{
    if (port_.Active())
        port_.setActive(false);
    if (requestTimer_)
        requestTimer_->stop();
}

void SerialLink::initParity()
{
    port_.setParityType(int(SerialParity::Even));
    log_.AddStatusLine(QStringLiteral("Parity set to %1 (even)").arg(port_.ParityType()));
}

void SerialLink::initReceiveTimes(qint64 charDelayUs, qint64 extraDelayMs)
{
    // A value outside the component's range is held at its limit instead of wrapping
    // round to a tiny or huge quiet time.
    port_.setRTOCharDelayTime(quint32(std::clamp<qint64>(charDelayUs, 0, std::numeric_limits<quint32>::max())));
    port_.setRTOExtraDelayTime(quint16(std::clamp<qint64>(extraDelayMs, 0, std::numeric_limits<quint16>::max())));
    log_.AddStatusLine(QStringLiteral("RTOCharDelayTime set to %1 microseconds").arg(port_.RTOCharDelayTime()));
    log_.AddStatusLine(QStringLiteral("RTOExtraDelayTime set to %1 milliseconds").arg(port_.RTOExtraDelayTime()));
}

SerialLink::PortChoice SerialLink::selectPort(int itemIndex, const QString& devicePathSetting)
{
    const PortChoice choice = portChoice(itemIndex, devicePathSetting);
    port_.setCommPort(choice.commPort);
    port_.setDevicePath(choice.devicePath);
    return choice;
}

bool SerialLink::openPortAtStartup(const std::function<void(const QString&)>& splashLine)
{
    log_.AddStatusLine(QStringLiteral("Serial COM Port set to ") + port_.CommPort());
    if (splashLine)
        splashLine(QStringLiteral(" Initializing COM-port"));
    const bool issued = RestartPort();
    if (issued)
        log_.AddStatusLine(QStringLiteral("Zarn ") + port_.CommPort()
                           + QStringLiteral(" open issued...trying, RTS is low"));
    return issued;
}

void SerialLink::CommPortSupervisorTimer()
{
    log_.timerTrace(supervisor_.name());
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

void SerialLink::IbusIndicatorTimerTimer()
{
    log_.timerTrace(indicatorTimer_.name());
    if (indicatorRaised_) {
        indicatorRaised_ = false;
        emit indicatorChanged(false);
    }
    emit colorSchemeNeeded();
    if (shutdownAfterIdle_ && idleShutdownTimer_) {
        const int seconds = std::clamp(shutdownAfterIdleSeconds_, 0, std::numeric_limits<int>::max() / 1000);
        // The interval it already has does not restart the countdown.
        idleShutdownTimer_->setInterval(seconds * 1000);
    }
}

void SerialLink::SerialPortNG1RxClusterEvent()
{
    if (port_.FirstClusterSize() == -1)
        return;
    const QString text = ClusterToHexText(port_.TakeFirstCluster(), hexLineLength_);
    if (processIbusText_)
        processIbusText_(text);
    busActivity(IndicatorIntervalMs);
}

void SerialLink::busActivity(int indicatorMs)
{
    indicatorTimer_.restart(indicatorMs);
    if (!indicatorRaised_) {
        indicatorRaised_ = true;
        if (idleShutdownTimer_)
            idleShutdownTimer_->stop();
        emit indicatorChanged(true);
    }
}

void SerialLink::SerialPortNG1ProcessError(int, int, const QString& msg, int noise)
{
    // Noise 0 is an error, 1 a warning, 2 a plain message.
    const auto severity = noise == 0 ? StatusLog::Severity::Error
                          : noise == 1 ? StatusLog::Severity::Warning
                                       : StatusLog::Severity::Info;
    log_.AddStatusLine(QStringLiteral("SerialNG: ") + msg, severity);
}

void SerialLink::setHexLineLength(int length)
{
    length = std::clamp(length, MinHexLineLength, MaxHexLineLength);
    if (length == hexLineLength_)
        return;
    hexLineLength_ = length;
    emit hexLineLengthChanged(length);
}

void SerialLink::stepHexLineLength(int steps)
{
    setHexLineLength(hexLineLength_ + steps * HexLineLengthStep);
}

} // namespace zarn
