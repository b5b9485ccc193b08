#pragma once

#include "ibus/SerialDevice.h"

#include <QStringList>

#include <condition_variable>
#include <mutex>

namespace zarn {

// An in-memory serial device for tests and the bench: the test scripts what the
// "driver" does (bytes arriving, line errors, failures, how much a write takes) and
// reads back what the component did. Every member may be called from any thread.
class FakeSerialDevice final : public SerialDevice {
public:
    // --- scripting ---
    // Open fails with this errno (Open error) while non-zero.
    void setOpenFailure(int osError);
    // The line carries no parity, whatever is asked (as on a pseudo-terminal).
    void setWithoutParity(bool without);
    void setRtsFailure(int osError);
    void setDtrFailure(int osError);
    // Bytes the next write calls take in total before the queue counts as full; -1
    // takes everything. Lowering it makes writes pending, raising it lets them finish.
    void setWriteRoom(qsizetype bytes);
    // Write fails with this errno while non-zero.
    void setWriteFailure(int osError);
    void pushIncoming(const QByteArray& bytes);
    void addLineErrors(unsigned errors);
    // The device goes away: waits report Vanished, the count and reads fail with EIO.
    void vanish();
    // While on, wait() does not return, not even for wake(): whoever waits stays inside
    // the device (a worker the scheduler has not run for a long while).
    void holdWaits(bool hold);
    // Until a wait() is being held, or timeoutMs passed.
    bool waitUntilHeld(int timeoutMs);

    // --- what the component did ---
    QString openedPath() const;
    SerialParity openedParity() const;
    bool rts() const;
    bool dtr() const;
    QByteArray written() const;
    int incomingSize() const;
    // "open <path>", "close", "rts 1", "dtr 0", ... in order, failed calls included.
    QStringList calls() const;
    int openCount() const;

    // --- SerialDevice ---
    SerialResult open(const QString& path, SerialParity parity) override;
    SerialResult close() override;
    bool isOpen() const override;
    SerialParity lineParity() const override;
    SerialResult setRts(bool high) override;
    SerialResult setDtr(bool high) override;
    SerialResult write(const char* data, qsizetype size, qsizetype* written) override;
    SerialResult bytesWaiting(int* count) override;
    SerialResult read(QByteArray* out, int maxBytes) override;
    unsigned takeLineErrors() override;
    SerialResult wait(int timeoutMs, bool readable, bool writable) override;
    void wake() override;

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    int openFailure_ = 0, rtsFailure_ = 0, dtrFailure_ = 0, writeFailure_ = 0;
    qsizetype writeRoom_ = -1;
    bool open_ = false, vanished_ = false, woken_ = false, withoutParity_ = false;
    bool hold_ = false, holding_ = false;
    bool rts_ = false, dtr_ = false;
    QString path_;
    SerialParity parity_ = SerialParity::None;
    QByteArray incoming_, written_;
    unsigned lineErrors_ = 0;
    QStringList calls_;
    int openCount_ = 0;
};

} // namespace zarn
