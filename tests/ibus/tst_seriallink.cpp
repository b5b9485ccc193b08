#include "core/StatusLog.h"
#include "ibus/FakeSerialDevice.h"
#include "ibus/FrameText.h"
#include "ibus/SerialLink.h"
#include "ibus/SerialPortNG.h"
#include "TestSupport.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <cerrno>
#include <memory>

using namespace zarn;

namespace {

// The link on a fake device, its timers on virtual time.
struct LinkFixture {
    LinkFixture()
    {
        log.setClockTicked();
        port.setDevicePath(QStringLiteral("/dev/fake"));
    }
    // Status lines without their time stamp.
    QStringList lines(qsizetype from = 0) const
    {
        QStringList out;
        for (qsizetype i = from; i < log.lines().size(); ++i)
            out << log.lines()[i].mid(9);
        return out;
    }
    // Lets one block arrive through the worker thread.
    bool receive(const QByteArray& bytes)
    {
        const qsizetype before = texts.size();
        port.setReadRequest(true);
        device.pushIncoming(bytes);
        return QTest::qWaitFor([&] { return texts.size() > before; }, 2000)
            && texts.size() == before + 1;
    }

    test::VirtualTime time;
    StatusLog log;
    FakeSerialDevice device;
    SerialPortNG port{device};
    Timer requestTimer{QStringLiteral("Request_Timer")};
    Timer idleShutdownTimer{QStringLiteral("IdleShutdownTimer")};
    QStringList texts;
    SerialLink link{port, log, [this](const QString& t) { texts << t; }, &requestTimer, &idleShutdownTimer};
};

} // namespace

class TestSerialLink : public QObject {
    Q_OBJECT
private slots:
    void portChoice_data()
    {
        QTest::addColumn<int>("itemIndex");
        QTest::addColumn<QString>("devicePathSetting");
        QTest::addColumn<QString>("commPort");
        QTest::addColumn<QString>("devicePath");
        QTest::addColumn<int>("listIndex");
        QTest::addRow("first item") << 0 << "" << "COM1" << "/dev/ttyS0" << 0;
        QTest::addRow("item 3 is COM4") << 3 << "" << "COM4" << "/dev/ttyS3" << 3;
        QTest::addRow("last item") << 8 << "" << "COM9" << "/dev/ttyS8" << 8;
        QTest::addRow("DevicePath opened instead") << 3 << "/dev/ttyUSB0" << "COM4" << "/dev/ttyUSB0" << 3;
        QTest::addRow("blank DevicePath uses the mapping") << 1 << "  " << "COM2" << "/dev/ttyS1" << 1;
        QTest::addRow("index past the list") << 12 << "" << "COM0" << "" << 1;
        QTest::addRow("negative index") << -1 << "" << "COM0" << "" << 1;
        QTest::addRow("rejected index, DevicePath still opened") << 12 << "/dev/ttyUSB0" << "COM0"
                                                                << "/dev/ttyUSB0" << 1;
    }
    void portChoice()
    {
        QFETCH(int, itemIndex);
        QFETCH(QString, devicePathSetting);
        QFETCH(QString, commPort);
        QFETCH(QString, devicePath);
        QFETCH(int, listIndex);
        const PortChoice choice = PortChoice::of(itemIndex, devicePathSetting);
        QCOMPARE(choice.commPort, commPort);
        QCOMPARE(choice.devicePath, devicePath);
        QCOMPARE(choice.listIndex, listIndex);
        QCOMPARE(PortChoice::portNames().value(listIndex), QStringLiteral("COM%1").arg(listIndex + 1));
    }

    void startUpLines()
    {
        LinkFixture f;
        f.link.initParity();
        f.link.initReceiveTimes(1100, 50);
        f.link.selectPort(3, QStringLiteral("/dev/fake"));
        QStringList splash;
        QVERIFY(f.link.openPortAtStartup([&](const QString& line) { splash << line; }));
        QCOMPARE(f.port.ParityType(), 2);
        QCOMPARE(f.device.openedParity(), SerialParity::Even);
        QCOMPARE(f.device.openedPath(), QStringLiteral("/dev/fake"));
        QCOMPARE(splash, QStringList{" Initializing COM-port"});
        QCOMPARE(f.lines(), (QStringList{"Parity set to 2 (even)",
                                         "RTOCharDelayTime set to 1100 microseconds",
                                         "RTOExtraDelayTime set to 50 milliseconds",
                                         "Serial COM Port set to COM4",
                                         "SerialNG: Msg start reactivating Port",
                                         "Zarn COM4 open issued...trying, RTS is low"}));
        QVERIFY(f.port.Active());
        QVERIFY(!f.device.rts());
    }

