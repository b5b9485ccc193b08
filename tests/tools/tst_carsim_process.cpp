// zarn-carsim as a program: a replay goes out byte-exact with its grouping, and what the
// test writes back is checked and explained on standard output; a home that is whole
// before its link appears; scenario lines from standard input.

#include "CarSimProcess.h"
#include "TestSupport.h"
#include "carsim/Hex.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {
struct Chunk {
    qint64 atMs;
    QByteArray bytes;
};

// Chunks that arrive within gapMs of the previous one belong to the same group.
QList<QByteArray> groups(const QList<Chunk>& chunks, qint64 gapMs)
{
    QList<QByteArray> out;
    qint64 last = -1000000;
    for (const Chunk& c : chunks) {
        if (c.atMs - last > gapMs)
            out << QByteArray();
        out.last() += c.bytes;
        last = c.atMs;
    }
    return out;
}

// The port as the program opens it.
int openRaw(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd >= 0) {
        termios tio{};
        ::tcgetattr(fd, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(fd, TCSANOW, &tio);
    }
    return fd;
}

// Reads until `count` bytes came (or 30 s passed), each chunk with its arrival time.
QList<Chunk> readChunks(int fd, qsizetype count)
{
    QList<Chunk> chunks;
    qsizetype got = 0;
    QElapsedTimer clock;
    clock.start();
    while (got < count && clock.elapsed() < 30000) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 10) <= 0)
            continue;
        char buffer[256];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            chunks.append({clock.elapsed(), QByteArray(buffer, int(n))});
            got += n;
        }
    }
    return chunks;
}

// The simulator's time of its first line (a note, or a frame "> 68 03 ...") that begins
// with text, in seconds; -1 when there is none.
double stampOf(const QString& output, const QString& text)
{
    static const QRegularExpression line(QStringLiteral("^(?:# )? *(\\d+\\.\\d{3}) (.*)$"), QRegularExpression::MultilineOption);
    for (auto it = line.globalMatch(output); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(2).startsWith(text))
            return m.captured(1).toDouble();
    }
    return -1;
}

QByteArray joined(const QList<Chunk>& chunks)
{
    QByteArray all;
    for (const Chunk& c : chunks)
        all += c.bytes;
    return all;
}
} // namespace

class TestCarsimProcess : public QObject {
    Q_OBJECT
private slots:
    void replaysAndChecksWhatComesBack()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString replayPath = dir.filePath(QStringLiteral("drive.replay"));
        QFile replay(replayPath);
        QVERIFY(replay.open(QIODevice::WriteOnly));
        replay.write("# three bursts\n"
                     "0.050 68 03 18 01 72\n"
                     "0.800 80 04 FF 57 01 2D\n"
                     "0.801 F0 04 3B 49 83 05   # same burst\n"
                     "1.600 18 04 FF 02 00 E0   # sent as written\n");
        replay.close();
        const QString link = dir.filePath(QStringLiteral("ttyCAR"));

        zarn::test::CarSimProcess sim;
        QVERIFY(sim.startWith({QStringLiteral("--link"), link, QStringLiteral("--replay"), replayPath,
                               QStringLiteral("--echo"), QStringLiteral("--no-keys")}));
        const int fd = openRaw(link);
        QVERIFY(fd >= 0);

        const QByteArray expected = QByteArray::fromHex("6803180172" "8004FF57012D" "F0043B498305" "1804FF0200E0");
        const QList<Chunk> chunks = readChunks(fd, expected.size());
        QCOMPARE(joined(chunks).toHex(' '), expected.toHex(' '));
        // The bursts are 750 ms apart: a reader held up for less still tells them apart.
        QCOMPARE(groups(chunks, 350),
                 (QList<QByteArray>{QByteArray::fromHex("6803180172"), QByteArray::fromHex("8004FF57012DF0043B498305"),
                                    QByteArray::fromHex("1804FF0200E0")}));

        // A good frame, a wrong checksum and a frame cut short by the quiet line.
        const QByteArray back = QByteArray::fromHex("1804FF0200E1" "1804FF0200E0" "180A6839");
        QCOMPARE(::write(fd, back.constData(), size_t(back.size())), ssize_t(back.size()));
        QVERIFY2(sim.waitForOutput(QStringLiteral("MALFORMED: cut short")), qPrintable(sim.output()));
        QCOMPARE(sim.stop(), 1);
        char rest[64];
        QVERIFY(::read(fd, rest, sizeof rest) <= 0); // nothing but the replay came
        ::close(fd);
        QVERIFY(!QFileInfo(link).isSymLink());

