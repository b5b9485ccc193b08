#include "core/AppDir.h"

#include "core/FileCopy.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#ifndef ZARN_INSTALL_BINDIR
#define ZARN_INSTALL_BINDIR "bin"
#endif
#ifndef ZARN_DATA_FROM_BINDIR
#define ZARN_DATA_FROM_BINDIR "../share/zarn"
#endif

namespace zarn {

namespace {

QString executableDir()
{
    // Before the application object exists (--help) the kernel names the executable.
    return QCoreApplication::instance()
        ? QCoreApplication::applicationDirPath()
        : QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath();
}

QString withSlash(QString dir)
{
    dir = QDir(dir).absolutePath();
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

// Installed means: the executable's directory ends in the installation's bin directory
// and is not part of a build tree (whose top holds CMakeCache.txt). The prefix itself is
// not compared, so an unpacked package or a relocated installation counts too.
bool isInstalled(const QString& exeDir)
{
    const QString bin = QDir::cleanPath(QStringLiteral(ZARN_INSTALL_BINDIR));
    if (QDir::isAbsolutePath(bin) ? exeDir != bin : !exeDir.endsWith(QLatin1Char('/') + bin))
        return false;
    QDir dir(exeDir);
    for (int up = 0; up < 2; ++up) {
        if (dir.exists(QStringLiteral("CMakeCache.txt")))
            return false;
        if (!dir.cdUp())
            break;
    }
    return true;
}

QString configHome()
{
    // A relative XDG_CONFIG_HOME is invalid and ignored, as the XDG directories ask.
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (QDir::isAbsolutePath(xdg))
        return xdg;
    return QDir::homePath() + QStringLiteral("/.config");
}

} // namespace

AppDirSource appDirSource()
{
    if (!qEnvironmentVariable("ZARN_HOME").isEmpty())
        return AppDirSource::Environment;
    return isInstalled(executableDir()) ? AppDirSource::Installed : AppDirSource::Executable;
}

QString AppDir()
{
    switch (appDirSource()) {
    case AppDirSource::Environment:
        return withSlash(qEnvironmentVariable("ZARN_HOME"));
    case AppDirSource::Installed:
        return withSlash(configHome() + QStringLiteral("/zarn"));
    case AppDirSource::Executable:
        break;
    }
    return withSlash(executableDir());
}

QString InstalledDataDir()
{
    const QString exeDir = executableDir();
    if (!isInstalled(exeDir))
        return {};
    const QString data = QStringLiteral(ZARN_DATA_FROM_BINDIR);
    return withSlash(QDir::isAbsolutePath(data) ? data : exeDir + QLatin1Char('/') + data);
}

bool SeedAppDir(QString* error)
{
    if (appDirSource() != AppDirSource::Installed)
        return true;
    const QString target = AppDir();
    if (!QDir().mkpath(target)) {
        *error = QStringLiteral("cannot create the program directory ") + target;
        return false;
    }
    const QString source = InstalledDataDir();
    if (!QFileInfo(source).isDir())
        return true;
    QDirIterator it(source, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString to = target + from.mid(source.size());
        if (QFileInfo::exists(to) || QFileInfo(to).isSymLink())
            continue;
        if (!QDir().mkpath(QFileInfo(to).absolutePath())) {
            *error = QStringLiteral("cannot create ") + QFileInfo(to).absolutePath();
            return false;
        }
        // Copied whole or not at all, so a broken copy never passes for the user's file
        // at the next start; it never replaces one.
        QString reason;
        if (!copyFileWhole(from, to, &reason)) {
            if (QFileInfo::exists(to))
                continue; // another instance was quicker
            *error = QStringLiteral("cannot copy %1 to %2: %3").arg(from, to, reason);
            return false;
        }
    }
    return true;
}

} // namespace zarn
