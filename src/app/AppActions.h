#pragma once

#include "ibus/DispatcherActions.h"
#include "ibus/VehicleHooks.h"

namespace zarn {

// The operations of the pages and players that bus messages reach. The pages, the
// players and the driver's log are not built yet, so these only let events run; they
// become the real handlers as those arrive.
class AppActions : public DispatcherActions, public VehicleHooks {
public:
    void processEvents() override { QCoreApplication::processEvents(); }
};

} // namespace zarn
