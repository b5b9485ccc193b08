#include "ibus/FakeSerialDevice.h"

#include <algorithm>
#include <cerrno>
#include <chrono>

namespace zarn {

using Lock = std::lock_guard<std::mutex>;

void FakeSerialDevice::setOpenFailure(int osError)
{
    Lock lock(mutex_);
    openFailure_ = osError;
}

void FakeSerialDevice::setWithoutParity(bool without)
{
    Lock lock(mutex_);
    withoutParity_ = without;
}

void FakeSerialDevice::setRtsFailure(int osError)
{
    Lock lock(mutex_);
    rtsFailure_ = osError;
}

void FakeSerialDevice::setDtrFailure(int osError)
{
    Lock lock(mutex_);
    dtrFailure_ = osError;
}

void FakeSerialDevice::setWriteRoom(qsizetype bytes)
{
    {
        Lock lock(mutex_);
        writeRoom_ = bytes;
    }
    changed_.notify_all();
}

void FakeSerialDevice::setWriteFailure(int osError)
{
    Lock lock(mutex_);
    writeFailure_ = osError;
}

void FakeSerialDevice::pushIncoming(const QByteArray& bytes)
{
    {
        Lock lock(mutex_);
        incoming_ += bytes;
    }
    changed_.notify_all();
}

void FakeSerialDevice::addLineErrors(unsigned errors)
{
    {
        Lock lock(mutex_);
        lineErrors_ |= errors;
    }
    changed_.notify_all();
}

void FakeSerialDevice::vanish()
{
    {
        Lock lock(mutex_);
        vanished_ = true;
    }
    changed_.notify_all();
}

void FakeSerialDevice::holdWaits(bool hold)
{
    {
        Lock lock(mutex_);
        hold_ = hold;
    }
    changed_.notify_all();
}

bool FakeSerialDevice::waitUntilHeld(int timeoutMs)
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return holding_; });
}

QString FakeSerialDevice::openedPath() const
{
    Lock lock(mutex_);
    return path_;
}

SerialParity FakeSerialDevice::openedParity() const
{
    Lock lock(mutex_);
    return parity_;
}

bool FakeSerialDevice::rts() const
{
    Lock lock(mutex_);
    return rts_;
}

bool FakeSerialDevice::dtr() const
{
    Lock lock(mutex_);
    return dtr_;
}

QByteArray FakeSerialDevice::written() const
{
    Lock lock(mutex_);
    return written_;
}

int FakeSerialDevice::incomingSize() const
{
    Lock lock(mutex_);
    return int(incoming_.size());
}

QStringList FakeSerialDevice::calls() const
{
    Lock lock(mutex_);
    return calls_;
}

int FakeSerialDevice::openCount() const
{
    Lock lock(mutex_);
    return openCount_;
}

SerialResult FakeSerialDevice::open(const QString& path, SerialParity parity)
{
    Lock lock(mutex_);
    calls_ << QStringLiteral("open ") + path;
    if (openFailure_)
        return {SerialError::Open, openFailure_};
    open_ = true;
    vanished_ = false;
    path_ = path;
    parity_ = parity;
    incoming_.clear();
    lineErrors_ = 0;
    ++openCount_;
    return {};
}

SerialResult FakeSerialDevice::close()
{
    Lock lock(mutex_);
    if (!open_)
        return {};
    calls_ << QStringLiteral("close");
    open_ = false;
    rts_ = dtr_ = false;
    incoming_.clear();
    return {};
}

bool FakeSerialDevice::isOpen() const
{
    Lock lock(mutex_);
    return open_;
}

SerialParity FakeSerialDevice::lineParity() const
{
    Lock lock(mutex_);
    return open_ && !withoutParity_ ? parity_ : SerialParity::None;
}

SerialResult FakeSerialDevice::setRts(bool high)
{
    Lock lock(mutex_);
    calls_ << QStringLiteral("rts %1").arg(int(high));
    if (!open_)
        return {SerialError::NotOpen, EBADF};
    if (rtsFailure_)
        return {SerialError::ModemLine, rtsFailure_};
    rts_ = high;
    return {};
}

SerialResult FakeSerialDevice::setDtr(bool high)
{
    Lock lock(mutex_);
    calls_ << QStringLiteral("dtr %1").arg(int(high));
    if (!open_)
        return {SerialError::NotOpen, EBADF};
    if (dtrFailure_)
        return {SerialError::ModemLine, dtrFailure_};
    dtr_ = high;
    return {};
}

SerialResult FakeSerialDevice::write(const char* data, qsizetype size, qsizetype* written)
{
    Lock lock(mutex_);
    *written = 0;
    if (!open_)
        return {SerialError::NotOpen, EBADF};
    if (vanished_)
        return {SerialError::Vanished, EIO};
    if (writeFailure_)
        return {SerialError::Write, writeFailure_};
    qsizetype n = size;
    if (writeRoom_ >= 0) {
        n = std::min(size, writeRoom_);
        writeRoom_ -= n;
    }
    written_.append(data, n);
    *written = n;
    return {};
}

SerialResult FakeSerialDevice::bytesWaiting(int* count)
{
    Lock lock(mutex_);
    *count = 0;
    if (!open_)
        return {SerialError::NotOpen, EBADF};
    if (vanished_)
        return {SerialError::Vanished, EIO};
    *count = int(incoming_.size());
    return {};
}

SerialResult FakeSerialDevice::read(QByteArray* out, int maxBytes)
{
    Lock lock(mutex_);
    if (!open_)
        return {SerialError::NotOpen, EBADF};
    if (vanished_)
        return {SerialError::Vanished, EIO};
    const qsizetype n = std::min<qsizetype>(maxBytes, incoming_.size());
    out->append(incoming_.left(n));
    incoming_.remove(0, n);
    return {};
}

unsigned FakeSerialDevice::takeLineErrors()
{
    Lock lock(mutex_);
    const unsigned errors = lineErrors_;
    lineErrors_ = 0;
    return errors;
}

SerialResult FakeSerialDevice::wait(int timeoutMs, bool readable, bool writable)
{
    std::unique_lock lock(mutex_);
    if (!open_)
        return {SerialError::NotOpen, EBADF};
    if (hold_) {
        holding_ = true;
        changed_.notify_all();
        changed_.wait(lock, [&] { return !hold_; });
        holding_ = false;
    }
    changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
        return woken_ || vanished_ || !open_ || (readable && !incoming_.isEmpty())
            || (writable && writeRoom_ != 0);
    });
    woken_ = false;
    if (vanished_)
        return {SerialError::Vanished, EIO};
    return {};
}

void FakeSerialDevice::wake()
{
    {
        Lock lock(mutex_);
        woken_ = true;
    }
    changed_.notify_all();
}

} // namespace zarn
