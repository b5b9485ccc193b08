#pragma once

#include "ibus/SerialEvent.h"
#include "ibus/SerialShared.h"

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace zarn {

class SerialDevice;

// The serial component's worker thread. While the port is enabled it runs
// SerialReceiver passes, waiting on the device between them (at most 75 ms at a
// time); while it is not, it sleeps 200 ms per pass. Each cluster and each report is
// handed to the main thread and the worker waits until the handler has returned, so
// at most one is in flight and the dispatcher is never entered twice.
//
// Ownership: start(), stop(), enable() and disable() are main-thread calls; run() and
// everything it touches (the receiver) belong to the worker. The flags below cross.
class TWorkThread {
public:
    using Deliver = std::function<void(const SerialEvent&)>;

    // deliver runs on the thread of context (the main thread).
    TWorkThread(SerialDevice& device, SerialShared& shared, QObject& context, Deliver deliver);
    ~TWorkThread();
    TWorkThread(const TWorkThread&) = delete;
    TWorkThread& operator=(const TWorkThread&) = delete;

    void start();
    // Ends the thread; a hand-over it waits in is abandoned.
    void stop();

    // The port was opened: use the device from now on, as opening number generation.
    void enable(quint64 generation);
    // The port is about to close: keep away from the device. Waits until the worker has
    // left it, up to 15 waits of 75 ms; false if it is still using it, and then a
    // SerialEvent::Kind::Released is delivered once it has left.
    bool disable();
    // After a disable() that returned false: true once the worker has left the device, so
    // that it may be closed; false (and Released still to come) while it is inside.
    // Does not wait.
    bool release();

private:
    void run();
    void leaveDevice();
    void handOver(const SerialEvent& event);
    void raisePriority();

    SerialDevice& device_;
    SerialShared& shared_;
    QObject& context_;
    Deliver deliver_;
    std::thread thread_; // main thread

    std::mutex mutex_;               // guards handed_ and pairs with wakeup_
    std::condition_variable wakeup_; // enable, stop, leaving the device, a hand-over done
    bool handed_ = false;            // the main thread has run the current hand-over
    bool releaseWanted_ = false;     // a disable() timed out: say when the device is left
    std::atomic<bool> quit_{false};
    std::atomic<bool> enabled_{false};         // main thread writes, worker reads
    std::atomic<bool> busy_{false};            // worker writes (inside the device), main reads
    std::atomic<quint64> generation_{0};       // main thread writes, worker reads
};

} // namespace zarn
