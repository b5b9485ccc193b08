#include "ibus/SerialPortNG.h"

#include "ibus/SerialDevice.h"
#include "ibus/TermiosSerialDevice.h"

#include <cerrno>

namespace zarn {

SerialPortNG::SerialPortNG(QObject* parent)
    : QObject(parent)
    , ownDevice_(std::make_unique<TermiosSerialDevice>())
    , device_(*ownDevice_)
    , worker_(device_, shared_, *this, [this](const SerialEvent& e) { deliver(e); })
{
    worker_.start();
}

SerialPortNG::SerialPortNG(SerialDevice& device, QObject* parent)
    : QObject(parent)
    , device_(device)
    , worker_(device_, shared_, *this, [this](const SerialEvent& e) { deliver(e); })
{
    worker_.start();
}

SerialPortNG::~SerialPortNG()
{
    destroying_ = true;
    worker_.stop();
    if (active_) {
        device_.setDtr(false);
        device_.setRts(false);
    }
    // The worker has ended: nothing of the device is in use any more.
    if (active_ || releasePending_)
        device_.close();
    active_ = false;
}

QString SerialPortNG::devicePathFor(const QString& commPort)
{
    if (!commPort.startsWith(QLatin1String("COM"), Qt::CaseInsensitive))
        return {};
    bool ok = false;
    const int n = QStringView(commPort).mid(3).toInt(&ok);
    if (!ok || n < 1)
        return {};
    return QStringLiteral("/dev/ttyS%1").arg(n - 1);
}

void SerialPortNG::setActive(bool active)
{
    if (active == active_)
        return;
    if (active)
        open();
    else
        close(false);
}

void SerialPortNG::setCommPort(const QString& name)
{
    if (name == commPort_)
        return;
    commPort_ = name;
    reopenIfActive();
}

QString SerialPortNG::DevicePath() const
{
    return devicePath_.isEmpty() ? devicePathFor(commPort_) : devicePath_;
}

void SerialPortNG::setDevicePath(const QString& path)
{
    if (path == devicePath_)
        return;
    devicePath_ = path;
    reopenIfActive();
}

void SerialPortNG::setParityType(int parity)
{
    parityType_ = parity;
}

void SerialPortNG::reopenIfActive()
{
    if (!active_)
        return;
    close(false);
    open();
}

void SerialPortNG::open()
{
    report(SerialReports::StartReactivating);
    const QString path = DevicePath();
    if (!finishRelease()) {
        // The worker has not yet left the device of the last opening.
        report(SerialReports::Reopening, EBUSY);
        failedToOpen(path, EBUSY);
        return;
    }
    clusters_.clear(); // what is left belongs to the last opening
    const SerialResult opened = device_.open(path, SerialParity(parityType_));
    if (!opened.ok()) {
        report(opened.error == SerialError::Configure ? SerialReports::SettingCommState
                                                      : SerialReports::Reopening,
               opened.osError);
        failedToOpen(path, opened.osError);
        return;
    }
    const SerialParity parity = SerialParity(parityType_);
    if (parity != SerialParity::None && device_.lineParity() != parity && noParityReported_ != path) {
        noParityReported_ = path; // once: every reopening of the device would say it again
        report(SerialReports::NoParity.place, 0,
               QString::fromLatin1(SerialReports::NoParity.msg)
                   .arg(path, parity == SerialParity::Even ? QStringLiteral("even") : QStringLiteral("odd")),
               SerialReports::NoParity.noise);
    }
    // The worker keeps away from these until enable().
    shared_.pendingWrite.clear();
    shared_.sendInProgress.store(false, std::memory_order_release);

    const SerialResult dtr = device_.setDtr(true);
    if (!dtr.ok())
        report(SerialReports::SettingDtr, dtr.osError);
    dtrState_ = true;
    const SerialResult rts = device_.setRts(true);
    if (!rts.ok())
        report(SerialReports::SettingRts, rts.osError);
    rtsState_ = true;

    active_ = true;
    worker_.enable(++generation_);
    emit activeChanged(true);
}

void SerialPortNG::close(bool deviceLost)
{
    report(SerialReports::StartDeactivating);
    const bool workerLeft = worker_.disable();
    if (!workerLeft)
        report(SerialReports::ThreadIsRunning);
    if (!deviceLost) {
        // The modem lines are the main thread's even while the worker is inside.
        const SerialResult dtr = device_.setDtr(false);
        if (!dtr.ok())
            report(SerialReports::ClearingDtr, dtr.osError);
        const SerialResult rts = device_.setRts(false);
        if (!rts.ok())
            report(SerialReports::ClearingRts, rts.osError);
    }
    dtrState_ = false;
    rtsState_ = false;
    active_ = false;
    // A worker still inside the device may be using the descriptor and the pending
    // write: both are let go only once it has left (Released, or the next opening).
    if (workerLeft)
        releaseDevice();
    else
        releasePending_ = true;
    emit activeChanged(false);
}

bool SerialPortNG::finishRelease()
{
    if (!releasePending_)
        return true;
    if (!worker_.release())
        return false;
    releaseDevice();
    return true;
}

void SerialPortNG::releaseDevice()
{
    releasePending_ = false;
    const SerialResult closed = device_.close();
    if (!closed.ok())
        report(SerialReports::ClosingPort, closed.osError);
    // A write still pending is aborted with the port; senders must not wait forever.
    shared_.pendingWrite.clear();
    shared_.sendInProgress.store(false, std::memory_order_release);
}

void SerialPortNG::setRTSState(bool high)
{
    if (!active_)
        return;
    const SerialResult r = device_.setRts(high);
    if (!r.ok())
        report(high ? SerialReports::SettingRts : SerialReports::ClearingRts, r.osError);
    rtsState_ = high;
}

void SerialPortNG::setDTRState(bool high)
{
    if (!active_)
        return;
    const SerialResult r = device_.setDtr(high);
    if (!r.ok())
        report(high ? SerialReports::SettingDtr : SerialReports::ClearingDtr, r.osError);
    dtrState_ = high;
}

void SerialPortNG::SendData(const QByteArray& bytes)
{
    if (SendInProgress()) {
        report(SerialReports::SendWhilePending);
        return;
    }
    if (bytes.isEmpty())
        return;
    if (!active_) {
        // A port still waiting for its worker to leave may have its descriptor open.
        report(SerialReports::WritingData, EBADF);
        return;
    }
    const int timeoutMs = int(qint64(bytes.size()) * wtoCharDelayUs_ / 1000 + wtoExtraDelayMs_);
    qsizetype written = 0;
    const SerialResult r = device_.write(bytes.constData(), bytes.size(), &written);
    if (!r.ok()) {
        report(SerialReports::WritingData, r.osError);
        return;
    }
    if (written >= bytes.size())
        return;
    shared_.pendingWrite = bytes.mid(written);
    shared_.writeTimeoutMs = timeoutMs;
    shared_.sendInProgress.store(true, std::memory_order_release);
    device_.wake(); // so the worker starts waiting for room at once
}

int SerialPortNG::FirstClusterSize() const
{
    return clusters_.isEmpty() ? -1 : int(clusters_.first().bytes.size());
}

QByteArray SerialPortNG::TakeFirstCluster()
{
    return clusters_.isEmpty() ? QByteArray() : clusters_.takeFirst().bytes;
}

unsigned SerialPortNG::FirstClusterLineErrors() const
{
    return clusters_.isEmpty() ? 0 : clusters_.first().lineErrors;
}

void SerialPortNG::deliver(const SerialEvent& event)
{
    switch (event.kind) {
    case SerialEvent::Kind::Cluster:
        // Read before the port was closed (and perhaps opened again): not this opening's.
        if (!active_ || event.generation != generation_)
            break;
        clusters_.append(Cluster{event.bytes, event.lineErrors});
        emit OnRxClusterEvent();
        break;
    case SerialEvent::Kind::Report:
        report(event.place, event.code, event.msg, event.noise);
        break;
    case SerialEvent::Kind::Lost:
        report(event.place, event.code, event.msg, event.noise);
        // Closed so that the supervisor can open it again once the device is back.
        if (active_ && event.generation == generation_)
            close(true);
        break;
    case SerialEvent::Kind::Released:
        finishRelease();
        break;
    }
}

void SerialPortNG::failedToOpen(const QString& path, int osError)
{
    if (!destroying_)
        emit openFailed(path, osError);
}

void SerialPortNG::report(const SerialReports::Report& r, int code)
{
    report(r.place, code, QString::fromLatin1(r.msg), r.noise);
}

void SerialPortNG::report(int place, int code, const QString& msg, int noise)
{
    if (destroying_ || errorNoise_ < noise)
        return;
    emit OnProcessError(place, code, msg, noise);
}

} // namespace zarn
