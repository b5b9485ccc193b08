#include "carsim/FrameReader.h"

#include "ibus/FrameText.h"

namespace zarn::carsim {

namespace {
QString hexByte(int value)
{
    return QStringLiteral("%1").arg(value & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
}
} // namespace

QString FrameReader::problemOf(const QByteArray& frame)
{
    if (frame.size() < 2)
        return QStringLiteral("cut short, no length byte");
    const int length = quint8(frame[1]);
    if (length < MinLengthByte)
        return QStringLiteral("length byte %1 too small").arg(hexByte(length));
    if (frame.size() != length + 2)
        return QStringLiteral("cut short, %1 of %2 bytes").arg(frame.size()).arg(length + 2);
    const quint8 expected = FrameChecksum(frame.left(frame.size() - 1));
    const quint8 actual = quint8(frame.back());
    if (actual != expected)
        return QStringLiteral("checksum %1, expected %2").arg(hexByte(actual), hexByte(expected));
    return {};
}

QList<ReadFrame> FrameReader::feed(const QByteArray& bytes)
{
    pending_.append(bytes);
    QList<ReadFrame> out;
    while (pending_.size() >= 2) {
        const int length = quint8(pending_[1]);
        // A length byte too small for a frame still takes the bytes it claims, the way
        // every receiver on the bus splits the stream.
        const qsizetype take = 2 + length;
        if (pending_.size() < take)
            break;
        ReadFrame frame{pending_.left(take), {}};
        frame.problem = problemOf(frame.bytes);
        out.append(frame);
        pending_.remove(0, take);
    }
    return out;
}

QList<ReadFrame> FrameReader::lineQuiet()
{
    if (pending_.isEmpty())
        return {};
    ReadFrame frame{pending_, problemOf(pending_)};
    pending_.clear();
    return {frame};
}

} // namespace zarn::carsim
