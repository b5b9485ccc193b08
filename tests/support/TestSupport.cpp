#include "TestSupport.h"

#include "core/StatusLog.h"
#include "ibus/FrameText.h"

#include <QDir>

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

QStringList texts(const StatusLog& log)
{
    // Every stamp of one format has the same length.
    const qsizetype stamp = log.timeStamp().size() + 1;
    QStringList out;
    for (const QString& line : log.lines())
        out << line.mid(stamp);
    return out;
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
