#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTime>

namespace zarn::carsim {

// One line of a scenario: at a time, an event.
struct ScenarioStep {
    enum class Kind {
        Press,        // a Control by name: knob press/long, wheel up/down/rt, button ...
        Knob,         // knob right|left [steps]
        Source,       // source radio|tape|tape-c|aux|cd
        CheckControl, // check-control
        Phone,        // phone handsfree|talk|idle
        TapeState,    // tape-state play|standby|stopon|stopon2
        SplitScreen,  // split-screen
        Time,         // time [HH:MM]
        Drive,        // drive KMH | drive route
        Odometer,     // odometer [KM]
        Position,     // position [LAT LON]
        City,         // city TEXT
        Street,       // street TEXT
        RouteNext,    // route next
        Frames,       // frame HEX... | send SENDTEXT | burst HEX... / HEX...
        WaitFor,      // wait-for HEX...|greeting [timeout S]
        Expect,       // expect HEX... [within S]
        ExpectNone,   // expect-none HEX... [within S]
        Silence,      // silence S | silence off
        Vanish,       // vanish S
        Broken,       // broken short|checksum|length [HEX...]
        Garbage,      // garbage N
        Flood,        // flood S [random]
        Car,          // car on|off
        Say,          // say TEXT
        Exit,         // exit
    };

    int line = 0;
    qint64 atMs = 0;          // scenario time
    Kind kind = Kind::Say;
    QString word;             // control name, source, fault kind, text ...
    int number = 0;           // knob steps, speed, km, byte count, phone/tape state byte
    qint64 durationMs = 0;    // timeout, window, silence, vanish, flood
    bool flag = false;        // knob right, car on, random flood, drive held, value given
    double latitude = 0;
    double longitude = 0;
    QTime time;               // invalid: the machine's time when it runs
    QList<QByteArray> frames; // frames to send, or the beginning of a frame to look for
};

// A scenario file: one event per line, "<time> <event> [arguments]", "#" starts a
// comment. Times are seconds from the start of the scenario, or "+seconds" after the
// previous line; they never go back.
class Scenario {
public:
    static Scenario parse(const QString& text);
    static Scenario load(const QString& path);

    bool ok() const { return error_.isEmpty(); }
    // "line 7: unknown event 'knbo'"
    QString error() const { return errorLine_ > 0 ? QStringLiteral("line %1: %2").arg(errorLine_).arg(error_) : error_; }
    int errorLine() const { return errorLine_; }
    const QList<ScenarioStep>& steps() const { return steps_; }

    static constexpr qint64 DefaultWaitTimeoutMs = 10000;
    static constexpr qint64 DefaultExpectWindowMs = 2000;

private:
    QList<ScenarioStep> steps_;
    QString error_;
    int errorLine_ = 0;
};

} // namespace zarn::carsim
