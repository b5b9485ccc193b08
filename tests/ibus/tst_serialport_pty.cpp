// The serial link on real pseudo-terminals: the test plays the bus interface on the
// master side, the component opens the slave. Waits are for conditions, with limits.
#include "core/StatusLog.h"
#include "ibus/FrameText.h"
#include "ibus/SerialLink.h"
#include "ibus/SerialPortNG.h"
#include "TestSupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

using namespace zarn;

namespace {

// The master side of a pseudo-terminal, non-blocking.
class Pty {
public:
    Pty()
    {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        char name[128] = {};
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0
            || ::ptsname_r(master_, name, sizeof name) != 0) {
            close();
            return;
        }
        ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
        slave_ = QString::fromLocal8Bit(name);
    }
    ~Pty() { close(); }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    bool isOpen() const { return master_ >= 0; }
    const QString& slavePath() const { return slave_; }

    // Everything, waiting for room as needed; false if it did not go within timeoutMs.
    bool write(const QByteArray& bytes, int timeoutMs = 3000)
    {
        QElapsedTimer t;
        t.start();
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(master_, bytes.constData() + done, size_t(bytes.size() - done));
            if (n > 0) {
                done += n;
                continue;
            }
            if (n < 0 && errno != EAGAIN && errno != EINTR)
                return false;
            const qint64 left = timeoutMs - t.elapsed();
            if (left <= 0)
                return false;
            pollfd p{master_, POLLOUT, 0};
            ::poll(&p, 1, int(std::min<qint64>(left, 50)));
        }
        return true;
    }
    // Until `count` bytes came or timeoutMs passed.
    QByteArray read(qsizetype count, int timeoutMs = 3000)
    {
        QByteArray out;
        QElapsedTimer t;
        t.start();
        char buf[4096];
        while (out.size() < count && t.elapsed() < timeoutMs) {
            pollfd p{master_, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0)
                continue;
            const ssize_t n = ::read(master_, buf, sizeof buf);
            if (n > 0)
                out.append(buf, n);
        }
        return out;
    }
    void close()
    {
        if (master_ >= 0)
            ::close(master_);
        master_ = -1;
    }

private:
    int master_ = -1;
    QString slave_;
};

QByteArray frame()
{
    return QByteArray::fromHex("8004FF57012D");
}

QByteArray pattern(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + i / 251) & 0xFF);
    return bytes;
}

