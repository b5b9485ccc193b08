#include "carsim/ScenarioPlayer.h"

#include "carsim/BrokenFrames.h"
#include "carsim/BusWriter.h"
#include "carsim/CarModel.h"
#include "carsim/Controls.h"
#include "carsim/FrameExplainer.h"
#include "carsim/Hex.h"
#include "carsim/Output.h"
#include "carsim/PtyPort.h"

#include <QTime>

namespace zarn::carsim {

namespace {
using Kind = ScenarioStep::Kind;

CarModel::Source sourceNamed(const QString& name)
{
    if (name == QLatin1String("tape"))
        return CarModel::Source::Tape;
    if (name == QLatin1String("tape-c"))
        return CarModel::Source::TapeDolbyC;
    if (name == QLatin1String("aux"))
        return CarModel::Source::Aux;
    if (name == QLatin1String("cd"))
        return CarModel::Source::Cd;
    return CarModel::Source::Radio;
}

QString secondsText(qint64 ms) { return QString::number(ms / 1000.0); }

QString waitText(const ScenarioStep& wait)
{
    return QStringLiteral("wait-for ") + (wait.word.isEmpty() ? hexString(wait.frames.value(0)) : wait.word);
}
} // namespace

ScenarioPlayer::ScenarioPlayer(const Scenario& scenario, CarModel& car, BusWriter& writer, PtyPort& port,
                               Output& output, QObject* parent)
    : QObject(parent)
    , steps_(scenario.steps())
    , car_(car)
    , writer_(writer)
    , port_(port)
    , output_(output)
{
    stepTimer_.setSingleShot(true);
    stepTimer_.setTimerType(Qt::PreciseTimer);
    connect(&stepTimer_, &QTimer::timeout, this, &ScenarioPlayer::runDue);
    waitTimer_.setSingleShot(true);
    waitTimer_.setTimerType(Qt::PreciseTimer);
    connect(&waitTimer_, &QTimer::timeout, this, [this] { endWait(false); });
    checkTimer_.setInterval(20);
    connect(&checkTimer_, &QTimer::timeout, this, &ScenarioPlayer::decideChecks);
}

void ScenarioPlayer::start()
{
    if (started_)
        return;
    started_ = true;
    originMs_ = Output::nowMs();
    output_.note(QStringLiteral("scenario started"));
    runDue();
}

void ScenarioPlayer::append(const QList<ScenarioStep>& steps)
{
    if (steps.isEmpty() || ended_)
        return;
    // Once every step has run the list is emptied: the new ones start at index 0.
    if (next_ >= steps_.size()) {
        steps_.clear();
        next_ = 0;
    }
    const bool pending = !started_ || waiting_ || next_ < steps_.size();
    const qint64 base = pending ? lastAtMs_ : qMax(lastAtMs_, scenarioNowMs());
    for (ScenarioStep s : steps) {
        s.atMs += base;
        lastAtMs_ = s.atMs;
        steps_.append(s);
    }
    if (started_ && !waiting_ && !stepTimer_.isActive())
        runDue();
}

void ScenarioPlayer::rejectLine(int line, const QString& error)
{
    ++failures_;
    output_.note(QStringLiteral("line %1: %2: FAILED").arg(line).arg(error));
}

qint64 ScenarioPlayer::scenarioNowMs() const
{
    return Output::nowMs() - originMs_;
}

void ScenarioPlayer::runDue()
{
    while (!waiting_ && next_ < steps_.size()) {
        const ScenarioStep& step = steps_[next_];
        const qint64 dueIn = step.atMs - scenarioNowMs();
        if (dueIn > 0) {
            stepTimer_.start(int(dueIn));
            return;
        }
        ++next_;
        run(step);
    }
    if (!waiting_ && next_ >= steps_.size() && !steps_.isEmpty()) {
        steps_.clear();
        next_ = 0;
        if (live_)
            return; // more lines may come
        output_.note(QStringLiteral("scenario ended"));
        emit finished();
    }
}

void ScenarioPlayer::run(const ScenarioStep& s)
{
    switch (s.kind) {
    case Kind::Press:
        if (const Control* c = findControl(s.word))
            car_.press(*c);
        break;
    case Kind::Knob: car_.turnKnob(s.flag, s.number); break;
    case Kind::Source: car_.selectSource(sourceNamed(s.word)); break;
    case Kind::CheckControl: car_.pressCheckControl(); break;
    case Kind::Phone: car_.setPhoneState(quint8(s.number)); break;
    case Kind::TapeState: car_.sendTapeState(quint8(s.number)); break;
    case Kind::SplitScreen: car_.sendSplitScreenUpdate(); break;
    case Kind::Time: car_.sendTime(s.time.isValid() ? s.time : QTime::currentTime()); break;
    case Kind::Drive: car_.setDriveSpeed(s.number); break;
    case Kind::Odometer:
        if (s.flag)
            car_.setOdometerKm(s.number);
        car_.sendOdometer();
        break;
    case Kind::Position:
        if (s.flag)
            car_.sendPosition(s.latitude, s.longitude);
        else
            car_.sendPosition();
        break;
    case Kind::City: car_.sendCity(s.word); break;
    case Kind::Street: car_.sendStreet(s.word); break;
    case Kind::RouteNext: car_.nextStreet(); break;
    case Kind::Frames: writer_.send(s.frames); break;
    case Kind::WaitFor:
        waiting_ = true;
        wait_ = s;
        waitTimer_.start(int(s.durationMs));
        break;
    case Kind::Expect:
    case Kind::ExpectNone:
        checks_.append(Check{s.line, s.frames.value(0), s.kind == Kind::ExpectNone, Output::nowMs() + s.durationMs});
        checkTimer_.start();
        break;
    case Kind::Silence:
        if (s.flag) {
            output_.note(QStringLiteral("bus cut for %1 s").arg(secondsText(s.durationMs)));
            writer_.silence(s.durationMs);
        } else {
            output_.note(QStringLiteral("bus back"));
            writer_.endSilence();
        }
        break;
    case Kind::Vanish:
        output_.note(QStringLiteral("interface unplugged for %1 s").arg(secondsText(s.durationMs)));
        port_.vanish(s.durationMs);
        break;
    case Kind::Broken: {
        const QByteArray f = s.frames.value(0);
        const QByteArray bad = s.word == QLatin1String("short") ? broken::cutShort(f, rng_)
                             : s.word == QLatin1String("checksum") ? broken::wrongChecksum(f, rng_)
                                                                   : broken::lyingLength(f, rng_);
        writer_.send({bad});
        break;
    }
    case Kind::Garbage: writer_.send({broken::randomBytes(s.number, rng_)}); break;
    case Kind::Flood:
        output_.note(QStringLiteral("flooding the bus for %1 s").arg(secondsText(s.durationMs)));
        writer_.flood(s.durationMs, s.flag);
        break;
    case Kind::Car: car_.setOwnTraffic(s.flag); break;
    case Kind::Say: output_.note(s.word); break;
    case Kind::Exit:
        next_ = steps_.size(); // nothing after an exit runs
        ended_ = true;
        exitPending_ = true;
        maybeExit();
        break;
    }
}

void ScenarioPlayer::programFrame(const QByteArray& frame)
{
    if (waiting_ && (wait_.word.isEmpty() ? frame.startsWith(wait_.frames.value(0)) : isGreeting(frame)))
        endWait(true);
    for (qsizetype i = 0; i < checks_.size();) {
        if (frame.startsWith(checks_[i].prefix)) {
            const Check c = checks_.takeAt(i);
            report(c.line, (c.none ? QStringLiteral("expect-none ") : QStringLiteral("expect ")) + hexString(c.prefix),
                   !c.none);
        } else {
            ++i;
        }
    }
    maybeExit();
}

void ScenarioPlayer::endWait(bool seen)
{
    if (!waiting_)
        return;
    waiting_ = false;
    waitTimer_.stop();
    report(wait_.line, waitText(wait_), seen);
    // Scenario time went on standing still while waiting.
    originMs_ = Output::nowMs() - wait_.atMs;
    runDue();
}

void ScenarioPlayer::decideChecks()
{
    const qint64 now = Output::nowMs();
    for (qsizetype i = 0; i < checks_.size();) {
        if (checks_[i].deadlineMs <= now) {
            const Check c = checks_.takeAt(i);
            report(c.line, (c.none ? QStringLiteral("expect-none ") : QStringLiteral("expect ")) + hexString(c.prefix),
                   c.none);
        } else {
            ++i;
        }
    }
    if (checks_.isEmpty())
        checkTimer_.stop();
    maybeExit();
}

void ScenarioPlayer::closeChecks()
{
    for (const Check& c : std::as_const(checks_))
        report(c.line, (c.none ? QStringLiteral("expect-none ") : QStringLiteral("expect ")) + hexString(c.prefix), c.none);
    checks_.clear();
    if (waiting_) {
        waiting_ = false;
        report(wait_.line, waitText(wait_), false);
    }
}

void ScenarioPlayer::report(int line, const QString& what, bool passed)
{
    if (!passed)
        ++failures_;
    output_.note(QStringLiteral("line %1: %2: %3").arg(line).arg(what, passed ? QStringLiteral("ok") : QStringLiteral("FAILED")));
}

void ScenarioPlayer::maybeExit()
{
    if (exitPending_ && checks_.isEmpty() && !waiting_) {
        exitPending_ = false;
        emit exitRequested();
    }
}

} // namespace zarn::carsim
