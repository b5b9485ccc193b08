// The real zarn program on a pseudo-terminal with a movie directory of its own: the knob
// walks to the movie list and starts the movie, the steering wheel and the knob seek in
// it (the on-screen progress comes and its timer ends), a knob press opens the options
// overlay, and the radio's TP button pauses the movie.
#include "ibus/FrameText.h"
#include "MovieFiles.h"
#include "PtyPair.h"
#include "TestSupport.h"
#include "ZarnProcess.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

using namespace zarn;
using test::hexBytes;

namespace {
// Only a bound on failure: every wait ends on the line or the file it waits for.
constexpr int TimeoutMs = 60000;

// A code of the code table with its checksum: the frame the car sends.
QByteArray carFrame(const char* hex)
{
    QByteArray frame = hexBytes(QLatin1String(hex));
    frame.append(char(FrameChecksum(frame)));
    return frame;
}
const QByteArray KnobLeft = carFrame("F0043B4901");
const QByteArray KnobRight = carFrame("F0043B4981");
const QByteArray KnobPress = carFrame("F0043B4845");
const QByteArray WheelUp = hexBytes(QStringLiteral("5004C83B01A6"));
const QByteArray TpPress = hexBytes(QStringLiteral("F004684832E6"));

// Whether the process holds this file open (libmpv reads the movie).
bool holdsOpen(qint64 pid, const QString& path)
{
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
    for (const QFileInfo& fd : fds.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
        if (fd.symLinkTarget() == path)
            return true;
    return false;
}

int count(const QStringList& lines, const QString& text)
{
    return int(std::count(lines.begin(), lines.end(), text));
}

// One frame to its own block, handled when the dispatcher's line for it has come.
bool send(test::PtyPair& pty, const test::ZarnProcess& zarn, const QByteArray& frame, const QString& line)
{
    const int before = count(zarn.statusTexts(), line);
    return pty.write(frame)
           && QTest::qWaitFor([&] { return count(zarn.statusTexts(), line) > before; }, TimeoutMs);
}
const QString Pressed = QStringLiteral("BMW_Menu_turnknob_Press found");
const QString Left = QStringLiteral(" BMW_Menu_turnknob_Counterclockwise - numsteps = 1");
const QString Right = QStringLiteral("BMW_Menu_turnknob_Clockwise - numsteps = 1");
} // namespace

class TestZarnMovie : public QObject {
    Q_OBJECT
private slots:
    void playsSeeksAndPausesFromTheBus()
    {
        qputenv("ZARN_MPV_OPTIONS", "ao=null");
        test::PtyPair pty;
        QVERIFY(pty.isOpen());
        test::ZarnProcess zarn;
        const QString movies = zarn.home() + QStringLiteral("/movies");
        QVERIFY(QDir().mkpath(movies));
        const QString movie = movies + QStringLiteral("/A long test movie.mpg");
        // Long enough that it never ends by itself while the test runs.
        QVERIFY(test::makeMovie(movie, 600, QStringLiteral("160x120")));
        zarn.writeIni("[COM-Port]\nDevicePath=" + pty.slavePath().toUtf8() + "\n[Pathes]\nmovies=" + movies.toUtf8()
                      + "\n[Driverslog]\nrecord=0\n"); // no business-trip question over the pages
        QVERIFY(zarn.start({QStringLiteral("/TIMERS"), QStringLiteral("/TRACE"), QStringLiteral("/FORCESCREEN")}));
        QVERIFY(zarn.waitForLine(QStringLiteral("Last known mileage read - number is 4711"), TimeoutMs));
        // The random list's read shows the main menu when it ends; it comes first.
        QVERIFY(zarn.waitForLine(QStringLiteral("No Random list found as ") + zarn.home() + "/Zarn_random.txt", TimeoutMs));

        // Main menu: the music item has the focus; one step on is the movie item.
        // On the movie page the up item has it; two steps on is the list.
        QVERIFY(send(pty, zarn, KnobLeft, Left));
        QVERIFY(send(pty, zarn, KnobPress, Pressed));
        QVERIFY(send(pty, zarn, KnobLeft, Left));
        QVERIFY(send(pty, zarn, KnobLeft, Left));
        QVERIFY(send(pty, zarn, KnobPress, Pressed));
        const bool playing = QTest::qWaitFor([&] { return holdsOpen(zarn.pid(), movie); }, TimeoutMs);
        if (!playing) // Qt Test cuts long messages: the lines one by one
            for (const QString& line : zarn.statusTexts().filter(QRegularExpression("^(?!BMW_|\\$\\$\\$)")))
                qWarning().noquote() << line;
        QVERIFY(playing);

        QVERIFY(send(pty, zarn, WheelUp, QStringLiteral("BMW_Wheel_Up_Press found")));
        QVERIFY(zarn.waitForLine(QStringLiteral("$$$ Timer - Movie_progress_onstage_timer"), TimeoutMs));
        QVERIFY(send(pty, zarn, KnobRight, Right));
        QVERIFY(QTest::qWaitFor(
            [&] { return count(zarn.statusTexts(), QStringLiteral("$$$ Timer - Movie_progress_onstage_timer")) >= 2; },
            TimeoutMs));

        QVERIFY(send(pty, zarn, KnobPress, Pressed)); // the overlay opens, and hides after its 15 s
        QVERIFY(zarn.waitForLine(QStringLiteral("$$$ Timer - MovieOptionsPanelDisappearTimer"), TimeoutMs));
        // The TP button also takes the car's screen back, so it comes last.
        QVERIFY(pty.write(TpPress));
        QVERIFY(zarn.waitForLine(QStringLiteral("Movie paused"), TimeoutMs));
        QVERIFY(holdsOpen(zarn.pid(), movie));
        QCOMPARE(zarn.terminate(), 0);
    }
};

QTEST_GUILESS_MAIN(TestZarnMovie)
#include "tst_zarn_movie.moc"
