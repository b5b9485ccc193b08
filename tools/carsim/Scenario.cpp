#include "carsim/Scenario.h"

#include "carsim/CarFrames.h"
#include "carsim/Controls.h"
#include "carsim/Hex.h"
#include "ibus/FrameText.h"

#include <QFile>
#include <QRegularExpression>

#include <cmath>
#include <optional>

namespace zarn::carsim {

namespace {
using Kind = ScenarioStep::Kind;

struct ParseError {
    QString message;
};

std::optional<double> number(const QString& text)
{
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

qint64 seconds(const QString& text, const char* what)
{
    const auto v = number(text);
    if (!v || *v < 0)
        throw ParseError{QStringLiteral("%1 '%2' is not a number of seconds").arg(QLatin1String(what), text)};
    return qint64(std::llround(*v * 1000));
}

int integer(const QString& text, int min, int max, const char* what)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < min || v > max)
        throw ParseError{QStringLiteral("%1 '%2' is not a whole number from %3 to %4")
                             .arg(QLatin1String(what), text)
                             .arg(min)
                             .arg(max)};
    return v;
}

QByteArray hexBytes(const QStringList& tokens)
{
    if (tokens.isEmpty())
        throw ParseError{QStringLiteral("bytes missing")};
    QString error;
    const auto bytes = parseHexBytes(tokens, &error);
    if (!bytes)
        throw ParseError{error};
    return *bytes;
}

// "... timeout 5" / "... within 3": the bytes before the keyword and the duration after.
QByteArray hexWithDuration(QStringList args, const char* keyword, qint64 fallbackMs, qint64* durationMs)
{
    *durationMs = fallbackMs;
    const qsizetype at = args.indexOf(QLatin1String(keyword));
    if (at >= 0) {
        if (at != args.size() - 2)
            throw ParseError{QStringLiteral("'%1' takes one number of seconds at the end of the line").arg(QLatin1String(keyword))};
        *durationMs = seconds(args[at + 1], keyword);
        args = args.mid(0, at);
    }
    return hexBytes(args);
}

QString oneOf(const QStringList& args, const QStringList& words, const char* what)
{
    if (args.size() != 1 || !words.contains(args[0]))
        throw ParseError{QStringLiteral("%1 must be one of: %2").arg(QLatin1String(what), words.join(QStringLiteral(", ")))};
    return args[0];
}

void noArguments(const QStringList& args, const QString& event)
{
    if (!args.isEmpty())
        throw ParseError{QStringLiteral("'%1' takes no arguments").arg(event)};
}

QString text(const QString& rest, const QString& event)
{
    QString t = rest.trimmed();
    if (t.size() >= 2 && t.startsWith(QLatin1Char('"')) && t.endsWith(QLatin1Char('"')))
        t = t.mid(1, t.size() - 2);
    if (t.isEmpty())
        throw ParseError{QStringLiteral("'%1' needs a text").arg(event)};
    return t;
}

void parseEvent(ScenarioStep& s, const QString& event, const QStringList& args, const QString& rest)
{
    if (event == QLatin1String("knob")) {
        if (args.value(0) == QLatin1String("press") || args.value(0) == QLatin1String("long")) {
            noArguments(args.mid(1), event);
            s.kind = Kind::Press;
            s.word = QStringLiteral("knob ") + args[0];
            return;
        }
        if (args.value(0) != QLatin1String("right") && args.value(0) != QLatin1String("left"))
            throw ParseError{QStringLiteral("knob must be: right [N], left [N], press, long")};
        if (args.size() > 2)
            throw ParseError{QStringLiteral("knob %1 takes one step count").arg(args[0])};
        s.kind = Kind::Knob;
        s.flag = args[0] == QLatin1String("right");
        s.number = args.size() == 2 ? integer(args[1], 1, 9, "steps") : 1;
    } else if (event == QLatin1String("wheel") || event == QLatin1String("button")) {
        const QString name = event + QLatin1Char(' ') + args.value(0);
        if (args.size() != 1 || !findControl(name)) {
            QStringList names;
            for (const Control& c : controls())
                if (c.name.startsWith(event + QLatin1Char(' ')))
                    names << c.name.mid(event.size() + 1);
            throw ParseError{QStringLiteral("%1 must be one of: %2").arg(event, names.join(QStringLiteral(", ")))};
        }
        s.kind = Kind::Press;
        s.word = name;
    } else if (event == QLatin1String("source")) {
        s.kind = Kind::Source;
        s.word = oneOf(args, {QStringLiteral("radio"), QStringLiteral("tape"), QStringLiteral("tape-c"),
                              QStringLiteral("aux"), QStringLiteral("cd")}, "source");
    } else if (event == QLatin1String("check-control")) {
        noArguments(args, event);
        s.kind = Kind::CheckControl;
    } else if (event == QLatin1String("phone")) {
        s.kind = Kind::Phone;
        s.word = oneOf(args, {QStringLiteral("handsfree"), QStringLiteral("talk"), QStringLiteral("idle")}, "phone");
        s.number = s.word == QLatin1String("handsfree") ? 0x31 : s.word == QLatin1String("talk") ? 0x30 : 0x10;
    } else if (event == QLatin1String("tape-state")) {
        s.kind = Kind::TapeState;
        s.word = oneOf(args, {QStringLiteral("play"), QStringLiteral("standby"), QStringLiteral("stopon"),
                              QStringLiteral("stopon2")}, "tape-state");
        s.number = s.word == QLatin1String("play") ? 0x80 : s.word == QLatin1String("standby") ? 0x30
                 : s.word == QLatin1String("stopon") ? 0xE2 : 0x84;
    } else if (event == QLatin1String("split-screen")) {
        noArguments(args, event);
        s.kind = Kind::SplitScreen;
    } else if (event == QLatin1String("time")) {
        s.kind = Kind::Time;
        if (args.size() > 1)
            throw ParseError{QStringLiteral("time takes one HH:MM")};
        if (args.size() == 1) {
            s.time = QTime::fromString(args[0], QStringLiteral("H:mm"));
            if (!s.time.isValid())
                throw ParseError{QStringLiteral("'%1' is not a time HH:MM").arg(args[0])};
        }
    } else if (event == QLatin1String("drive")) {
        s.kind = Kind::Drive;
        if (args.size() != 1)
            throw ParseError{QStringLiteral("drive takes a speed in km/h or 'route'")};
        s.number = args[0] == QLatin1String("route") ? -1 : integer(args[0], 0, 510, "speed");
    } else if (event == QLatin1String("odometer")) {
        s.kind = Kind::Odometer;
        if (args.size() > 1)
            throw ParseError{QStringLiteral("odometer takes one number of km")};
        s.flag = args.size() == 1;
        if (s.flag)
            s.number = integer(args[0], 0, 0xFFFFFF, "km");
    } else if (event == QLatin1String("position")) {
        s.kind = Kind::Position;
        if (args.size() != 0 && args.size() != 2)
            throw ParseError{QStringLiteral("position takes latitude and longitude in degrees")};
        if (args.size() == 2) {
            const auto lat = number(args[0]);
            const auto lon = number(args[1]);
            if (!lat || !lon || std::fabs(*lat) > 90 || std::fabs(*lon) > 180)
                throw ParseError{QStringLiteral("'%1 %2' is not a latitude and longitude").arg(args[0], args[1])};
            s.flag = true;
            s.latitude = *lat;
            s.longitude = *lon;
        }
    } else if (event == QLatin1String("city") || event == QLatin1String("street")) {
        s.kind = event == QLatin1String("city") ? Kind::City : Kind::Street;
        s.word = text(rest, event);
    } else if (event == QLatin1String("route")) {
        oneOf(args, {QStringLiteral("next")}, "route");
        s.kind = Kind::RouteNext;
    } else if (event == QLatin1String("frame")) {
        s.kind = Kind::Frames;
        s.frames = {hexBytes(args)};
    } else if (event == QLatin1String("send")) {
        // A send text: source, length placeholder, destination, data; length and checksum
        // are filled in.
        s.kind = Kind::Frames;
        QStringList tokens = args;
        if (tokens.size() < 3)
            throw ParseError{QStringLiteral("send takes source, XX, destination and data")};
        tokens[1] = QStringLiteral("00");
        hexBytes(tokens);
        s.frames = {BuildFrame(args.join(QLatin1Char(' ')))};
    } else if (event == QLatin1String("burst")) {
        s.kind = Kind::Frames;
        for (const QString& part : rest.split(QLatin1Char('/')))
            s.frames << hexBytes(part.split(QLatin1Char(' '), Qt::SkipEmptyParts));
    } else if (event == QLatin1String("wait-for")) {
        s.kind = Kind::WaitFor;
        if (args.value(0) == QLatin1String("greeting")) {
            s.word = args[0];
            if (args.size() != 1 && (args.size() != 3 || args[1] != QLatin1String("timeout")))
                throw ParseError{QStringLiteral("wait-for greeting takes only 'timeout S'")};
            s.durationMs = args.size() == 3 ? seconds(args[2], "timeout") : Scenario::DefaultWaitTimeoutMs;
            return;
        }
        s.frames = {hexWithDuration(args, "timeout", Scenario::DefaultWaitTimeoutMs, &s.durationMs)};
    } else if (event == QLatin1String("expect") || event == QLatin1String("expect-none")) {
        s.kind = event == QLatin1String("expect") ? Kind::Expect : Kind::ExpectNone;
        s.frames = {hexWithDuration(args, "within", Scenario::DefaultExpectWindowMs, &s.durationMs)};
    } else if (event == QLatin1String("silence")) {
        s.kind = Kind::Silence;
        if (args.size() != 1)
            throw ParseError{QStringLiteral("silence takes a number of seconds or 'off'")};
        s.durationMs = args[0] == QLatin1String("off") ? 0 : seconds(args[0], "silence");
        s.flag = args[0] != QLatin1String("off");
    } else if (event == QLatin1String("vanish")) {
        s.kind = Kind::Vanish;
        if (args.size() != 1)
            throw ParseError{QStringLiteral("vanish takes a number of seconds")};
        s.durationMs = seconds(args[0], "vanish");
    } else if (event == QLatin1String("broken")) {
        s.kind = Kind::Broken;
        if (args.isEmpty())
            throw ParseError{QStringLiteral("broken must be: short, checksum, length")};
        s.word = oneOf({args[0]}, {QStringLiteral("short"), QStringLiteral("checksum"), QStringLiteral("length")}, "broken");
        s.frames = {args.size() > 1 ? hexBytes(args.mid(1)) : frames::cdPoll()};
    } else if (event == QLatin1String("garbage")) {
        s.kind = Kind::Garbage;
        if (args.size() != 1)
            throw ParseError{QStringLiteral("garbage takes a byte count")};
        s.number = integer(args[0], 1, 4096, "byte count");
    } else if (event == QLatin1String("flood")) {
        s.kind = Kind::Flood;
        if (args.isEmpty() || args.size() > 2 || (args.size() == 2 && args[1] != QLatin1String("random")))
            throw ParseError{QStringLiteral("flood takes a number of seconds and optionally 'random'")};
        s.durationMs = seconds(args[0], "flood");
        s.flag = args.size() == 2;
    } else if (event == QLatin1String("car")) {
        s.kind = Kind::Car;
        s.flag = oneOf(args, {QStringLiteral("on"), QStringLiteral("off")}, "car") == QLatin1String("on");
    } else if (event == QLatin1String("say")) {
        s.kind = Kind::Say;
        s.word = text(rest, event);
    } else if (event == QLatin1String("exit")) {
        noArguments(args, event);
        s.kind = Kind::Exit;
    } else {
        throw ParseError{QStringLiteral("unknown event '%1'").arg(event)};
    }
}
} // namespace

