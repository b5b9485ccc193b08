#include "ibus/ClusterDue.h"
#include "ibus/FakeSerialDevice.h"
#include "ibus/SerialPortNG.h"
#include "ibus/SerialReceiver.h"

#include <QElapsedTimer>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

#include <cerrno>
#include <thread>

using namespace zarn;

namespace {

constexpr qint64 Ms = 1000; // receiver time is in microseconds

// A receiver on an open fake device, driven with explicit times.
struct ReceiverFixture {
    ReceiverFixture()
    {
        device.open(QStringLiteral("/dev/fake"), SerialParity::Even);
        receiver.reset(0);
    }
    QList<SerialEvent> pass(qint64 atUs)
    {
        QList<SerialEvent> events;
        plan = receiver.pass(atUs, events);
        return events;
    }
    void startWrite(const QByteArray& bytes, int timeoutMs)
    {
        shared.pendingWrite = bytes;
        shared.writeTimeoutMs = timeoutMs;
        shared.sendInProgress = true;
    }

    FakeSerialDevice device;
    SerialShared shared;
    SerialReceiver receiver{device, shared};
    SerialWaitPlan plan{};
};

// The component on a fake device, with every report it passes on.
struct PortFixture {
    PortFixture()
    {
        port.setDevicePath(QStringLiteral("/dev/fake"));
        QObject::connect(&port, &SerialPortNG::OnProcessError,
                         [this](int place, int code, const QString& msg, int) {
                             reports << msg;
                             codes << code;
                         });
    }
    FakeSerialDevice device;
    SerialPortNG port{device};
    QStringList reports;
    QList<int> codes;
};

QByteArray frame()
{
    return QByteArray::fromHex("8004FF57012D");
}

} // namespace

class TestSerialPort : public QObject {
    Q_OBJECT
private slots:
    void receiveRule_data()
    {
        QTest::addColumn<int>("waiting");
        QTest::addColumn<double>("msSinceEmpty");
        QTest::addColumn<int>("charDelayUs");
        QTest::addColumn<int>("extraDelayMs");
        QTest::addColumn<bool>("readRequest");
        QTest::addColumn<unsigned>("lineErrors");
        QTest::addColumn<bool>("due");
        QTest::addRow("nothing waits") << 0 << 1000.0 << 1100 << 50 << true << 0u << false;
        QTest::addRow("6 bytes, 56.5 ms quiet") << 6 << 56.5 << 1100 << 50 << false << 0u << false;
        QTest::addRow("6 bytes, 56.7 ms quiet") << 6 << 56.7 << 1100 << 50 << false << 0u << true;
        QTest::addRow("exactly the quiet time is not more") << 10 << 60.0 << 1000 << 50 << false << 0u << false;
        QTest::addRow("more bytes need longer") << 100 << 100.0 << 1100 << 50 << false << 0u << false;
        QTest::addRow("ClusterSize bytes wait") << 3072 << 0.0 << 1100 << 50 << false << 0u << true;
        QTest::addRow("one byte short of ClusterSize") << 3071 << 0.0 << 1100 << 50 << false << 0u << false;
        QTest::addRow("ReadRequest") << 1 << 0.0 << 1100 << 50 << true << 0u << true;
        QTest::addRow("parity error") << 1 << 0.0 << 1100 << 50 << false << unsigned(LineParity) << true;
        QTest::addRow("zero delays, same instant") << 1 << 0.0 << 0 << 0 << false << 0u << false;
        QTest::addRow("zero delays, clock moved") << 1 << 0.001 << 0 << 0 << false << 0u << true;
    }
    void receiveRule()
    {
        QFETCH(int, waiting);
        QFETCH(double, msSinceEmpty);
        QFETCH(int, charDelayUs);
        QFETCH(int, extraDelayMs);
        QFETCH(bool, readRequest);
        QFETCH(unsigned, lineErrors);
        QFETCH(bool, due);
        QCOMPARE(ClusterDue(waiting, msSinceEmpty, quint32(charDelayUs), quint16(extraDelayMs), 3072,
                            readRequest, lineErrors),
                 due);
    }

    // The quiet time counts from when the wait for data ended, not from the pass before
    // it: a burst arriving late in a 75 ms wait is still given its whole quiet time.
    void burstIsReadAfterItsQuietTime()
    {
        ReceiverFixture f;
        QVERIFY(f.pass(0).isEmpty());
        QVERIFY(f.plan.readable);
        QCOMPARE(f.plan.timeoutMs, SerialReceiver::MaxWaitMs);
        f.device.pushIncoming(frame());
        QVERIFY(f.pass(70 * Ms).isEmpty());
        QVERIFY(!f.plan.readable); // no busy loop on the bytes left waiting
        QCOMPARE(f.plan.timeoutMs, 57);
        QVERIFY(f.pass(70 * Ms + 56500).isEmpty());
        const QList<SerialEvent> events = f.pass(70 * Ms + 56700);
        QCOMPARE(events.size(), 1);
        QCOMPARE(events[0].kind, SerialEvent::Kind::Cluster);
        QCOMPARE(events[0].bytes, frame());
    }

