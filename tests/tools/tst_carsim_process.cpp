// zarn-carsim as a program: a replay goes out byte-exact with its grouping, and what the
// test writes back is checked and explained on standard output.

#include "TestSupport.h"

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
                     "0.300 80 04 FF 57 01 2D\n"
                     "0.301 F0 04 3B 49 83 05   # same burst\n"
                     "0.600 18 04 FF 02 00 E0   # sent as written\n");
        replay.close();
        const QString link = dir.filePath(QStringLiteral("ttyCAR"));

        QProcess sim;
        sim.start(zarn::test::binaryPath(QStringLiteral("zarn-carsim")),
                  {QStringLiteral("--link"), link, QStringLiteral("--replay"), replayPath, QStringLiteral("--exit-after"),
                   QStringLiteral("2")});
        QVERIFY2(sim.waitForStarted(5000), qPrintable(sim.errorString()));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(link).isSymLink(), 5000);

        const int fd = ::open(QFile::encodeName(link).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        QVERIFY(fd >= 0);
        termios tio{};
        ::tcgetattr(fd, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(fd, TCSANOW, &tio);

        const QByteArray expected = QByteArray::fromHex("6803180172" "8004FF57012D" "F0043B498305" "1804FF0200E0");
        QList<Chunk> chunks;
        QByteArray all;
        QElapsedTimer clock;
        clock.start();
        while (all.size() < expected.size() && clock.elapsed() < 10000) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 10) <= 0)
                continue;
            char buffer[256];
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n > 0) {
                chunks.append({clock.elapsed(), QByteArray(buffer, int(n))});
                all += QByteArray(buffer, int(n));
            }
        }
        QCOMPARE(all.toHex(' '), expected.toHex(' '));
        QCOMPARE(groups(chunks, 100),
                 (QList<QByteArray>{QByteArray::fromHex("6803180172"), QByteArray::fromHex("8004FF57012DF0043B498305"),
                                    QByteArray::fromHex("1804FF0200E0")}));
        // Within the burst the second frame waits for the wire time of the first (6 bytes
        // at 9600 baud, 8E1: 6.9 ms).
        qint64 secondFrameAt = -1, firstFrameAt = -1;
        qsizetype seen = 0;
        for (const Chunk& c : chunks) {
            if (seen <= 5 && seen + c.bytes.size() > 5)
                firstFrameAt = c.atMs;
            if (seen <= 11 && seen + c.bytes.size() > 11)
                secondFrameAt = c.atMs;
            seen += c.bytes.size();
        }
        QVERIFY2(secondFrameAt - firstFrameAt >= 6, qPrintable(QString::number(secondFrameAt - firstFrameAt)));

        // A good frame, a wrong checksum and a frame cut short by the quiet line.
        const QByteArray back = QByteArray::fromHex("1804FF0200E1" "1804FF0200E0" "180A6839");
        QCOMPARE(::write(fd, back.constData(), size_t(back.size())), ssize_t(back.size()));

        QVERIFY(sim.waitForFinished(10000));
        QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
        QCOMPARE(sim.exitCode(), 1);
        char rest[64];
        QVERIFY(::read(fd, rest, sizeof rest) <= 0); // nothing but the replay came
        ::close(fd);
        QVERIFY(!QFileInfo(link).isSymLink());

        const QStringList lines = QString::fromUtf8(sim.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        static const QRegularExpression programLine(QStringLiteral("^ *\\d+\\.\\d{3} < (.*)$"));
        QStringList fromProgram;
        for (const QString& line : lines) {
            const auto m = programLine.match(line);
            if (m.hasMatch())
                fromProgram << m.captured(1);
            else
                QVERIFY2(line.startsWith(QLatin1Char('#')), qPrintable(line));
        }
        QCOMPARE(fromProgram, (QStringList{"18 04 FF 02 00 E1 | CD changer answer: poll",
                                           "18 04 FF 02 00 E0 | MALFORMED: checksum E0, expected E1",
                                           "18 0A 68 39 | MALFORMED: cut short, 4 of 12 bytes"}));
    }
};

QTEST_GUILESS_MAIN(TestCarsimProcess)
#include "tst_carsim_process.moc"
