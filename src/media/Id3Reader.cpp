#include "media/Id3Reader.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <optional>

namespace zarn {

namespace {

constexpr std::array<const char*, 80> Id3v1Genres = {
    "Blues", "Classic Rock", "Country", "Dance", "Disco", "Funk", "Grunge", "Hip - Hop",
    "Jazz", "Metal", "New Age", "Oldies", "Other", "Pop", "R&B", "Rap", "Reggae", "Rock",
    "Techno", "Industrial", "Alternative", "Ska", "Death Metal", "Pranks", "Soundtrack",
    "Euro - Techno", "Ambient", "Trip - Hop", "Vocal", "Jazz + Funk", "Fusion", "Trance",
    "Classical", "Instrumental", "Acid", "House", "Game", "Sound Clip", "Gospel", "Noise",
    "AlternRock", "Bass", "Soul", "Punk", "Space", "Meditative", "Instrumental Pop",
    "Instrumental Rock", "Ethnic", "Gothic", "Darkwave", "Techno - Industrial", "Electronic",
    "Pop - Folk", "Eurodance", "Dream", "Southern Rock", "Comedy", "Cult", "Gangsta",
    "Top 40", "Christian Rap", "Pop / Funk", "Jungle", "Native American", "Cabaret",
    "New Wave", "Psychadelic", "Rave", "Showtunes", "Trailer", "Lo - Fi", "Tribal",
    "Acid Punk", "Acid Jazz", "Polka", "Retro", "Musical", "Rock & Roll", "Hard Rock"};

constexpr qint64 HeaderSize = 10; // "ID3", version, revision, flags, size

// Tag header flags.
constexpr uchar TagUnsync = 0x80;
constexpr uchar TagExtended = 0x40; // in v2.2 this bit means a compressed tag instead
// (a footer, 0x10 in v2.4, only matters to whoever looks for the audio after the tag)

// Frame format flags, second flag byte.
constexpr uchar V3Compressed = 0x80;
constexpr uchar V3Encrypted = 0x40;
constexpr uchar V3Grouped = 0x20;
constexpr uchar V4Grouped = 0x40;
constexpr uchar V4Compressed = 0x08;
constexpr uchar V4Encrypted = 0x04;
constexpr uchar V4Unsync = 0x02;
constexpr uchar V4LengthIndicator = 0x01;

quint32 bigEndian(const uchar* p, int n)
{
    quint32 v = 0;
    for (int i = 0; i < n; ++i)
        v = (v << 8) | p[i];
    return v;
}

// The 7-bit form of the standard; nullopt when a byte has its top bit set.
std::optional<quint32> syncsafe(const uchar* p)
{
    quint32 v = 0;
    for (int i = 0; i < 4; ++i) {
        if (p[i] & 0x80)
            return std::nullopt;
        v = (v << 7) | p[i];
    }
    return v;
}

const uchar* bytesOf(const QByteArray& a) { return reinterpret_cast<const uchar*>(a.constData()); }

QByteArray resynchronised(QByteArrayView data)
{
    QByteArray out;
    out.reserve(data.size());
    for (qsizetype i = 0; i < data.size(); ++i) {
        out.append(data[i]);
        if (uchar(data[i]) == 0xFF && i + 1 < data.size() && data[i + 1] == 0)
            ++i;
    }
    return out;
}

enum class Inflate { Ok, TooLarge, Damaged };

Inflate inflateBounded(QByteArrayView in, qint64 bound, QByteArray* out)
{
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        return Inflate::Damaged;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    z.avail_in = uInt(in.size());
    out->clear();
    std::array<char, 16384> chunk;
    int rc = Z_OK;
    Inflate result = Inflate::Ok;
    while (rc != Z_STREAM_END) {
        z.next_out = reinterpret_cast<Bytef*>(chunk.data());
        z.avail_out = uInt(chunk.size());
        rc = inflate(&z, Z_NO_FLUSH);
        if (rc != Z_OK && rc != Z_STREAM_END) {
            result = Inflate::Damaged;
            break;
        }
        const qint64 produced = qint64(chunk.size()) - z.avail_out;
        if (out->size() + produced > bound) {
            result = Inflate::TooLarge;
            break;
        }
        out->append(chunk.data(), produced);
    }
    inflateEnd(&z);
    return result;
}

QString latin1Text(QByteArrayView data)
{
    const qsizetype end = data.indexOf('\0');
    return QString::fromLatin1(end < 0 ? data : data.first(end));
}

QString utf16Text(QByteArrayView data, bool bigEndianOrder)
{
    QString text;
    text.reserve(data.size() / 2);
    for (qsizetype i = 0; i + 1 < data.size(); i += 2) {
        const uchar a = uchar(data[i]), b = uchar(data[i + 1]);
        const char16_t unit = bigEndianOrder ? char16_t((a << 8) | b) : char16_t((b << 8) | a);
        if (unit == 0)
            break;
        text.append(QChar(unit));
    }
    return text;
}

// Which of the five lines a frame fills, by its v2.3/v2.4 identifier.
QString* lineOf(TrackTags& tags, QByteArrayView id)
{
    if (id == "TIT2")
        return &tags.title;
    if (id == "TPE1")
        return &tags.artist;
    if (id == "TALB")
        return &tags.album;
    if (id == "TYER")
        return &tags.year;
    if (id == "TCON")
        return &tags.genre;
    return nullptr;
}

QByteArrayView v22Name(QByteArrayView id)
{
    if (id == "TT2")
        return "TIT2";
    if (id == "TP1")
        return "TPE1";
    if (id == "TAL")
        return "TALB";
    if (id == "TYE")
        return "TYER";
    if (id == "TCO")
        return "TCON";
    return {};
}

bool validFrameId(QByteArrayView id)
{
    for (const char c : id)
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    return true;
}

// Walks the frames of one ID3v2 tag; the first problem ends the walk.
class TagReader {
public:
    TagReader(ByteSource& source, QString* problem)
        : source_(source), problem_(problem)
    {
    }

