#pragma once

#include "ibus/BusIndicator.h"
#include "ibus/PortChoice.h"
#include "ibus/PortSupervisor.h"

#include <QObject>
#include <QString>

#include <functional>

namespace zarn {

class SerialPortNG;
class StatusLog;
class Timer;

// The main window's side of the serial link: the start-up steps of the port, the
// receive handler that feeds the dispatcher and keeps the indicator up, the component's
// reports as status lines, and the line length of block text. The port's supervision
// (PortSupervisor) and the "I" indicator (BusIndicator) are its parts; the few calls
// below that pass straight to them are the ones the window and the composition root use.
// Main thread only.
class SerialLink : public QObject {
    Q_OBJECT
public:
    static constexpr int MinHexLineLength = 64;
    static constexpr int MaxHexLineLength = 512;
    static constexpr int HexLineLengthStep = 16;

    // processIbusText is the dispatcher's entry; requestTimer is Request_Timer,
    // idleShutdownTimer is IdleShutdownTimer (either may be null).
    SerialLink(SerialPortNG& port, StatusLog& log, std::function<void(const QString&)> processIbusText,
               Timer* requestTimer = nullptr, Timer* idleShutdownTimer = nullptr,
               QObject* parent = nullptr);

    PortSupervisor& supervisor() { return supervisor_; }
    BusIndicator& indicator() { return indicator_; }

    // Starts CommPortSupervisor (10000 ms) and IbusIndicatorTimer (5000 ms).
    void start();

    // --- start-up steps, in the order the start-up sequence calls them ---
    // ParityType 2 and "Parity set to 2 (even)".
    void initParity();
    // Copies the Zarn.ini values into the component (clamped to the component's ranges)
    // and writes "RTOCharDelayTime set to ..." and "RTOExtraDelayTime set to ...".
    void initReceiveTimes(qint64 charDelayUs, qint64 extraDelayMs);
    // Gives the component the port of PortChoice::of(); returns the choice for CBPort.
    PortChoice selectPort(int itemIndex, const QString& devicePathSetting);
    // "Serial COM Port set to COMn", splashLine(" Initializing COM-port") when given,
    // RestartPort, then "Zarn COMn open issued...trying, RTS is low". Returns RestartPort's result.
    bool openPortAtStartup(const std::function<void(const QString&)>& splashLine = {});

    // --- handlers ---
    void SerialPortNG1RxClusterEvent();
    void SerialPortNG1ProcessError(int place, int code, const QString& msg, int noise);
    // "Serial device /dev/ttyUSB7: No such file or directory" after each failed opening.
    void SerialPortNG1OpenFailed(const QString& devicePath, int osError);

    // Bytes per line of block text; 256 at every start, 64..512.
    int HexLineLength() const { return hexLineLength_; }
    void setHexLineLength(int length);
    // BMWpanel64 / BMWpanel65: one step of 16 down (-1) or up (+1).
    void stepHexLineLength(int steps);

    // --- handed on to the supervisor, the indicator and the port choice ---
    static PortChoice portChoice(int itemIndex, const QString& devicePathSetting)
    {
        return PortChoice::of(itemIndex, devicePathSetting);
    }
    bool RestartPort() { return supervisor_.RestartPort(); }
    void ClosePort() { supervisor_.ClosePort(); }
    Timer& CommPortSupervisor() { return supervisor_.CommPortSupervisor(); }
    void busActivity(int indicatorMs) { indicator_.busActivity(indicatorMs); }
    bool shutdownAfterIbusIdle() const { return indicator_.shutdownAfterIbusIdle(); }
    void setShutdownAfterIbusIdle(bool on) { indicator_.setShutdownAfterIbusIdle(on); }
    int shutdownAfterIbusIdleSeconds() const { return indicator_.shutdownAfterIbusIdleSeconds(); }
    void setShutdownAfterIbusIdleSeconds(int seconds) { indicator_.setShutdownAfterIbusIdleSeconds(seconds); }

signals:
    // Those of the indicator.
    void indicatorChanged(bool raised);
    void colorSchemeNeeded();
    void hexLineLengthChanged(int length);

private:
    SerialPortNG& port_;
    StatusLog& log_;
    std::function<void(const QString&)> processIbusText_;
    PortSupervisor supervisor_;
    BusIndicator indicator_;
    int hexLineLength_ = 256;
};

} // namespace zarn
