// The system page's values from fixture trees standing in for /proc and /sys, the load
// on virtual time and the network check with a scripted network.
#include "core/StatusLog.h"
#include "services/SystemStatus.h"
#include "TestSupport.h"
#include "core/TimerScheduler.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace zarn;

namespace {

// "relative/path=contents" lines; the contents use \n escapes.
using Tree = QList<QPair<QString, QByteArray>>;
using Samples = QList<QPair<int, int>>; // idle, total ticks of cpu0

struct Fixture {
    QTemporaryDir dir;
    SystemStatus::Roots roots{dir.filePath("proc"), dir.filePath("sys")};

    Fixture()
    {
        QDir().mkpath(roots.proc);
        QDir().mkpath(roots.sys);
    }
    void write(const QString& relative, const QByteArray& contents)
    {
        const QString path = dir.filePath(relative);
        QDir().mkpath(QFileInfo(path).path());
        test::writeAll(path, contents);
    }
    void write(const Tree& tree)
    {
        for (const auto& [path, contents] : tree)
            write(path, contents);
    }
};

const QByteArray IntelCpuinfo = "processor\t: 0\nvendor_id\t: GenuineIntel\ncpu family\t: 6\n"
                                "model name\t: Intel(R) Core(TM) i5-8250U CPU @ 1.60GHz\ncpu MHz\t\t: 1799.998\n\n"
                                "processor\t: 1\nvendor_id\t: GenuineIntel\n"
                                "model name\t: Intel(R) Core(TM) i5-8250U CPU @ 1.60GHz\ncpu MHz\t\t: 3400.000\n\n";
// A 64-bit Raspberry Pi: no MHz, no model name; the board's lines come last.
const QByteArray PiCpuinfo = "processor\t: 0\nBogoMIPS\t: 108.00\nFeatures\t: fp asimd evtstrm crc32 cpuid\n"
                             "CPU implementer\t: 0x41\nCPU architecture: 8\nCPU variant\t: 0x0\nCPU part\t: 0xd08\n"
                             "CPU revision\t: 3\n\nprocessor\t: 1\nBogoMIPS\t: 108.00\nCPU implementer\t: 0x41\n\n"
                             "Hardware\t: BCM2835\nRevision\t: c03114\nModel\t\t: Raspberry Pi 4 Model B Rev 1.4\n";

// /proc/stat with the first processor at the given idle and total ticks (user takes the rest).
QByteArray statWith(quint64 idle, quint64 total)
{
    const QByteArray cpu0 = "cpu0 " + QByteArray::number(total - idle) + " 0 0 " + QByteArray::number(idle) + " 0 0 0 0 0 0\n";
    // The sum over all processors is deliberately different: the first processor counts.
    return "cpu  1 0 0 99999 0 0 0 0 0 0\n" + cpu0 + "cpu1 5 0 0 5 0 0 0 0 0 0\nintr 0\nctxt 0\n";
}

struct ScriptedNetwork {
    QList<std::function<void(const QString&)>> pending;
    QString address = QStringLiteral("192.168.0.10");
    int addressLookups = 0;

    SystemStatus::NetworkProbe probe()
    {
        SystemStatus::NetworkProbe p;
        p.resolve = [this](const QString&, QObject*, std::function<void(const QString&)> done) { pending << done; };
        p.localAddress = [this] {
            ++addressLookups;
            return address;
        };
        return p;
    }
    void answer(const QString& error = {}) { pending.takeFirst()(error); }
};

} // namespace

