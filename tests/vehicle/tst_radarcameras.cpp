#include "RadarFixture.h"

#include "core/StatusLog.h"
#include "vehicle/RadarCameras.h"

#include <QTemporaryDir>
#include <QTest>

#include <limits>

using namespace zarn;
using radarfixture::record;

namespace {
// Log lines without their time stamps.
QStringList texts(const StatusLog& log)
{
    QStringList out;
    for (const QString& line : log.lines())
        out << line.section(QLatin1Char(' '), 1);
    return out;
}

QByteArray goodRecords(int n)
{
    QByteArray bytes;
    bytes.reserve(n * 24);
    for (int i = 0; i < n; ++i)
        bytes += record(48.0 + i * 1e-4, 11.0, 1, 50);
    return bytes;
}
} // namespace

class TestRadarCameras : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString path() const { return dir_.filePath(QStringLiteral("radar.bin")); }

private slots:
    void init() { QFile::remove(path()); }

    void load_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qsizetype>("count");
        QTest::addColumn<QStringList>("lines");

        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();
        QTest::newRow("empty") << QByteArray() << qsizetype(0)
                               << QStringList{"Radar list created - items=0"};
        QTest::newRow("one record, kept") << goodRecords(1) << qsizetype(1)
                                          << QStringList{"Radar list created - items=1"};
        QTest::newRow("three records, all kept") << goodRecords(3) << qsizetype(3)
                                                 << QStringList{"Radar list created - items=3"};
        QTest::newRow("partial record at the end")
            << goodRecords(2) + QByteArray(7, '\x55') << qsizetype(2)
            << QStringList{"radar.bin: 7 bytes at the end do not fill a record - ignored",
                           "Radar list created - items=2"};
        QTest::newRow("shorter than one record")
            << QByteArray(23, '\x01') << qsizetype(0)
            << QStringList{"radar.bin: 23 bytes at the end do not fill a record - ignored",
                           "Radar list created - items=0"};
        QTest::newRow("beyond the capacity")
            << goodRecords(12003) + QByteArray(5, '\0') << qsizetype(12000)
            << QStringList{"radar.bin: 3 records beyond the capacity of 12000 ignored",
                           "radar.bin: 5 bytes at the end do not fill a record - ignored",
                           "Radar list created - items=12000"};
        QTest::newRow("unusable positions")
            << record(nan, 11, 1, 50) + record(48, inf, 1, 50) + record(91, 11, 1, 50)
                   + record(48, -180.5, 1, 50) + record(-90, 180, 0, 0)
            << qsizetype(1)
            << QStringList{"radar.bin: 4 records without a valid position ignored",
                           "Radar list created - items=1"};
    }
    void load()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(qsizetype, count);
        QFETCH(QStringList, lines);
        QVERIFY(radarfixture::write(path(), bytes));
        StatusLog log;
        log.setClockTicked();
        log.setAlertSink([](const QString&) {});
        const RadarCameraList list = loadradarpositions(path(), log);
        QVERIFY(list.available);
        QCOMPARE(list.cameras.size(), count);
        QCOMPARE(texts(log), lines);
    }

    void missingFileSwitchesTheWarningOff()
    {
        StatusLog log;
        log.setClockTicked();
        log.setAlertSink([](const QString&) {});
        const RadarCameraList list = loadradarpositions(path(), log);
        QVERIFY(!list.available);
        QVERIFY(list.cameras.isEmpty());
        QCOMPARE(texts(log), QStringList{"file radar.bin not found - speed control system disabled"});
    }

    void unreadableFileIsReportedAndLoadsNothing()
    {
        QVERIFY(QDir(dir_.path()).mkdir(QStringLiteral("radar.bin")));
        StatusLog log;
        log.setClockTicked();
        log.setAlertSink([](const QString&) {});
        const RadarCameraList list = loadradarpositions(path(), log);
        QVERIFY(QDir(dir_.path()).rmdir(QStringLiteral("radar.bin")));
        QVERIFY(list.available);
        QVERIFY(list.cameras.isEmpty());
        QCOMPARE(texts(log),
                 (QStringList{"An error occurred in the loadradarpositions subroutine - radar position not all loaded ",
                              "Radar list created - items=0"}));
    }

    void recordFieldsAndPositionConvention_data()
    {
        QTest::addColumn<double>("latitude");
        QTest::addColumn<double>("longitude");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("limit");
        QTest::newRow("east, speed camera") << 48.5 << 11.25 << 1 << 50;
        QTest::newRow("west and south, red light") << -33.75 << -7.5 << 0 << 0;
        QTest::newRow("other kind, high limit") << 0.0 << 0.0 << -3 << 130;
    }
    void recordFieldsAndPositionConvention()
    {
        QFETCH(double, latitude);
        QFETCH(double, longitude);
        QFETCH(int, kind);
        QFETCH(int, limit);
        QVERIFY(radarfixture::write(path(), record(latitude, longitude, kind, limit)));
        StatusLog log;
        log.setClockTicked();
        log.setAlertSink([](const QString&) {});
        const RadarCameraList list = loadradarpositions(path(), log);
        QCOMPARE(list.cameras.size(), 1);
        const RadarCamera& c = list.cameras.first();
        QCOMPARE(c.latitudeDeg, latitude);
        QCOMPARE(c.longitudeDeg, longitude);
        QCOMPARE(c.kind, kind);
        QCOMPARE(c.limitKmh, limit);
        QCOMPARE(c.redLight(), kind == 0);
        constexpr double rad = std::numbers::pi / 180.0;
        QVERIFY(std::abs(c.latitudeRad - latitude * rad) < 1e-12);
        // The navigation convention counts longitudes positive to the west.
        QVERIFY(std::abs(c.longitudeRad + longitude * rad) < 1e-12);
    }

    void randomBytesNeverOverrunTheList()
    {
        QByteArray bytes(10 * 1024 * 1024 + 13, Qt::Uninitialized);
        quint32 x = 2463534242u;
        for (char& b : bytes) {
            x ^= x << 13; x ^= x >> 17; x ^= x << 5;
            b = char(x);
        }
        QVERIFY(radarfixture::write(path(), bytes));
        StatusLog log;
        log.setClockTicked();
        log.setAlertSink([](const QString&) {});
        const RadarCameraList list = loadradarpositions(path(), log);
        QVERIFY(list.cameras.size() <= RadarCameraList::Capacity);
        for (const RadarCamera& c : list.cameras)
            QVERIFY(std::isfinite(c.latitudeRad) && std::isfinite(c.longitudeRad));
        QVERIFY(texts(log).last().startsWith(QLatin1String("Radar list created - items=")));
    }
};

QTEST_GUILESS_MAIN(TestRadarCameras)
#include "tst_radarcameras.moc"
