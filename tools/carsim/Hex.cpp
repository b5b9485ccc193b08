#include "carsim/Hex.h"

#include "ibus/FrameText.h"

namespace zarn::carsim {

QString hexString(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

std::optional<QByteArray> parseHexBytes(const QStringList& tokens, QString* error)
{
    QByteArray out;
    for (const QString& token : tokens) {
        if (token.size() % 2 != 0) {
            if (error)
                *error = QStringLiteral("'%1' is not whole hexadecimal pairs").arg(token);
            return std::nullopt;
        }
        for (qsizetype i = 0; i < token.size(); i += 2) {
            const int value = HexToInt(QStringView(token).mid(i, 2));
            if (value < 0) {
                if (error)
                    *error = QStringLiteral("'%1' is not hexadecimal").arg(token);
                return std::nullopt;
            }
            out.append(char(value));
        }
    }
    return out;
}

std::optional<QByteArray> parseHexBytes(QStringView text, QString* error)
{
    return parseHexBytes(text.toString().split(QLatin1Char(' '), Qt::SkipEmptyParts), error);
}

QByteArray makeFrame(quint8 source, quint8 destination, const QByteArray& data)
{
    QByteArray frame;
    frame.reserve(data.size() + 4);
    frame.append(char(source));
    frame.append(char(data.size() + 2)); // destination + data + checksum
    frame.append(char(destination));
    frame.append(data);
    frame.append(char(FrameChecksum(frame)));
    return frame;
}

QByteArray withChecksum(QByteArray frame)
{
    if (frame.isEmpty())
        return frame;
    frame.chop(1);
    frame.append(char(FrameChecksum(frame)));
    return frame;
}

} // namespace zarn::carsim