class TestSystemStatus : public QObject {
    Q_OBJECT
private slots:
    void processorAndSpeed_data()
    {
        QTest::addColumn<Tree>("tree");
        QTest::addColumn<QString>("processor");
        QTest::addColumn<QString>("speed");
        QTest::addColumn<QString>("cluster");

        QTest::addRow("x86, the first processor's MHz")
            << Tree{{"proc/cpuinfo", IntelCpuinfo}}
            << "Intel Intel(R) Core(TM) i5-8250U CPU @ 1.60GHz GenuineIntel" << "System running at 1800 Mhz"
            << "CPU at 1800 Mhz";
        QTest::addRow("ARM board, MHz from cpufreq")
            << Tree{{"proc/cpuinfo", PiCpuinfo}, {"sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq", "1800000\n"}}
            << "ARM Raspberry Pi 4 Model B Rev 1.4 0x41" << "System running at 1800 Mhz" << "CPU at 1800 Mhz";
        QTest::addRow("ARM board without any MHz")
            << Tree{{"proc/cpuinfo", PiCpuinfo}} << "ARM Raspberry Pi 4 Model B Rev 1.4 0x41"
            << "System running at an unknown clock speed" << "CPU speed unknown";
        QTest::addRow("empty cpuinfo") << Tree{{"proc/cpuinfo", ""}} << "Unknown processor"
                                       << "System running at an unknown clock speed" << "CPU speed unknown";
        QTest::addRow("cpuinfo cut in a line")
            << Tree{{"proc/cpuinfo", "processor\t: 0\nvendor_id\t: AuthenticAMD\nmodel na"}} << "AMD AuthenticAMD"
            << "System running at an unknown clock speed" << "CPU speed unknown";
        QTest::addRow("no cpuinfo") << Tree{} << "Unknown processor" << "System running at an unknown clock speed"
                                    << "CPU speed unknown";
    }
    void processorAndSpeed()
    {
        QFETCH(Tree, tree);
        Fixture f;
        f.write(tree);
        ManualTimerScheduler scheduler;
        StatusLog log;
        SystemStatus status(log, f.roots, &scheduler);
        status.start();
        QFETCH(QString, processor);
        QFETCH(QString, speed);
        QFETCH(QString, cluster);
        QCOMPARE(status.processorText(), processor);
        QCOMPARE(status.speedText(), speed);
        QCOMPARE(status.clusterText(), cluster);
    }

    // Successive /proc/stat readings, one per 900 ms tick after the one taken at start.
    void loadEveryTick_data()
    {
        QTest::addColumn<Samples>("samples");
        QTest::addColumn<QStringList>("loads");
        using S = Samples;
        QTest::addRow("7.5 %, full, no time passed")
            << S{{1000, 2000}, {1925, 3000}, {1925, 3090}, {1925, 3090}} << QStringList{"07.5", "100.0", "00.0"};
        QTest::addRow("idle, counters running backwards")
            << S{{500, 1000}, {1400, 1900}, {100, 200}} << QStringList{"00.0", "00.0"};
        QTest::addRow("half, then 99.9 %") << S{{0, 0}, {50, 100}, {51, 1100}} << QStringList{"50.0", "99.9"};
    }
    void loadEveryTick()
    {
        QFETCH(Samples, samples);
        QFETCH(QStringList, loads);
        Fixture f;
        f.write("proc/cpuinfo", IntelCpuinfo);
        f.write("proc/stat", statWith(samples[0].first, samples[0].second));
        ManualTimerScheduler scheduler;
        StatusLog log;
        SystemStatus status(log, f.roots, &scheduler);
        status.start();
        QStringList seen;
        for (qsizetype i = 1; i < samples.size(); ++i) {
            f.write("proc/stat", statWith(samples[i].first, samples[i].second));
            scheduler.advance(SystemStatus::LoadIntervalMs);
            const QString prefix = QStringLiteral("System running at 1800 Mhz,  CPU busy = ");
            QVERIFY2(status.speedLoadText().startsWith(prefix) && status.speedLoadText().endsWith(QLatin1Char('%')),
                     qPrintable(status.speedLoadText()));
            seen << status.speedLoadText().mid(prefix.size()).chopped(1);
        }
        QCOMPARE(seen, loads);
        QVERIFY(log.lines().isEmpty());
    }

    void firstTickWithoutEarlierSampleShowsZero()
    {
        Fixture f;
        f.write("proc/cpuinfo", IntelCpuinfo);
        ManualTimerScheduler scheduler;
        StatusLog log;
        SystemStatus status(log, f.roots, &scheduler);
        status.start(); // no /proc/stat yet
        f.write("proc/stat", statWith(100, 1000));
        scheduler.advance(SystemStatus::LoadIntervalMs);
        QCOMPARE(status.speedLoadText(), QStringLiteral("System running at 1800 Mhz,  CPU busy = 00.0%"));
    }

