#include "TestSupport.h"

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

QString binaryPath(const QString& name)
{
    return QDir(qEnvironmentVariable("ZARN_BIN_DIR")).filePath(name);
}

QString sourcePath(const QString& relative)
{
    return QDir(qEnvironmentVariable("ZARN_SOURCE_DIR")).filePath(relative);
}

} // namespace zarn::test
