// The real zarn program on a pseudo-terminal with a radar.bin of its own: position
// frames toward a camera at a speed above its limit put the check-control text on the
// bus once. Every step waits for the line or the bytes it needs; the time-outs only
// bound a failure.
#include "../vehicle/RadarFixture.h"

#include "ibus/FrameText.h"
#include "PtyPair.h"
#include "TestSupport.h"
#include "ZarnProcess.h"

#include <QDir>
#include <QTest>

using namespace zarn;
using radarfixture::Point;
using test::hexBytes;

namespace {
constexpr int TimeoutMs = 30000;
const Point Start{48.15, 11.58};
const QByteArray CheckControlHead = hexBytes("801A3710"); // after 30 and the length
} // namespace

class TestZarnRadar : public QObject {
    Q_OBJECT
private slots:
    void checkControlTextOnceOnTheApproach()
    {
        test::PtyPair pty;
        QVERIFY(pty.isOpen());
        test::ZarnProcess zarn;
        const Point camera = radarfixture::destination(Start, 3.0, 0);
        QVERIFY(radarfixture::write(QDir(zarn.home()).filePath(QStringLiteral("radar.bin")),
                                    radarfixture::record(camera.latitude, camera.longitude, 1, 50)
                                        + radarfixture::record(49.5, 12.5, 0, 0)));
        zarn.writeIni("[COM-Port]\nDevicePath=" + pty.slavePath().toUtf8()
                      + "\n[CD_Emulation]\nCD_CheckBox=1\n[Radarwarning]\nglobal_radarwarning=1\n");
        QVERIFY(zarn.start({QStringLiteral("/TRACE")}));
        QVERIFY(zarn.waitForLine(QStringLiteral("Radar list created - items=2"), TimeoutMs));
        // The greeting shows the port is open: nothing sent from now on is lost.
        QByteArray bus = pty.readUntil(QByteArray("start.."), 2 * TimeoutMs);
        QVERIFY2(bus.contains("start.."), bus.toHex(' ').constData());

        QVERIFY(pty.write(hexBytes("8005BF18321E") + char(FrameChecksum(hexBytes("8005BF18321E")))));
        QVERIFY(zarn.waitForLine(QStringLiteral("BMW_speed and rpm found,100 km/h 3000 rpm"), TimeoutMs));
        // One fix per block (a block's last position frame is the one decoded): each
        // is sent once the program has read the one before. 1000 m before the camera
        // it warns; the fixes after that are the same approach.
        for (double km : {0.0, 0.5, 1.0, 1.5, 2.0, 2.2, 2.4, 2.6}) {
            const QString text = radarfixture::positionFrameText(radarfixture::destination(Start, km, 0));
            QVERIFY(pty.write(hexBytes(text)));
            QVERIFY2(zarn.waitForLine(QStringLiteral("read=") + text, TimeoutMs), qPrintable(text));
        }
        // The CD changer's answer to a poll comes after everything the fixes sent.
        const QByteArray answer = hexBytes("1804FF0200E1");
        QVERIFY(pty.write(hexBytes("6803180172")));
        bus += pty.readUntil(answer, TimeoutMs);
        QVERIFY2(bus.contains(answer), bus.toHex(' ').constData());

        QCOMPARE(bus.count(CheckControlHead), 1);
        const qsizetype at = bus.indexOf(CheckControlHead);
        QVERIFY(at >= 2);
        QCOMPARE(quint8(bus[at - 2]), quint8(0x30));
        const int length = quint8(bus[at - 1]);
        const QByteArray whole = bus.mid(at - 2, length + 2);
        QCOMPARE(whole.size(), length + 2);
        QCOMPARE(quint8(whole.back()), FrameChecksum(whole.left(whole.size() - 1)));
        const QByteArray text = whole.mid(6, whole.size() - 7);
        // Straight on: ahead to the right or to the left by a hair.
        QVERIFY2(text.startsWith("50 km/h in ") && (text.endsWith(" m /") || text.endsWith(" m \\")), text.constData());
        QVERIFY2(std::abs(text.mid(11, text.size() - 15).toInt() - 1000) <= 3, text.constData());

        QCOMPARE(zarn.terminate(), 0);
    }
};

QTEST_GUILESS_MAIN(TestZarnRadar)
#include "tst_zarn_radar.moc"
