#include "carsim/Replay.h"

#include "carsim/Hex.h"

#include <QFile>
#include <QRegularExpression>

#include <cmath>

namespace zarn::carsim {

Replay Replay::parse(const QString& text)
{
    Replay replay;
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QStringList lines = text.split(QLatin1Char('\n'));
    qint64 previousUs = -1;
    const auto fail = [&replay](int line, const QString& message) {
        replay.bursts_.clear();
        replay.error_ = message;
        replay.errorLine_ = line;
        return replay;
    };
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int lineNo = int(i + 1);
        QString line = lines[i];
        const qsizetype hash = line.indexOf(QLatin1Char('#'));
        if (hash >= 0)
            line.truncate(hash);
        QStringList tokens = line.split(blanks, Qt::SkipEmptyParts);
        if (tokens.isEmpty())
            continue;
        bool ok = false;
        const double seconds = tokens.takeFirst().toDouble(&ok);
        if (!ok || !std::isfinite(seconds) || seconds < 0)
            return fail(lineNo, QStringLiteral("'%1' is not a time in seconds").arg(line.split(blanks, Qt::SkipEmptyParts).first()));
        const qint64 atUs = std::llround(seconds * 1e6);
        if (atUs < previousUs)
            return fail(lineNo, QStringLiteral("time %1 is before the previous frame's").arg(seconds));
        if (tokens.isEmpty())
            return fail(lineNo, QStringLiteral("frame bytes missing"));
        QString error;
        const auto bytes = parseHexBytes(tokens, &error);
        if (!bytes)
            return fail(lineNo, error);
        if (previousUs >= 0 && atUs - previousUs < BurstWindowUs)
            replay.bursts_.last().frames.append(*bytes);
        else
            replay.bursts_.append(ReplayBurst{atUs, lineNo, {*bytes}});
        previousUs = atUs;
    }
    return replay;
}

Replay Replay::load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        Replay r;
        r.error_ = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return r;
    }
    return parse(QString::fromUtf8(file.readAll()));
}

} // namespace zarn::carsim
