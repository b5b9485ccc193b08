#include "services/SystemProbe.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QLocale>

#include <cmath>

namespace zarn::SystemProbe {

namespace {

// A kernel file is small; reading more than this means it is not what we expect.
constexpr qint64 MaxFileSize = 1 << 20;

QString readSmall(const QString& path, QString* error = nullptr)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = f.errorString();
        return {};
    }
    return QString::fromUtf8(f.read(MaxFileSize));
}

QString readLine(const QString& path)
{
    return readSmall(path).section(QLatin1Char('\n'), 0, 0).trimmed();
}

// The first value of every "key : value" line; ARM kernels put the board's lines after
// the processors, so the whole file is read.
QHash<QString, QString> cpuinfoFields(const QString& text)
{
    QHash<QString, QString> fields;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        if (colon < 0)
            continue;
        const QString key = line.left(colon).trimmed();
        if (!key.isEmpty() && !fields.contains(key))
            fields.insert(key, line.mid(colon + 1).trimmed());
    }
    return fields;
}

QString vendorNameOf(const QString& vendorId)
{
    static const QHash<QString, QString> names{
        {QStringLiteral("GenuineIntel"), QStringLiteral("Intel")},
        {QStringLiteral("AuthenticAMD"), QStringLiteral("AMD")},
        {QStringLiteral("HygonGenuine"), QStringLiteral("Hygon")},
        {QStringLiteral("CentaurHauls"), QStringLiteral("Centaur")},
        // ARM implementer codes
        {QStringLiteral("0x41"), QStringLiteral("ARM")},
        {QStringLiteral("0x42"), QStringLiteral("Broadcom")},
        {QStringLiteral("0x43"), QStringLiteral("Cavium")},
        {QStringLiteral("0x48"), QStringLiteral("HiSilicon")},
        {QStringLiteral("0x4e"), QStringLiteral("NVIDIA")},
        {QStringLiteral("0x50"), QStringLiteral("APM")},
        {QStringLiteral("0x51"), QStringLiteral("Qualcomm")},
        {QStringLiteral("0x53"), QStringLiteral("Samsung")},
        {QStringLiteral("0x56"), QStringLiteral("Marvell")},
        {QStringLiteral("0x61"), QStringLiteral("Apple")},
        {QStringLiteral("0x69"), QStringLiteral("Intel")},
        {QStringLiteral("0xc0"), QStringLiteral("Ampere")},
    };
    return names.value(vendorId.toLower().startsWith(QLatin1String("0x")) ? vendorId.toLower() : vendorId);
}

std::optional<qint64> number(const QString& text)
{
    bool ok = false;
    const qint64 v = text.toLongLong(&ok);
    return ok ? std::optional(v) : std::nullopt;
}

} // namespace

Processor readProcessor(const QString& procRoot, const QString& sysRoot)
{
    const QHash<QString, QString> f = cpuinfoFields(readSmall(procRoot + QStringLiteral("/cpuinfo")));
    Processor p;
    p.vendorId = f.value(QStringLiteral("vendor_id"), f.value(QStringLiteral("CPU implementer")));
    p.vendorName = vendorNameOf(p.vendorId);
    for (const char* key : {"model name", "Model", "Hardware", "Processor", "cpu model", "cpu"}) {
        p.name = f.value(QLatin1String(key));
        if (!p.name.isEmpty())
            break;
    }
    bool ok = false;
    const double mhz = f.value(QStringLiteral("cpu MHz")).toDouble(&ok);
    if (ok && mhz > 0)
        p.mhz = int(std::lround(mhz));
    else if (const auto khz = number(readLine(sysRoot + QStringLiteral("/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq")));
             khz && *khz > 0)
        p.mhz = int(*khz / 1000);
    return p;
}

QString processorText(const Processor& p)
{
    QStringList parts;
    for (const QString& s : {p.vendorName, p.name, p.vendorId})
        if (!s.isEmpty())
            parts << s;
    return parts.isEmpty() ? QStringLiteral("Unknown processor") : parts.join(QLatin1Char(' '));
}

QString mhzText(const Processor& p)
{
    return p.mhz > 0 ? QString::number(p.mhz) : QStringLiteral("unknown");
}

std::optional<CpuCounters> readCpuCounters(const QString& procRoot, QString* error)
{
    QString reason;
    const QString text = readSmall(procRoot + QStringLiteral("/stat"), &reason);
    QString aggregate;
    QString first;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("cpu0 ")))
            first = line;
        else if (line.startsWith(QLatin1String("cpu ")))
            aggregate = line;
    }
    // A kernel without per-processor lines still has the sum of them.
    const QString line = first.isEmpty() ? aggregate : first;
    const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    std::vector<quint64> values;
    for (qsizetype i = 1; i < fields.size() && i <= 8; ++i) {
        bool ok = false;
        values.push_back(fields[i].toULongLong(&ok));
        if (!ok)
            break;
    }
    if (values.size() < 4) {
        if (error)
            *error = QStringLiteral("Unable to read performance data")
                     + (reason.isEmpty() ? QString() : QStringLiteral(": ") + reason);
        return std::nullopt;
    }
    CpuCounters c;
    c.idle = values[3] + (values.size() > 4 ? values[4] : 0);
    for (quint64 v : values)
        c.total += v;
    return c;
}