    void framesInOneBurstMakeOneCluster()
    {
        ReceiverFixture f;
        f.pass(0);
        f.device.pushIncoming(frame());
        QVERIFY(f.pass(1 * Ms).isEmpty());
        f.device.pushIncoming(frame()); // 10 ms later
        QVERIFY(f.pass(11 * Ms).isEmpty());
        QVERIFY(f.pass(1 * Ms + 63100).isEmpty()); // 12 bytes: 63.2 ms
        const QList<SerialEvent> events = f.pass(1 * Ms + 63300);
        QCOMPARE(events.size(), 1);
        QCOMPARE(events[0].bytes, frame() + frame());
    }

    void clusterNeverExceedsClusterSize()
    {
        ReceiverFixture f;
        f.pass(0);
        QByteArray flood(4000, 'x');
        f.device.pushIncoming(flood);
        QList<SerialEvent> events = f.pass(1 * Ms);
        QCOMPARE(events.size(), 1);
        QCOMPARE(events[0].bytes.size(), 3072);
        // The rest has its own quiet time from the read: 928 x 1.1 + 50 ms.
        QVERIFY(f.pass(2 * Ms).isEmpty());
        QVERIFY(f.pass(1 * Ms + 1070 * Ms).isEmpty());
        events = f.pass(1 * Ms + 1071 * Ms);
        QCOMPARE(events.size(), 1);
        QCOMPARE(events[0].bytes.size(), 928);
    }

    void lineErrorReadsAtOnceAndTravelsWithTheCluster()
    {
        ReceiverFixture f;
        f.pass(0);
        f.device.pushIncoming("\x80\x04");
        f.device.addLineErrors(LineParity | LineFraming);
        const QList<SerialEvent> events = f.pass(1 * Ms);
        QCOMPARE(events.size(), 1);
        QCOMPARE(events[0].lineErrors, unsigned(LineParity | LineFraming));
    }

    void pendingWriteFinishesWhenThereIsRoom()
    {
        ReceiverFixture f;
        f.device.setWriteRoom(2);
        f.startWrite("abcdef", 100);
        QVERIFY(f.pass(0).isEmpty());
        QVERIFY(f.shared.sendInProgress);
        QVERIFY(f.plan.writable);
        f.device.setWriteRoom(-1);
        QVERIFY(f.pass(10 * Ms).isEmpty());
        QVERIFY(!f.shared.sendInProgress);
        QCOMPARE(f.device.written(), QByteArray("abcdef"));
    }

    void stalledWriteTimesOut()
    {
        ReceiverFixture f;
        f.device.setWriteRoom(0);
        f.startWrite("abcdef", 100);
        f.pass(0);
        QVERIFY(f.plan.timeoutMs <= SerialReceiver::MaxWaitMs);
        QVERIFY(f.pass(99 * Ms).isEmpty());
        QCOMPARE(f.plan.timeoutMs, 1); // woken for the deadline, not a whole wait later
        const QList<SerialEvent> events = f.pass(100 * Ms);
        QCOMPARE(events.size(), 1);
        QCOMPARE(events[0].msg, QStringLiteral("Error write TimeOut"));
        QCOMPARE(events[0].place, 9701);
        QVERIFY(!f.shared.sendInProgress);
        QVERIFY(f.device.written().isEmpty());
    }

    void vanishedDeviceIsReportedOnce()
    {
        ReceiverFixture f;
        f.pass(0);
        f.device.vanish();
        QList<SerialEvent> events = f.pass(1 * Ms);
        QCOMPARE(events.size(), 1);
        QCOMPARE(events[0].kind, SerialEvent::Kind::Lost);
        QCOMPARE(events[0].msg, QStringLiteral("Error reading Data"));
        QCOMPARE(events[0].code, EIO);
        QVERIFY(f.receiver.lost());
        QVERIFY(f.pass(2 * Ms).isEmpty());
    }

    // --- the component, its worker thread running ---

