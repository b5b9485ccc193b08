#pragma once

#include "ibus/DispatcherActions.h"
#include "ibus/VehicleHooks.h"
#include "media/PlayerState.h"

namespace zarn {

// The operations of the pages and players that bus messages reach. The pages, the
// players and the driver's log are not built yet, so these only let events run; they
// become the real handlers as those arrive.
class AppActions : public DispatcherActions, public VehicleHooks {
public:
    void processEvents() override { QCoreApplication::processEvents(); }

    // The music player's pause rows; set by the composition root.
    PlayerState* player = nullptr;
    void BMWpanel54Click() override
    {
        if (player)
            player->BMWpanel54Click();
    }
    void pauseSteps() override
    {
        if (player)
            player->pauseSteps();
    }
    void resumeSteps() override
    {
        if (player)
            player->resumeSteps();
    }
};

} // namespace zarn
