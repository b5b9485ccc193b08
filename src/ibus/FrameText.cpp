#include "ibus/FrameText.h"

#include <QVarLengthArray>

namespace zarn {

namespace {
constexpr char HexDigits[] = "0123456789ABCDEF";

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}
} // namespace

QString ClusterToHexText(const QByteArray& block, int hexLineLength)
{
    if (block.isEmpty() || hexLineLength <= 0)
        return {};
    const qsizetype lines = (block.size() + hexLineLength - 1) / hexLineLength;
    QString text(lines * hexLineLength * 3, QLatin1Char(' '));
    QChar* out = text.data();
    for (qsizetype i = 0; i < block.size(); ++i) {
        const auto b = static_cast<quint8>(block[i]);
        out[i * 3 + 1] = QLatin1Char(HexDigits[b >> 4]);
        out[i * 3 + 2] = QLatin1Char(HexDigits[b & 0xF]);
    }
    return text;
}

QStringList SplitFramesFromText(QStringView rest, QList<RejectedBytes>* rejected)
{
    // Keep the characters whose position (from 1) is not a multiple of 3.
    QString packed;
    packed.reserve(rest.size());
    for (qsizetype i = 0; i < rest.size(); ++i)
        if ((i + 1) % 3 != 0)
            packed.append(rest[i]);

    // The trailing blank pairs are the fillers; everything before them is read as bytes,
    // a pair that is not hexadecimal as a byte that no frame can hold.
    const qsizetype pairs = packed.size() / 2;
    const bool loneChar = packed.size() % 2 != 0;
    qsizetype end = pairs;
    if (!loneChar)
        while (end > 0 && packed[2 * end - 2] == u' ' && packed[2 * end - 1] == u' ')
            --end;

    // Per byte: its value (-1: not hexadecimal); prefix XORs and prefix counts of bad
    // bytes make the length and checksum test of any stretch constant time.
    QVarLengthArray<int, 256> value(end);
    QVarLengthArray<quint8, 257> xorTo(end + 1);
    QVarLengthArray<int, 257> badTo(end + 1);
    xorTo[0] = 0;
    badTo[0] = 0;
    for (qsizetype i = 0; i < end; ++i) {
        const int hi = hexValue(packed[2 * i]);
        const int lo = hexValue(packed[2 * i + 1]);
        value[i] = hi < 0 || lo < 0 ? -1 : hi * 16 + lo;
        xorTo[i + 1] = xorTo[i] ^ quint8(value[i] & 0xFF);
        badTo[i + 1] = badTo[i] + (value[i] < 0 ? 1 : 0);
    }
    // Bytes a frame starting at p takes by its length byte (source, length, destination
    // at least), 0 when they are not all there or not all bytes.
    const auto frameLength = [&](qsizetype p) -> qsizetype {
        if (p + 1 >= end || value[p] < 0 || value[p + 1] < 2)
            return 0;
        const qsizetype n = value[p + 1] + 2;
        return p + n <= end && badTo[p + n] == badTo[p] ? n : 0;
    };
    // The checksum is the XOR of the bytes before it: the XOR over the whole frame is 0.
    const auto checksumHolds = [&](qsizetype p, qsizetype n) { return xorTo[p + n] == xorTo[p]; };
    const auto validAt = [&](qsizetype p) {
        const qsizetype n = frameLength(p);
        return n > 0 && checksumHolds(p, n);
    };

    const auto validWithin = [&](qsizetype from, qsizetype to) {
        for (qsizetype q = from; q < to; ++q)
            if (validAt(q))
                return true;
        return false;
    };

    QStringList frames;
    qsizetype junk = -1;
    const auto reject = [&](qsizetype from, qsizetype to, bool wrongChecksum) {
        if (rejected)
            rejected->append({packed.mid(2 * from, 2 * (to - from)), wrongChecksum});
    };
    const auto endJunk = [&](qsizetype at) {
        if (junk >= 0)
            reject(junk, at, false);
        junk = -1;
    };
    qsizetype p = 0;
    while (p < end) {
        const qsizetype n = frameLength(p);
        if (n > 0 && checksumHolds(p, n)) {
            endJunk(p);
            frames.append(packed.mid(2 * p, 2 * n));
            p += n;
        } else if (n > 0 && (p + n == end || validAt(p + n)) && !validWithin(p + 1, p + n)) {
            // Lined up with what follows and hiding no frame of its own: one frame whose
            // bytes were changed on the way, not a length byte that lies.
            endJunk(p);
            reject(p, p + n, true);
            p += n;
        } else {
            if (junk < 0)
                junk = p;
            ++p;
        }
    }
    endJunk(end);
    if (loneChar && rejected)
        rejected->append({packed.right(1), false});

    for (qsizetype i = end; i < pairs; ++i)
        frames.append(QStringLiteral("  "));
    return frames;
}

QStringList SplitFrames(QStringView blockText, QList<RejectedBytes>* rejected)
{
    return SplitFramesFromText(blockText.isEmpty() ? blockText : blockText.mid(1), rejected);
}

int FindFrame(const QStringList& frames, QStringView code)
{
    for (qsizetype i = frames.size() - 1; i >= 0; --i)
        if (frames[i].startsWith(code, Qt::CaseSensitive))
            return int(i);
    return -1;
}

int HexToInt(QStringView text)
{
    if (text.isEmpty())
        return -1;
    quint32 value = 0;
    for (QChar c : text) {
        const int v = hexValue(c);
        if (v < 0)
            return -1;
        value = (value << 4) | quint32(v);
    }
    return int(value);
}

QString HexPairsToText(QStringView pairs)
{
    QString out;
    for (qsizetype i = 0; i + 1 < pairs.size(); i += 2) {
        const int v = HexToInt(pairs.mid(i, 2));
        if (v >= 0)
            out.append(QChar(char16_t(v)));
    }
    return out;
}

QString TextToHexTokens(QStringView text)
{
    QString out;
    for (QChar c : text)
        out += QLatin1Char(' ') + QString::number(c.unicode(), 16).toUpper();
    return out;
}

QByteArray BuildFrame(QStringView sendText)
{
    const auto tokens = sendText.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const qsizetype count = tokens.size();
    if (count < 2 || count > 256)
        return {};
    QByteArray bytes;
    bytes.reserve(count + 1);
    int checksum = 0;
    for (qsizetype i = 0; i < count; ++i) {
        const int value = i == 1 ? int(count - 1) : HexToInt(tokens[i]);
        bytes.append(char(value & 0xFF));
        checksum ^= value;
    }
    bytes.append(char(checksum & 0xFF));
    return bytes;
}

quint8 FrameChecksum(const QByteArray& bytes)
{
    quint8 x = 0;
    for (char b : bytes)
        x ^= quint8(b);
    return x;
}

} // namespace zarn