    void unreadableCountersAreReportedOnceAndRecover_data()
    {
        QTest::addColumn<QByteArray>("stat");
        QTest::addRow("empty") << QByteArray();
        QTest::addRow("cut after two fields") << QByteArray("cpu  4705 356 ");
        QTest::addRow("no processor line") << QByteArray("intr 114930548\nctxt 1990473\n");
    }
    void unreadableCountersAreReportedOnceAndRecover()
    {
        QFETCH(QByteArray, stat);
        Fixture f;
        f.write("proc/cpuinfo", IntelCpuinfo);
        f.write("proc/stat", statWith(1000, 2000));
        ManualTimerScheduler scheduler;
        StatusLog log;
        QStringList alerts;
        log.setAlertSink([&alerts](const QString& line) { alerts << line; });
        SystemStatus status(log, f.roots, &scheduler);
        status.start();
        f.write("proc/stat", stat);
        scheduler.advance(3 * SystemStatus::LoadIntervalMs);
        QCOMPARE(test::texts(log), QStringList{"Unable to read performance data"});
        QCOMPARE(alerts.size(), 1);
        QCOMPARE(status.speedLoadText(), QStringLiteral("System running at 1800 Mhz"));

        f.write("proc/stat", statWith(1500, 3000));
        scheduler.advance(SystemStatus::LoadIntervalMs);
        QCOMPARE(status.speedLoadText(), QStringLiteral("System running at 1800 Mhz,  CPU busy = 50.0%"));
    }

    void memory_data()
    {
        QTest::addColumn<QByteArray>("meminfo");
        QTest::addColumn<QString>("text");
        QTest::addRow("MemAvailable, fractions dropped")
            << QByteArray("MemTotal:       16308224 kB\nMemFree:         1015808 kB\nMemAvailable:    8154112 kB\n")
            << "7963 MB avail. phys. memory, 15926 MB total phys. memory";
        QTest::addRow("old kernel: free, buffers and cache")
            << QByteArray("MemTotal: 1048576 kB\nMemFree: 102400 kB\nBuffers: 51200 kB\nCached: 204800 kB\n")
            << "350 MB avail. phys. memory, 1024 MB total phys. memory";
        QTest::addRow("empty") << QByteArray() << "Memory figures not available";
        QTest::addRow("cut before the total") << QByteArray("MemTot") << "Memory figures not available";
    }
    void memory()
    {
        QFETCH(QByteArray, meminfo);
        QFETCH(QString, text);
        Fixture f;
        f.write("proc/meminfo", meminfo);
        StatusLog log;
        ManualTimerScheduler scheduler;
        SystemStatus status(log, f.roots, &scheduler);
        QCOMPARE(status.memoryText(), text);
    }

    void power_data()
    {
        QTest::addColumn<Tree>("tree");
        QTest::addColumn<QString>("text");
        const QString ps = QStringLiteral("sys/class/power_supply/");
        const auto mains = [&](const char* online) {
            return Tree{{ps + "AC/type", "Mains\n"}, {ps + "AC/online", online}};
        };
        const auto battery = [&](const char* status, const char* capacity) {
            return Tree{{ps + "BAT0/type", "Battery\n"}, {ps + "BAT0/status", status}, {ps + "BAT0/capacity", capacity}};
        };
        QTest::addRow("laptop on battery") << mains("0\n") + battery("Discharging\n", "80\n")
                                           << "Internal Power, battery good, 80 %";
        QTest::addRow("low") << mains("0\n") + battery("Discharging\n", "20\n") << "Internal Power, battery low, 20 %";
        QTest::addRow("critical") << mains("0\n") + battery("Discharging\n", "3\n")
                                  << "Internal Power, battery critical, 3 %";
        QTest::addRow("charging, half full") << mains("1\n") + battery("Charging\n", "50\n")
                                             << "External Power, battery loading, 50 %";
        // Charging and high are two flags at once: no battery word.
        QTest::addRow("charging and high") << mains("1\n") + battery("Charging\n", "97\n") << "External Power, 97 %";
        QTest::addRow("desktop without battery") << Tree{{ps + ".keep", ""}} << "External Power, no battery, no info on % load";
        QTest::addRow("no power_supply at all") << Tree{} << "External Power, no battery, no info on % load";
        QTest::addRow("mains and a mouse's battery")
            << mains("1\n") + Tree{{ps + "hidpp_battery_0/type", "Battery\n"}, {ps + "hidpp_battery_0/scope", "Device\n"},
                                   {ps + "hidpp_battery_0/capacity", "40\n"}}
            << "External Power, no battery, no info on % load";
        QTest::addRow("battery files empty") << battery("", "") << "Powersource unknown, no battery info, no info on % load";
        QTest::addRow("level without capacity")
            << Tree{{ps + "BAT1/type", "Battery\n"}, {ps + "BAT1/status", "Discharging\n"}, {ps + "BAT1/capacity_level", "Low\n"}}
            << "Internal Power, battery low, no info on % load";
    }
    void power()
    {
        QFETCH(Tree, tree);
        QFETCH(QString, text);
        Fixture f;
        f.write(tree);
        StatusLog log;
        ManualTimerScheduler scheduler;
        SystemStatus status(log, f.roots, &scheduler);
        QCOMPARE(status.powerText(), text);
    }