    void receiveTimesOutOfRangeAreHeldAtTheLimit()
    {
        LinkFixture f;
        f.link.initReceiveTimes(-5, 70000);
        QCOMPARE(f.port.RTOCharDelayTime(), 0u);
        QCOMPARE(f.port.RTOExtraDelayTime(), quint16(65535));
    }

    void restartPortOnAFailingDevice()
    {
        LinkFixture f;
        f.device.setOpenFailure(ENOENT);
        QVERIFY(f.link.openPortAtStartup());
        QVERIFY(!f.port.Active());
        QCOMPARE(f.lines(), (QStringList{"Serial COM Port set to COM1",
                                         "SerialNG: Msg start reactivating Port",
                                         "SerialNG: Error reopening Port",
                                         "Serial device /dev/fake: No such file or directory",
                                         "Zarn COM1 open issued...trying, RTS is low"}));
    }

    // Every failed opening says which device and why, once; the line changes with the
    // reason and with the device.
    void failedOpeningNamesDeviceAndReason_data()
    {
        QTest::addColumn<int>("osError");
        QTest::addColumn<QString>("devicePathSetting");
        QTest::addColumn<int>("itemIndex");
        QTest::addColumn<QString>("line");
        QTest::addRow("missing") << ENOENT << "/dev/ttyUSB7" << 0 << "Serial device /dev/ttyUSB7: No such file or directory";
        QTest::addRow("no permission") << EACCES << "/dev/ttyUSB0" << 0 << "Serial device /dev/ttyUSB0: Permission denied";
        QTest::addRow("held by another") << EBUSY << "" << 3 << "Serial device /dev/ttyS3: Device or resource busy";
        QTest::addRow("no device for the index") << ENOENT << "" << 12 << "Serial device for COM0: No such file or directory";
    }
    void failedOpeningNamesDeviceAndReason()
    {
        QFETCH(int, osError);
        QFETCH(QString, devicePathSetting);
        QFETCH(int, itemIndex);
        QFETCH(QString, line);
        LinkFixture f;
        f.link.selectPort(itemIndex, devicePathSetting);
        f.device.setOpenFailure(osError);
        f.link.start();
        f.time.advance(2 * PortSupervisor::SupervisorIntervalMs);
        QCOMPARE(f.lines().filter("Serial device"), (QStringList{line, line}));
        QCOMPARE(f.lines().filter("Error reopening Port").size(), 2);
    }

    void restartPortReopensWithRtsLow()
    {
        LinkFixture f;
        QVERIFY(f.link.RestartPort());
        QVERIFY(f.link.RestartPort());
        QCOMPARE(f.device.openCount(), 2);
        QCOMPARE(f.device.calls().mid(4, 4), (QStringList{"dtr 0", "rts 0", "close", "open /dev/fake"}));
        QVERIFY(!f.port.RTSState());
        QVERIFY(!f.device.rts());
        QCOMPARE(f.requestTimer.interval(), PortSupervisor::RequestIntervalMs);
        f.link.ClosePort();
        QVERIFY(!f.port.Active());
        QVERIFY(!f.requestTimer.isActive());
    }

    void supervisorTick_data()
    {
        QTest::addColumn<bool>("portOpens");
        QTest::addColumn<bool>("messages");
        QTest::addColumn<bool>("timerTrace");
        QTest::addColumn<QStringList>("lines");
        QTest::addRow("closed port, messages")
            << false << true << true
            << QStringList{"$$$ Timer - CommPortSupervisor", "SerialNG: Msg start reactivating Port",
                           "SerialNG: Error reopening Port",
                           "Com-Port supervisor found an issue - trying to restart...",
                           "Com-Port RTS is on"};
        QTest::addRow("closed port, quiet")
            << false << false << false
            << QStringList{"SerialNG: Msg start reactivating Port", "SerialNG: Error reopening Port"};
        QTest::addRow("open port, messages")
            << true << true << false
            << QStringList{"Com-Port supervisor checkstatus is: active", "Com-Port RTS is off"};
        QTest::addRow("open port, timer trace only")
            << true << false << true << QStringList{"$$$ Timer - CommPortSupervisor"};
    }
    void supervisorTick()
    {
        QFETCH(bool, portOpens);
        QFETCH(bool, messages);
        QFETCH(bool, timerTrace);
        QFETCH(QStringList, lines);
        LinkFixture f;
        if (portOpens)
            f.link.RestartPort();
        else
            f.device.setOpenFailure(ENOENT);
        f.log.setMessagesEnabled(messages);
        f.log.setTimerTraceEnabled(timerTrace);
        const qsizetype from = f.log.lines().size();
        f.link.start();
        f.time.advance(PortSupervisor::SupervisorIntervalMs - 1);
        QCOMPARE(f.lines(from).filter("$$$ Timer - Comm"), QStringList{});
        f.time.advance(1);
        QCOMPARE(f.lines(from).filter(QRegularExpression("Com-Port|SerialNG|CommPort")), lines);
    }

