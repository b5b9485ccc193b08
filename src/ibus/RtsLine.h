#pragma once

namespace zarn {

// The serial port's RTS line, which drives the car's video switch.
class RtsLine {
public:
    virtual ~RtsLine() = default;
    // Ignored while the port is closed; the level is recorded even when the driver fails.
    virtual void setRtsState(bool on) = 0;
    virtual bool rtsState() const = 0;
};

} // namespace zarn
