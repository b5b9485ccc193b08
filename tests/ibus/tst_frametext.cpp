#include "core/StatusLog.h"
#include "ibus/BusOptions.h"
#include "ibus/FrameText.h"
#include "ibus/IbusSender.h"
#include "RecordingSink.h"
#include "TestSupport.h"

#include <QTest>

using namespace zarn;
using test::hexBytes;

class TestFrameText : public QObject {
    Q_OBJECT
private slots:
    void blockTextIsPaddedToWholeLines_data()
    {
        QTest::addColumn<int>("bytes");
        QTest::addColumn<int>("lineLength");
        QTest::addColumn<int>("expectedLength");
        QTest::addRow("one frame, 256") << 6 << 256 << 768;
        QTest::addRow("300 bytes, two lines") << 300 << 256 << 1536;
        QTest::addRow("exactly one line") << 64 << 64 << 192;
        QTest::addRow("empty block") << 0 << 256 << 0;
    }
    void blockTextIsPaddedToWholeLines()
    {
        QFETCH(int, bytes);
        QFETCH(int, lineLength);
        QFETCH(int, expectedLength);
        QByteArray block(bytes, '\x5A');
        const QString text = ClusterToHexText(block, lineLength);
        QCOMPARE(text.size(), expectedLength);
        QCOMPARE(text.left(bytes * 3), QString(" 5A").repeated(bytes));
        QVERIFY(text.mid(bytes * 3).trimmed().isEmpty());
    }

    void splitFrames_data()
    {
        QTest::addColumn<QString>("hex");
        QTest::addColumn<QStringList>("frames"); // before the fillers
        QTest::addColumn<int>("fillers");
        QTest::addRow("one frame") << "8004FF57012D" << QStringList{"8004FF57012D"} << 250;
        QTest::addRow("two frames") << "8004FF57012D6803180172" << QStringList{"8004FF57012D", "6803180172"} << 245;
        QTest::addRow("length claims more than there is: left out") << "8010FF57" << QStringList{} << 252;
        QTest::addRow("length byte missing") << "80" << QStringList{} << 255;
        QTest::addRow("wrong checksum: left out, the next frame found")
            << "800ABF1740E2090000000081" "6803180172" << QStringList{"6803180172"} << 239;
        QTest::addRow("stray byte before a frame") << "00" "6803180172" << QStringList{"6803180172"} << 250;
        QTest::addRow("length byte too short for a frame")
            << "68021801" "6803180172" << QStringList{"6803180172"} << 247;
        QTest::addRow("stray bytes between frames")
            << "8004FF57012D" "00FF1337" "6803180172" << QStringList{"8004FF57012D", "6803180172"} << 241;
        QTest::addRow("ignored devices cost nothing")
            << "0005BF7A5220B2D007BF5B0000000033"
            << QStringList{"0005BF7A5220B2", "D007BF5B0000000033"} << 240;
    }
    void splitFrames()
    {
        QFETCH(QString, hex);
        QFETCH(QStringList, frames);
        QFETCH(int, fillers);
        const QStringList items = SplitFrames(test::blockText(hex));
        QCOMPARE(items.mid(0, frames.size()), frames);
        const QStringList rest = items.mid(frames.size());
        QCOMPARE(rest.size(), fillers);
        for (const QString& f : rest)
            QCOMPARE(f, QStringLiteral("  "));
    }

    void splitFramesNeverLoopsOnGarbage()
    {
        QList<RejectedBytes> rejected;
        QVERIFY(SplitFrames(QStringLiteral(" ZZ QQ 12 3"), &rejected).isEmpty());
        QCOMPARE(rejected.size(), 2);
        QCOMPARE(rejected[0].text + rejected[1].text, QStringLiteral("ZZQQ123"));
    }