    void supervisorReopensAPortThatComesBack()
    {
        LinkFixture f;
        f.device.setOpenFailure(EBUSY);
        f.link.start();
        f.time.advance(PortSupervisor::SupervisorIntervalMs);
        QVERIFY(!f.port.Active());
        f.device.setOpenFailure(0);
        f.time.advance(PortSupervisor::SupervisorIntervalMs);
        QVERIFY(f.port.Active());
        QVERIFY(!f.device.rts());
        QCOMPARE(f.requestTimer.interval(), PortSupervisor::RequestIntervalMs);
    }

    void blockGoesToTheDispatcherAsBlockText()
    {
        LinkFixture f;
        f.link.RestartPort();
        f.link.setHexLineLength(64);
        const QByteArray block = QByteArray::fromHex("8004FF57012D");
        QVERIFY(f.receive(block));
        QCOMPARE(f.texts.last(), ClusterToHexText(block, 64));
        QCOMPARE(f.texts.last().size(), 3 * 64);
    }

    // Silence lowers the indicator and arms the idle shutdown once; the next block
    // raises it and stops the countdown.
    void indicatorAndIdleShutdown()
    {
        LinkFixture f;
        f.link.RestartPort();
        f.link.setShutdownAfterIbusIdle(true);
        f.link.setShutdownAfterIbusIdleSeconds(60);
        QSignalSpy indicator(&f.link, &SerialLink::indicatorChanged);
        QSignalSpy scheme(&f.link, &SerialLink::colorSchemeNeeded);
        QList<qint64> idleFired;
        connect(&f.idleShutdownTimer, &Timer::timeout, [&] { idleFired << f.time.now(); });
        f.link.start();
        const qint64 t0 = f.time.now();

        f.time.advance(4999);
        QVERIFY(f.link.indicator().raised());
        f.time.advance(1);
        QVERIFY(!f.link.indicator().raised());
        QCOMPARE(indicator.size(), 1);
        QCOMPARE(indicator.at(0).at(0).toBool(), false);
        QCOMPARE(f.idleShutdownTimer.interval(), 60000);
        f.time.advance(60000); // eleven more indicator ticks
        QCOMPARE(idleFired, QList<qint64>{t0 + 65000});
        QCOMPARE(scheme.size(), 13);
        QCOMPARE(indicator.size(), 1);

        QVERIFY(f.receive("\x80\x04"));
        QVERIFY(f.link.indicator().raised());
        QCOMPARE(indicator.size(), 2);
        QCOMPARE(indicator.at(1).at(0).toBool(), true);
        QVERIFY(!f.idleShutdownTimer.isActive());
        // The block restarted the indicator timer: 5 s from now, not from its last tick.
        const qint64 received = f.time.now();
        f.time.advance(4999);
        QVERIFY(f.link.indicator().raised());
        f.time.advance(1);
        QVERIFY(!f.link.indicator().raised());
        QCOMPARE(f.time.now(), received + 5000);
    }

    void idleShutdownLeftAloneWhenNotChosen()
    {
        LinkFixture f;
        f.link.start();
        f.time.advance(BusIndicator::IndicatorIntervalMs);
        QVERIFY(!f.link.indicator().raised());
        QVERIFY(!f.idleShutdownTimer.isActive());
    }

    void hexLineLengthSteps_data()
    {
        QTest::addColumn<int>("steps");
        QTest::addColumn<int>("length");
        QTest::addRow("one up") << 1 << 272;
        QTest::addRow("one down") << -1 << 240;
        QTest::addRow("held at 64") << -20 << 64;
        QTest::addRow("held at 512") << 20 << 512;
    }
    void hexLineLengthSteps()
    {
        QFETCH(int, steps);
        QFETCH(int, length);
        LinkFixture f;
        QCOMPARE(f.link.HexLineLength(), 256);
        f.link.stepHexLineLength(steps);
        QCOMPARE(f.link.HexLineLength(), length);
    }

    void refusedSendIsLogged()
    {
        LinkFixture f;
        f.link.RestartPort();
        f.device.setWriteRoom(0);
        f.port.SendData(QByteArray::fromHex("1804FF0200E1"));
        f.port.SendData(QByteArray::fromHex("6803180172"));
        QCOMPARE(f.lines().last(), QStringLiteral("SerialNG: Msg, dont enter SendData while SendInProgress is set"));
        QVERIFY(f.device.written().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSerialLink)
#include "tst_seriallink.moc"