    void openingRaisesDtrThenRtsAndClosingLowersThem()
    {
        PortFixture f;
        f.port.setParityType(2);
        f.port.setActive(true);
        QVERIFY(f.port.Active());
        QCOMPARE(f.device.openedParity(), SerialParity::Even);
        QCOMPARE(f.device.calls(), (QStringList{"open /dev/fake", "dtr 1", "rts 1"}));
        QVERIFY(f.port.RTSState() && f.port.DTRState());
        f.port.setActive(false);
        QVERIFY(!f.port.Active());
        QCOMPARE(f.device.calls().mid(3), (QStringList{"dtr 0", "rts 0", "close"}));
        QCOMPARE(f.reports, (QStringList{"Msg start reactivating Port", "Msg start deactivating Port"}));
        QVERIFY(!f.port.RTSState() && !f.port.DTRState());
    }

    void reportsPassByErrorNoise_data()
    {
        QTest::addColumn<int>("errorNoise");
        QTest::addColumn<QStringList>("reports");
        QTest::addRow("errors only") << 0 << QStringList{"Error reopening Port"};
        QTest::addRow("warnings") << 1 << QStringList{"Error reopening Port"};
        QTest::addRow("messages") << 2
                                  << QStringList{"Msg start reactivating Port", "Error reopening Port"};
    }
    void reportsPassByErrorNoise()
    {
        QFETCH(int, errorNoise);
        QFETCH(QStringList, reports);
        PortFixture f;
        f.port.setErrorNoise(errorNoise);
        f.device.setOpenFailure(ENOENT);
        f.port.setActive(true);
        QVERIFY(!f.port.Active());
        QCOMPARE(f.reports, reports);
        QCOMPARE(f.codes.last(), ENOENT);
    }

    void modemLineFailureIsReportedButTheLevelRecorded()
    {
        PortFixture f;
        f.device.setRtsFailure(ENOTTY);
        f.port.setActive(true);
        QVERIFY(f.port.Active());
        QVERIFY(f.reports.contains("Error setting RTS"));
        f.port.setRTSState(false);
        QCOMPARE(f.reports.last(), QStringLiteral("Error clearing RTS"));
        QCOMPARE(f.codes.last(), ENOTTY);
        QVERIFY(!f.port.RTSState());
    }

    void modemLinesAreLeftAloneWhileClosed()
    {
        PortFixture f;
        f.port.setRTSState(false);
        f.port.setDTRState(false);
        QVERIFY(f.device.calls().isEmpty());
        QVERIFY(f.port.RTSState() && f.port.DTRState());
    }

    void secondSendWhilePendingIsRefused()
    {
        PortFixture f;
        f.port.setActive(true);
        f.device.setWriteRoom(2);
        f.port.SendData("abcdef");
        QVERIFY(f.port.SendInProgress());
        f.port.SendData("xyz");
        QCOMPARE(f.reports.last(), QStringLiteral("Msg, dont enter SendData while SendInProgress is set"));
        f.device.setWriteRoom(-1);
        QTRY_VERIFY_WITH_TIMEOUT(!f.port.SendInProgress(), 2000);
        QCOMPARE(f.device.written(), QByteArray("abcdef"));
    }

    void writeThatFailsAtOnce_data()
    {
        QTest::addColumn<bool>("open");
        QTest::addRow("device error") << true;
        QTest::addRow("port closed") << false;
    }
    void writeThatFailsAtOnce()
    {
        QFETCH(bool, open);
        PortFixture f;
        f.port.setActive(open);
        f.device.setWriteFailure(EINVAL);
        f.port.SendData(frame());
        QCOMPARE(f.reports.last(), QStringLiteral("Error writing Data"));
        QVERIFY(!f.port.SendInProgress());
    }

    void clustersQueueUntilTaken()
    {
        PortFixture f;
        f.port.setActive(true);
        QSignalSpy spy(&f.port, &SerialPortNG::OnRxClusterEvent);
        QCOMPARE(f.port.FirstClusterSize(), -1);
        f.device.pushIncoming(frame());
        QVERIFY(spy.wait(2000));
        QCOMPARE(f.port.FirstClusterSize(), 6);
        QCOMPARE(f.port.TakeFirstCluster(), frame());
        QCOMPARE(f.port.FirstClusterSize(), -1);
        QVERIFY(f.port.TakeFirstCluster().isEmpty());
    }

