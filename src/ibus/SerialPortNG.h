#pragma once

#include "ibus/FrameSink.h"
#include "ibus/SerialDevice.h"
#include "ibus/SerialEvent.h"
#include "ibus/SerialReports.h"
#include "ibus/SerialShared.h"
#include "ibus/TWorkThread.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <memory>

namespace zarn {

// The serial component: the port the I-Bus interface hangs on. It lives on the main
// thread; its worker thread (TWorkThread) reads the port, groups each burst of bytes
// into one cluster, and hands every cluster and every error over to the main thread,
// waiting until the handler has returned.
//
// Thread ownership: every member function is for the main thread. The worker shares
// only shared_ (atomics and the pending write, see SerialShared) and the device
// between openings; everything else here is main thread only.
class SerialPortNG : public QObject, public FrameSink {
    Q_OBJECT
public:
    // On a terminal device file (TermiosSerialDevice).
    explicit SerialPortNG(QObject* parent = nullptr);
    // On the given device, which must outlive the component.
    explicit SerialPortNG(SerialDevice& device, QObject* parent = nullptr);
    ~SerialPortNG() override;

    // "/dev/ttyS0".."/dev/ttyS8" for "COM1".."COM9" (any "COMn", n >= 1); empty otherwise.
    static QString devicePathFor(const QString& commPort);

    // Opening: "Msg start reactivating Port", open, line settings, raise DTR then RTS.
    // A failed open reports "Error reopening Port" and leaves Active false.
    // Closing: "Msg start deactivating Port", keep the worker off the device, lower DTR
    // and RTS, close; a pending write is dropped. If the worker does not leave the
    // device in time ("Warning ThreadIsRunning"), the port is closed at once but the
    // descriptor and the pending write are released only when it has left; an opening
    // before then fails with "Error reopening Port" (EBUSY).
    bool Active() const { return active_; }
    void setActive(bool active);

    // The name shown ("COM1"); changing it while active reopens the port.
    QString CommPort() const { return commPort_; }
    void setCommPort(const QString& name);
    // The device file opened: the configured one, or the one of CommPort when none is.
    QString DevicePath() const;
    // Overrides the mapping of CommPort (empty: use it); changing it while active reopens.
    void setDevicePath(const QString& path);

    // 0 none, 1 odd, 2 even; used at the next opening.
    int ParityType() const { return parityType_; }
    void setParityType(int parity);

    // The receive rule: a burst is complete when the time since the queue was last
    // seen empty exceeds waiting bytes x RTOCharDelayTime (µs) + RTOExtraDelayTime (ms),
    // or ClusterSize bytes wait, or ReadRequest is set, or the driver saw a line error.
    quint32 RTOCharDelayTime() const { return shared_.rtoCharDelayUs.load(); }
    void setRTOCharDelayTime(quint32 us) { shared_.rtoCharDelayUs.store(us); }
    quint16 RTOExtraDelayTime() const { return shared_.rtoExtraDelayMs.load(); }
    void setRTOExtraDelayTime(quint16 ms) { shared_.rtoExtraDelayMs.store(ms); }
    quint16 ClusterSize() const { return shared_.clusterSize.load(); }
    void setClusterSize(quint16 bytes) { shared_.clusterSize.store(bytes); }
    bool ReadRequest() const { return shared_.readRequest.load(); }
    void setReadRequest(bool on) { shared_.readRequest.store(on); }

    // A pending write gives up after count x WTOCharDelayTime (µs) / 1000 +
    // WTOExtraDelayTime ms (integer division).
    quint32 WTOCharDelayTime() const { return wtoCharDelayUs_; }
    void setWTOCharDelayTime(quint32 us) { wtoCharDelayUs_ = us; }
    quint16 WTOExtraDelayTime() const { return wtoExtraDelayMs_; }
    void setWTOExtraDelayTime(quint16 ms) { wtoExtraDelayMs_ = ms; }

    // Reports pass only while ErrorNoise >= their noise (0..255).
    int ErrorNoise() const { return errorNoise_; }
    void setErrorNoise(int noise) { errorNoise_ = noise; }

    // The levels last set; both true in a new component. Setting does nothing while
    // not active; otherwise the line is set and the level recorded even when that fails.
    bool RTSState() const { return rtsState_; }
    void setRTSState(bool high);
    bool DTRState() const { return dtrState_; }
    void setDTRState(bool high);

    // FrameSink. Refused with the 901 message while a write is pending. Only the main
    // thread sets SendInProgress (here); the worker only clears it. So "SendInProgress()
    // is false, then SendData" on the main thread is never refused as pending.
    void SendData(const QByteArray& bytes) override;
    bool SendInProgress() const override { return shared_.sendInProgress.load(std::memory_order_acquire); }

    // The oldest waiting cluster: its byte count (-1 when none), its bytes (removed).
    int FirstClusterSize() const;
    QByteArray TakeFirstCluster();
    // SerialLineError bits of the oldest waiting cluster (0 when none).
    unsigned FirstClusterLineErrors() const;

signals:
    // A cluster was added; take it with TakeFirstCluster. The worker waits until the
    // handlers have returned.
    void OnRxClusterEvent();
    // place, OS error number or 0, the text, its noise (see SerialReports.h).
    void OnProcessError(int place, int code, const QString& msg, int noise);
    void activeChanged(bool active);
    // After the report of an opening that failed: the device file tried (empty when the
    // port name maps to none) and the OS error number.
    void openFailed(const QString& devicePath, int osError);

private:
    struct Cluster {
        QByteArray bytes;
        unsigned lineErrors;
    };

    void open();
    void close(bool deviceLost);
    // Closes the device of the last opening once the worker is off it; false while it
    // is not. True at once when nothing waits to be released.
    bool finishRelease();
    // Closes the device and drops the pending write; only while the worker is off it.
    void releaseDevice();
    void reopenIfActive();
    void deliver(const SerialEvent& event);
    void failedToOpen(const QString& path, int osError);
    void report(const SerialReports::Report& report, int code = 0);
    void report(int place, int code, const QString& msg, int noise);

    std::unique_ptr<SerialDevice> ownDevice_;
    SerialDevice& device_;
    SerialShared shared_;
    TWorkThread worker_; // after device_ and shared_: stopped before they go

    bool active_ = false;
    bool destroying_ = false;
    bool releasePending_ = false; // closed, but the device still waits for the worker to leave
    quint64 generation_ = 0;
    QString commPort_ = QStringLiteral("COM1");
    QString devicePath_;
    QString noParityReported_; // the device last reported for lacking parity
    int parityType_ = int(SerialParity::None);
    quint32 wtoCharDelayUs_ = 1100;
    quint16 wtoExtraDelayMs_ = 250;
    int errorNoise_ = 255;
    bool rtsState_ = true;
    bool dtrState_ = true;
    QList<Cluster> clusters_;
};

} // namespace zarn