    TrackTags read();

private:
    bool stop(const QString& why)
    {
        if (problem_ && problem_->isEmpty())
            *problem_ = why;
        return false;
    }
    bool skipExtendedHeader(ByteSource& body, qint64& pos, qint64 end);
    bool readFrames(ByteSource& body, qint64 pos, qint64 end);
    bool readFrame(ByteSource& body, qint64 pos, const QByteArray& header, quint32 size, QString* line);

    ByteSource& source_;
    QString* problem_;
    TrackTags tags_;
    int major_ = 0;
    uchar flags_ = 0;
    bool found_[5] = {};
};

TrackTags TagReader::read()
{
    const QByteArray header = source_.read(0, HeaderSize);
    if (header.size() < HeaderSize) {
        stop(QStringLiteral("the tag header is cut short"));
        return tags_;
    }
    const uchar* h = bytesOf(header);
    major_ = h[3];
    flags_ = h[5];
    if (major_ < 2) {
        stop(QStringLiteral("ID3v2.%1 is not a version this reader knows").arg(major_));
        return tags_;
    }
    const std::optional<quint32> size = syncsafe(h + 6);
    if (!size) {
        stop(QStringLiteral("the tag size is not in 7-bit form"));
        return tags_;
    }
    if (major_ == 2 && (flags_ & TagExtended)) {
        stop(QStringLiteral("the ID3v2.2 tag is compressed"));
        return tags_;
    }
    qint64 end = HeaderSize + qint64(*size);
    if (end > source_.size()) {
        stop(QStringLiteral("the tag claims %1 bytes, the file holds %2 after its header")
                 .arg(*size).arg(source_.size() - HeaderSize));
        end = source_.size();
    }
    // Before v2.4 the whole tag is unsynchronised and frame sizes count the restored
    // bytes, so the frames are only found in the restored tag.
    if ((flags_ & TagUnsync) && major_ < 4) {
        qint64 take = end - HeaderSize;
        if (take > id3::MaxUnsyncedTag) {
            stop(QStringLiteral("the unsynchronised tag is larger than %1 bytes; only they are read")
                     .arg(id3::MaxUnsyncedTag));
            take = id3::MaxUnsyncedTag;
        }
        const QByteArray stored = source_.read(HeaderSize, take);
        if (stored.size() < take)
            stop(QStringLiteral("the tag could not be read"));
        MemorySource body(resynchronised(stored));
        qint64 pos = 0;
        if (skipExtendedHeader(body, pos, body.size()))
            readFrames(body, pos, body.size());
        return tags_;
    }
    qint64 pos = HeaderSize;
    if (skipExtendedHeader(source_, pos, end))
        readFrames(source_, pos, end);
    return tags_;
}

bool TagReader::skipExtendedHeader(ByteSource& body, qint64& pos, qint64 end)
{
    if (major_ < 3 || !(flags_ & TagExtended))
        return true;
    const QByteArray field = body.read(pos, 4);
    if (field.size() < 4 || pos + 4 > end)
        return stop(QStringLiteral("the extended header lies beyond the end of the tag"));
    qint64 length = 0;
    if (major_ == 3) {
        length = 4 + qint64(bigEndian(bytesOf(field), 4)); // its size leaves out the size field
    } else {
        const std::optional<quint32> s = syncsafe(bytesOf(field));
        if (!s || *s < 6)
            return stop(QStringLiteral("the extended header has no valid size"));
        length = *s;
    }
    if (pos + length > end)
        return stop(QStringLiteral("the extended header claims %1 bytes beyond the end of the tag").arg(length));
    pos += length;
    return true;
}

bool TagReader::readFrames(ByteSource& body, qint64 pos, qint64 end)
{
    const qint64 headerSize = major_ == 2 ? 6 : 10;
    const int idLength = major_ == 2 ? 3 : 4;
    for (int count = 0; pos + headerSize <= end; ++count) {
        const QByteArray header = body.read(pos, headerSize);
        if (header.size() < headerSize)
            return stop(QStringLiteral("the tag could not be read at offset %1").arg(pos));
        if (header[0] == '\0')
            return true; // padding
        const QByteArrayView id = QByteArrayView(header).first(idLength);
        if (!validFrameId(id))
            return stop(QStringLiteral("no frame identifier at offset %1").arg(pos));
        if (count == id3::MaxFrames)
            return stop(QStringLiteral("the tag holds more than %1 frames").arg(id3::MaxFrames));
        quint32 size = 0;
        if (major_ == 2) {
            size = bigEndian(bytesOf(header) + 3, 3);
        } else if (major_ == 3) {
            size = bigEndian(bytesOf(header) + 4, 4);
        } else {
            const std::optional<quint32> s = syncsafe(bytesOf(header) + 4);
            if (!s)
                return stop(QStringLiteral("frame %1 at offset %2 has a size not in 7-bit form")
                                .arg(QString::fromLatin1(id)).arg(pos));
            size = *s;
        }
        // A frame holds at least one byte; a size of 0 would make the chain go nowhere.
        if (size == 0)
            return stop(QStringLiteral("frame %1 at offset %2 has size 0").arg(QString::fromLatin1(id)).arg(pos));
        if (pos + headerSize + qint64(size) > end)
            return stop(QStringLiteral("frame %1 at offset %2 claims %3 bytes beyond the end of the tag")
                            .arg(QString::fromLatin1(id)).arg(pos).arg(size));
        const QByteArrayView name = major_ == 2 ? v22Name(id) : id;
        QString* line = name.isEmpty() ? nullptr : lineOf(tags_, name);
        if (line) {
            bool& found = found_[line - &tags_.title];
            if (!found) {
                found = true;
                if (!readFrame(body, pos + headerSize, header, size, line))
                    return false;
            }
        }
        if (std::all_of(std::begin(found_), std::end(found_), [](bool f) { return f; }))
            return true;
        pos += headerSize + size;
    }
    return true;
}

bool TagReader::readFrame(ByteSource& body, qint64 pos, const QByteArray& header, quint32 size, QString* line)
{
    const QString id = QString::fromLatin1(header.left(major_ == 2 ? 3 : 4));
    QByteArray content = body.read(pos, size);
    if (content.size() < qint64(size))
        return stop(QStringLiteral("frame %1 could not be read").arg(id));
    bool compressed = false;
    bool encrypted = false;
    qint64 skip = 0;
    if (major_ == 3) {
        const uchar format = uchar(header[9]);
        compressed = format & V3Compressed;
        encrypted = format & V3Encrypted;
        skip = (compressed ? 4 : 0) + (encrypted ? 1 : 0) + ((format & V3Grouped) ? 1 : 0);
    } else if (major_ == 4) {
        const uchar format = uchar(header[9]);
        compressed = format & V4Compressed;
        encrypted = format & V4Encrypted;
        skip = ((format & V4Grouped) ? 1 : 0) + (encrypted ? 1 : 0) + ((format & V4LengthIndicator) ? 4 : 0);
        if (skip > content.size())
            return stop(QStringLiteral("frame %1 is shorter than its own flags say").arg(id));
        if (compressed && (format & V4LengthIndicator)) {
            const std::optional<quint32> claimed = syncsafe(bytesOf(content) + skip - 4);
            if (claimed && *claimed > id3::MaxInflatedFrame)
                return stop(QStringLiteral("frame %1 claims to inflate to %2 bytes").arg(id).arg(*claimed));
        }
        content.remove(0, skip);
        skip = 0;
        if ((format & V4Unsync) || (flags_ & TagUnsync))
            content = resynchronised(content);
    }
    if (skip > content.size())
        return stop(QStringLiteral("frame %1 is shorter than its own flags say").arg(id));
    if (encrypted)
        return true; // no key to read it with: the line stays empty
    if (major_ == 3 && compressed) {
        const quint32 claimed = bigEndian(bytesOf(content), 4);
        if (claimed > id3::MaxInflatedFrame)
            return stop(QStringLiteral("frame %1 claims to inflate to %2 bytes").arg(id).arg(claimed));
    }
    content.remove(0, skip);
    if (compressed) {
        QByteArray inflated;
        switch (inflateBounded(content, id3::MaxInflatedFrame, &inflated)) {
        case Inflate::Ok: break;
        case Inflate::TooLarge:
            return stop(QStringLiteral("frame %1 inflates beyond %2 bytes").arg(id).arg(id3::MaxInflatedFrame));
        case Inflate::Damaged:
            return stop(QStringLiteral("the compressed data of frame %1 is damaged").arg(id));
        }
        content = inflated;
    }
    *line = id3FrameText(content);
    return true;
}

TrackTags readId3v1(ByteSource& source)
{
    TrackTags tags;
    if (source.size() < 128)
        return tags;
    const QByteArray record = source.read(source.size() - 128, 128);
    if (record.size() < 128 || !record.startsWith("TAG"))
        return tags;
    const QByteArrayView r(record);
    auto field = [&](int from, int length) { return latin1Text(r.sliced(from, length)).trimmed(); };
    tags.title = field(3, 30);
    tags.artist = field(33, 30);
    tags.album = field(63, 30);
    tags.year = field(93, 4);
    const uchar genre = uchar(record[127]);
    if (genre < Id3v1Genres.size())
        tags.genre = QStringLiteral("(%1) %2").arg(genre).arg(QLatin1String(Id3v1Genres[genre]));
    return tags;
}

} // namespace

QString id3FrameText(QByteArrayView content)
{
    if (content.isEmpty())
        return {};
    const QByteArrayView data = content.sliced(1);
    QString text;
    switch (uchar(content[0])) {
    case 1: // UTF-16 with a byte order mark; without one, the order Windows writes
        if (data.size() >= 2 && uchar(data[0]) == 0xFE && uchar(data[1]) == 0xFF)
            text = utf16Text(data.sliced(2), true);
        else if (data.size() >= 2 && uchar(data[0]) == 0xFF && uchar(data[1]) == 0xFE)
            text = utf16Text(data.sliced(2), false);
        else
            text = utf16Text(data, false);
        break;
    case 2:
        text = utf16Text(data, true);
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        break;
    case 3: {
        const qsizetype end = data.indexOf('\0');
        text = QString::fromUtf8(end < 0 ? data : data.first(end));
        break;
    }
    default: text = latin1Text(data); break;
    }
    return text.trimmed();
}

TrackTags readId3Tags(ByteSource& source, QString* problem)
{
    if (problem)
        problem->clear();
    const QByteArray head = source.read(0, 4);
    if (head.size() == 4 && head.startsWith("ID3") && uchar(head[3]) <= 4)
        return TagReader(source, problem).read();
    return readId3v1(source);
}

TrackTags readId3Tags(QByteArrayView bytes, QString* problem)
{
    MemorySource source(bytes);
    return readId3Tags(source, problem);
}

} // namespace zarn
