#pragma once

#include <QString>

#include <functional>

namespace zarn {

// The vehicle message decoders that the bus side hands frames to. The position decoder
// reports failure, which ends the dispatch of the block.
struct FrameDecoders {
    std::function<void(const QString&)> time;
    std::function<void(const QString&)> speed;
    std::function<void(const QString&)> odometer;
    std::function<bool(const QString&)> position;
    std::function<void(const QString&)> city;
    std::function<void(const QString&)> street;
};

} // namespace zarn
