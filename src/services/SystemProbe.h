#pragma once

#include <QString>

#include <optional>

namespace zarn {

// What the system page reads from the kernel's files: /proc/cpuinfo, /proc/stat,
// /proc/meminfo and /sys/class/power_supply below the roots given (fixture trees in
// tests). Every function copes with a missing, empty or truncated file. Any thread.
namespace SystemProbe {

struct Processor {
    QString vendorName; // "Intel", "AMD", "ARM", ...
    QString name;       // the model name, or the board's name where the kernel gives none
    QString vendorId;   // what the processor reports: "GenuineIntel", "0x41", ...
    int mhz = 0;        // 0: the clock speed is not known
};
Processor readProcessor(const QString& procRoot, const QString& sysRoot);
// vendor name + " " + name + " " + vendor identification
QString processorText(const Processor& p);
// "1800", or "unknown" when the speed is not known
QString mhzText(const Processor& p);

// The first processor's counters from /proc/stat, in clock ticks.
struct CpuCounters {
    quint64 idle = 0;  // idle + iowait
    quint64 total = 0; // every field but the guest ones (they are counted in user and nice)
};
// Nothing when the file is missing or has no readable processor line; error says why.
std::optional<CpuCounters> readCpuCounters(const QString& procRoot, QString* error = nullptr);
// The busy fraction between two readings, 0..1; 0 when no time passed between them.
double busyFraction(const CpuCounters& previous, const CpuCounters& latest);
// "07.5": at least two digits before the separator, one after it.
QString loadText(double fraction);

// "<avail> MB avail. phys. memory, <total> MB total phys. memory", or a text saying the
// figures are not available.
QString memoryText(const QString& procRoot);

// The three figures the power item is made of.
struct PowerStatus {
    int source = 255;      // 0 battery, 1 mains, 255 unknown
    int batteryFlag = 255; // 1 high, 2 low, 4 critical, 8 charging (may combine), 128 none, 255 unknown
    int charge = 255;      // 0..100, 255 unknown
};
PowerStatus readPower(const QString& sysRoot);
QString powerText(const PowerStatus& status);

} // namespace SystemProbe

} // namespace zarn
