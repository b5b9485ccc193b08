#pragma once

#include <QByteArray>

namespace zarn {

// Where frame bytes go: the serial port in the program, a recorder in tests.
class FrameSink {
public:
    virtual ~FrameSink() = default;
    // Refused (and the bytes lost) while a write is pending.
    virtual void SendData(const QByteArray& bytes) = 0;
    // A write is still pending. Senders that must not lose a frame look here first.
    virtual bool SendInProgress() const = 0;
};

} // namespace zarn
