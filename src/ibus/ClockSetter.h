#pragma once

#include <QDateTime>

namespace zarn {

// Sets the PC's clock. systemd-timedated in the program, a fake in tests.
class ClockSetter {
public:
    virtual ~ClockSetter() = default;
    // Sets the local date and time; false when the system refused or could not be reached.
    virtual bool SetLocalTime(const QDateTime& localTime) = 0;
};

} // namespace zarn
