#include "ibus/BusSideSink.h"

#include "ibus/CdChanger.h"
#include "ibus/ScreenRelay.h"

namespace zarn {

BusSideSink::BusSideSink(CdChanger& cdChanger, ScreenRelay& screen, FrameDecoders decoders, BusEventSink& next)
    : cd_(cdChanger)
    , screen_(screen)
    , decoders_(std::move(decoders))
    , next_(next)
{
}

bool BusSideSink::busEvent(const BusEvent& event)
{
    using K = BusEvent::Kind;
    const auto decode = [&event](const std::function<void(const QString&)>& decoder) {
        if (decoder)
            decoder(event.frame);
        return true;
    };
    switch (event.kind) {
    case K::CdPoll: cd_.AnswerCdPoll(); return true;
    case K::CdStateRequest: cd_.AnswerCdStateRequest(); return true;
    case K::CdPlay: cd_.AnswerCdPlay(); return true;
    case K::CdStop: cd_.AnswerCdStop(); return true;
    case K::ScreenOffByButton: screen_.ScreenOffByButton(ScreenRelay::Button(event.value)); return true;
    case K::ScreenOnByDisplayText: screen_.ScreenOnByDisplayText(); return true;
    case K::ToggleScreen: screen_.ToggleScreen(); return true;
    case K::Time: return decode(decoders_.time);
    case K::Speed: return decode(decoders_.speed);
    case K::Odometer: return decode(decoders_.odometer);
    case K::Position: return !decoders_.position || decoders_.position(event.frame);
    case K::City: return decode(decoders_.city);
    case K::Street: return decode(decoders_.street);
    default: return next_.busEvent(event);
    }
}

} // namespace zarn
