#include "ibus/IbusSender.h"

#include "core/StatusLog.h"
#include "ibus/BusOptions.h"
#include "ibus/FrameSink.h"
#include "ibus/FrameText.h"

namespace zarn {

namespace {
// The frame bytes as characters; unprintable bytes shown as "." so the log stays readable.
QString bytesAsCharacters(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char b : bytes) {
        const auto u = quint8(b);
        const bool printable = (u >= 0x20 && u < 0x7F) || u >= 0xA0;
        out.append(printable ? QChar(char16_t(u)) : QLatin1Char('.'));
    }
    return out;
}
} // namespace

IbusSender::IbusSender(FrameSink& sink, StatusLog& log, const BusOptions& options)
    : sink_(sink)
    , log_(log)
    , options_(options)
{
}

void IbusSender::SendIbusText(const QString& sendText)
{
    if (options_.noSend)
        return;
    log_.addMessage(QStringLiteral("sent=") + sendText);
    const QByteArray frame = BuildFrame(sendText);
    if (frame.isEmpty()) {
        log_.addMessage(QStringLiteral("sending ") + sendText + QStringLiteral(" failed"));
        return;
    }
    log_.addMessage(QStringLiteral("sent=") + bytesAsCharacters(frame));
    sink_.SendData(frame);
}

void IbusSender::SendClusterText(const QString& text)
{
    if (!options_.noSend)
        SendIbusText(QStringLiteral("68 XX 80 23 62 30") + TextToHexTokens(text));
}

void IbusSender::SendCheckControlText(const QString& text)
{
    if (!options_.noSend)
        SendIbusText(QStringLiteral("30 XX 80 1A 37 10") + TextToHexTokens(text));
}

bool IbusSender::SendInProgress() const
{
    return sink_.SendInProgress();
}

} // namespace zarn
