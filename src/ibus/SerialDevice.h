#pragma once

#include <QByteArray>
#include <QString>

namespace zarn {

// What went wrong with the serial device: a closed set, with the OS error number
// carried beside it. The component turns these into its status reports.
enum class SerialError {
    None,
    NotOpen,   // used while closed
    Open,      // could not be opened: missing, busy, no permission, not a terminal
    Configure, // the line settings were refused
    Close,     // closing reported an error (the device is closed anyway)
    ModemLine, // RTS or DTR could not be changed (always on a pseudo-terminal)
    Status,    // the waiting count could not be read
    Read,
    Write,
    Wait,
    Vanished,  // hung up or gone: USB interface unplugged, pseudo-terminal master closed
};

struct SerialResult {
    SerialError error = SerialError::None;
    int osError = 0; // errno where there is one, else 0

    bool ok() const { return error == SerialError::None; }
};

// ParityType values.
enum class SerialParity { None = 0, Odd = 1, Even = 2 };

// Line errors the driver counted since they were last taken.
enum SerialLineError : unsigned {
    LineInputOverrun = 0x01,    // the driver's receive queue overflowed
    LineHardwareOverrun = 0x02, // the UART's own buffer overflowed
    LineParity = 0x04,
    LineFraming = 0x08,
    LineBreak = 0x10,
};

// One serial device as the serial component needs it. Two threads use it; each
// operation says from where it may be called:
//  - the main thread opens and closes it and drives the modem lines, but opens and
//    closes only while the worker is kept away from it;
//  - the worker thread asks what is waiting, reads and waits, only while it is open;
//  - write() comes from one thread at a time: the main thread starts a write, the
//    worker finishes it (the pending-write flag hands it over);
//  - wake() from anywhere.
// Nothing blocks except wait().
class SerialDevice {
public:
    virtual ~SerialDevice() = default;

    // Opens path for reading and writing, non-blocking and exclusive, at 9600 baud,
    // 8 data bits, the given parity, 1 stop bit, raw (no translation, no echo, no flow
    // control; reads return at once with what is waiting), both queues emptied.
    // A device that cannot do the parity is opened without it (see lineParity()); a
    // line that does not hold the rest is a Configure failure. On any failure the
    // device stays closed.
    virtual SerialResult open(const QString& path, SerialParity parity) = 0;
    // Discards both queues and closes. Closing a closed device does nothing.
    virtual SerialResult close() = 0;
    virtual bool isOpen() const = 0;
    // The parity the open line carries: the one asked for, or None where the device has
    // none (a pseudo-terminal). Main thread.
    virtual SerialParity lineParity() const = 0;

    virtual SerialResult setRts(bool high) = 0;
    virtual SerialResult setDtr(bool high) = 0;

    // Hands the driver what it takes now; *written is how much (0 when its queue is full).
    virtual SerialResult write(const char* data, qsizetype size, qsizetype* written) = 0;

    virtual SerialResult bytesWaiting(int* count) = 0;
    // Appends up to maxBytes of the waiting bytes to out, without blocking.
    virtual SerialResult read(QByteArray* out, int maxBytes) = 0;
    // SerialLineError bits counted since the last call; 0 where the driver cannot tell.
    virtual unsigned takeLineErrors() = 0;
    // Returns when the device is readable (if asked), writable (if asked), has hung up
    // (Vanished), wake() was called, or timeoutMs passed. Which of these happened is not
    // said: the caller looks again.
    virtual SerialResult wait(int timeoutMs, bool readable, bool writable) = 0;

    // Ends the wait() in progress, or the next one when none is in progress.
    virtual void wake() = 0;
};

} // namespace zarn
