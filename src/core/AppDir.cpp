#include "core/AppDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zarn {

QString AppDir()
{
    QString dir = qEnvironmentVariable("ZARN_HOME");
    // Before the application object exists (--help) the kernel names the executable.
    if (dir.isEmpty())
        dir = QCoreApplication::instance()
            ? QCoreApplication::applicationDirPath()
            : QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath();
    dir = QDir(dir).absolutePath();
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

} // namespace zarn
