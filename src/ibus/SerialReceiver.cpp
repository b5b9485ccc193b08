#include "ibus/SerialReceiver.h"

#include "ibus/ClusterDue.h"
#include "ibus/SerialDevice.h"

#include <algorithm>
#include <cmath>

namespace zarn {

namespace {

SerialEvent reportEvent(SerialEvent::Kind kind, const SerialReports::Report& report, int code)
{
    SerialEvent e;
    e.kind = kind;
    e.place = report.place;
    e.noise = report.noise;
    e.code = code;
    e.msg = QString::fromLatin1(report.msg);
    return e;
}

int clampWait(double ms)
{
    // At least 1 ms: the rule compares with "more than", so a pass at the exact
    // deadline would only spin.
    return int(std::clamp(std::ceil(ms), 1.0, double(SerialReceiver::MaxWaitMs)));
}

} // namespace

SerialReceiver::SerialReceiver(SerialDevice& device, SerialShared& shared)
    : device_(device)
    , shared_(shared)
{
}

void SerialReceiver::reset(qint64 nowUs)
{
    lastEmptyUs_ = nowUs;
    sawEmpty_ = true;
    lineErrors_ = 0;
    writeStarted_ = false;
    writeDeadlineUs_ = 0;
    lost_ = false;
}

SerialWaitPlan SerialReceiver::pass(qint64 nowUs, QList<SerialEvent>& events)
{
    const SerialWaitPlan idle{MaxWaitMs, false, false};
    if (lost_)
        return idle;
    if (shared_.sendInProgress.load(std::memory_order_acquire)) {
        checkWrite(nowUs, events);
        if (lost_)
            return idle;
    }
    const bool writing = shared_.sendInProgress.load(std::memory_order_acquire);
    // A stalled write must be noticed when its time is up, not one wait later.
    const double writeLeftMs = writing ? (writeDeadlineUs_ - nowUs) / 1000.0 : MaxWaitMs;

    int waiting = 0;
    const SerialResult status = device_.bytesWaiting(&waiting);
    if (!status.ok()) {
        lose(status.error == SerialError::Vanished ? SerialReports::ReadingData
                                                   : SerialReports::ClearCommError,
             status.osError, events);
        return idle;
    }
    lineErrors_ |= device_.takeLineErrors();

    if (waiting <= 0) {
        lastEmptyUs_ = nowUs;
        sawEmpty_ = true;
        return {clampWait(writeLeftMs), true, writing};
    }
    if (sawEmpty_) {
        // The wait for data has just ended: the queue was empty until now. Taking the
        // time of the pass before that wait (up to 75 ms earlier) would read a burst
        // that arrives late in a wait at once, cut off after its first bytes.
        lastEmptyUs_ = nowUs;
        sawEmpty_ = false;
    }

    const quint32 charDelayUs = shared_.rtoCharDelayUs.load();
    const quint16 extraDelayMs = shared_.rtoExtraDelayMs.load();
    const int clusterSize = shared_.clusterSize.load();
    const double sinceMs = (nowUs - lastEmptyUs_) / 1000.0;
    if (!ClusterDue(waiting, sinceMs, charDelayUs, extraDelayMs, clusterSize,
                    shared_.readRequest.load(), lineErrors_)) {
        const double quietLeftMs = ClusterQuietTimeMs(waiting, charDelayUs, extraDelayMs) - sinceMs;
        return {clampWait(std::min(quietLeftMs, writeLeftMs)), false, writing};
    }

    // A cluster never exceeds ClusterSize; what is left waits for the next pass.
    const int limit = clusterSize > 0 ? std::min(waiting, clusterSize) : waiting;
    QByteArray bytes;
    const SerialResult read = device_.read(&bytes, limit);
    if (!read.ok()) {
        lose(SerialReports::ReadingData, read.osError, events);
        return idle;
    }
    lastEmptyUs_ = nowUs;
    if (bytes.isEmpty())
        return {clampWait(writeLeftMs), false, writing};
    SerialEvent cluster;
    cluster.kind = SerialEvent::Kind::Cluster;
    cluster.bytes = std::move(bytes);
    cluster.lineErrors = lineErrors_;
    lineErrors_ = 0;
    events.append(std::move(cluster));
    return {clampWait(writeLeftMs), true, writing};
}

void SerialReceiver::checkWrite(qint64 nowUs, QList<SerialEvent>& events)
{
    if (!writeStarted_) {
        writeStarted_ = true;
        writeDeadlineUs_ = nowUs + qint64(shared_.writeTimeoutMs) * 1000;
    }
    QByteArray& pending = shared_.pendingWrite;
    qsizetype written = 0;
    const SerialResult r = device_.write(pending.constData(), pending.size(), &written);
    if (!r.ok()) {
        finishWrite();
        if (r.error == SerialError::Vanished)
            lose(SerialReports::ReadingData, r.osError, events);
        else
            events.append(reportEvent(SerialEvent::Kind::Report, SerialReports::WriteResult, r.osError));
        return;
    }
    pending.remove(0, written);
    if (pending.isEmpty()) {
        finishWrite();
    } else if (nowUs >= writeDeadlineUs_) {
        // What the driver has not taken by now is dropped, as a driver's write
        // time-out would.
        finishWrite();
        events.append(reportEvent(SerialEvent::Kind::Report, SerialReports::WriteTimeOut, 0));
    }
}

void SerialReceiver::finishWrite()
{
    shared_.pendingWrite.clear();
    writeStarted_ = false;
    shared_.sendInProgress.store(false, std::memory_order_release);
}

void SerialReceiver::waitFailed(const SerialResult& result, QList<SerialEvent>& events)
{
    lose(result.error == SerialError::Vanished ? SerialReports::ReadingData
                                               : SerialReports::WaitResult,
         result.osError, events);
}

void SerialReceiver::lose(const SerialReports::Report& report, int code, QList<SerialEvent>& events)
{
    lost_ = true;
    if (shared_.sendInProgress.load(std::memory_order_acquire))
        finishWrite();
    events.append(reportEvent(SerialEvent::Kind::Lost, report, code));
}

} // namespace zarn
