#include "carsim/CarSimOptions.h"

#include <QCommandLineParser>

#include <cmath>

namespace zarn::carsim {

std::optional<CarSimOptions> CarSimOptions::parse(const QStringList& arguments, QString* message, bool* helpOnly)
{
    *helpOnly = false;
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral(
        "Plays an I-Bus car on a pseudo-terminal for Zarn: radio, monitor knob and buttons, steering wheel, "
        "cluster, navigation and telephone. Prints every frame the program sends, one line each."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help."));
    const QCommandLineOption link(QStringLiteral("link"), QStringLiteral("Make PATH a symbolic link to the port."), QStringLiteral("PATH"));
    const QCommandLineOption home(QStringLiteral("prepare-home"),
                                  QStringLiteral("Write DIR/Zarn.ini with this port and CD emulation on, then run."),
                                  QStringLiteral("DIR"));
    const QCommandLineOption scenario(QStringLiteral("scenario"), QStringLiteral("Play the scenario FILE; - reads its lines from standard input as they come."),
                                      QStringLiteral("FILE"));
    const QCommandLineOption replay(QStringLiteral("replay"),
                                    QStringLiteral("Send the frames of FILE at their times, and nothing else."),
                                    QStringLiteral("FILE"));
    const QCommandLineOption exitAfter(QStringLiteral("exit-after"), QStringLiteral("End after SECONDS."), QStringLiteral("SECONDS"));
    const QCommandLineOption echo(QStringLiteral("echo"), QStringLiteral("Print the car's frames too (marked >)."));
    const QCommandLineOption noCar(QStringLiteral("no-car"),
                                   QStringLiteral("No traffic of the car's own (polls, speed, time, answers); "
                                                  "only scenario events and keys."));
    const QCommandLineOption noKeys(QStringLiteral("no-keys"), QStringLiteral("Do not read keys from the terminal."));
    const QCommandLineOption faults(QStringLiteral("faults"),
                                    QStringLiteral("Break PERCENT of the car's own frames (cut short, wrong checksum, lying length)."),
                                    QStringLiteral("PERCENT"));
    const QCommandLineOption gap(QStringLiteral("gap"),
                                 QStringLiteral("Quiet time between the car's transmissions (default 80)."), QStringLiteral("MS"));
    const QCommandLineOption quiet(QStringLiteral("quiet-time"),
                                   QStringLiteral("A frame from the program still incomplete after MS of quiet is cut short (default 50)."),
                                   QStringLiteral("MS"));
    const QCommandLineOption odometer(QStringLiteral("odometer"), QStringLiteral("Odometer at start (default 212968)."), QStringLiteral("KM"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Seed of the random faults."), QStringLiteral("N"));
    p.addOptions({help, link, home, scenario, replay, exitAfter, echo, noCar, noKeys, faults, gap, quiet, odometer, seed});

    if (!p.parse(arguments)) {
        *message = p.errorText();
        return std::nullopt;
    }
    if (p.isSet(help)) {
        *helpOnly = true;
        *message = p.helpText();
        return std::nullopt;
    }
    if (!p.positionalArguments().isEmpty()) {
        *message = QStringLiteral("unexpected argument '%1'").arg(p.positionalArguments().first());
        return std::nullopt;
    }
    const auto whole = [&](const QCommandLineOption& o, int min, int max, int* out) {
        if (!p.isSet(o))
            return true;
        bool ok = false;
        const int v = p.value(o).toInt(&ok);
        if (!ok || v < min || v > max) {
            *message = QStringLiteral("--%1 takes a whole number from %2 to %3").arg(o.names().first()).arg(min).arg(max);
            return false;
        }
        *out = v;
        return true;
    };

    CarSimOptions o;
    o.linkPath = p.value(link);
    o.homeDir = p.value(home);
    o.scenarioPath = p.value(scenario);
    o.replayPath = p.value(replay);
    o.echo = p.isSet(echo);
    o.ownTraffic = !p.isSet(noCar) && !p.isSet(replay);
    // Standard input carries scenario lines then, not keys.
    o.keys = !p.isSet(noKeys) && o.scenarioPath != QLatin1String("-");
    if (!o.scenarioPath.isEmpty() && !o.replayPath.isEmpty()) {
        *message = QStringLiteral("--scenario and --replay exclude each other");
        return std::nullopt;
    }
    if (p.isSet(exitAfter)) {
        bool ok = false;
        const double s = p.value(exitAfter).toDouble(&ok);
        if (!ok || !std::isfinite(s) || s < 0) {
            *message = QStringLiteral("--exit-after takes a number of seconds");
            return std::nullopt;
        }
        o.exitAfterMs = std::llround(s * 1000);
    }
    int seedValue = 0;
    if (!whole(faults, 0, 100, &o.faultPercent) || !whole(gap, 0, 10000, &o.gapMs) || !whole(quiet, 1, 10000, &o.quietMs)
        || !whole(odometer, 0, 0xFFFFFF, &o.odometerKm) || !whole(seed, 0, 0x7FFFFFFF, &seedValue))
        return std::nullopt;
    if (p.isSet(seed))
        o.seed = quint32(seedValue);
    return o;
}

} // namespace zarn::carsim
