#pragma once

#include "ibus/FrameDecoders.h"

#include <QString>

namespace zarn {

class ClockSetter;
class StatusLog;
class VehicleHooks;
class VehicleState;
struct BusOptions;

// Decoders of the car's status messages: time, speed, odometer, position, city and
// street. Each takes the frame text the dispatcher found for its code and updates
// VehicleState. Main thread only.
class VehicleMessages {
public:
    // clock == nullptr: setting the PC clock always fails. hooks == nullptr: no-op hooks.
    VehicleMessages(VehicleState& state, StatusLog& log, const BusOptions& options,
                    ClockSetter* clock = nullptr, VehicleHooks* hooks = nullptr);

    void setClockSetter(ClockSetter* clock);
    void setHooks(VehicleHooks* hooks);

    // Sets the PC clock to the car's hour and minute when either differs.
    void DecodeTimeFrame(const QString& frame);
    void DecodeSpeedFrame(const QString& frame);
    void DecodeOdometerFrame(const QString& frame);
    // False when the position could not be decoded (a digit that is not decimal, a
    // frame cut short); nothing has changed then, and the dispatch of the block ends.
    [[nodiscard]] bool DecodePositionFrame(const QString& frame);
    void DecodeCityFrame(const QString& frame);
    void DecodeStreetFrame(const QString& frame);

    // The six decoders, as the dispatcher calls them.
    FrameDecoders decoders();

private:
    // A new city or street: a driver's log record, or the mode question is needed.
    void placeChanged(const QString& message);

    VehicleState& state_;
    StatusLog& log_;
    const BusOptions& options_;
    ClockSetter* clock_;
    VehicleHooks* hooks_;
};

} // namespace zarn
