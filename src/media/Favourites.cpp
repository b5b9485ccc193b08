#include "media/Favourites.h"

#include "core/FileCopy.h"
#include "core/StatusLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zarn {

namespace {

bool sameContent(const QString& a, const QString& b)
{
    QFile fa(a), fb(b);
    if (fa.size() != fb.size() || !fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly))
        return false;
    while (!fa.atEnd()) {
        if (fa.read(1 << 16) != fb.read(1 << 16))
            return false;
    }
    return true;
}

} // namespace

Favourites::Favourites(StatusLog& log, QObject* parent)
    : QObject(parent)
    , log_(log)
{
}

QString Favourites::directory(const QString& musicRoot)
{
    QString root = musicRoot;
    while (root.endsWith(u'/') && root.size() > 1)
        root.chop(1);
    return root + u'/' + QLatin1String(DirectoryName);
}

bool Favourites::fail(const QString& reason)
{
    emit statusChanged(QLatin1String(FailedText));
    log_.addError(QStringLiteral("Copy to favourites failed: ") + reason);
    return false;
}

bool Favourites::add(const QString& currentTrack, const QString& musicRoot)
{
    if (currentTrack.isEmpty())
        return false;
    // Without a music root the favourites would land in the file system's root.
    if (musicRoot.isEmpty())
        return fail(QStringLiteral("no music root (MP3 File Path) set"));
    const QFileInfo track(currentTrack);
    const QString dir = directory(musicRoot);
    if (!QDir().mkpath(dir) || !QFileInfo(dir).isDir())
        return fail(dir + QStringLiteral(": not a directory that can be made"));

    QString target = dir + u'/' + track.fileName();
    const QFileInfo existing(target);
    if (QDir::cleanPath(currentTrack) == QDir::cleanPath(target)
        || (existing.exists() && existing.canonicalFilePath() == track.canonicalFilePath())) {
        emit statusChanged(QLatin1String(OntoItselfText));
        return false;
    }

    emit statusChanged(QLatin1String(WorkingText));
    // Let the text show before the copy holds the thread.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    QString coverSource, coverPart;
    for (const char* name : {"folder.jpg", "front.jpg", "cover.jpg"}) {
        const QString candidate = track.absolutePath() + u'/' + QLatin1String(name);
        if (QFileInfo::exists(candidate)) {
            coverSource = candidate;
            coverPart = QStringLiteral("and ") + QLatin1String(name);
        }
    }

    // The same track again is already there; a different one of that name keeps its
    // place and this one takes the next free name.
    bool alreadyThere = false;
    if (QFileInfo::exists(target)) {
        if (sameContent(currentTrack, target)) {
            alreadyThere = true;
        } else {
            const QString base = track.completeBaseName();
            const QString suffix = track.suffix().isEmpty() ? QString() : u'.' + track.suffix();
            for (int n = 2;; ++n) {
                const QString candidate = dir + u'/' + base + QStringLiteral(" (%1)").arg(n) + suffix;
                if (!QFileInfo::exists(candidate)) {
                    target = candidate;
                    break;
                } else if (sameContent(currentTrack, candidate)) {
                    target = candidate;
                    alreadyThere = true;
                    break;
                }
            }
        }
    }

    // The track first: a failed copy leaves no picture of it behind.
    QString error;
    if (!alreadyThere && !copyFileWhole(currentTrack, target, &error))
        return fail(error);
    if (!coverSource.isEmpty()) {
        const QString picture = dir + u'/' + QFileInfo(target).completeBaseName() + QStringLiteral(".jpg");
        QString ignored;
        if (!QFileInfo::exists(picture))
            copyFileWhole(coverSource, picture, &ignored); // a favourite without its picture still plays
    }
    emit statusChanged(QStringLiteral("File ") + coverPart + QStringLiteral(" copied to favourites "));
    return true;
}

} // namespace zarn
