#pragma once

#include "carsim/Scenario.h"

#include <QObject>
#include <QRandomGenerator>
#include <QTimer>

namespace zarn::carsim {

class BusWriter;
class CarModel;
class Output;
class PtyPort;

// Plays a scenario in real time. Scenario time starts when start() is called (when the
// program first opens the port) and stands still while a wait-for waits. Checks
// (wait-for, expect, expect-none) look at the well-formed frames the program sends
// after they begin. Used on one thread only.
//
// A live scenario gets its lines one by one while it plays (append): a line's time
// counts from when it arrives, or from the line before when that one is still to run,
// so "0 knob press" runs at once and a chunk of lines keeps its own spacing.
class ScenarioPlayer : public QObject {
    Q_OBJECT
public:
    ScenarioPlayer(const Scenario& scenario, CarModel& car, BusWriter& writer, PtyPort& port, Output& output,
                   QObject* parent = nullptr);

    void setSeed(quint32 seed) { rng_.seed(seed); }
    void setLive(bool live) { live_ = live; }
    // Steps of a live scenario, timed from 0 as parsed on their own.
    void append(const QList<ScenarioStep>& steps);
    // A live line that could not be read counts as a failed check.
    void rejectLine(int line, const QString& error);
    void start();
    bool started() const { return started_; }
    void programFrame(const QByteArray& frame);
    // The simulator ends: checks still open are decided now.
    void closeChecks();
    int failures() const { return failures_; }

signals:
    void exitRequested();
    void finished();

private:
    struct Check {
        int line;
        QByteArray prefix;
        bool none;          // expect-none
        qint64 deadlineMs;
    };

    qint64 scenarioNowMs() const;
    void runDue();
    void run(const ScenarioStep& step);
    void endWait(bool seen);
    void decideChecks();
    void report(int line, const QString& what, bool passed);
    void maybeExit();

    QList<ScenarioStep> steps_;
    CarModel& car_;
    BusWriter& writer_;
    PtyPort& port_;
    Output& output_;
    QRandomGenerator rng_{0xF0043B};

    bool live_ = false;
    bool started_ = false;
    qint64 lastAtMs_ = 0;     // scenario time of the last step
    qsizetype next_ = 0;
    qint64 originMs_ = 0;     // simulator time of scenario time 0
    bool waiting_ = false;
    ScenarioStep wait_;
    QList<Check> checks_;
    bool exitPending_ = false;
    bool ended_ = false;      // an exit ran
    int failures_ = 0;
    QTimer stepTimer_;
    QTimer waitTimer_;
    QTimer checkTimer_;
};

} // namespace zarn::carsim
