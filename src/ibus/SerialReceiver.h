#pragma once

#include "ibus/SerialReports.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <atomic>

namespace zarn {

class SerialDevice;
struct SerialResult;

// Settings and flags that the main thread and the worker share. Owned by SerialPortNG.
struct SerialShared {
    // Written by the main thread at any time, read by the worker each pass.
    std::atomic<quint32> rtoCharDelayUs{1100};
    std::atomic<quint16> rtoExtraDelayMs{50};
    std::atomic<quint16> clusterSize{3072};
    std::atomic<bool> readRequest{false};
    // Only the main thread sets it, once it has filled pendingWrite; the worker clears it
    // once it is done with the write. The main thread clears it only while the worker is
    // kept off the device (opening, or closing after the worker has left). Because no
    // other thread can set it, a main-thread sender that finds it false may call
    // SendData knowing it will not be refused as pending.
    std::atomic<bool> sendInProgress{false};
    // Main thread while sendInProgress is false, worker thread while it is true.
    QByteArray pendingWrite;
    int writeTimeoutMs = 0;
};

// The receive rule: read the waiting bytes as one cluster now?
// msSinceEmpty is the time since the queue was last seen empty.
bool ClusterDue(int waiting, double msSinceEmpty, quint32 charDelayUs, quint16 extraDelayMs,
                int clusterSize, bool readRequest, unsigned lineErrors);

// What a worker pass hands to the main thread.
struct SerialEvent {
    enum class Kind {
        Cluster, // bytes + lineErrors
        Report,  // place, code, msg, noise
        Lost,    // a report after which the port is of no further use: close it
        Released, // the worker has left a device whose closing could not wait for it
    };
    Kind kind = Kind::Cluster;
    QByteArray bytes;
    unsigned lineErrors = 0;
    int place = 0;
    int code = 0;
    QString msg;
    int noise = 0;
    quint64 generation = 0; // which opening of the port it belongs to
};

// How long and for what the worker waits before its next pass.
struct SerialWaitPlan {
    int timeoutMs;
    bool readable;
    bool writable;
};

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
