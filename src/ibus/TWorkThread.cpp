#include "ibus/TWorkThread.h"

#include "ibus/SerialDevice.h"
#include "ibus/SerialReceiver.h"

#include <chrono>

#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

namespace zarn {

namespace {

constexpr auto IdleSleep = std::chrono::milliseconds(200);
constexpr auto LeaveWait = std::chrono::milliseconds(75);
constexpr int LeaveWaits = 15;

qint64 nowUs()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

TWorkThread::TWorkThread(SerialDevice& device, SerialShared& shared, QObject& context, Deliver deliver)
    : device_(device)
    , shared_(shared)
    , context_(context)
    , deliver_(std::move(deliver))
{
}

TWorkThread::~TWorkThread()
{
    stop();
}

void TWorkThread::start()
{
    if (!thread_.joinable())
        thread_ = std::thread([this] { run(); });
}

void TWorkThread::stop()
{
    {
        std::lock_guard lock(mutex_);
        quit_.store(true);
    }
    device_.wake();
    wakeup_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

void TWorkThread::enable(quint64 generation)
{
    {
        std::lock_guard lock(mutex_);
        generation_.store(generation);
        enabled_.store(true);
    }
    wakeup_.notify_all();
}

bool TWorkThread::disable()
{
    // Together with run()'s "busy, then look at enabled" this cannot miss: either the
    // worker sees enabled_ false, or this sees busy_ true and waits for it to clear.
    enabled_.store(false);
    device_.wake();
    std::unique_lock lock(mutex_);
    for (int i = 0; i < LeaveWaits; ++i)
        if (wakeup_.wait_for(lock, LeaveWait, [this] { return !busy_.load(); }))
            return true;
    releaseWanted_ = true;
    return false;
}

bool TWorkThread::release()
{
    std::lock_guard lock(mutex_);
    // busy_ may still go true for a moment, but a worker that finds enabled_ false
    // after it leaves again without touching the device.
    if (busy_.load()) {
        releaseWanted_ = true;
        return false;
    }
    releaseWanted_ = false;
    return true;
}

void TWorkThread::leaveDevice()
{
    bool released = false;
    {
        std::lock_guard lock(mutex_);
        busy_.store(false);
        if (releaseWanted_ && !enabled_.load()) {
            releaseWanted_ = false;
            released = true;
        }
    }
    wakeup_.notify_all();
    if (released) {
        // Not a blocking hand-over: nothing waits on it, and the worker carries on idle.
        SerialEvent event;
        event.kind = SerialEvent::Kind::Released;
        event.generation = generation_.load();
        QMetaObject::invokeMethod(&context_, [this, event] { deliver_(event); }, Qt::QueuedConnection);
    }
}

void TWorkThread::raisePriority()
{
    pthread_setname_np(pthread_self(), "TWorkThread");
    // The nearest Linux has to a thread priority "highest" within a normal process: a
    // lower nice value for this thread alone. Needs CAP_SYS_NICE or RLIMIT_NICE; without
    // them the thread simply keeps the default. Real-time scheduling is not used: a
    // fault in the loop must never freeze a single-core car PC.
    setpriority(PRIO_PROCESS, id_t(gettid()), -10);
}

void TWorkThread::run()
{
    raisePriority();
    SerialReceiver receiver(device_, shared_);
    bool started = false;
    quint64 current = 0;
    QList<SerialEvent> events;
    while (!quit_.load()) {
        if (!enabled_.load()) {
            std::unique_lock lock(mutex_);
            wakeup_.wait_for(lock, IdleSleep, [this] { return quit_.load() || enabled_.load(); });
            continue;
        }
        busy_.store(true);
        if (!enabled_.load()) {
            leaveDevice();
            continue;
        }
        const quint64 generation = generation_.load();
        if (!started || generation != current) {
            receiver.reset(nowUs());
            current = generation;
            started = true;
        }
        if (receiver.lost()) {
            // The main thread closes the port on the loss report; until then keep away.
            leaveDevice();
            std::unique_lock lock(mutex_);
            wakeup_.wait_for(lock, IdleSleep, [&] {
                return quit_.load() || !enabled_.load() || generation_.load() != current;
            });
            continue;
        }
        const SerialWaitPlan plan = receiver.pass(nowUs(), events);
        if (events.isEmpty()) {
            const SerialResult waited = device_.wait(plan.timeoutMs, plan.readable, plan.writable);
            if (!waited.ok() && enabled_.load())
                receiver.waitFailed(waited, events);
        }
        leaveDevice();
        // Handed over outside the device: the handler may close or reopen the port.
        for (SerialEvent& event : events) {
            if (quit_.load())
                break;
            event.generation = current;
            handOver(event);
        }
        events.clear();
    }
}

void TWorkThread::handOver(const SerialEvent& event)
{
    std::unique_lock lock(mutex_);
    handed_ = false;
    // Queued on the context object: if it is destroyed first, the call is dropped.
    QMetaObject::invokeMethod(
        &context_,
        [this, event] {
            deliver_(event);
            {
                std::lock_guard done(mutex_);
                handed_ = true;
            }
            wakeup_.notify_all();
        },
        Qt::QueuedConnection);
    wakeup_.wait(lock, [this] { return handed_ || quit_.load(); });
}

} // namespace zarn
