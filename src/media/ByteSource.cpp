#include "media/ByteSource.h"

#include <QFileInfo>

#include <algorithm>

namespace zarn {

MemorySource::MemorySource(QByteArrayView bytes)
    : bytes_(QByteArray::fromRawData(bytes.data(), bytes.size()))
{
}

MemorySource::MemorySource(QByteArray bytes)
    : bytes_(std::move(bytes))
{
}

QByteArray MemorySource::read(qint64 pos, qint64 len)
{
    if (pos < 0 || len <= 0 || pos >= bytes_.size())
        return {};
    len = std::min(len, bytes_.size() - pos);
    return QByteArray(bytes_.constData() + pos, len);
}

FileSource::FileSource(const QString& path)
    : file_(path)
{
}

bool FileSource::open()
{
    if (!QFileInfo(file_.fileName()).isFile())
        return false;
    if (!file_.open(QIODevice::ReadOnly))
        return false;
    size_ = file_.size();
    return true;
}

QByteArray FileSource::read(qint64 pos, qint64 len)
{
    if (pos < 0 || len <= 0 || pos >= size_ || !file_.seek(pos))
        return {};
    return file_.read(std::min(len, size_ - pos));
}

} // namespace zarn