    // What is left out, as the dispatcher counts and traces it.
    void rejectedBytes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("frames"); // before the fillers
        QTest::addColumn<QStringList>("rejected");
        QTest::addRow("stray byte") << test::blockText("006803180172") << QStringList{"6803180172"}
                                    << QStringList{"stray 00"};
        QTest::addRow("one bit changed")
            << test::blockText("800ABF1740E2090000000081" "6803180172") << QStringList{"6803180172"}
            << QStringList{"checksum 800ABF1740E2090000000081"};
        QTest::addRow("cut by the end of the block") << test::blockText("6803180172F0043B49")
                                                     << QStringList{"6803180172"} << QStringList{"stray F0043B49"};
        QTest::addRow("not hexadecimal") << " ZZ 68 03 18 01 72" << QStringList{"6803180172"}
                                         << QStringList{"stray ZZ"};
        QTest::addRow("lower case is kept as written, so no code matches it")
            << " f0 04 3b 48 45 c2" << QStringList{"f0043b4845c2"} << QStringList{};
    }
    void rejectedBytes()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, frames);
        QFETCH(QStringList, rejected);
        QList<RejectedBytes> out;
        QStringList items = SplitFrames(text, &out);
        items.removeAll(QStringLiteral("  "));
        QCOMPARE(items, frames);
        QStringList got;
        for (const RejectedBytes& r : out)
            got << (r.wrongChecksum ? "checksum " : "stray ") + r.text;
        QCOMPARE(got, rejected);
    }

    void findFrame_data()
    {
        QTest::addColumn<QStringList>("frames");
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("index");
        const QStringList knob{"F0043B498305", "  "};
        QTest::addRow("prefix") << knob << "F0043B498" << 0;
        QTest::addRow("lower case never matches") << knob << "f0043b498" << -1;
        QTest::addRow("empty code: last item, a filler") << knob << "" << 1;
        QTest::addRow("code longer than item") << knob << "F0043B49830500" << -1;
        QTest::addRow("last match wins") << QStringList{"F0043B498107", "F0043B498305", "  "} << "F0043B498" << 1;
    }
    void findFrame()
    {
        QFETCH(QStringList, frames);
        QFETCH(QString, code);
        QFETCH(int, index);
        QCOMPARE(FindFrame(frames, code), index);
    }

    void hexHelpers()
    {
        QCOMPARE(HexToInt(u"1FF"), 511);
        QCOMPARE(HexToInt(u""), -1);
        QCOMPARE(HexToInt(u"G1"), -1);
        QCOMPARE(HexPairsToText(u"4D55"), QStringLiteral("MU"));
        QCOMPARE(HexPairsToText(u"4D5"), QStringLiteral("M"));
        QCOMPARE(HexPairsToText(u"4DZZ45"), QStringLiteral("ME"));
        QCOMPARE(HexPairsToText(u"4DDC"), QStringLiteral("MÜ"));
        QCOMPARE(TextToHexTokens(u"A\n"), QStringLiteral(" 41 A"));
    }

    void sending_data()
    {
        QTest::addColumn<QString>("sendText");
        QTest::addColumn<QString>("bytes");
        QTest::addRow("poll answer") << "18 04 FF 02 00" << "1804FF0200E1";
        QTest::addRow("odometer request") << "BF XX 80 16" << "BF0380162A";
        QTest::addRow("position request") << "C8 XX 7F A1 00" << "C8047FA10012";
        QTest::addRow("given length replaced") << "3B 05 BB 4F 01 00" << "3B05BB4F0100CB";
        QTest::addRow("extra blanks") << "18  XX FF 02 00 " << "1804FF0200E1";
        QTest::addRow("long token sends low byte") << "18 XX FF 1FF" << "1803FFFF1B";
        QTest::addRow("bad token sends FF") << "18 XX FF G1" << "1803FFFF1B";
    }
    void sending()
    {
        QFETCH(QString, sendText);
        QFETCH(QString, bytes);
        StatusLog log;
        BusOptions options;
        test::RecordingSink sink;
        IbusSender sender(sink, log, options);
        sender.SendIbusText(sendText);
        QCOMPARE(sink.frames, QList<QByteArray>{hexBytes(bytes)});
    }

    void clusterAndCheckControlTexts()
    {
        StatusLog log;
        BusOptions options;
        test::RecordingSink sink;
        IbusSender sender(sink, log, options);
        sender.SendClusterText(QStringLiteral("OK"));
        sender.SendCheckControlText(QStringLiteral("OK"));
        QCOMPARE(sink.frames, (QList<QByteArray>{hexBytes("6807802362304F4B9A"), hexBytes("3007801A37104F4B8E")}));
    }

    void noSendSilencesEverything()
    {
        StatusLog log;
        log.setMessagesEnabled(true);
        BusOptions options;
        options.noSend = true;
        test::RecordingSink sink;
        IbusSender sender(sink, log, options);
        sender.SendIbusText(QStringLiteral("18 04 FF 02 00"));
        sender.SendClusterText(QStringLiteral("OK"));
        sender.SendCheckControlText(QStringLiteral("OK"));
        QVERIFY(sink.frames.isEmpty());
        QVERIFY(log.lines().isEmpty());
    }

    void sentLinesWhileMessagesEnabled()
    {
        test::VirtualTime time;
        StatusLog log;
        log.setMessagesEnabled(true);
        BusOptions options;
        test::RecordingSink sink;
        IbusSender sender(sink, log, options);
        sender.SendIbusText(QStringLiteral("68 XX 80 41"));
        QCOMPARE(log.lines().size(), 2);
        QVERIFY(log.lines()[0].endsWith(QStringLiteral(" sent=68 XX 80 41")));
        QVERIFY(log.lines()[1].endsWith(QStringLiteral(" sent=h..Aª"))); // bytes 68 03 80 41 AA
    }
};

QTEST_GUILESS_MAIN(TestFrameText)
#include "tst_frametext.moc"
