#include "ibus/FrameText.h"

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

QStringList SplitFramesFromText(QStringView rest)
{
    // Keep the characters whose position (from 1) is not a multiple of 3.
    QString packed;
    packed.reserve(rest.size());
    for (qsizetype i = 0; i < rest.size(); ++i)
        if ((i + 1) % 3 != 0)
            packed.append(rest[i]);

    QStringList frames;
    QStringView text(packed);
    while (!text.isEmpty()) {
        // A missing length character counts as not hexadecimal.
        const int n = text.size() >= 4 ? HexToInt(text.mid(2, 2)) : -1;
        const qsizetype take = 2 * (qsizetype(n) + 2);
        frames.append(text.left(take).toString());
        text = take >= text.size() ? QStringView() : text.mid(take);
    }
    return frames;
}

QStringList SplitFrames(QStringView blockText)
{
    return SplitFramesFromText(blockText.isEmpty() ? blockText : blockText.mid(1));
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
