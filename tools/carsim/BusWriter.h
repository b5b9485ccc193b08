#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QRandomGenerator>
#include <QTimer>

namespace zarn::carsim {

class PtyPort;

// Puts the car's frames on the bus with the timing of the wire: 9600 baud, 8 data bits,
// even parity, 1 stop bit, 11 bits or about 1.15 ms per byte. A burst is written frame by
// frame, each followed by its wire time; separate transmissions keep a quiet gap between
// them. Used on one thread only.
class BusWriter : public QObject {
    Q_OBJECT
public:
    // Gap: at least gapMs of quiet before the burst (units talking one after another).
    // Exact: as soon as the wire is free (replays, floods).
    enum class Pacing { Gap, Exact };

    static constexpr int BitsPerByte = 11;
    static constexpr int Baud = 9600;
    static qint64 wireTimeUs(qsizetype bytes) { return bytes * BitsPerByte * 1000000 / Baud; }

    explicit BusWriter(PtyPort& port, QObject* parent = nullptr);

    void setGapMs(int ms) { gapMs_ = ms; }
    int gapMs() const { return gapMs_; }

    // The burst goes out no earlier than delayMs from now, after what is already queued
    // for an earlier time.
    void send(const QList<QByteArray>& frames, int delayMs = 0, Pacing pacing = Pacing::Gap);
    // The same at a time of the simulator's clock (Output::nowMs).
    void sendAt(qint64 atMs, const QList<QByteArray>& frames, Pacing pacing);

    // The bus is cut for ms milliseconds (ms < 0: until endSilence): nothing the car
    // sends in that time reaches the program.
    void silence(qint64 ms);
    void endSilence();
    bool silent() const;

    // Frames back to back with no quiet time for ms milliseconds: speed messages, or
    // random bytes.
    void flood(qint64 ms, bool randomBytes);

    bool idle() const { return queue_.isEmpty() && burst_.isEmpty() && !onWire_; }

signals:
    // fate: empty when the program got the frame, else why not.
    void frameWritten(const QByteArray& frame, const QString& fate);

private:
    struct Item {
        qint64 atMs;
        QList<QByteArray> frames;
        Pacing pacing;
    };

    void pump();
    void writeFrame(const QByteArray& frame);
    bool flooding() const;
    QByteArray floodFrame();

    PtyPort& port_;
    QList<Item> queue_;        // ordered by atMs
    QList<QByteArray> burst_;  // rest of the burst on the wire
    bool onWire_ = false;      // a frame's wire time is running
    qint64 freeAtUs_ = 0;      // when the last frame has left the wire
    int gapMs_ = 80;
    qint64 silentUntilMs_ = 0; // -1: until endSilence
    qint64 floodUntilMs_ = 0;
    bool floodRandom_ = false;
    int floodCount_ = 0;
    QRandomGenerator rng_{0x1B05};
    QTimer timer_;
};

} // namespace zarn::carsim
