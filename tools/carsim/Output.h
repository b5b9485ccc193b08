#pragma once

#include <QByteArray>
#include <QString>

namespace zarn::carsim {

struct ReadFrame;

// The simulator's clock (time since start) and the one writer of standard output.
// Lines that begin with a time are frames:
//   "   12.345 < 18 04 FF 02 00 E1 | CD changer answer: poll"      (from the program)
//   "   12.245 > 68 03 18 01 72 | radio: CD changer poll"          (from the car, --echo)
// Lines that begin with "#" are notes.
class Output {
public:
    static void startClock();
    static qint64 nowMs();
    static qint64 nowUs();

    void setEcho(bool on) { echo_ = on; }
    bool echo() const { return echo_; }

    void programFrame(const ReadFrame& frame);
    // fate: empty when the frame reached the program, else why it did not.
    void carFrame(const QByteArray& frame, const QString& fate);
    void note(const QString& text);

    static QString frameLine(qint64 ms, char direction, const QByteArray& bytes, const QString& meaning);

private:
    static void write(const QString& line);
    bool echo_ = false;
};

} // namespace zarn::carsim