Scenario Scenario::parse(const QString& source)
{
    Scenario scenario;
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QStringList lines = source.split(QLatin1Char('\n'));
    qint64 previousMs = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        const qsizetype hash = line.indexOf(QLatin1Char('#'));
        if (hash >= 0)
            line.truncate(hash);
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        ScenarioStep step;
        step.line = int(i + 1);
        try {
            // time, event, then the rest of the line as written
            QString rest = line;
            const auto takeWord = [&rest]() {
                rest = rest.trimmed();
                const qsizetype end = rest.indexOf(blanks);
                const QString word = end < 0 ? rest : rest.left(end);
                rest = end < 0 ? QString() : rest.mid(end);
                return word;
            };
            const QString timeWord = takeWord();
            const bool relative = timeWord.startsWith(QLatin1Char('+'));
            const auto t = number(relative ? timeWord.mid(1) : timeWord);
            if (!t || *t < 0)
                throw ParseError{QStringLiteral("'%1' is not a time in seconds").arg(timeWord)};
            step.atMs = (relative ? previousMs : 0) + qint64(std::llround(*t * 1000));
            if (step.atMs < previousMs)
                throw ParseError{QStringLiteral("time %1 is before the previous line's %2")
                                     .arg(timeWord, QString::number(previousMs / 1000.0))};
            const QString event = takeWord();
            if (event.isEmpty())
                throw ParseError{QStringLiteral("event missing after the time")};
            const QStringList args = rest.split(blanks, Qt::SkipEmptyParts);
            parseEvent(step, event, args, rest);
        } catch (const ParseError& e) {
            scenario.steps_.clear();
            scenario.error_ = e.message;
            scenario.errorLine_ = step.line;
            return scenario;
        }
        previousMs = step.atMs;
        scenario.steps_.append(step);
    }
    return scenario;
}

Scenario Scenario::load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        Scenario s;
        s.error_ = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return s;
    }
    return parse(QString::fromUtf8(file.readAll()));
}

} // namespace zarn::carsim
