#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>

namespace zarn {

// Random access to the bytes of a file or a buffer, so the tag and frame readers run
// the same way on a track and on a fuzzer's input. Not shared between threads.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual qint64 size() const = 0;
    // At most len bytes from pos; fewer at the end or when the medium fails to deliver.
    virtual QByteArray read(qint64 pos, qint64 len) = 0;
};

// A buffer that the caller keeps alive for the source's lifetime (or owns through
// the QByteArray given).
class MemorySource final : public ByteSource {
public:
    explicit MemorySource(QByteArrayView bytes);
    explicit MemorySource(QByteArray bytes);
    qint64 size() const override { return bytes_.size(); }
    QByteArray read(qint64 pos, qint64 len) override;

private:
    QByteArray bytes_;
};

// A regular file opened read-only: tracks on read-only media read like any other, and
// a reader never changes what it reads. Directories, pipes and devices do not open
// (a pipe would block the caller until someone writes to it).
class FileSource final : public ByteSource {
public:
    explicit FileSource(const QString& path);
    bool open();
    qint64 size() const override { return size_; }
    QByteArray read(qint64 pos, qint64 len) override;

private:
    QFile file_;
    qint64 size_ = 0;
};

} // namespace zarn