    void networkCheckShowsTheAddressAfterEachFailure()
    {
        Fixture f;
        f.write("proc/stat", statWith(0, 0));
        ManualTimerScheduler scheduler;
        StatusLog log;
        ScriptedNetwork net;
        SystemStatus status(log, f.roots, &scheduler);
        status.setNetworkProbe(net.probe());
        status.start();
        QCOMPARE(status.networkText(), QStringLiteral("No ip connection present"));

        status.Timer1Timer();
        net.answer();
        QCOMPARE(status.networkText(), QStringLiteral("IP is 192.168.0.10"));
        // The next check finds the network again: the address is not looked up again.
        scheduler.advance(SystemStatus::NetworkIntervalMs);
        QCOMPARE(net.pending.size(), 1);
        net.address = QStringLiteral("10.0.0.7");
        net.answer();
        QCOMPARE(net.addressLookups, 1);
        QCOMPARE(status.networkText(), QStringLiteral("IP is 192.168.0.10"));

        status.Timer1Timer();
        net.answer(QStringLiteral("Host Lookup Failed"));
        QCOMPARE(status.networkText(), QStringLiteral("No ip connection present"));
        QVERIFY(!status.IpShown());
        status.Timer1Timer();
        net.answer();
        QCOMPARE(status.networkText(), QStringLiteral("IP is 10.0.0.7"));
        QCOMPARE(net.addressLookups, 2);
        QVERIFY(log.lines().isEmpty());
    }

    void lookupThatNeverAnswersTimesOut()
    {
        Fixture f;
        ManualTimerScheduler scheduler;
        StatusLog log;
        ScriptedNetwork net;
        SystemStatus status(log, f.roots, &scheduler);
        status.setNetworkProbe(net.probe());
        status.Timer1Timer();
        net.answer();
        QCOMPARE(status.networkText(), QStringLiteral("IP is 192.168.0.10"));

        status.Timer1Timer();
        // A second request while the look-up is under way starts no second one.
        status.Timer1Timer();
        QCOMPARE(net.pending.size(), 1);
        scheduler.advance(SystemStatus::LookupTimeoutMs - 1);
        QCOMPARE(status.networkText(), QStringLiteral("IP is 192.168.0.10"));
        scheduler.advance(1);
        QCOMPARE(status.networkText(), QStringLiteral("No ip connection present"));
        QVERIFY(!status.lookupPending());
        // Its late answer does not count.
        net.answer();
        QCOMPARE(status.networkText(), QStringLiteral("No ip connection present"));
        QCOMPARE(net.addressLookups, 1);
    }

    void numericHostAndNoAddress()
    {
        Fixture f;
        ManualTimerScheduler scheduler;
        StatusLog log;
        ScriptedNetwork net;
        SystemStatus status(log, f.roots, &scheduler);
        status.setNetworkProbe(net.probe());
        status.setHost(QStringLiteral("9.9.9.9"));
        net.address.clear(); // every interface down
        status.Timer1Timer();
        QVERIFY(net.pending.isEmpty());
        QCOMPARE(status.networkText(), QStringLiteral("No ip connection present"));
        net.address = QStringLiteral("172.16.1.2");
        status.Timer1Timer();
        QCOMPARE(status.networkText(), QStringLiteral("IP is 172.16.1.2"));
    }

    void stopEndsTheNetworkCheckButNotTheLoad()
    {
        Fixture f;
        f.write("proc/stat", statWith(0, 0));
        ManualTimerScheduler scheduler;
        StatusLog log;
        ScriptedNetwork net;
        SystemStatus status(log, f.roots, &scheduler);
        status.setNetworkProbe(net.probe());
        status.start();
        status.stop();
        f.write("proc/stat", statWith(100, 1000));
        scheduler.advance(SystemStatus::LoadIntervalMs);
        QVERIFY(status.speedLoadText().endsWith(QLatin1String("CPU busy = 90.0%")));
        scheduler.advance(2 * SystemStatus::NetworkIntervalMs);
        QVERIFY(net.pending.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSystemStatus)
#include "tst_systemstatus.moc"
