#include "carsim/BusWriter.h"

#include "carsim/BrokenFrames.h"
#include "carsim/CarFrames.h"
#include "carsim/Output.h"
#include "carsim/PtyPort.h"

namespace zarn::carsim {

BusWriter::BusWriter(PtyPort& port, QObject* parent)
    : QObject(parent)
    , port_(port)
{
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] {
        onWire_ = false;
        if (!burst_.isEmpty())
            writeFrame(burst_.takeFirst());
        else
            pump();
    });
}

void BusWriter::send(const QList<QByteArray>& frames, int delayMs, Pacing pacing)
{
    sendAt(Output::nowMs() + qMax(0, delayMs), frames, pacing);
}

void BusWriter::sendAt(qint64 atMs, const QList<QByteArray>& frames, Pacing pacing)
{
    if (frames.isEmpty())
        return;
    auto it = std::find_if(queue_.begin(), queue_.end(), [&](const Item& i) { return i.atMs > atMs; });
    queue_.insert(it, Item{atMs, frames, pacing});
    if (!onWire_)
        pump();
}

void BusWriter::silence(qint64 ms)
{
    silentUntilMs_ = ms < 0 ? -1 : Output::nowMs() + ms;
}

void BusWriter::endSilence()
{
    silentUntilMs_ = 0;
}

bool BusWriter::silent() const
{
    return silentUntilMs_ < 0 || Output::nowMs() < silentUntilMs_;
}

void BusWriter::flood(qint64 ms, bool randomBytes)
{
    floodUntilMs_ = Output::nowMs() + ms;
    floodRandom_ = randomBytes;
    if (!onWire_)
        pump();
}

bool BusWriter::flooding() const
{
    return Output::nowMs() < floodUntilMs_;
}

QByteArray BusWriter::floodFrame()
{
    // Harmless speed messages keep the program busy without acting on anything.
    ++floodCount_;
    if (floodRandom_)
        return broken::randomBytes(16, rng_);
    return frames::speedAndRpm(40 + floodCount_ % 40, 1500 + floodCount_ % 20 * 100);
}

void BusWriter::pump()
{
    if (onWire_)
        return;
    const qint64 nowMs = Output::nowMs();
    const qint64 freeAtMs = (freeAtUs_ + 999) / 1000;
    if (!queue_.isEmpty()) {
        const Item& head = queue_.first();
        const bool gap = head.pacing == Pacing::Gap && !flooding();
        const qint64 startMs = qMax(head.atMs, freeAtMs + (gap ? gapMs_ : 0));
        if (startMs <= nowMs) {
            burst_ = queue_.takeFirst().frames;
            writeFrame(burst_.takeFirst());
            return;
        }
        if (!flooding()) {
            timer_.start(int(startMs - nowMs));
            return;
        }
    }
    if (flooding())
        writeFrame(floodFrame());
}

void BusWriter::writeFrame(const QByteArray& frame)
{
    QString fate;
    if (silent()) {
        fate = QStringLiteral("bus cut");
    } else if (const qsizetype n = port_.write(frame); n < 0) {
        fate = port_.isOpen() ? QStringLiteral("no listener") : QStringLiteral("interface gone");
    } else if (n < frame.size()) {
        fate = QStringLiteral("the program does not read, %1 of %2 bytes").arg(n).arg(frame.size());
    }
    emit frameWritten(frame, fate);
    // A frame that found no listener still took its time on the car's wire.
    const qint64 wireUs = wireTimeUs(frame.size());
    freeAtUs_ = Output::nowUs() + wireUs;
    onWire_ = true;
    timer_.start(int((wireUs + 999) / 1000));
}

} // namespace zarn::carsim
