#pragma once

#include <QByteArray>

#include <atomic>

namespace zarn {

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

} // namespace zarn
