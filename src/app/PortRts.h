#pragma once

#include "ibus/RtsLine.h"
#include "ibus/SerialPortNG.h"

namespace zarn {

// The screen relay's RTS line is the serial port's.
class PortRts final : public RtsLine {
public:
    explicit PortRts(SerialPortNG& port)
        : port_(port)
    {
    }
    void setRtsState(bool on) override { port_.setRTSState(on); }
    bool rtsState() const override { return port_.RTSState(); }

private:
    SerialPortNG& port_;
};

} // namespace zarn
