#include "core/FileCopy.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace zarn {

bool copyFileWhole(const QString& source, const QString& target, QString* error)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = source + QStringLiteral(": ") + in.errorString();
        return false;
    }
    const QFileInfo info(target);
    QFile out(info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".part"));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        *error = target + QStringLiteral(": ") + out.errorString();
        return false;
    }
    auto abandon = [&](const QString& why) {
        *error = why;
        out.close();
        out.remove();
        return false;
    };
    QByteArray chunk(1 << 16, Qt::Uninitialized);
    for (;;) {
        const qint64 n = in.read(chunk.data(), chunk.size());
        if (n < 0)
            return abandon(source + QStringLiteral(": ") + in.errorString());
        if (n == 0)
            break;
        if (out.write(chunk.constData(), n) != n)
            return abandon(target + QStringLiteral(": ") + out.errorString());
    }
    if (!out.flush() || ::fsync(out.handle()) != 0)
        return abandon(target + QStringLiteral(": ") + out.errorString());
    out.close();
    // QFile::rename never replaces an existing file.
    if (!out.rename(target))
        return abandon(target + QStringLiteral(": ") + out.errorString());
    return true;
}

} // namespace zarn
