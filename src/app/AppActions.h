#pragma once

#include "ibus/BusEvents.h"
#include "ibus/VehicleHooks.h"
#include "media/PlayerState.h"

#include <functional>

namespace zarn {

// Where the bus events and the vehicle decoders' facts arrive above the bus side. The
// music player's pause rows reach its state here; the pages, the other players and
// the driver's log are not built yet, so their events only run. UiActions routes the
// rest to the window's handlers.
class AppActions : public BusEventSink, public VehicleHooks {
public:
    // Set by the composition root.
    PlayerState* player = nullptr;
    std::function<void()> exitAction; // the exit action of the composition root

    bool busEvent(const BusEvent& event) override
    {
        using K = BusEvent::Kind;
        if (event.kind == K::Exit) {
            if (exitAction)
                exitAction();
            return true;
        }
        if (!player)
            return true;
        switch (event.kind) {
        case K::PauseToggle: player->BMWpanel54Click(); break;
        case K::PauseSteps: player->pauseSteps(); break;
        case K::ResumeSteps: player->resumeSteps(); break;
        default: break;
        }
        return true;
    }
    void processEvents() override { QCoreApplication::processEvents(); }
};

} // namespace zarn
