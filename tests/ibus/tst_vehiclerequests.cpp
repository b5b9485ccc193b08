#include "core/CommandLine.h"
#include "core/StatusLog.h"
#include "ibus/BusOptions.h"
#include "ibus/FrameSink.h"
#include "ibus/IbusSender.h"
#include "ibus/VehicleRequests.h"
#include "TestSupport.h"

#include <QTest>

using namespace zarn;
using Sent = QList<QPair<qint64, QByteArray>>; // (virtual ms, frame bytes as hex)

namespace {

class RecordingSink : public FrameSink {
public:
    explicit RecordingSink(const test::VirtualTime& time)
        : time_(time)
    {
    }
    void SendData(const QByteArray& bytes) override
    {
        if (!busy)
            sent.append({time_.now(), bytes.toHex(' ').toUpper()});
    }
    bool SendInProgress() const override { return busy; }

    bool busy = false;
    Sent sent;

private:
    const test::VirtualTime& time_;
};

struct Fixture {
    explicit Fixture(const QStringList& arguments = {QStringLiteral("/opt/zarn/zarn")})
        : commandLine(arguments)
    {
        log.setClockTicked();
    }
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
    RecordingSink sink{time};
    IbusSender sender{sink, log, options};
    CommandLine commandLine;
    VehicleRequests requests{sender, log, commandLine};
};

const QByteArray Odometer = "BF 03 80 16 2A";
const QByteArray Position = "C8 04 7F A1 00 12";
const QByteArray StreetCity = "C8 04 7F A3 00 10";
const QByteArray TvInit = "3B 05 BB 4F 01 00 CB";
const QByteArray TvSleep = "3B 05 BB 4F 02 00 C8";

} // namespace

class TestVehicleRequests : public QObject {
    Q_OBJECT
private slots:
    void requestsAlternate()
    {
        Fixture f;
        QCOMPARE(f.requests.RequestToggle, 1);
        f.requests.Request_Timer.setInterval(VehicleRequests::RequestInterval);
        f.time.advance(12200);
        QCOMPARE(f.sink.sent, (Sent{{3100, Odometer}, {6100, Position},
                                    {9100, Odometer}, {12100, Position}}));
        QVERIFY(!f.requests.request_odometer_timer.isActive());
        QVERIFY(!f.requests.requestlatlon_timer.isActive());
    }

    void busyLinkRetriesEvery100ms_data()
    {
        QTest::addColumn<qint64>("busyFrom");
        QTest::addColumn<qint64>("busyUntil");
        QTest::addColumn<Sent>("sent");
        QTest::addRow("odometer") << qint64(3050) << qint64(3350) << Sent{{3400, Odometer}};
        QTest::addRow("position") << qint64(6050) << qint64(6150) << Sent{{3100, Odometer}, {6200, Position}};
    }
    void busyLinkRetriesEvery100ms()
    {
        QFETCH(qint64, busyFrom);
        QFETCH(qint64, busyUntil);
        QFETCH(Sent, sent);
        Fixture f;
        f.log.setTimerTraceEnabled(true);
        f.requests.Request_Timer.setInterval(VehicleRequests::RequestInterval);
        f.time.scheduler.advanceTo(busyFrom);
        f.sink.busy = true;
        f.time.scheduler.advanceTo(busyUntil);
        f.sink.busy = false;
        f.time.scheduler.advanceTo(busyUntil + 100);
        QCOMPARE(f.sink.sent, sent);
        const QString name = busyFrom < 6000 ? "request_odometer_timerTimer" : "requestlatlon_timerTimer";
        // Ticks while busy, plus the one that sends.
        const int ticks = int((busyUntil - busyFrom) / 100) + 1;
        QCOMPARE(f.texts().count("$$$ Timer - " + name), ticks);
    }

    void requestLines()
    {
        Fixture f;
        f.log.setTimerTraceEnabled(true);
        f.log.setMessagesEnabled(true);
        f.requests.Request_Timer.setInterval(VehicleRequests::RequestInterval);
        f.time.advance(6100);
        QCOMPARE(f.texts(), (QStringList{
                                "$$$ Timer - RequestTimer",
                                "$$$ Timer - request_odometer_timerTimer",
                                "Sending command to request Odometer Info",
                                "sent=BF XX 80 16",
                                "sent=" + f.texts().value(4).mid(5), // the raw bytes
                                "$$$ Timer - RequestTimer",
                                "$$$ Timer - requestlatlon_timerTimer",
                                "Sending command to request lat/lon Info",
                                "sent=C8 XX 7F A1 00",
                                "sent=" + f.texts().value(9).mid(5),
                            }));
    }

    void streetAndCity_data()
    {
        QTest::addColumn<bool>("busy");
        QTest::addColumn<bool>("trace");
        QTest::addColumn<Sent>("sent");
        QTest::addColumn<QStringList>("lines");
        QTest::addRow("sent") << false << false << Sent{{0, StreetCity}} << QStringList{};
        QTest::addRow("traced") << false << true << Sent{{0, StreetCity}}
                                << QStringList{"Sending command to request street/city Info"};
        QTest::addRow("busy link skips") << true << true << Sent{} << QStringList{};
    }
    void streetAndCity()
    {
        QFETCH(bool, busy);
        QFETCH(bool, trace);
        QFETCH(Sent, sent);
        QFETCH(QStringList, lines);
        Fixture f;
        f.sink.busy = busy;
        f.log.setTimerTraceEnabled(trace);
        f.requests.RequestStreetCity();
        QCOMPARE(f.sink.sent, sent);
        QCOMPARE(f.texts(), lines);
    }

    void tvInitThenSleep()
    {
        Fixture f;
        f.requests.tvinittimer.setInterval(VehicleRequests::TvInitDelay);
        f.time.advance(10000);
        QCOMPARE(f.sink.sent, (Sent{{3000, TvInit}, {5000, TvSleep}}));
        QCOMPARE(f.texts(), (QStringList{"TVINIT - now sending TV INIT", "TVINIT - TV INIT has been sent",
                                         "TVINIT - now sending TV sleep",
                                         "TVINIT - TV sleep has been sent"}));
        QVERIFY(!f.requests.tvinittimer.isActive());
        QVERIFY(!f.requests.TVinit2Timer.isActive());
    }

    void resume_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<Sent>("sent");
        const QString wake = "Zarn has detected wake-up from Hibernate with windows message WM_POWERBROADCAST";
        QTest::addRow("without TVINIT") << QStringList{"zarn", "nosplash"} << QStringList{wake} << Sent{};
        QTest::addRow("with tvinit")
            << QStringList{"zarn", "tvinit"}
            << QStringList{wake, "TVINIT command line parm was enabled previously - sending again...",
                           "TVINIT - now sending TV INIT", "TVINIT - TV INIT has been sent",
                           "TVINIT - now sending TV sleep", "TVINIT - TV sleep has been sent"}
            << Sent{{3000, TvInit}, {5000, TvSleep}};
    }
    void resume()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, lines);
        QFETCH(Sent, sent);
        Fixture f(arguments);
        f.requests.onResume();
        f.time.advance(10000);
        QCOMPARE(f.texts(), lines);
        QCOMPARE(f.sink.sent, sent);
    }
};

QTEST_GUILESS_MAIN(TestVehicleRequests)
#include "tst_vehiclerequests.moc"
