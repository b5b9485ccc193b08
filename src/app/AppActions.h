#pragma once

#include "ibus/BusEvents.h"
#include "ibus/VehicleHooks.h"

namespace zarn {

// Where the bus events and the vehicle decoders' facts arrive above the bus side. The
// pages, the players and the driver's log are not built yet, so this one only lets
// events run; UiActions routes them to the window's handlers.
class AppActions : public BusEventSink, public VehicleHooks {
public:
    bool busEvent(const BusEvent&) override { return true; }
    void processEvents() override { QCoreApplication::processEvents(); }
};

} // namespace zarn
