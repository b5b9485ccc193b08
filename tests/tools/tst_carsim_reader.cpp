#include "carsim/FrameExplainer.h"
#include "carsim/FrameReader.h"
#include "carsim/Hex.h"

#include <QTest>

using namespace zarn::carsim;

namespace {
QByteArray hex(const QString& text) { return *parseHexBytes(text); }

// "HEX|problem" per frame; problem empty when well formed.
QStringList describe(const QList<ReadFrame>& frames)
{
    QStringList out;
    for (const ReadFrame& f : frames)
        out << hexString(f.bytes) + QLatin1Char('|') + f.problem;
    return out;
}
} // namespace

class TestCarsimReader : public QObject {
    Q_OBJECT
private slots:
    // Chunks as they arrive; the line goes quiet after the last one.
    void splitsAndChecks_data()
    {
        QTest::addColumn<QStringList>("chunks");
        QTest::addColumn<QStringList>("frames");
        QTest::addRow("one frame") << QStringList{"18 04 FF 02 00 E1"} << QStringList{"18 04 FF 02 00 E1|"};
        QTest::addRow("two frames in one chunk")
            << QStringList{"BF 03 80 16 2A C8 04 7F A1 00 12"}
            << QStringList{"BF 03 80 16 2A|", "C8 04 7F A1 00 12|"};
        QTest::addRow("frame split over chunks")
            << QStringList{"18 0A 68 39", "00 02 00 01 00", "01 01 40"}
            << QStringList{"18 0A 68 39 00 02 00 01 00 01 01 40|"};
        QTest::addRow("wrong checksum, next frame still read")
            << QStringList{"18 04 FF 02 00 E0 BF 03 80 16 2A"}
            << QStringList{"18 04 FF 02 00 E0|checksum E0, expected E1", "BF 03 80 16 2A|"};
        QTest::addRow("cut short at the quiet time")
            << QStringList{"BF 03 80 16 2A 18 0A 68 39"}
            << QStringList{"BF 03 80 16 2A|", "18 0A 68 39|cut short, 4 of 12 bytes"};
        QTest::addRow("lone source byte") << QStringList{"18"} << QStringList{"18|cut short, no length byte"};
        QTest::addRow("length byte too small")
            << QStringList{"18 01 FF 18 04 FF 02 00 E1"}
            << QStringList{"18 01 FF|length byte 01 too small", "18 04 FF 02 00 E1|"};
        QTest::addRow("length byte that lies swallows the next frame")
            << QStringList{"18 06 FF 02 00 E1 BF 03 80 16 2A"}
            << QStringList{"18 06 FF 02 00 E1 BF 03|checksum 03, expected BD", "80 16 2A|cut short, 3 of 24 bytes"};
    }
    void splitsAndChecks()
    {
        QFETCH(QStringList, chunks);
        QFETCH(QStringList, frames);
        FrameReader reader;
        QList<ReadFrame> got;
        for (const QString& chunk : chunks)
            got += reader.feed(hex(chunk));
        got += reader.lineQuiet();
        QCOMPARE(describe(got), frames);
        QVERIFY(!reader.hasPending());
    }

    void frameIsGivenOutWithoutWaitingForQuiet()
    {
        FrameReader reader;
        QCOMPARE(reader.feed(hex("18 04 FF")).size(), 0);
        QVERIFY(reader.hasPending());
        QCOMPARE(reader.feed(hex("02 00 E1")).size(), 1);
        QVERIFY(!reader.hasPending());
        QVERIFY(reader.lineQuiet().isEmpty());
    }

    void explains_data()
    {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QString>("meaning");
        // the program's frames
        QTest::addRow("poll answer") << "18 04 FF 02 00 E1" << "CD changer answer: poll";
        QTest::addRow("not playing") << "18 0A 68 39 00 02 00 01 00 01 01 40" << "CD changer answer: not playing, disc 1 track 1";
        QTest::addRow("playing") << "18 0A 68 39 00 09 00 01 00 01 01 4B" << "CD changer answer: playing, disc 1 track 1";
        QTest::addRow("starting") << "18 0A 68 39 02 09 00 01 00 01 01 49" << "CD changer answer: starting, disc 1 track 1";
        QTest::addRow("cluster text") << "68 07 80 23 62 30 4F 4B 9A" << "cluster text: \"OK\"";
        QTest::addRow("check-control text") << "30 07 80 1A 37 10 4F 4B 8E" << "check-control text: \"OK\"";
        QTest::addRow("odometer request") << "BF 03 80 16 2A" << "odometer request";
        QTest::addRow("position request") << "C8 04 7F A1 00 12" << "position request";
        QTest::addRow("street/city request") << "C8 04 7F A3 00 10" << "street/city request";
        QTest::addRow("TV init") << "3B 05 BB 4F 01 00 CB" << "TV init";
        QTest::addRow("TV sleep") << "3B 05 BB 4F 02 00 C8" << "TV sleep";
        // the car's frames
        QTest::addRow("radio poll") << "68 03 18 01 72" << "radio: CD changer poll";
        QTest::addRow("radio play") << "68 05 18 38 03 00 4E" << "radio: CD changer play";
        QTest::addRow("knob right 3") << "F0 04 3B 49 83 05" << "knob right 3";
        QTest::addRow("knob press") << "F0 04 3B 48 45 C2" << "knob press";
        QTest::addRow("FM released") << "F0 04 68 48 B1 65" << "FM button released";
        QTest::addRow("AUX text") << "68 12 3B 23 62 10 41 55 58 20 20 20 20 20 20 20 20 20 20 5C" << "radio: title text \"AUX\"";
        QTest::addRow("tape text") << "68 0D 3B A5 62 01 45 44 6F 6C 62 79 20 42 E3" << "radio: tape text \"Dolby B\"";
        QTest::addRow("time") << "80 0C E7 24 01 02 32 32 3A 33 34 20 20 71" << "cluster: time \"22:34\"";
        QTest::addRow("speed") << "80 05 BF 18 32 1E 0E" << "cluster: 100 km/h, 3000 rpm";
        QTest::addRow("odometer") << "80 0A BF 17 E8 3F 03 80 18 32 CC 90" << "cluster: odometer 212968 km";
        QTest::addRow("position") << "7F 14 C8 A2 01 00 48 48 53 90 00 08 54 12 90 04 83 00 17 03 27 A9"
                                  << "navigation: position 48°48'53.9\" N 8°54'12.9\" E";
        QTest::addRow("phone") << "C8 04 E7 2C 31 36" << "telephone: talking, hands-free";
        QTest::addRow("unknown") << "3F 05 00 0C 00 2B 1D" << "unknown: 3F -> 00, type 0C";
        QTest::addRow("unknown of a known unit") << "18 04 FF 77 00 94" << "unknown: 18 (CD changer) -> FF (all), type 77";
    }
    void explains()
    {
        QFETCH(QString, frame);
        QFETCH(QString, meaning);
        QCOMPARE(explainFrame(hex(frame)), meaning);
    }

    void explainsControlCharactersInTexts()
    {
        // "A", a line feed, "B": the line feed must not break the output line.
        QCOMPARE(explainFrame(hex("68 08 80 23 62 30 41 0A 42 98")), QStringLiteral("cluster text: \"A\\x0AB\""));
    }
};

QTEST_GUILESS_MAIN(TestCarsimReader)
#include "tst_carsim_reader.moc"
