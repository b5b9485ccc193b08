#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace zarn::carsim {

// Frames that go out together, back to back.
struct ReplayBurst {
    qint64 atUs = 0; // from the start of the replay
    int line = 0;    // of the first frame
    QList<QByteArray> frames;
};

// A recorded bus: one frame per line, "<seconds> <hex pairs>", checksum included and sent
// as written. "#" starts a comment; empty lines are skipped. Frames less than 2 ms after
// the one before form one burst.
class Replay {
public:
    static constexpr qint64 BurstWindowUs = 2000;

    static Replay parse(const QString& text);
    static Replay load(const QString& path);

    bool ok() const { return error_.isEmpty(); }
    QString error() const { return errorLine_ > 0 ? QStringLiteral("line %1: %2").arg(errorLine_).arg(error_) : error_; }
    int errorLine() const { return errorLine_; }
    const QList<ReplayBurst>& bursts() const { return bursts_; }

private:
    QList<ReplayBurst> bursts_;
    QString error_;
    int errorLine_ = 0;
};

} // namespace zarn::carsim
