// The real zarn program on a pseudo-terminal: the bytes it puts on the bus.
#include "ibus/FrameText.h"
#include "PtyPair.h"
#include "TestSupport.h"
#include "ZarnProcess.h"

#include <QTest>

using namespace zarn;
using test::hexBytes;

namespace {
QByteArray iniFor(const test::PtyPair& pty, const QByteArray& extra = {})
{
    return "[COM-Port]\nDevicePath=" + pty.slavePath().toUtf8() + "\n" + extra;
}

const QByteArray Greeting = "Zarn 2.9.0 Build 1005 (no voice) start..";
// Only a bound on failure: every wait ends on the bytes or the line it waits for.
constexpr int TimeoutMs = 30000;
} // namespace

class TestZarnBus : public QObject {
    Q_OBJECT
private slots:
    void cdChangerAndRequests()
    {
        test::PtyPair pty;
        QVERIFY(pty.isOpen());
        test::ZarnProcess zarn;
        zarn.writeIni(iniFor(pty, "[CD_Emulation]\nCD_CheckBox=1\n"));
        QVERIFY(zarn.start({QStringLiteral("/TRACE")}));

        // The start-up greeting on the cluster.
        QByteArray greeting = hexBytes("682D8023 6230") + Greeting;
        greeting.append(char(FrameChecksum(greeting)));
        QByteArray seen = pty.readUntil(greeting, 2 * TimeoutMs);
        QVERIFY2(seen.contains(greeting), seen.toHex(' ').constData());
        QVERIFY(zarn.waitForLine(QStringLiteral("Last known mileage read - number is 4711"), TimeoutMs));

        // Poll, state request, play, state request: one answer each, in order.
        const QList<QPair<QByteArray, QByteArray>> exchanges{
            {hexBytes("6803180172"), hexBytes("1804FF0200E1")},
            {hexBytes("6805183800004D"), hexBytes("180A68390002000100010140")},
            {hexBytes("6805183803004E"), hexBytes("180A68390209000100010149")},
            {hexBytes("6805183800004D"), hexBytes("180A6839000900010001014B")},
        };
        QByteArray answers;
        for (const auto& [ask, answer] : exchanges) {
            QVERIFY(pty.write(ask));
            const QByteArray got = pty.readUntil(answer, TimeoutMs);
            QVERIFY2(got.contains(answer), got.toHex(' ').constData());
            answers += got;
        }
        QCOMPARE(answers.count(hexBytes("1804FF0200E1")), 1);

        // The request timer (odometer first, then position) and the 10-second street/city request.
        seen = pty.readUntil(hexBytes("C8047FA30010"), TimeoutMs);
        QVERIFY2(seen.contains(hexBytes("BF0380162A")), seen.toHex(' ').constData());
        QVERIFY2(seen.contains(hexBytes("C8047FA10012")), seen.toHex(' ').constData());
        QVERIFY2(seen.contains(hexBytes("C8047FA30010")), seen.toHex(' ').constData());
        QVERIFY(seen.indexOf(hexBytes("BF0380162A")) < seen.indexOf(hexBytes("C8047FA10012")));

        QCOMPARE(zarn.terminate(), 0);
        QVERIFY(zarn.waitForLine(QStringLiteral("SerialNG: Msg start deactivating Port"), TimeoutMs));
    }

    void noSendPutsNothingOnTheBus()
    {
        test::PtyPair pty;
        test::ZarnProcess zarn;
        zarn.writeIni(iniFor(pty, "[CD_Emulation]\nCD_CheckBox=1\n[NOSEND]\nNOSEND_CheckBox=1\n"));
        QVERIFY(zarn.start({QStringLiteral("TRACE")}));
        QVERIFY(zarn.waitForLine(QStringLiteral("Last known mileage read - number is 4711"), TimeoutMs));
        QVERIFY(pty.write(hexBytes("6803180172")));
        QVERIFY(zarn.waitForLine(QStringLiteral("CD_poll_anser message sent"), TimeoutMs));
        QVERIFY(zarn.waitForLine(QStringLiteral("Sending command to request Odometer Info"), TimeoutMs));
        const QByteArray seen = pty.read(200);
        QVERIFY2(seen.isEmpty(), seen.toHex(' ').constData());
        QCOMPARE(zarn.terminate(), 0);
    }

    void startupLinesInOrder()
    {
        test::PtyPair pty;
        test::ZarnProcess zarn;
        zarn.writeIni(iniFor(pty, "[Scale]\nform1.width=abc\n[mileage]\nlastknownmilage=212968\n"));
        QVERIFY(zarn.start({QStringLiteral("/timers"), QStringLiteral("/TVINIT"), QStringLiteral("/FORCESCREEN")}));
        QVERIFY(zarn.waitForLine(QStringLiteral("Last known mileage read - number is 212968"), TimeoutMs));
        QVERIFY(zarn.waitForLine(QStringLiteral("TVINIT - TV sleep has been sent"), TimeoutMs));
        QCOMPARE(zarn.terminate(), 0);

        const QStringList texts = zarn.statusTexts();
        const QStringList expectedOrder{
            QStringLiteral(" 2.9.0 Build 1005 (no voice) starting up..."),
            QStringLiteral("TIMER TRACE is activated by command line parameter"),
            QStringLiteral("Parity set to 2 (even)"),
            QStringLiteral("Tape or CD mode - numeric buttons 1-6 enabled"),
            QStringLiteral("TVINIT command line parm detected - enabling timer 3 secs"),
            QStringLiteral("FORCESCREEN by command line parameter used, RTS PIN turned on in SIMULATION mode"),
            QStringLiteral("Now listing part of zarn.ini options in effect - BMW Ibus codes used:"),
            QStringLiteral("BMW_Poll_CD_Player=6803180172"),
            QStringLiteral("RTOCharDelayTime set to 1100 microseconds"),
            QStringLiteral("RTOExtraDelayTime set to 50 milliseconds"),
            QStringLiteral("Zarn.ini [Scale] form1.width=abc is not a whole number - default 800 used"),
            QStringLiteral("Metric set to kilometers "),
            QStringLiteral("Serial COM Port set to COM1"),
            QStringLiteral("Zarn COM1 open issued...trying, RTS is low"),
            QStringLiteral("Last known mileage read - number is 212968"),
            QStringLiteral("$$$ Timer - Clocktimer"),
            QStringLiteral("TVINIT - now sending TV INIT"),
        };
        qsizetype at = -1;
        for (const QString& expected : expectedOrder) {
            const qsizetype found = texts.indexOf(expected, at + 1);
            QVERIFY2(found > at, qPrintable(QStringLiteral("missing or out of order: ") + expected + "\n" + texts.join('\n')));
            at = found;
        }
        QVERIFY(texts.contains(QStringLiteral("Windows locale DecimalSeparator is `.`")));
        const QByteArray bus = pty.read(200);
        Q_UNUSED(bus);
    }
};

QTEST_GUILESS_MAIN(TestZarnBus)
#include "tst_zarn_bus.moc"
