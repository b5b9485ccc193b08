#include "core/Geodesy.h"
#include "core/StatusLog.h"
#include "ibus/BusOptions.h"
#include "ibus/ClockSetter.h"
#include "ibus/FrameText.h"
#include "ibus/VehicleHooks.h"
#include "ibus/VehicleMessages.h"
#include "ibus/VehicleState.h"
#include "TestSupport.h"

#include <QLocale>
#include <QSignalSpy>
#include <QTest>

#include <cmath>

using namespace zarn;
using Mode = VehicleHooks::DriversLogMode;

namespace {

QByteArray bytesOf(const QString& hex)
{
    return QByteArray::fromHex(hex.toLatin1());
}

// Frame text of source, length, destination and data (no checksum): padded with zero
// bytes to the length byte's size, checksum appended.
QString frame(const QString& hex)
{
    QByteArray bytes = bytesOf(hex);
    const int total = quint8(bytes[1]) + 2;
    if (bytes.size() < total - 1)
        bytes.append(QByteArray(total - 1 - bytes.size(), '\0'));
    bytes.append(char(FrameChecksum(bytes)));
    return QString::fromLatin1(bytes.toHex().toUpper());
}

// Frame text of complete bytes, checksum included.
QString captured(const QString& hex)
{
    return QString::fromLatin1(bytesOf(hex).toHex().toUpper());
}

QString timeFrame(const QString& sevenCharacters)
{
    return frame(QStringLiteral("80 0C FF 24 01 00") + TextToHexTokens(sevenCharacters));
}

// Position frame from its bytes 7 to 15 (the rest as in a real capture).
QString positionFrame(const QString& bytes7to15)
{
    return frame(QStringLiteral("7F 14 C8 A2 01 00 ") + bytes7to15 + QStringLiteral(" 04 83 00 17 03 27"));
}

QString placeFrame(int kind, const QString& textHex)
{
    return frame(QStringLiteral("7F 23 C8 A4 00 %1 ").arg(kind, 2, 10, QLatin1Char('0')) + textHex);
}

QString latin1Hex(const QString& text)
{
    return QString::fromLatin1(text.toLatin1().toHex(' '));
}

class FakeClockSetter : public ClockSetter {
public:
    explicit FakeClockSetter(ManualClock& clock)
        : clock_(clock)
    {
    }
    bool SetLocalTime(const QDateTime& localTime) override
    {
        calls << localTime;
        if (accept)
            clock_.setNow(localTime);
        return accept;
    }
    QList<QDateTime> calls;
    bool accept = true;

private:
    ManualClock& clock_;
};

class RecordingHooks : public VehicleHooks {
public:
    DriversLogMode driversLogMode() const override { return mode; }
    void WriteDriversLogEntry(const QString& text) override { entries << text; }
    void driversLogQuestionNeeded() override { ++questions; }
    bool radarWarningOn() const override { return radarOn; }
    bool seekartePaint() override
    {
        radarChecks << state->LastFix;
        return radarOk;
    }
    void processEvents() override { ++eventRuns; }

    Mode mode = Mode::Private;
    QStringList entries;
    int questions = 0;
    bool radarOn = false;
    bool radarOk = true;
    QList<PositionFix> radarChecks;
    int eventRuns = 0;
    const VehicleState* state = nullptr;
};

struct Fixture {
    explicit Fixture(const QDateTime& now = QDateTime(QDate(2026, 12, 10), QTime(12, 0)))
        : time(now)
        , clock(time.clock)
    {
        log.setClockTicked();
        hooks.state = &state;
    }
    // Status texts without their time stamps.
    QStringList texts() const
    {
        QStringList out;
        for (const QString& line : log.lines())
            out << line.mid(9);
        return out;
    }

    test::VirtualTime time;
    StatusLog log;
    BusOptions options;
    VehicleState state;
    FakeClockSetter clock;
    RecordingHooks hooks;
    VehicleMessages messages{state, log, options, &clock, &hooks};
};

double courseError(double actualDeg, double expectedDeg)
{
    const double d = std::fmod(std::abs(actualDeg - expectedDeg), 360.0);
    return std::min(d, 360.0 - d);
}

} // namespace

