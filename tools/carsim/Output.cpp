#include "carsim/Output.h"

#include "carsim/Controls.h"
#include "carsim/FrameExplainer.h"
#include "carsim/FrameReader.h"
#include "carsim/Hex.h"

#include <QElapsedTimer>

#include <cstdio>

namespace zarn::carsim {

namespace {
QElapsedTimer& clock()
{
    static QElapsedTimer timer;
    if (!timer.isValid())
        timer.start();
    return timer;
}

QString stamp(qint64 ms)
{
    return QStringLiteral("%1.%2").arg(ms / 1000, 5).arg(ms % 1000, 3, 10, QLatin1Char('0'));
}
} // namespace

void Output::startClock() { clock(); }
qint64 Output::nowMs() { return clock().elapsed(); }
qint64 Output::nowUs() { return clock().nsecsElapsed() / 1000; }

QString Output::frameLine(qint64 ms, char direction, const QByteArray& bytes, const QString& meaning)
{
    return stamp(ms) + QLatin1Char(' ') + QLatin1Char(direction) + QLatin1Char(' ') + hexString(bytes)
           + QStringLiteral(" | ") + meaning;
}

void Output::programFrame(const ReadFrame& frame)
{
    const QString meaning = frame.malformed() ? QStringLiteral("MALFORMED: ") + frame.problem
                                              : explainFrame(frame.bytes);
    write(frameLine(nowMs(), '<', frame.bytes, meaning));
}

void Output::carFrame(const QByteArray& frame, const QString& fate)
{
    if (!echo_)
        return;
    // The car's faults are shown as such; the knob codes the program expects are known
    // by name even though their checksum is not the XOR of their bytes.
    const QString problem = FrameReader::problemOf(frame);
    QString meaning = problem.isEmpty() || findControlByFrame(frame) ? explainFrame(frame)
                                                                     : QStringLiteral("faulty: ") + problem;
    if (!fate.isEmpty())
        meaning += QStringLiteral(" (not delivered: ") + fate + QLatin1Char(')');
    write(frameLine(nowMs(), '>', frame, meaning));
}

void Output::note(const QString& text)
{
    write(QStringLiteral("# ") + stamp(nowMs()).trimmed() + QLatin1Char(' ') + text);
}

void Output::write(const QString& line)
{
    std::fputs((line + QLatin1Char('\n')).toUtf8().constData(), stdout);
    std::fflush(stdout);
}

} // namespace zarn::carsim
