// Arbitrary bytes as Zarn_random.txt through the list file reader: line splitting, the
// encoding check and the path checks. Every kept entry must be an absolute path that
// exists, and no line may be both kept and skipped.
#include "ScratchFile.h"
#include "media/RandomListFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QString>

#include <unistd.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = zarn::fuzz::scratchFile(data, size);

    const std::atomic<bool> stop{false};
    const zarn::RandomListFiles::ReadResult r = zarn::RandomListFiles::read(path, stop);
    if (r.openFailed)
        std::abort();
    qsizetype lines = 0;
    for (size_t i = 0; i < size; ++i)
        lines += data[i] == '\n';
    if (size > 0 && data[size - 1] != '\n')
        ++lines;
    if (r.entries.size() + r.skipped > lines)
        std::abort();
    for (const QString& entry : r.entries)
        if (!entry.startsWith(QLatin1Char('/')) || !QFileInfo::exists(entry))
            std::abort();
    return 0;
}
