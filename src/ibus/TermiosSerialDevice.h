#pragma once

#include "ibus/SerialDevice.h"

namespace zarn {

// The serial device on a Linux terminal device file (/dev/ttyS*, /dev/ttyUSB*, a
// pseudo-terminal slave). Its .cpp is the only file that includes termios, ioctl,
// poll and eventfd headers: they define macros by the hundred (B9600, CS8, ECHO, ...)
// that would otherwise leak into every user of the serial link.
//
// Parity errors: the line discipline is told not to check parity (no INPCK), because
// with checking on Linux replaces the byte by 0 (or inserts marker bytes with PARMRK);
// the UART still counts the error, and takeLineErrors() reports it from those counters
// (TIOCGICOUNT), so the byte arrives unchanged and the block is read at once.
// Pseudo-terminals drop PARENB (open() accepts the line without it and lineParity()
// says so), have no modem lines (setRts/setDtr fail with ENOTTY) and no error counters.
class TermiosSerialDevice final : public SerialDevice {
public:
    TermiosSerialDevice();
    ~TermiosSerialDevice() override;
    TermiosSerialDevice(const TermiosSerialDevice&) = delete;
    TermiosSerialDevice& operator=(const TermiosSerialDevice&) = delete;

    SerialResult open(const QString& path, SerialParity parity) override;
    SerialResult close() override;
    bool isOpen() const override { return fd_ >= 0; }
    SerialParity lineParity() const override { return lineParity_; }
    SerialResult setRts(bool high) override;
    SerialResult setDtr(bool high) override;
    SerialResult write(const char* data, qsizetype size, qsizetype* written) override;
    SerialResult bytesWaiting(int* count) override;
    SerialResult read(QByteArray* out, int maxBytes) override;
    unsigned takeLineErrors() override;
    SerialResult wait(int timeoutMs, bool readable, bool writable) override;
    void wake() override;

private:
    SerialResult setModemLine(int line, bool high);
    bool readCounters(); // false when the driver keeps none

    int fd_ = -1;     // main thread opens/closes; worker uses it in between
    int wakeFd_ = -1; // eventfd, lives as long as the object
    SerialParity lineParity_ = SerialParity::None; // main thread
    // Error counters at the last take (worker thread; reset by open).
    bool haveCounters_ = false;
    unsigned long frame_ = 0, overrun_ = 0, parity_ = 0, brk_ = 0, bufOverrun_ = 0;
};

} // namespace zarn