class TestVehicleMessages : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void time_data()
    {
        QTest::addColumn<QDateTime>("pcTime");
        QTest::addColumn<QString>("carText");
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QDateTime>("setTo"); // invalid: not set
        QTest::addColumn<QStringList>("lines");
        const QDate day(2026, 12, 10);
        const QStringList none;
        const QStringList set{"BMW_Time PC time set to Car Time"};
        const QStringList error{"Error in BMW_Time subroutine - no reason to panic"};
        QTest::addRow("same hour and minute") << QDateTime(day, QTime(12, 34, 50)) << "12:34  "
                                              << true << QDateTime() << none;
        QTest::addRow("minute behind") << QDateTime(day, QTime(12, 33, 10)) << "12:34  " << true
                                       << QDateTime(day, QTime(12, 34)) << set;
        QTest::addRow("hour differs") << QDateTime(day, QTime(11, 34, 5)) << "12:34  " << true
                                      << QDateTime(day, QTime(12, 34)) << set;
        QTest::addRow("refused") << QDateTime(day, QTime(12, 33)) << "12:34  " << false
                                 << QDateTime(day, QTime(12, 34))
                                 << QStringList{"BMW_Time set failed"};
        QTest::addRow("12-hour text") << QDateTime(day, QTime(16, 0)) << " 4:08PM" << true
                                      << QDateTime() << error;
        QTest::addRow("hour 24") << QDateTime(day, QTime(12, 0)) << "24:00  " << true
                                 << QDateTime() << error;
        QTest::addRow("minute 60") << QDateTime(day, QTime(12, 0)) << "12:60  " << true
                                   << QDateTime() << error;
        QTest::addRow("car ahead over midnight keeps the date right")
            << QDateTime(day, QTime(23, 59, 50)) << "00:00  " << true
            << QDateTime(day.addDays(1), QTime(0, 0)) << set;
        QTest::addRow("car behind over midnight keeps the date right")
            << QDateTime(day.addDays(1), QTime(0, 0, 20)) << "23:59  " << true
            << QDateTime(day, QTime(23, 59)) << set;
    }
    void time()
    {
        QFETCH(QDateTime, pcTime);
        QFETCH(QString, carText);
        QFETCH(bool, accept);
        QFETCH(QDateTime, setTo);
        QFETCH(QStringList, lines);
        Fixture f(pcTime);
        f.clock.accept = accept;
        f.messages.DecodeTimeFrame(timeFrame(carText));
        QCOMPARE(f.texts(), lines);
        QCOMPARE(f.clock.calls, setTo.isValid() ? QList<QDateTime>{setTo} : QList<QDateTime>{});
        if (setTo.isValid() && accept)
            QCOMPARE(Clock::current().now(), setTo);
    }

    void timeMessages()
    {
        Fixture f(QDateTime(QDate(2026, 12, 10), QTime(9, 5, 30)));
        f.log.setMessagesEnabled(true);
        f.messages.DecodeTimeFrame(timeFrame("09:05  "));
        QCOMPARE(f.texts(), QStringList{"BMW_Time found to be 9:5"});
    }

    void twelveHourFrameFromTheCar()
    {
        Fixture f;
        f.messages.DecodeTimeFrame(captured("80 0C FF 24 01 00 20 34 3A 30 38 50 4D 6D"));
        QCOMPARE(f.texts(), QStringList{"Error in BMW_Time subroutine - no reason to panic"});
        QVERIFY(f.clock.calls.isEmpty());
    }

    void speed_data()
    {
        QTest::addColumn<QString>("frameText");
        QTest::addColumn<bool>("miles");
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("rpm");
        QTest::addColumn<QString>("line");
        QTest::addRow("captured") << captured("80 05 BF 18 2A 15 1D") << false << 84 << 2100
                                  << "BMW_speed and rpm found,84 km/h 2100 rpm";
        QTest::addRow("km/h") << frame("80 05 BF 18 32 1E") << false << 100 << 3000
                              << "BMW_speed and rpm found,100 km/h 3000 rpm";
        QTest::addRow("miles: same number") << frame("80 05 BF 18 32 1E") << true << 100 << 3000
                                            << "BMW_speed and rpm found,100 mph 3000 rpm";
    }
    void speed()
    {
        QFETCH(QString, frameText);
        QFETCH(bool, miles);
        QFETCH(int, speed);
        QFETCH(int, rpm);
        QFETCH(QString, line);
        Fixture f;
        QCOMPARE(f.state.Speedo_Display, QStringLiteral("xxx km/h "));
        QCOMPARE(f.state.Umin_Display, QStringLiteral("xxxx rpm"));
        f.options.miles = miles;
        f.log.setMessagesEnabled(true);
        QSignalSpy changed(&f.state, &VehicleState::changed);
        f.messages.DecodeSpeedFrame(frameText);
        QCOMPARE(f.state.CurrentSpeed, speed);
        QCOMPARE(f.state.CurrentRpm, rpm);
        QCOMPARE(f.texts(), QStringList{line});
        QCOMPARE(f.state.Speedo_Display + ' ' + f.state.Umin_Display, line.mid(24));
        QCOMPARE(changed.count(), 1);
    }

    void odometer_data()
    {
        QTest::addColumn<QString>("frameText");
        QTest::addColumn<int>("mileage");
        QTest::addColumn<QString>("line");
        QTest::addRow("captured") << captured("80 0A BF 17 E8 3F 03 80 18 32 CC 90") << 212968
                                  << "BMW_odometer found - number is 212968";
        QTest::addRow("lowest byte first") << frame("80 0A BF 17 40 E2 01") << 123456
                                           << "BMW_odometer found - number is 123456";
        QTest::addRow("cut short: mileage kept") << QStringLiteral("800ABF1740E2") << 5000
                                                 << "Error in BMW_odometer subroutine";
        QTest::addRow("one digit short: mileage kept") << QStringLiteral("800ABF1740E20") << 5000
                                                       << "Error in BMW_odometer subroutine";
    }
    void odometer()
    {
        QFETCH(QString, frameText);
        QFETCH(int, mileage);
        QFETCH(QString, line);
        Fixture f;
        f.state.setLastKnownMileage(5000);
        f.log.setMessagesEnabled(true);
        f.messages.DecodeOdometerFrame(frameText);
        QCOMPARE(f.state.LastKnownMileage, mileage);
        QCOMPARE(f.state.BMWpanel110, QString::number(mileage));
        QCOMPARE(f.texts(), QStringList{line});
    }

    void position_data()
    {
        QTest::addColumn<QString>("frameText");
        QTest::addColumn<PositionFix>("fix");
        QTest::addColumn<QStringList>("labels"); // Label54 .. Label61
        QTest::addRow("north east")
            << positionFrame("48 08 30 50 00 11 34 56 70")
            << PositionFix{48, 8, 11, 34, 8 + 30.5 / 60, 34.945, 30.5, 56.7}
            << QStringList{"48", "08", "30.5", "8.50833", "0011", "34", "56.7", "34.94500"};
        QTest::addRow("west")
            << positionFrame("48 08 30 50 00 11 34 56 71")
            << PositionFix{48, 8, -11, -34, 8 + 30.5 / 60, -34.945, 30.5, -56.7}
            << QStringList{"48", "08", "30.5", "8.50833", "0011", "34", "56.7", "-34.94500"};
        QTest::addRow("south")
            << positionFrame("33 52 04 11 01 51 12 34 50")
            << PositionFix{-33, -52, 151, 12, -(52 + 4.1 / 60), 12 + 34.5 / 60, -4.1, 34.5}
            << QStringList{"33", "52", "04.1", "-52.06833", "0151", "12", "34.5", "12.57500"};
        const PositionFix captureFix{48, 48, 8, 54, 48 + 53.9 / 60, 54 + 12.9 / 60, 53.9, 12.9};
        const QStringList captureLabels{"48", "48", "53.9", "48.89833", "0008", "54", "12.9", "54.21500"};
        QTest::addRow("captured")
            << captured("7F 14 C8 A2 01 00 48 48 53 90 00 08 54 12 90 04 83 00 17 03 27 A9")
            << captureFix << captureLabels;
        QTest::addRow("captured, signal byte 00")
            << captured("7F 14 C8 A2 00 00 48 48 53 90 00 08 54 12 90 04 83 00 17 03 27 A8")
            << captureFix << captureLabels;
    }
    void position()
    {
        QFETCH(QString, frameText);
        QFETCH(PositionFix, fix);
        QFETCH(QStringList, labels);
        Fixture f;
        QVERIFY(f.messages.DecodePositionFrame(frameText));
        const PositionFix& got = f.state.CurrentFix;
        QCOMPARE(got.latDeg, fix.latDeg);
        QCOMPARE(got.latMinInt, fix.latMinInt);
        QCOMPARE(got.lonDeg, fix.lonDeg);
        QCOMPARE(got.lonMinInt, fix.lonMinInt);
        QCOMPARE(got.latMin, fix.latMin);
        QCOMPARE(got.lonMin, fix.lonMin);
        QCOMPARE(got.latSec, fix.latSec);
        QCOMPARE(got.lonSec, fix.lonSec);
        QCOMPARE(f.state.LastFix, got);
        const VehicleState& s = f.state;
        QCOMPARE((QStringList{s.Label54, s.Label55, s.Label56, s.Label57, s.Label58, s.Label59,
                              s.Label60, s.Label61}),
                 labels);
    }

    void positionLabelsUseTheLocaleSeparator()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        Fixture f;
        QVERIFY(f.messages.DecodePositionFrame(positionFrame("48 08 30 50 00 11 34 56 70")));
        QLocale::setDefault(QLocale::c());
        QCOMPARE(f.state.Label56, QStringLiteral("30,5"));
        QCOMPARE(f.state.Label57, QStringLiteral("8,50833"));
        QCOMPARE(f.state.Label60, QStringLiteral("56,7"));
        QCOMPARE(f.state.Label61, QStringLiteral("34,94500"));
    }

    void unknownHemisphereKeepsThatHalf()
    {
        Fixture f;
        QVERIFY(f.messages.DecodePositionFrame(positionFrame("48 08 30 50 00 11 34 56 70")));
        const PositionFix before = f.state.CurrentFix;
        QVERIFY(f.messages.DecodePositionFrame(positionFrame("49 00 00 02 00 12 00 00 05")));
        QCOMPARE(f.state.CurrentFix.latDeg, before.latDeg);
        QCOMPARE(f.state.CurrentFix.latMin, before.latMin);
        QCOMPARE(f.state.CurrentFix.lonDeg, before.lonDeg);
        QCOMPARE(f.state.CurrentFix.lonMin, before.lonMin);
    }

    void malformedPosition_data()
    {
        QTest::addColumn<QString>("frameText");
        QTest::addRow("A-F in the latitude") << positionFrame("48 0A 30 50 00 11 34 56 70");
        QTest::addRow("A-F in the seconds' tenths") << positionFrame("48 08 30 B0 00 11 34 56 70");
        QTest::addRow("A-F in the longitude") << positionFrame("48 08 30 50 00 1C 34 56 71");
        QTest::addRow("cut short") << positionFrame("48 08 30 50 00 11 34 56 70").left(28);
        QTest::addRow("code only") << QStringLiteral("7F14C8A2");
    }
    void malformedPosition()
    {
        QFETCH(QString, frameText);
        Fixture f;
        f.log.setMessagesEnabled(true);
        QVERIFY(f.messages.DecodePositionFrame(positionFrame("47 00 00 00 00 09 00 00 00")));
        const PositionFix fix = f.state.CurrentFix;
        const QString label57 = f.state.Label57;
        f.log.clear();
        f.hooks.radarOn = true;

        QVERIFY(!f.messages.DecodePositionFrame(frameText));
        QCOMPARE(f.state.CurrentFix, fix);
        QCOMPARE(f.state.LastFix, fix);
        QCOMPARE(f.state.Label57, label57);
        QCOMPARE(f.texts(), (QStringList{"BMW_Nav_latlon found", "read=" + frameText}));
        QVERIFY(f.hooks.radarChecks.isEmpty());
    }

    void firstPositionComputesNoCourse()
    {
        Fixture f;
        f.log.setMessagesEnabled(true);
        const QString text = positionFrame("48 08 30 50 00 11 34 56 70");
        QVERIFY(f.messages.DecodePositionFrame(text));
        QCOMPARE(f.texts(), (QStringList{"BMW_Nav_latlon found", "read=" + text,
                                         "BMW_Nav_latlon successfull, cog=0"}));
        QCOMPARE(f.hooks.eventRuns, 0);
        QCOMPARE(f.state.CourseOverGround, 0.0);
    }

    void course_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<double>("courseDeg");
        QTest::addColumn<QString>("positionLine");
        QTest::addRow("due east") << "48 08 30 50 00 11 34 56 70" << "48 08 30 50 00 11 34 58 70"
                                  << 90.0 << "48° 08´ 30.5´´ N   0011° 34´ 58.7´´ E";
        QTest::addRow("due north") << "48 08 30 50 00 11 34 56 70" << "48 08 32 50 00 11 34 56 70"
                                   << 0.0 << "48° 08´ 32.5´´ N   0011° 34´ 56.7´´ E";
        QTest::addRow("due south") << "48 08 30 50 00 11 34 56 70" << "48 08 28 50 00 11 34 56 70"
                                   << 180.0 << "48° 08´ 28.5´´ N   0011° 34´ 56.7´´ E";
        QTest::addRow("due west, west of Greenwich")
            << "51 30 00 00 00 00 07 30 01" << "51 30 00 00 00 00 07 32 01" << 270.0
            << "51° 30´ 00.0´´ N   0000° 07´ 32.0´´ W";
        QTest::addRow("south-west, southern hemisphere")
            << "33 52 04 11 01 51 12 34 50" << "33 53 04 11 01 51 11 34 50" << 219.7
            << "33° 53´ 04.1´´ S   0151° 11´ 34.5´´ E";
        QTest::addRow("standing still") << "48 08 30 50 00 11 34 56 70"
                                        << "48 08 30 50 00 11 34 56 70" << 0.0
                                        << "48° 08´ 30.5´´ N   0011° 34´ 56.7´´ E";
    }
    void course()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(double, courseDeg);
        QFETCH(QString, positionLine);
        Fixture f;
        QVERIFY(f.messages.DecodePositionFrame(positionFrame(from)));
        f.log.setMessagesEnabled(true);
        QVERIFY(f.messages.DecodePositionFrame(positionFrame(to)));
        QVERIFY2(courseError(f.state.CourseOverGround, courseDeg) < 1.0,
                 qPrintable(QString::number(f.state.CourseOverGround)));
        QVERIFY(f.state.CourseOverGround >= 0 && f.state.CourseOverGround < 360);
        const QStringList texts = f.texts();
        QCOMPARE(texts.size(), 4);
        QCOMPARE(texts[2], positionLine);
        QCOMPARE(texts[3], QStringLiteral("BMW_Nav_latlon successfull, cog=%1")
                               .arg(std::lround(f.state.CourseOverGround) % 360));
        QCOMPARE(f.hooks.eventRuns, 2);
    }

    void radarCheckRunsOnTheNewFix()
    {
        Fixture f;
        f.hooks.radarOn = true;
        QVERIFY(f.messages.DecodePositionFrame(positionFrame("48 08 30 50 00 11 34 56 70")));
        QCOMPARE(f.hooks.radarChecks, QList<PositionFix>{f.state.CurrentFix});
        QVERIFY(f.texts().isEmpty());

        f.hooks.radarOk = false;
        QVERIFY(f.messages.DecodePositionFrame(positionFrame("48 08 31 50 00 11 34 56 70")));
        QCOMPARE(f.texts(), QStringList{"error in checkforradar routine"});
    }

    void placeNames_data()
    {
        QTest::addColumn<int>("kind"); // 1 city, 2 street
        QTest::addColumn<QString>("textHex");
        QTest::addColumn<QString>("name");
        QTest::addRow("city followed by zero bytes") << 1 << "52 55 54 45 53 48 45 49 4D" << "RUTESHEIM";
        QTest::addRow("Latin-1 city") << 1 << "4D DC 4E 43 48 45 4E" << "MÜNCHEN";
        QTest::addRow("street loses its semicolon")
            << 2 << latin1Hex("HAUPTSTRASSE;") << "HAUPTSTRASSE";
        QTest::addRow("city keeps a semicolon") << 1 << latin1Hex("A;B") << "A;B";
        QTest::addRow("all 30 text bytes") << 1 << latin1Hex(QString(30, 'X')) << QString(30, 'X');
    }
    void placeNames()
    {
        QFETCH(int, kind);
        QFETCH(QString, textHex);
        QFETCH(QString, name);
        Fixture f;
        f.log.setMessagesEnabled(true);
        const QString text = placeFrame(kind, textHex);
        QCOMPARE(text.size(), 0x25 * 2);
        if (kind == 1) {
            f.messages.DecodeCityFrame(text);
            QCOMPARE(f.state.BMWpanel106, name);
            QCOMPARE(f.texts(), (QStringList{"BMW_Nav_City found", "BMW_Nav_City is " + name}));
        } else {
            f.messages.DecodeStreetFrame(text);
            QCOMPARE(f.state.BMWpanel107, name);
            QCOMPARE(f.texts(),
                     (QStringList{"BMW_Nav_Street found", "BMW_Nav_City successfullly processed"}));
        }
    }

    void driversLog_data()
    {
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<int>("questions");
        QTest::addColumn<QString>("message");
        const QStringList noEntry;
        QTest::addRow("business, new city") << Mode::BusinessAnswered << 1
                                            << QStringList{"RUTESHEIM,HAUPTSTRASSE"} << 0
                                            << " Last entry: HAUPTSTRASSE, RUTESHEIM";
        QTest::addRow("business, new street") << Mode::BusinessAnswered << 2
                                              << QStringList{"LEONBERG,BAHNHOFSTRASSE"}
                                              << 0
                                              << " Log entry: LEONBERG, BAHNHOFSTRASSE";
        QTest::addRow("question open, city") << Mode::BusinessQuestionOpen << 1 << noEntry
                                             << 1 << "";
        QTest::addRow("question open, street") << Mode::BusinessQuestionOpen << 2 << noEntry
                                               << 1 << "";
        QTest::addRow("private") << Mode::Private << 1 << noEntry << 0 << "";
    }
    void driversLog()
    {
        QFETCH(Mode, mode);
        QFETCH(int, kind);
        QFETCH(QStringList, entries);
        QFETCH(int, questions);
        QFETCH(QString, message);
        Fixture f;
        f.state.BMWpanel106 = QStringLiteral("LEONBERG");
        f.state.BMWpanel107 = QStringLiteral("HAUPTSTRASSE");
        f.hooks.mode = mode;
        if (kind == 1)
            f.messages.DecodeCityFrame(placeFrame(1, latin1Hex("RUTESHEIM")));
        else
            f.messages.DecodeStreetFrame(placeFrame(2, latin1Hex("BAHNHOFSTRASSE")));
        QCOMPARE(f.hooks.entries, entries);
        QCOMPARE(f.hooks.questions, questions);
        QCOMPARE(f.state.Driverslog_Msg, message);
    }

    void samePlaceTwiceChangesNothing()
    {
        Fixture f;
        f.hooks.mode = Mode::BusinessAnswered;
        f.messages.DecodeCityFrame(placeFrame(1, latin1Hex("RUTESHEIM")));
        f.messages.DecodeStreetFrame(placeFrame(2, latin1Hex("HAUPTSTRASSE;")));
        QCOMPARE(f.hooks.entries.size(), 2);
        QSignalSpy changed(&f.state, &VehicleState::changed);
        f.messages.DecodeCityFrame(placeFrame(1, latin1Hex("RUTESHEIM")));
        f.messages.DecodeStreetFrame(placeFrame(2, latin1Hex("HAUPTSTRASSE")));
        QCOMPARE(f.hooks.entries.size(), 2);
        QCOMPARE(changed.count(), 0);
    }
};

QTEST_GUILESS_MAIN(TestVehicleMessages)
#include "tst_vehiclemessages.moc"
