#pragma once

#include "ibus/SerialEvent.h"
#include "ibus/SerialReports.h"
#include "ibus/SerialShared.h"
#include "ibus/SerialWaitPlan.h"

#include <QList>

namespace zarn {

class SerialDevice;
struct SerialResult;

// One pass of the worker over an open device: finish a pending write, apply the
// receive rule, read. No threads and no waiting, so tests drive it with their own
// time. Worker thread only (between reset() and the port's closing).
class SerialReceiver {
public:
    static constexpr int MaxWaitMs = 75;

    SerialReceiver(SerialDevice& device, SerialShared& shared);

    // A newly opened port: nothing waits, nothing is lost.
    void reset(qint64 nowUs);
    SerialWaitPlan pass(qint64 nowUs, QList<SerialEvent>& events);
    // A failed wait on the device.
    void waitFailed(const SerialResult& result, QList<SerialEvent>& events);
    // The device failed; nothing more is done with it until reset().
    bool lost() const { return lost_; }

private:
    void checkWrite(qint64 nowUs, QList<SerialEvent>& events);
    void finishWrite();
    void lose(const SerialReports::Report& report, int code, QList<SerialEvent>& events);

    SerialDevice& device_;
    SerialShared& shared_;
    qint64 lastEmptyUs_ = 0;
    // The last pass saw no bytes, so the wait after it was a wait for data: the queue
    // was empty until that wait ended.
    bool sawEmpty_ = true;
    unsigned lineErrors_ = 0;
    bool writeStarted_ = false;
    qint64 writeDeadlineUs_ = 0;
    bool lost_ = false;
};

} // namespace zarn
