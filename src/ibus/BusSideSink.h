#pragma once

#include "ibus/BusEvents.h"
#include "ibus/FrameDecoders.h"

namespace zarn {

class CdChanger;
class ScreenRelay;

// The bus side's own share of the dispatcher's events: the CD changer's answers, the
// screen relay and the vehicle decoders. Every other event, and the pending window
// events, go on to the next sink. Main thread only.
class BusSideSink final : public BusEventSink {
public:
    BusSideSink(CdChanger& cdChanger, ScreenRelay& screen, FrameDecoders decoders, BusEventSink& next);

    bool busEvent(const BusEvent& event) override;
    void processEvents() override { next_.processEvents(); }

private:
    CdChanger& cd_;
    ScreenRelay& screen_;
    FrameDecoders decoders_;
    BusEventSink& next_;
};

} // namespace zarn
