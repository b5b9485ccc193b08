#include "media/MpegFrames.h"

#include <cstring>

namespace zarn {

namespace {

// kbit/s by bit-rate index 1..14: MPEG-1 layers I, II, III, then MPEG-2/2.5 layer I, II and III.
constexpr int Bitrates[5][15] = {
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
};
constexpr int SampleRates[3][3] = {{44100, 48000, 32000}, {22050, 24000, 16000}, {11025, 12000, 8000}};

// Bytes a candidate needs after its start: the longest frame (layer II at 160 kbit/s
// and 8 kHz: 2881 bytes) and the next header.
constexpr qint64 Reach = 4096;
constexpr qint64 Block = 64 * 1024;

bool sameStream(const MpegHeader& a, const MpegHeader& b)
{
    return a.version == b.version && a.layer == b.layer && a.sampleRate == b.sampleRate;
}

// Where the audio starts: after a leading ID3v2 tag that fits in the file.
qint64 audioStart(ByteSource& source)
{
    const QByteArray h = source.read(0, 10);
    if (h.size() < 10 || !h.startsWith("ID3") || uchar(h[3]) > 4)
        return 0;
    qint64 size = 0;
    for (int i = 6; i < 10; ++i) {
        if (uchar(h[i]) & 0x80)
            return 0;
        size = (size << 7) | uchar(h[i]);
    }
    const bool footer = uchar(h[3]) == 4 && (uchar(h[5]) & 0x10);
    const qint64 end = 10 + size + (footer ? 10 : 0);
    return end <= source.size() ? end : 0;
}

} // namespace

int MpegHeader::xingOffset() const
{
    if (version == Mpeg1)
        return mono ? 21 : 36;
    return mono ? 13 : 21;
}

std::optional<MpegHeader> parseMpegHeader(const uchar* b)
{
    if (b[0] != 0xFF || (b[1] & 0xE0) != 0xE0)
        return std::nullopt;
    MpegHeader h;
    switch ((b[1] >> 3) & 3) {
    case 0: h.version = MpegHeader::Mpeg25; break;
    case 2: h.version = MpegHeader::Mpeg2; break;
    case 3: h.version = MpegHeader::Mpeg1; break;
    default: return std::nullopt;
    }
    const int layerBits = (b[1] >> 1) & 3;
    if (layerBits == 0)
        return std::nullopt;
    h.layer = 4 - layerBits;
    const int bitrateIndex = b[2] >> 4;
    const int rateIndex = (b[2] >> 2) & 3;
    if (bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3)
        return std::nullopt;
    const int table = h.version == MpegHeader::Mpeg1 ? h.layer - 1 : (h.layer == 1 ? 3 : 4);
    h.bitrate = Bitrates[table][bitrateIndex];
    h.sampleRate = SampleRates[h.version][rateIndex];
    h.mono = (b[3] >> 6) == 3;
    const int padding = (b[2] >> 1) & 1;
    const int bps = h.bitrate * 1000;
    if (h.layer == 1)
        h.frameLength = (12 * bps / h.sampleRate + padding) * 4;
    else if (h.layer == 3 && h.version != MpegHeader::Mpeg1)
        h.frameLength = 72 * bps / h.sampleRate + padding;
    else
        h.frameLength = 144 * bps / h.sampleRate + padding;
    return h;
}

std::optional<int> scanMpegBitrate(ByteSource& source)
{
    const qint64 size = source.size();
    if (size <= 5)
        return 0;
    const qint64 start = audioStart(source);
    const qint64 limit = std::min(size, start + mpeg::ScanBound);
    QByteArray buf;
    qint64 bufPos = start;
    for (qint64 pos = start; pos < limit; ++pos) {
        const qint64 bufEnd = bufPos + buf.size();
        if (pos + Reach > bufEnd && bufEnd < size) {
            const qint64 want = std::min(Block + Reach, size - pos);
            buf = source.read(pos, want);
            bufPos = pos;
            if (buf.size() < want)
                return std::nullopt;
        }
        const qint64 at = pos - bufPos;
        const auto* b = reinterpret_cast<const uchar*>(buf.constData());
        if (at + 4 > buf.size())
            break;
        if (b[at] != 0xFF)
            continue;
        const std::optional<MpegHeader> first = parseMpegHeader(b + at);
        if (!first)
            continue;
        const qint64 next = at + first->frameLength;
        if (next + 4 > buf.size())
            continue;
        const std::optional<MpegHeader> second = parseMpegHeader(b + next);
        if (!second || !sameStream(*first, *second))
            continue;
        const qint64 xing = at + first->xingOffset();
        if (xing + 4 <= buf.size() && std::memcmp(b + xing, "Xing", 4) == 0)
            return -1;
        return first->bitrate;
    }
    return 0;
}

std::optional<int> scanMpegBitrate(QByteArrayView bytes)
{
    MemorySource source(bytes);
    return scanMpegBitrate(source);
}

} // namespace zarn
