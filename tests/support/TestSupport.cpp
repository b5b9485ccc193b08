#include "TestSupport.h"

#include "core/StatusLog.h"
#include "ibus/FrameText.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace zarn::test {

VirtualTime::VirtualTime(const QDateTime& start)
    : clock(start, &scheduler)
{
    TimerScheduler::setCurrent(&scheduler);
    Clock::setCurrent(&clock);
}

VirtualTime::~VirtualTime()
{
    TimerScheduler::setCurrent(nullptr);
    Clock::setCurrent(nullptr);
}

QByteArray hexBytes(const QString& hex)
{
    return QByteArray::fromHex(hex.toLatin1());
}

QString blockText(const QString& hex)
{
    return ClusterToHexText(hexBytes(hex));
}

QString frame(QString hex)
{
    hex.remove(QLatin1Char(' '));
    int sum = 0;
    for (qsizetype i = 0; i + 1 < hex.size(); i += 2)
        sum ^= hex.mid(i, 2).toInt(nullptr, 16);
    return hex + QStringLiteral("%1").arg(sum, 2, 16, QLatin1Char('0')).toUpper();
}

QStringList texts(const StatusLog& log)
{
    // Every stamp of one format has the same length.
    const qsizetype stamp = log.timeStamp().size() + 1;
    QStringList out;
    for (const QString& line : log.lines())
        out << line.mid(stamp);
    return out;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

QString binaryPath(const QString& name)
{
    return QDir(qEnvironmentVariable("ZARN_BIN_DIR", QStringLiteral(ZARN_DEFAULT_BIN_DIR))).filePath(name);
}

QString sourcePath(const QString& relative)
{
    return QDir(qEnvironmentVariable("ZARN_SOURCE_DIR", QStringLiteral(ZARN_DEFAULT_SOURCE_DIR))).filePath(relative);
}

} // namespace zarn::test