double busyFraction(const CpuCounters& previous, const CpuCounters& latest)
{
    if (latest.total <= previous.total)
        return 0;
    const double elapsed = double(latest.total - previous.total);
    const double idle = latest.idle > previous.idle ? double(latest.idle - previous.idle) : 0;
    return std::clamp(1.0 - idle / elapsed, 0.0, 1.0);
}

QString loadText(double fraction)
{
    QString text = QString::asprintf("%04.1f", fraction * 100);
    return text.replace(QLatin1Char('.'), QLocale::system().decimalPoint());
}

QString memoryText(const QString& procRoot)
{
    QHash<QString, qint64> kb;
    for (const QString& line : readSmall(procRoot + QStringLiteral("/meminfo")).split(QLatin1Char('\n'))) {
        const QStringList f = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (f.size() >= 2 && f[0].endsWith(QLatin1Char(':')))
            if (const auto v = number(f[1]))
                kb.insert(f[0].chopped(1), *v);
    }
    const qint64 total = kb.value(QStringLiteral("MemTotal"));
    if (total <= 0)
        return QStringLiteral("Memory figures not available");
    // Kernels before 3.14 have no MemAvailable.
    const qint64 avail = kb.contains(QStringLiteral("MemAvailable"))
                             ? kb.value(QStringLiteral("MemAvailable"))
                             : kb.value(QStringLiteral("MemFree")) + kb.value(QStringLiteral("Buffers"))
                                   + kb.value(QStringLiteral("Cached"));
    return QString::number(avail / 1024) + QStringLiteral(" MB avail. phys. memory, ") + QString::number(total / 1024)
           + QStringLiteral(" MB total phys. memory");
}

PowerStatus readPower(const QString& sysRoot)
{
    const QDir dir(sysRoot + QStringLiteral("/class/power_supply"));
    bool mainsSeen = false;
    bool mainsOnline = false;
    bool battery = false;
    QString status;
    std::optional<qint64> capacity;
    QString level;
    for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString base = dir.filePath(name) + QLatin1Char('/');
        const QString type = readLine(base + QStringLiteral("type"));
        if (type == QLatin1String("Battery")) {
            // A wireless mouse's battery is no power source of the PC.
            if (battery || readLine(base + QStringLiteral("scope")) == QLatin1String("Device")
                || readLine(base + QStringLiteral("present")) == QLatin1String("0"))
                continue;
            battery = true;
            status = readLine(base + QStringLiteral("status"));
            capacity = number(readLine(base + QStringLiteral("capacity")));
            if (capacity && (*capacity < 0 || *capacity > 100))
                capacity.reset();
            level = readLine(base + QStringLiteral("capacity_level"));
        } else if (QFile::exists(base + QStringLiteral("online"))) {
            mainsSeen = true;
            mainsOnline = mainsOnline || readLine(base + QStringLiteral("online")) == QLatin1String("1");
        }
    }

    PowerStatus s;
    if (mainsOnline)
        s.source = 1;
    else if (mainsSeen)
        s.source = battery ? 0 : 255;
    else if (!battery)
        s.source = 1; // a PC without battery and without supply entries runs on external power
    else if (status == QLatin1String("Discharging"))
        s.source = 0;
    else if (status == QLatin1String("Charging") || status == QLatin1String("Full") || status == QLatin1String("Not charging"))
        s.source = 1;

    if (!battery) {
        s.batteryFlag = 128;
        return s;
    }
    int flag = 255;
    if (capacity) {
        s.charge = int(*capacity);
        flag = *capacity > 66 ? 1 : *capacity < 5 ? 4 : *capacity < 33 ? 2 : 0;
    } else if (level == QLatin1String("Full") || level == QLatin1String("High")) {
        flag = 1;
    } else if (level == QLatin1String("Low")) {
        flag = 2;
    } else if (level == QLatin1String("Critical")) {
        flag = 4;
    } else if (level == QLatin1String("Normal")) {
        flag = 0;
    }
    if (status == QLatin1String("Charging"))
        flag = flag == 255 ? 8 : flag | 8;
    s.batteryFlag = flag;
    return s;
}

QString powerText(const PowerStatus& s)
{
    QString text = s.source == 0   ? QStringLiteral("Internal Power, ")
                   : s.source == 1 ? QStringLiteral("External Power, ")
                                   : QStringLiteral("Powersource unknown, ");
    switch (s.batteryFlag) {
    case 1: text += QStringLiteral("battery good, "); break;
    case 2: text += QStringLiteral("battery low, "); break;
    case 4: text += QStringLiteral("battery critical, "); break;
    case 8: text += QStringLiteral("battery loading, "); break;
    case 128: text += QStringLiteral("no battery, "); break;
    case 255: text += QStringLiteral("no battery info, "); break;
    default: break; // combinations of flags say nothing
    }
    if (s.charge >= 0 && s.charge <= 100)
        text += QString::number(s.charge) + QStringLiteral(" %");
    else
        text += QStringLiteral("no info on % load");
    return text;
}

} // namespace zarn::SystemProbe
