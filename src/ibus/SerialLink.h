#pragma once

#include "core/Timer.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

namespace zarn {

class SerialPortNG;
class StatusLog;

// The main window's side of the serial link: which port is opened, its supervision
// and restart, the receive handler that feeds the dispatcher, the "I" indicator with
// the idle shutdown it arms, and the start-up status lines of the port.
// Owns only its two timers; the port, the log, the request and idle-shutdown timers
// belong to the composition root. Main thread only.
class SerialLink : public QObject {
    Q_OBJECT
public:
    static constexpr int SupervisorIntervalMs = 10000;
    static constexpr int IndicatorIntervalMs = 5000;
    static constexpr int RequestIntervalMs = 3000;
    static constexpr int MinHexLineLength = 64;
    static constexpr int MaxHexLineLength = 512;
    static constexpr int HexLineLengthStep = 16;

    // What a CBPort item index from Zarn.ini and the [COM-Port] DevicePath setting open.
    struct PortChoice {
        QString commPort;   // "COM1".."COM9"; "COM0" for an index the list rejects
        QString devicePath; // the device file; empty when there is none (opening fails)
        int listIndex = 0;  // the CBPort item shown selected
    };
    // Index 0..8: "COM1".."COM9" on /dev/ttyS0../dev/ttyS8, or on devicePathSetting when
    // that is not empty. Any other index: "COM0", the list showing its second item.
    static PortChoice portChoice(int itemIndex, const QString& devicePathSetting);
    // The CBPort items.
    static QStringList portNames();

    // processIbusText is the dispatcher's entry; requestTimer is Request_Timer,
    // idleShutdownTimer is IdleShutdownTimer (either may be null).
    SerialLink(SerialPortNG& port, StatusLog& log, std::function<void(const QString&)> processIbusText,
               Timer* requestTimer = nullptr, Timer* idleShutdownTimer = nullptr,
               QObject* parent = nullptr);

    // Starts CommPortSupervisor (10000 ms) and IbusIndicatorTimer (5000 ms).
    void start();

    // Active false then true, RTSState false, Request_Timer 3000 ms. A port that does
    // not open is not an error here (the component reports it); false only if a step threw.
    bool RestartPort();
    // Closes the port if open and stops Request_Timer.
    void ClosePort();

    // --- start-up steps, in the order the start-up sequence calls them ---
    // ParityType 2 and "Parity set to 2 (even)".
    void initParity();
    // Copies the Zarn.ini values into the component (clamped to the component's ranges)
    // and writes "RTOCharDelayTime set to ..." and "RTOExtraDelayTime set to ...".
    void initReceiveTimes(qint64 charDelayUs, qint64 extraDelayMs);
    // Gives the component the port of portChoice(); returns the choice for CBPort.
    PortChoice selectPort(int itemIndex, const QString& devicePathSetting);
    // "Serial COM Port set to COMn", splashLine(" Initializing COM-port") when given,
    // RestartPort, then "Zarn COMn open issued...trying, RTS is low". Returns RestartPort's result.
    bool openPortAtStartup(const std::function<void(const QString&)>& splashLine = {});

    // --- handlers ---
    void CommPortSupervisorTimer();
    void IbusIndicatorTimerTimer();
    void SerialPortNG1RxClusterEvent();
    void SerialPortNG1ProcessError(int place, int code, const QString& msg, int noise);

    Timer& CommPortSupervisor() { return supervisor_; }
    Timer& IbusIndicatorTimer() { return indicatorTimer_; }

    // Bytes per line of block text; 256 at every start, 64..512.
    int HexLineLength() const { return hexLineLength_; }
    void setHexLineLength(int length);
    // BMWpanel64 / BMWpanel65: one step of 16 down (-1) or up (+1).
    void stepHexLineLength(int steps);

    // The "I" indicator: raised while blocks arrive.
    bool indicatorRaised() const { return indicatorRaised_; }
    // The bus is alive (a block, or the header's double click): the indicator timer
    // starts again with indicatorMs; a lowered indicator rises and the idle shutdown stops.
    void busActivity(int indicatorMs);

    // shutdownafterIBUSidle and shutdownafterIBUSidle_seconds.
    bool shutdownAfterIbusIdle() const { return shutdownAfterIdle_; }
    void setShutdownAfterIbusIdle(bool on) { shutdownAfterIdle_ = on; }
    int shutdownAfterIbusIdleSeconds() const { return shutdownAfterIdleSeconds_; }
    void setShutdownAfterIbusIdleSeconds(int seconds) { shutdownAfterIdleSeconds_ = seconds; }

signals:
    void indicatorChanged(bool raised);
    // The indicator lowered (every tick of a silent bus): reapply the color scheme.
    void colorSchemeNeeded();
    void hexLineLengthChanged(int length);

private:
    SerialPortNG& port_;
    StatusLog& log_;
    std::function<void(const QString&)> processIbusText_;
    Timer* requestTimer_;
    Timer* idleShutdownTimer_;
    Timer supervisor_;
    Timer indicatorTimer_;
    int hexLineLength_ = 256;
    bool indicatorRaised_ = true;
    bool shutdownAfterIdle_ = false;
    int shutdownAfterIdleSeconds_ = 0;
};

} // namespace zarn
