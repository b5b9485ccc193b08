#include "ibus/SerialLink.h"

#include "core/StatusLog.h"
#include "ibus/FrameText.h"
#include "ibus/SerialDevice.h"
#include "ibus/SerialPortNG.h"

#include <algorithm>
#include <limits>

namespace zarn {

SerialLink::SerialLink(SerialPortNG& port, StatusLog& log,
                       std::function<void(const QString&)> processIbusText, Timer* requestTimer,
                       Timer* idleShutdownTimer, QObject* parent)
    : QObject(parent)
    , port_(port)
    , log_(log)
    , processIbusText_(std::move(processIbusText))
    , supervisor_(port, log, requestTimer)
    , indicator_(log, idleShutdownTimer)
{
    connect(&indicator_, &BusIndicator::indicatorChanged, this, &SerialLink::indicatorChanged);
    connect(&indicator_, &BusIndicator::colorSchemeNeeded, this, &SerialLink::colorSchemeNeeded);
    connect(&port_, &SerialPortNG::OnRxClusterEvent, this, &SerialLink::SerialPortNG1RxClusterEvent);
    connect(&port_, &SerialPortNG::OnProcessError, this, &SerialLink::SerialPortNG1ProcessError);
    connect(&port_, &SerialPortNG::openFailed, this, &SerialLink::SerialPortNG1OpenFailed);
}

void SerialLink::start()
{
    supervisor_.start();
    indicator_.start();
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

PortChoice SerialLink::selectPort(int itemIndex, const QString& devicePathSetting)
{
    const PortChoice choice = PortChoice::of(itemIndex, devicePathSetting);
    port_.setCommPort(choice.commPort);
    port_.setDevicePath(choice.devicePath);
    return choice;
}

bool SerialLink::openPortAtStartup(const std::function<void(const QString&)>& splashLine)
{
    log_.AddStatusLine(QStringLiteral("Serial COM Port set to ") + port_.CommPort());
    if (splashLine)
        splashLine(QStringLiteral(" Initializing COM-port"));
    const bool issued = supervisor_.RestartPort();
    if (issued)
        log_.AddStatusLine(QStringLiteral("Zarn ") + port_.CommPort()
                           + QStringLiteral(" open issued...trying, RTS is low"));
    return issued;
}

void SerialLink::SerialPortNG1RxClusterEvent()
{
    if (port_.FirstClusterSize() == -1)
        return;
    const QString text = ClusterToHexText(port_.TakeFirstCluster(), hexLineLength_);
    if (processIbusText_)
        processIbusText_(text);
    indicator_.busActivity(BusIndicator::IndicatorIntervalMs);
}

void SerialLink::SerialPortNG1ProcessError(int, int, const QString& msg, int noise)
{
    // Noise 0 is an error, 1 a warning, 2 a plain message.
    const auto severity = noise == 0 ? StatusLog::Severity::Error
                          : noise == 1 ? StatusLog::Severity::Warning
                                       : StatusLog::Severity::Info;
    log_.AddStatusLine(QStringLiteral("SerialNG: ") + msg, severity);
}

void SerialLink::SerialPortNG1OpenFailed(const QString& devicePath, int osError)
{
    // The component's own report names neither the device nor the reason.
    const QString device = devicePath.isEmpty() ? QStringLiteral("for ") + port_.CommPort() : devicePath;
    log_.addError(QStringLiteral("Serial device %1: %2").arg(device, qt_error_string(osError)));
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
