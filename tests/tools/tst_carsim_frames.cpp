#include "carsim/CarFrames.h"
#include "carsim/Controls.h"
#include "carsim/FrameReader.h"
#include "carsim/Hex.h"

#include <QTest>

using namespace zarn::carsim;

namespace {
QByteArray hex(const char* text) { return *parseHexBytes(QString::fromLatin1(text)); }
} // namespace

class TestCarsimFrames : public QObject {
    Q_OBJECT
private slots:
    // Frames recorded in real cars, or the program's codes, byte for byte.
    void buildersMatchRealFrames_data()
    {
        QTest::addColumn<QByteArray>("built");
        QTest::addColumn<QByteArray>("real");
        QTest::addRow("CD poll") << frames::cdPoll() << hex("68 03 18 01 72");
        QTest::addRow("CD state request") << frames::cdStateRequest() << hex("68 05 18 38 00 00 4D");
        QTest::addRow("CD play") << frames::cdPlay() << hex("68 05 18 38 03 00 4E");
        QTest::addRow("CD stop") << frames::cdStop() << hex("68 05 18 38 01 00 4C");
        QTest::addRow("tape text Dolby B") << frames::tapeText() << hex("68 0D 3B A5 62 01 45 44 6F 6C 62 79 20 42 E3");
        QTest::addRow("tape text Dolby C") << frames::tapeText(true) << hex("680D3BA5620145446F6C62792043E2");
        QTest::addRow("AUX text") << frames::radioTitleText(QStringLiteral("AUX"))
                                  << hex("68 12 3B 23 62 10 41 55 58 20 20 20 20 20 20 20 20 20 20 5C");
        QTest::addRow("knob right 3") << frames::knobTurn(true, 3) << hex("F0 04 3B 49 83 05");
        QTest::addRow("knob left 1") << frames::knobTurn(false, 1) << hex("F0 04 3B 49 01 87");
        QTest::addRow("time 22:34, flag 02") << frames::clusterTime(QTime(22, 34), 0x02)
                                             << hex("80 0C E7 24 01 02 32 32 3A 33 34 20 20 71");
        QTest::addRow("100 km/h, 3000 rpm") << frames::speedAndRpm(100, 3000) << hex("80 05 BF 18 32 1E 0E");
        QTest::addRow("odometer 212968 km") << frames::odometer(212968) << hex("80 0A BF 17 E8 3F 03 80 18 32 CC 90");
        QTest::addRow("check-control button") << frames::checkControlButton() << hex("80 04 FF 57 01 2D");
        QTest::addRow("position near Rutesheim")
            << frames::position({48 + 48 / 60.0 + 53.9 / 3600, 8 + 54 / 60.0 + 12.9 / 3600, 483, QTime(17, 3, 27)})
            << hex("7F 14 C8 A2 01 00 48 48 53 90 00 08 54 12 90 04 83 00 17 03 27 A9");
        QTest::addRow("phone talking hands-free") << frames::phoneState(0x31) << hex("C8 04 E7 2C 31 36");
        QTest::addRow("phone idle") << frames::phoneState(0x10) << hex("C8 04 E7 2C 10 17");
        QTest::addRow("phone talking") << frames::phoneState(0x30) << hex("C8 04 E7 2C 30 37");
        QTest::addRow("knob press") << findControl(u"knob press")->press << hex("F0 04 3B 48 45 C2");
        QTest::addRow("knob long") << findControl(u"knob long")->press << hex("F0 04 3B 48 05 82");
        QTest::addRow("wheel up") << findControl(u"wheel up")->press << hex("50 04 C8 3B 01 A6");
        QTest::addRow("wheel down") << findControl(u"wheel down")->press << hex("50 04 C8 3B 08 AF");
        QTest::addRow("wheel R/T") << findControl(u"wheel rt")->press << hex("50 04 FF 3B 40 D0");
        QTest::addRow("button 1") << findControl(u"button 1")->press << hex("F0 04 68 48 11 C5");
        QTest::addRow("button 6") << findControl(u"button 6")->press << hex("F0 04 68 48 03 D7");
        QTest::addRow("FM") << findControl(u"button fm")->press << hex("F0 04 68 48 31 E5");
        QTest::addRow("MODE") << findControl(u"button mode")->press << hex("F0 04 68 48 23 F7");
        QTest::addRow("radio/nav") << findControl(u"button radnav")->press << hex("F0 04 68 48 30 E4");
        QTest::addRow("menu") << findControl(u"button menu")->press << hex("F0 04 FF 48 34 77");
        QTest::addRow("TP") << findControl(u"button tp")->press << hex("F0 04 68 48 32 E6");
    }
    void buildersMatchRealFrames()
    {
        QFETCH(QByteArray, built);
        QFETCH(QByteArray, real);
        QCOMPARE(hexString(built), hexString(real));
    }

    // Every frame the car sends is well formed.
    void controlFramesAreWellFormed()
    {
        for (const Control& c : controls()) {
            QVERIFY2(FrameReader::problemOf(c.press).isEmpty(), qPrintable(c.name));
            if (!c.release.isEmpty())
                QVERIFY2(FrameReader::problemOf(c.release).isEmpty(), qPrintable(c.name));
        }
    }

    void navigationTextsAreLatin1AndZeroPadded()
    {
        const QByteArray city = frames::city(QStringLiteral("MÜNCHEN"));
        QCOMPARE(city.size(), 37);
        QCOMPARE(hexString(city.left(14)), QStringLiteral("7F 23 C8 A4 00 01 4D DC 4E 43 48 45 4E 00"));
        QCOMPARE(city.mid(13, 23), QByteArray(23, '\0'));
        QVERIFY(FrameReader::problemOf(city).isEmpty());

        const QByteArray street = frames::street(QStringLiteral("Türkenstraße"));
        QCOMPARE(street.size(), 37);
        QCOMPARE(street.mid(6, 14), QByteArray("T\xFCrkenstra\xDF" "e;\0", 14));
        QVERIFY(FrameReader::problemOf(street).isEmpty());

        // A name too long for the 30 bytes keeps its ";".
        const QByteArray longStreet = frames::street(QString(40, QLatin1Char('x')));
        QCOMPARE(longStreet.size(), 37);
        QCOMPARE(longStreet.at(35), ';');
    }

    void positionEncodesSouthAndWest()
    {
        const QByteArray f = frames::position({-33.8568, -151.2153, 58, QTime(1, 2, 3)});
        QVERIFY(FrameReader::problemOf(f).isEmpty());
        // 33°51'24.5" S, 151°12'55.1" W: hemisphere digits 1.
        QCOMPARE(hexString(f.mid(6, 9)), QStringLiteral("33 51 24 51 01 51 12 55 11"));
    }
};

QTEST_GUILESS_MAIN(TestCarsimFrames)
#include "tst_carsim_frames.moc"
