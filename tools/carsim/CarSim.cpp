#include "carsim/CarSim.h"

#include "carsim/Controls.h"
#include "carsim/DemoHome.h"
#include "carsim/ScenarioPlayer.h"

#include <QRegularExpression>

#include <unistd.h>

namespace zarn::carsim {

CarSim::CarSim(const CarSimOptions& options, QObject* parent)
    : QObject(parent)
    , options_(options)
    , port_(options.linkPath)
    , writer_(port_)
    , car_(writer_, output_)
    , input_(STDIN_FILENO)
{
    output_.setEcho(options.echo);
    writer_.setGapMs(options.gapMs);
    car_.setOwnTraffic(options.ownTraffic);
    car_.setFaultPercent(options.faultPercent);
    car_.setOdometerKm(options.odometerKm);
    if (options.seed)
        car_.setSeed(*options.seed);

    quiet_.setSingleShot(true);
    quiet_.setInterval(options.quietMs);
    connect(&quiet_, &QTimer::timeout, this, [this] { handle(reader_.lineQuiet()); });
    exitTimer_.setSingleShot(true);
    exitTimer_.setTimerType(Qt::PreciseTimer);
    connect(&exitTimer_, &QTimer::timeout, this, &CarSim::quitRequested);

    connect(&port_, &PtyPort::bytesReceived, this, &CarSim::received);
    connect(&port_, &PtyPort::peerOpened, this, &CarSim::peerOpened);
    connect(&port_, &PtyPort::peerClosed, this, &CarSim::peerClosed);
    connect(&port_, &PtyPort::vanished, this, [this] { output_.note(QStringLiteral("interface gone")); });
    connect(&port_, &PtyPort::reappeared, this, [this] {
        output_.note(QStringLiteral("interface back: pty %1").arg(port_.slavePath()));
    });
    connect(&port_, &PtyPort::failed, this, [this](const QString& e) {
        output_.note(QStringLiteral("interface could not come back: ") + e);
    });
    connect(&writer_, &BusWriter::frameWritten, this,
            [this](const QByteArray& f, const QString& fate) { output_.carFrame(f, fate); });
}

CarSim::~CarSim() = default;

bool CarSim::start(QString* error)
{
    if (!options_.replayPath.isEmpty()) {
        replay_ = Replay::load(options_.replayPath);
        if (!replay_.ok()) {
            *error = options_.replayPath + QStringLiteral(": ") + replay_.error();
            return false;
        }
    }
    if (options_.scenarioPath == QLatin1String("-")) {
        scenario_ = std::make_unique<ScenarioPlayer>(Scenario(), car_, writer_, port_, output_);
        scenario_->setLive(true);
        connect(&input_, &LineInput::line, this, &CarSim::liveLine);
    } else if (!options_.scenarioPath.isEmpty()) {
        const Scenario scenario = Scenario::load(options_.scenarioPath);
        if (!scenario.ok()) {
            *error = options_.scenarioPath + QStringLiteral(": ") + scenario.error();
            return false;
        }
        scenario_ = std::make_unique<ScenarioPlayer>(scenario, car_, writer_, port_, output_);
    }
    if (scenario_) {
        if (options_.seed)
            scenario_->setSeed(*options_.seed);
        connect(scenario_.get(), &ScenarioPlayer::exitRequested, this, &CarSim::quitRequested);
    }
    // The home is complete before the link appears: whoever waits for the link to start
    // the program finds its Zarn.ini already naming the port.
    if (!options_.homeDir.isEmpty() && !options_.linkPath.isEmpty()) {
        if (!prepareDemoHome(options_.homeDir, options_.linkPath, error))
            return false;
        output_.note(QStringLiteral("wrote %1/Zarn.ini").arg(options_.homeDir));
    }
    if (!port_.open(error))
        return false;
    output_.note(QStringLiteral("pty %1%2").arg(port_.slavePath(),
                 port_.linkPath().isEmpty() ? QString() : QStringLiteral(" link ") + port_.linkPath()));
    if (!options_.homeDir.isEmpty() && options_.linkPath.isEmpty()) {
        if (!prepareDemoHome(options_.homeDir, port_.devicePath(), error))
            return false;
        output_.note(QStringLiteral("wrote %1/Zarn.ini").arg(options_.homeDir));
    }
    if (options_.exitAfterMs >= 0)
        exitTimer_.start(int(qMin<qint64>(options_.exitAfterMs, std::numeric_limits<int>::max())));
    if (options_.keys && keyboard_.start()) {
        bindKeys();
        output_.note(QStringLiteral("keys:"));
        for (const QString& line : keyboard_.helpLines())
            output_.note(QStringLiteral("  ") + line);
    }
    car_.start();
    if (scenario_ && options_.scenarioPath == QLatin1String("-"))
        input_.start();
    output_.note(QStringLiteral("ready: the program may open ") + port_.devicePath());
    if (port_.peerConnected())
        peerOpened();
    return true;
}

void CarSim::liveLine(const QString& text)
{
    ++inputLines_;
    const Scenario parsed = Scenario::parse(text);
    if (!parsed.ok()) {
        scenario_->rejectLine(inputLines_, parsed.error().remove(QRegularExpression(QStringLiteral("^line \\d+: "))));
        return;
    }
    QList<ScenarioStep> steps = parsed.steps();
    for (ScenarioStep& s : steps)
        s.line = inputLines_;
    scenario_->append(steps);
}

void CarSim::received(const QByteArray& bytes)
{
    handle(reader_.feed(bytes));
    if (reader_.hasPending())
        quiet_.start();
    else
        quiet_.stop();
}

void CarSim::handle(const QList<ReadFrame>& frames)
{
    for (const ReadFrame& f : frames) {
        ++programFrames_;
        if (f.malformed())
            ++malformed_;
        output_.programFrame(f);
        if (f.malformed())
            continue;
        car_.programFrame(f.bytes);
        if (scenario_)
            scenario_->programFrame(f.bytes);
    }
}

void CarSim::peerOpened()
{
    output_.note(QStringLiteral("program opened the port"));
    car_.programConnected();
    if (scenario_ && !scenario_->started())
        scenario_->start();
    if (!replay_.bursts().isEmpty() && !replayStarted_)
        startReplay();
}

void CarSim::peerClosed()
{
    quiet_.stop();
    handle(reader_.lineQuiet());
    output_.note(QStringLiteral("program closed the port"));
    car_.programDisconnected();
}

void CarSim::startReplay()
{
    replayStarted_ = true;
    const qint64 origin = Output::nowMs();
    output_.note(QStringLiteral("replay started"));
    for (const ReplayBurst& b : replay_.bursts())
        writer_.sendAt(origin + b.atUs / 1000, b.frames, BusWriter::Pacing::Exact);
}

void CarSim::finish()
{
    if (finished_)
        return;
    finished_ = true;
    port_.blockSignals(true); // closing the port is not the program's doing
    handle(reader_.lineQuiet());
    if (scenario_)
        scenario_->closeChecks();
    keyboard_.restoreTerminal();
    output_.note(QStringLiteral("%1 frames from the program, %2 malformed%3")
                     .arg(programFrames_)
                     .arg(malformed_)
                     .arg(scenario_ ? QStringLiteral(", %1 failed checks").arg(scenario_->failures()) : QString()));
    port_.close();
}

int CarSim::exitStatus() const
{
    if (malformed_ > 0)
        return MalformedFrames;
    if (scenario_ && scenario_->failures() > 0)
        return FailedChecks;
    return 0;
}

void CarSim::bindKeys()
{
    Keyboard& k = keyboard_;
    CarModel& car = car_;
    const auto press = [&car](const char* name) {
        return [&car, name] {
            if (const Control* c = findControl(QString::fromLatin1(name)))
                car.press(*c);
        };
    };
    k.bind({QStringLiteral("left"), QStringLiteral("a")}, QStringLiteral("knob left"), [&car] { car.turnKnob(false, 1); });
    k.bind({QStringLiteral("right"), QStringLiteral("d")}, QStringLiteral("knob right"), [&car] { car.turnKnob(true, 1); });
    k.bind({QStringLiteral("A")}, QStringLiteral("knob left 3 steps"), [&car] { car.turnKnob(false, 3); });
    k.bind({QStringLiteral("D")}, QStringLiteral("knob right 3 steps"), [&car] { car.turnKnob(true, 3); });
    k.bind({QStringLiteral("enter"), QStringLiteral("s")}, QStringLiteral("knob press"), press("knob press"));
    k.bind({QStringLiteral("S")}, QStringLiteral("knob long press"), press("knob long"));
    k.bind({QStringLiteral("up"), QStringLiteral("w")}, QStringLiteral("steering wheel up"), press("wheel up"));
    k.bind({QStringLiteral("down"), QStringLiteral("x")}, QStringLiteral("steering wheel down"), press("wheel down"));
    k.bind({QStringLiteral("r")}, QStringLiteral("steering wheel R/T"), press("wheel rt"));
    k.bind({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5"),
            QStringLiteral("6")},
           QStringLiteral("radio buttons 1-6"), [&car](const QString& key) {
               if (const Control* c = findControl(QStringLiteral("button ") + key))
                   car.press(*c);
           });
    k.bind({QStringLiteral("f")}, QStringLiteral("FM"), press("button fm"));
    k.bind({QStringLiteral("m")}, QStringLiteral("AM"), press("button am"));
    k.bind({QStringLiteral("o")}, QStringLiteral("MODE"), press("button mode"));
    k.bind({QStringLiteral("t")}, QStringLiteral("TP"), press("button tp"));
    k.bind({QStringLiteral("n")}, QStringLiteral("radio/navigation switch"), press("button radnav"));
    k.bind({QStringLiteral("p")}, QStringLiteral("radio power"), press("button power"));
    k.bind({QStringLiteral("e")}, QStringLiteral("tone"), press("button tone"));
    k.bind({QStringLiteral("u")}, QStringLiteral("menu"), press("button menu"));
    k.bind({QStringLiteral("T")}, QStringLiteral("source tape"), [&car] { car.selectSource(CarModel::Source::Tape); });
    k.bind({QStringLiteral("X")}, QStringLiteral("source AUX"), [&car] { car.selectSource(CarModel::Source::Aux); });
    k.bind({QStringLiteral("C")}, QStringLiteral("source CD"), [&car] { car.selectSource(CarModel::Source::Cd); });
    k.bind({QStringLiteral("R")}, QStringLiteral("source radio"), [&car] { car.selectSource(CarModel::Source::Radio); });
    k.bind({QStringLiteral("k")}, QStringLiteral("check-control button"), [&car] { car.pressCheckControl(); });
    k.bind({QStringLiteral("g")}, QStringLiteral("telephone: idle, talking, hands-free"), [this] {
        phone_ = phone_ == 0x10 ? 0x30 : phone_ == 0x30 ? 0x31 : 0x10;
        car_.setPhoneState(phone_);
    });
    k.bind({QStringLiteral("j")}, QStringLiteral("next street"), [&car] { car.nextStreet(); });
    k.bind({QStringLiteral("b")}, QStringLiteral("cut the bus / bring it back (idle test)"), [this] {
        if (writer_.silent()) {
            writer_.endSilence();
            output_.note(QStringLiteral("bus back"));
        } else {
            writer_.silence(-1);
            output_.note(QStringLiteral("bus cut"));
        }
    });
    k.bind({QStringLiteral("v")}, QStringLiteral("unplug the interface for 5 s"), [this] {
        output_.note(QStringLiteral("interface unplugged for 5 s"));
        port_.vanish(5000);
    });
    k.bind({QStringLiteral("q")}, QStringLiteral("quit"), [this] { emit quitRequested(); });
}

} // namespace zarn::carsim