        static const QRegularExpression frameLine(QStringLiteral("^ *(\\d+\\.\\d{3}) ([<>]) (.*)$"));
        QStringList fromProgram;
        for (const QString& line : sim.output().split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const auto m = frameLine.match(line);
            if (!m.hasMatch())
                QVERIFY2(line.startsWith(QLatin1Char('#')), qPrintable(line));
            else if (m.captured(2) == QLatin1String("<"))
                fromProgram << m.captured(3);
        }
        QCOMPARE(fromProgram, (QStringList{"18 04 FF 02 00 E1 | CD changer answer: poll",
                                           "18 04 FF 02 00 E0 | MALFORMED: checksum E0, expected E1",
                                           "18 0A 68 39 | MALFORMED: cut short, 4 of 12 bytes"}));
        // Within the burst the second frame waits for the wire time of the first (6 bytes
        // at 9600 baud, 8E1: 6.9 ms).
        const double wire = stampOf(sim.output(), QStringLiteral("> F0 04 3B 49 83 05"))
                          - stampOf(sim.output(), QStringLiteral("> 80 04 FF 57 01 2D"));
        QVERIFY2(wire >= 0.0065, qPrintable(QString::number(wire)));
    }

    // Whoever starts the program as soon as the link exists finds Zarn.ini naming it.
    void homeIsWholeWhenTheLinkAppears()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString link = dir.filePath(QStringLiteral("ttyCAR"));
        QProcess sim;
        sim.start(zarn::test::binaryPath(QStringLiteral("zarn-carsim")),
                  {QStringLiteral("--prepare-home"), dir.path(), QStringLiteral("--link"), link, QStringLiteral("--no-car"),
                   QStringLiteral("--no-keys"), QStringLiteral("--exit-after"), QStringLiteral("30")});
        QVERIFY2(sim.waitForStarted(30000), qPrintable(sim.errorString()));
        QElapsedTimer clock;
        clock.start();
        while (!QFileInfo(link).isSymLink() && clock.elapsed() < 30000) {
        }
        QVERIFY(QFileInfo(link).isSymLink());
        QVERIFY2(zarn::test::readAll(dir.filePath(QStringLiteral("Zarn.ini"))).contains("DevicePath=" + QFile::encodeName(link)),
                 "the link came before the home");
        sim.terminate();
        QVERIFY(sim.waitForFinished(30000));
        QCOMPARE(sim.exitCode(), 0);
    }

    void liveLinesWaitForTheGreetingAndKeepTheirSpacing()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        zarn::test::CarSimProcess car;
        QVERIFY(car.startLive(dir.path(), {QStringLiteral("--no-car"), QStringLiteral("--echo")}));
        QVERIFY(car.run("0 wait-for greeting timeout 30\n"
                        "+0 frame 68 03 18 01 72\n"
                        "+0.3 frame 80 04 FF 57 01 2D\n"));
        const int fd = openRaw(car.linkPath());
        QVERIFY(fd >= 0);
        // Another cluster text first: only the greeting ends the wait.
        using zarn::carsim::makeFrame;
        const QByteArray texts = makeFrame(0x68, 0x80, QByteArray("\x23\x62\x30", 3) + "Zarn is here")
                               + makeFrame(0x68, 0x80, QByteArray("\x23\x62\x30", 3) + "Zarn 9.9 start..");
        QCOMPARE(::write(fd, texts.constData(), size_t(texts.size())), ssize_t(texts.size()));
        QVERIFY(car.waitForOutput(QStringLiteral("cluster text: \"Zarn is here\"")));
        QVERIFY(car.waitForGreeting());
        QVERIFY(car.waitForOutput(QStringLiteral("line 1: wait-for greeting: ok")));

        const QByteArray expected = QByteArray::fromHex("6803180172" "8004FF57012D");
        QCOMPARE(joined(readChunks(fd, expected.size())).toHex(' '), expected.toHex(' '));
        // The second line runs 0.3 s after the first's time, the end of the wait; the
        // simulator's own times, which a slow reader cannot shorten.
        QVERIFY(car.waitForOutput(QStringLiteral("> 80 04 FF 57 01 2D")));
        const double spacing = stampOf(car.output(), QStringLiteral("> 80 04 FF 57 01 2D"))
                             - stampOf(car.output(), QStringLiteral("line 1: wait-for greeting: ok"));
        QVERIFY2(spacing >= 0.3, qPrintable(QString::number(spacing) + "\n" + car.output()));

        // A line that cannot be read fails the run, and the run goes on.
        QVERIFY(car.run("0 knbo right\n0 exit\n"));
        QCOMPARE(car.waitForExit(30000), 3);
        QVERIFY2(car.output().contains(QLatin1String("line 4: unknown event 'knbo': FAILED")), qPrintable(car.output()));
        ::close(fd);
    }
};

QTEST_GUILESS_MAIN(TestCarsimProcess)
#include "tst_carsim_process.moc"
