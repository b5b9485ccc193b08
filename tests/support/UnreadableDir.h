#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <dirent.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace zarn::test {

// Makes a directory refuse to be listed while the object lives: no permissions, and for
// root, who ignores them, this thread gives up its right to override them (threads it
// starts meanwhile inherit that). ok() is false where the directory stays readable (then
// the test should skip). Create it on the thread that starts the work under test.
class UnreadableDir {
public:
    explicit UnreadableDir(const QString& path)
        : path_(QFile::encodeName(path))
    {
        ::stat(path_.constData(), &before_);
        ::chmod(path_.constData(), 0);
        if (!readable()) {
            ok_ = true;
            return;
        }
        if (::syscall(SYS_capget, &header_, saved_) == 0) {
            __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
            reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
            dropped_ = ::syscall(SYS_capset, &header_, reduced) == 0;
        }
        ok_ = dropped_ && !readable();
    }
    ~UnreadableDir()
    {
        if (dropped_)
            ::syscall(SYS_capset, &header_, saved_);
        ::chmod(path_.constData(), before_.st_mode & 07777);
    }
    UnreadableDir(const UnreadableDir&) = delete;
    UnreadableDir& operator=(const UnreadableDir&) = delete;

    bool ok() const { return ok_; }

private:
    bool readable() const
    {
        DIR* dir = ::opendir(path_.constData());
        if (!dir)
            return false;
        ::closedir(dir);
        return true;
    }

    QByteArray path_;
    struct stat before_ {};
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2] {};
    bool dropped_ = false;
    bool ok_ = false;
};

} // namespace zarn::test
