#pragma once
// For the readers that take a file path: each input is written over one file of the run.
#include <QFile>
#include <QString>

#include <cstdint>
#include <cstdlib>

#include <unistd.h>

namespace zarn::fuzz {

// The path of a file that holds exactly these bytes; the same file for the whole run.
inline QString scratchFile(const uint8_t* data, size_t size)
{
    static const QString path = [] {
        char name[] = "/tmp/zarn-fuzz-XXXXXX";
        const int fd = mkstemp(name);
        if (fd < 0)
            std::abort();
        close(fd);
        return QString::fromLocal8Bit(name);
    }();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    file.close();
    return path;
}

} // namespace zarn::fuzz