    // The worker waits for the handler: a handler that lets events run never sees the
    // next cluster arrive inside it.
    void nextClusterWaitsForTheHandler()
    {
        PortFixture f;
        f.port.setReadRequest(true);
        f.port.setActive(true);
        int depth = 0, maxDepth = 0, handled = 0;
        bool sawNextInside = true;
        connect(&f.port, &SerialPortNG::OnRxClusterEvent, [&] {
            maxDepth = std::max(maxDepth, ++depth);
            f.port.TakeFirstCluster();
            if (++handled == 1) {
                f.device.pushIncoming("second");
                QSignalSpy inside(&f.port, &SerialPortNG::OnRxClusterEvent);
                sawNextInside = inside.wait(300);
            }
            --depth;
        });
        f.device.pushIncoming("first");
        QTRY_COMPARE_WITH_TIMEOUT(handled, 2, 3000);
        QVERIFY(!sawNextInside);
        QCOMPARE(maxDepth, 1);
    }

    void vanishedDeviceClosesThePortOnce()
    {
        PortFixture f;
        f.port.setActive(true);
        f.device.vanish();
        QTRY_VERIFY_WITH_TIMEOUT(!f.port.Active(), 2000);
        QCOMPARE(f.reports.count("Error reading Data"), 1);
        QCOMPARE(f.reports.last(), QStringLiteral("Msg start deactivating Port"));
        // Nothing is tried on a device that is gone.
        QVERIFY(!f.device.calls().contains("rts 0"));
        f.port.setActive(true);
        QVERIFY(f.port.Active());
    }

    // The worker is held inside the device for longer than closing waits: nothing it may
    // be using is released under it. The descriptor closes and the pending write is
    // dropped once it has left; an opening before that is refused, one after succeeds.
    void closingNeverReleasesWhatTheWorkerHolds()
    {
        PortFixture f;
        f.port.setActive(true);
        f.device.setWriteRoom(2);
        f.port.SendData("abcdef");
        QVERIFY(f.port.SendInProgress());
        f.device.holdWaits(true);
        const auto letGo = qScopeGuard([&] { f.device.holdWaits(false); }); // also when a check fails
        QVERIFY(f.device.waitUntilHeld(2000));

        f.port.setActive(false);
        QVERIFY(!f.port.Active());
        QVERIFY(f.reports.contains("Warning ThreadIsRunning"));
        QCOMPARE(f.device.calls().mid(3), (QStringList{"dtr 0", "rts 0"}));
        QVERIFY(f.device.isOpen());
        QVERIFY(f.port.SendInProgress()); // still the worker's
        f.port.setActive(true);
        QVERIFY(!f.port.Active());
        QCOMPARE(f.reports.last(), QStringLiteral("Error reopening Port"));
        QCOMPARE(f.codes.last(), EBUSY);
        QCOMPARE(f.device.openCount(), 1);

        f.device.holdWaits(false);
        QTRY_VERIFY_WITH_TIMEOUT(!f.device.isOpen(), 2000);
        QVERIFY(!f.port.SendInProgress());
        QCOMPARE(f.device.written(), QByteArray("ab"));
        f.port.setActive(true);
        QVERIFY(f.port.Active());
        QCOMPARE(f.device.openCount(), 2);
    }

    // A block read just before the port closed reaches the main thread after it has
    // opened again: it is not the new opening's and is dropped.
    void clusterOfAnEarlierOpeningIsDropped()
    {
        PortFixture f;
        f.port.setReadRequest(true);
        f.port.setActive(true);
        QList<QByteArray> clusters;
        connect(&f.port, &SerialPortNG::OnRxClusterEvent, [&] { clusters << f.port.TakeFirstCluster(); });
        f.device.pushIncoming("old");
        // No events run here, so the worker reads the bytes and waits in the hand-over.
        QElapsedTimer t;
        t.start();
        while (f.device.incomingSize() > 0 && t.elapsed() < 2000)
            std::this_thread::yield();
        QCOMPARE(f.device.incomingSize(), 0);
        f.port.setActive(false);
        f.port.setActive(true);
        f.device.pushIncoming("new");
        QTRY_VERIFY_WITH_TIMEOUT(!clusters.isEmpty(), 2000);
        QCOMPARE(clusters, QList<QByteArray>{"new"});
        QCOMPARE(f.port.FirstClusterSize(), -1);
    }

    void destroyingWhileAHandOverWaitsDoesNotHang()
    {
        FakeSerialDevice device;
        auto* port = new SerialPortNG(device);
        port->setDevicePath(QStringLiteral("/dev/fake"));
        port->setReadRequest(true);
        port->setActive(true);
        device.pushIncoming(frame());
        // No events run here, so once the worker has read the bytes it waits in the hand-over.
        QElapsedTimer t;
        t.start();
        while (device.incomingSize() > 0 && t.elapsed() < 2000)
            std::this_thread::yield();
        QCOMPARE(device.incomingSize(), 0);
        delete port;
        QVERIFY(!device.isOpen());
    }
};

QTEST_GUILESS_MAIN(TestSerialPort)
#include "tst_serialport.moc"
