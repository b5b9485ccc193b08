#include "core/AppDir.h"

#include <QCoreApplication>
#include <QDir>

namespace zarn {

QString AppDir()
{
    QString dir = qEnvironmentVariable("ZARN_HOME");
    if (dir.isEmpty())
        dir = QCoreApplication::applicationDirPath();
    dir = QDir(dir).absolutePath();
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

} // namespace zarn