qint64 processCpuMs()
{
    timespec ts{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return qint64(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

// The component on a pseudo-terminal (or a symlink to one), with what it delivers.
struct PtyFixture {
    explicit PtyFixture(const QString& path = {})
    {
        port.setDevicePath(path.isEmpty() ? pty.slavePath() : path);
        QObject::connect(&port, &SerialPortNG::OnProcessError,
                         [this](int, int code, const QString& msg, int) {
                             reports << msg;
                             codes << code;
                         });
        QObject::connect(&port, &SerialPortNG::OnRxClusterEvent, [this] {
            arrivalNs << clock.nsecsElapsed();
            clusters << port.TakeFirstCluster();
        });
        clock.start();
    }
    QByteArray received() const
    {
        QByteArray all;
        for (const QByteArray& c : clusters)
            all += c;
        return all;
    }

    Pty pty;
    SerialPortNG port;
    QStringList reports;
    QList<int> codes;
    QList<QByteArray> clusters;
    QList<qint64> arrivalNs;
    QElapsedTimer clock;
};

} // namespace

class TestSerialPortPty : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        Pty probe;
        if (!probe.isOpen())
            QSKIP("no pseudo-terminals here");
    }

    void burstArrivesAfterItsQuietTime()
    {
        PtyFixture f;
        f.port.setActive(true);
        QVERIFY(f.port.Active());
        const qint64 sentNs = f.clock.nsecsElapsed();
        QVERIFY(f.pty.write(frame()));
        QTRY_COMPARE_WITH_TIMEOUT(f.clusters.size(), 1, 2000);
        QCOMPARE(f.clusters[0], frame());
        const double delayMs = (f.arrivalNs[0] - sentNs) / 1e6;
        QVERIFY2(delayMs >= 6 * 1.1 + 50, qPrintable(QString::number(delayMs)));
        QVERIFY2(delayMs < 1000, qPrintable(QString::number(delayMs)));
    }

    // A gap shorter than the quiet time does not end the burst. The quiet time is
    // lengthened here so that a writer held up by a busy machine still writes well
    // inside it; the default timing is checked by burstArrivesAfterItsQuietTime.
    void framesTenMsApartArriveTogether()
    {
        PtyFixture f;
        f.port.setRTOExtraDelayTime(400);
        f.port.setActive(true);
        const QByteArray second = QByteArray::fromHex("6803180172");
        qint64 gapMs = 0;
        std::thread writer([&] {
            QElapsedTimer t;
            f.pty.write(frame());
            t.start();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            gapMs = t.elapsed();
            f.pty.write(second);
        });
        writer.join();
        QTRY_VERIFY_WITH_TIMEOUT(!f.clusters.isEmpty(), 3000);
        if (gapMs > 350)
            QSKIP("the writer was held up; the bytes were no longer one burst");
        QCOMPARE(f.clusters[0], frame() + second);
    }

    void floodComesInPiecesOfAtMostClusterSize()
    {
        PtyFixture f;
        // A pseudo-terminal delivers a flood at once, not at 9600 baud, so the tail's
        // quiet time (up to 3071 x 1.1 ms) would be pure waiting here.
        f.port.setRTOCharDelayTime(100);
        f.port.setActive(true);
        const QByteArray sent = pattern(20000);
        bool written = false;
        std::thread writer([&] { written = f.pty.write(sent, 4000); });
        QTRY_VERIFY_WITH_TIMEOUT(f.received().size() >= sent.size(), 4000);
        writer.join();
        QVERIFY(written);
        QCOMPARE(f.received(), sent);
        for (const QByteArray& c : f.clusters)
            QVERIFY2(c.size() <= 3072, qPrintable(QString::number(c.size())));
        QVERIFY(f.clusters.size() >= 7);
    }

    void writtenBytesArriveExactly()
    {
        PtyFixture f;
        f.port.setActive(true);
        f.port.SendData(frame());
        QCOMPARE(f.pty.read(6), frame());
        // More than the terminal takes at once: the worker finishes the write.
        const QByteArray big = pattern(40000);
        f.port.SendData(big);
        QVERIFY(f.port.SendInProgress());
        QCOMPARE(f.pty.read(big.size()), big);
        QTRY_VERIFY_WITH_TIMEOUT(!f.port.SendInProgress(), 2000);
        for (const char* error : {"Error writing Data", "Error write TimeOut", "Error getting Overlapped Result"})
            QVERIFY(!f.reports.contains(error));
    }

    void writeNobodyTakesTimesOut()
    {
        PtyFixture f;
        f.port.setActive(true);
        f.port.setWTOCharDelayTime(0);
        f.port.setWTOExtraDelayTime(100);
        QElapsedTimer t;
        t.start();
        f.port.SendData(pattern(40000));
        QVERIFY(f.port.SendInProgress());
        QTRY_VERIFY_WITH_TIMEOUT(f.reports.contains("Error write TimeOut"), 2000);
        QVERIFY(t.elapsed() >= 100);
        QVERIFY(!f.port.SendInProgress());
        f.port.SendData(frame()); // accepted again (queued behind what the terminal holds)
        QCOMPARE(f.reports.count("Msg, dont enter SendData while SendInProgress is set"), 0);
    }

    // A pseudo-terminal has no modem lines: every RTS and DTR change fails, the port
    // still opens and works.
    void modemLinesFailOnAPseudoTerminal()
    {
        PtyFixture f;
        QObject::disconnect(&f.port, &SerialPortNG::OnRxClusterEvent, nullptr, nullptr);
        StatusLog log;
        log.setClockTicked();
        QStringList texts;
        SerialLink link(f.port, log, [&](const QString& t) { texts << t; });
        QVERIFY(link.RestartPort());
        QVERIFY(f.port.Active());
        QStringList lines;
        for (const QString& l : log.lines())
            lines << l.mid(9);
        QCOMPARE(lines, (QStringList{"SerialNG: Msg start reactivating Port", "SerialNG: Error setting DTR",
                                     "SerialNG: Error setting RTS", "SerialNG: Error clearing RTS"}));
        QCOMPARE(f.codes.last(), ENOTTY);
        QVERIFY(!f.port.RTSState());
        QVERIFY(f.pty.write(frame()));
        QTRY_COMPARE_WITH_TIMEOUT(texts.size(), 1, 2000);
        QVERIFY(texts[0].startsWith(" 80 04 FF 57 01 2D   "));
    }

    // A pseudo-terminal keeps the settings of its last opening and has no parity, so
    // every later opening asks for no change but the parity, which the driver refuses.
    // The line opens each time, and the missing parity is said once.
    void reopensThePseudoTerminalItHadOpen()
    {
        test::VirtualTime time;
        PtyFixture f;
        f.port.setParityType(int(SerialParity::Even));
        StatusLog log;
        SerialLink link(f.port, log, {});
        link.start();
        QVERIFY(link.RestartPort());
        QVERIFY(f.port.Active());
        QVERIFY(link.RestartPort()); // closes and opens again
        QVERIFY(f.port.Active());
        link.ClosePort();
        time.advance(PortSupervisor::SupervisorIntervalMs);
        QVERIFY2(f.port.Active(), qPrintable(f.reports.join('\n')));
        QVERIFY(f.pty.write(frame()));
        QTRY_VERIFY_WITH_TIMEOUT(f.received().endsWith(frame()), 2000);
        QCOMPARE(f.reports.filter("CommState"), QStringList{});
        QCOMPARE(f.reports.filter("parity"),
                 QStringList{"Warning " + f.pty.slavePath() + " cannot do even parity, bus errors go undetected"});
    }

    // A second program on the pseudo-terminal one already has open (zarn started twice
    // against one simulator). Root opens it anyway; anyone else finds it held (TIOCEXCL)
    // until the first lets go, and the supervisor then opens it.
    void secondOpeningOfOnePseudoTerminal()
    {
        test::VirtualTime time;
        PtyFixture first;
        first.port.setParityType(int(SerialParity::Even));
        first.port.setActive(true);
        QVERIFY(first.port.Active());

        SerialPortNG second;
        second.setParityType(int(SerialParity::Even));
        second.setDevicePath(first.pty.slavePath());
        StatusLog log;
        QStringList texts;
        SerialLink link(second, log, [&](const QString& t) { texts << t; });
        link.start();
        link.RestartPort();
        const QStringList lines = test::texts(log);
        QVERIFY2(lines.filter("CommState").isEmpty(), qPrintable(lines.join('\n')));
        if (!second.Active())
            QVERIFY2(lines.contains("SerialNG: Error reopening Port"), qPrintable(lines.join('\n')));

        first.port.setActive(false);
        time.advance(PortSupervisor::SupervisorIntervalMs);
        QVERIFY(second.Active());
        QVERIFY(first.pty.write(frame()));
        QTRY_COMPARE_WITH_TIMEOUT(texts.size(), 1, 2000);
        QCOMPARE(SplitFrames(texts[0]).value(0), QStringLiteral("8004FF57012D"));
    }

    void supervisorOpensADeviceThatAppearsLater()
    {
        test::VirtualTime time;
        QTemporaryDir dir;
        const QString path = dir.filePath("ttyIBUS");
        SerialPortNG port;
        port.setDevicePath(path);
        StatusLog log;
        QStringList texts;
        SerialLink link(port, log, [&](const QString& t) { texts << t; });
        link.start();
        time.advance(PortSupervisor::SupervisorIntervalMs);
        QVERIFY(!port.Active());
        QCOMPARE(test::texts(log).mid(1), (QStringList{"SerialNG: Error reopening Port",
                                                     "Serial device " + path + ": No such file or directory"}));

        Pty pty;
        QVERIFY(QFile::link(pty.slavePath(), path));
        time.advance(PortSupervisor::SupervisorIntervalMs);
        QVERIFY(port.Active());
        QVERIFY(pty.write(frame()));
        QTRY_COMPARE_WITH_TIMEOUT(texts.size(), 1, 2000);
        QCOMPARE(SplitFrames(texts[0]).value(0), QStringLiteral("8004FF57012D"));
    }

    // The far side goes away while the port is open (a USB interface unplugged): one
    // report, the port closes, no busy loop, and it opens again once the device is back.
    void vanishingDeviceClosesAndComesBack()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("ttyIBUS");
        auto first = std::make_unique<Pty>();
        QVERIFY(QFile::link(first->slavePath(), path));
        PtyFixture f(path);
        StatusLog log;
        SerialLink link(f.port, log, {});
        QVERIFY(link.RestartPort());
        QVERIFY(f.port.Active());

        // Its device file goes with it (a freed pts number may soon be another's).
        first->close();
        QVERIFY(QFile::remove(path));
        QTRY_VERIFY_WITH_TIMEOUT(!f.port.Active(), 2000);
        QCOMPARE(f.reports.count("Error reading Data"), 1);
        QCOMPARE(f.codes[f.reports.indexOf("Error reading Data")], EIO);

        const qint64 cpuBefore = processCpuMs();
        QTest::qWait(300); // the window in which a busy loop would show
        QVERIFY2(processCpuMs() - cpuBefore < 100, "the worker spins on a vanished device");
        QCOMPARE(f.reports.count("Error reading Data"), 1);

        link.supervisor().CommPortSupervisorTimer(); // the device is still gone
        QVERIFY(!f.port.Active());

        Pty second;
        QVERIFY(QFile::link(second.slavePath(), path));
        link.supervisor().CommPortSupervisorTimer();
        QVERIFY(f.port.Active());
        QVERIFY(second.write(frame()));
        QTRY_VERIFY_WITH_TIMEOUT(f.received().endsWith(frame()), 2000);
    }
};

QTEST_GUILESS_MAIN(TestSerialPortPty)
#include "tst_serialport_pty.moc"
