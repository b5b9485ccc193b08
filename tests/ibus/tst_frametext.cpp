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
        QTest::addRow("length claims more than there is: the rest is one item")
            << "8010FF57" << QStringList{"8010FF57" + QString(28, ' ')} << 238;
        QTest::addRow("length byte missing") << "80" << QStringList{"80"} << 255;
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
        const QStringList items = SplitFrames(QStringLiteral(" ZZ QQ 12 3"));
        QVERIFY(!items.isEmpty());
        QVERIFY(items.size() <= 6);
    }

    void findFrame_data()
    {
        QTest::addColumn<QStringList>("frames");
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("index");
        const QStringList knob{"F0043B4983CE", "  "};
        QTest::addRow("prefix") << knob << "F0043B498" << 0;
        QTest::addRow("lower case never matches") << knob << "f0043b498" << -1;
        QTest::addRow("empty code: last item, a filler") << knob << "" << 1;
        QTest::addRow("code longer than item") << knob << "F0043B4983CE00" << -1;
        QTest::addRow("last match wins") << QStringList{"F0043B4981CC", "F0043B4983CE", "  "} << "F0043B498" << 1;
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
