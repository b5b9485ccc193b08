#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace zarn::test {

// Makes a directory refuse new files while the object lives: read-only permissions,
// and for root, who ignores them, the file system's immutable flag. ok() is false
// where neither works (then the test should skip).
class ReadOnlyDir {
public:
    explicit ReadOnlyDir(const QString& path)
        : path_(path)
        , permissions_(QFile::permissions(path))
    {
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
        if (!canCreate()) {
            ok_ = true;
            return;
        }
        immutable_ = setImmutable(true);
        ok_ = immutable_ && !canCreate();
    }
    ~ReadOnlyDir()
    {
        if (immutable_)
            setImmutable(false);
        QFile::setPermissions(path_, permissions_);
    }
    ReadOnlyDir(const ReadOnlyDir&) = delete;
    ReadOnlyDir& operator=(const ReadOnlyDir&) = delete;

    bool ok() const { return ok_; }

private:
    bool canCreate() const
    {
        const QByteArray probe = QFile::encodeName(path_ + QStringLiteral("/.probe"));
        const int fd = ::open(probe.constData(), O_CREAT | O_EXCL | O_WRONLY, 0600);
        if (fd < 0)
            return false;
        ::close(fd);
        ::unlink(probe.constData());
        return true;
    }
    bool setImmutable(bool on) const
    {
        const int fd = ::open(QFile::encodeName(path_).constData(), O_RDONLY | O_DIRECTORY);
        if (fd < 0)
            return false;
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (done) {
            flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
            done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
        return done;
    }

    QString path_;
    QFile::Permissions permissions_;
    bool immutable_ = false;
    bool ok_ = false;
};

} // namespace zarn::test
