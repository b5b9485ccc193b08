#include "vehicle/DriversLogMode.h"

#include <QSignalSpy>
#include <QTest>

using namespace zarn;

namespace {
DriversLogSettings record(int value)
{
    DriversLogSettings s;
    s.driversLogRecord = value;
    return s;
}

// t toggle, y "A yes", n "A no".
void run(DriversLogMode& mode, const QString& ops)
{
    for (const QChar op : ops) {
        switch (op.toLatin1()) {
        case 't': mode.toggle(); break;
        case 'y': mode.answerYes(); break;
        case 'n': mode.answerNo(); break;
        default: QFAIL("unknown operation");
        }
    }
}
} // namespace

class TestDriversLogMode : public QObject {
    Q_OBJECT
private slots:
    void modes_data()
    {
        QTest::addColumn<int>("record");    // Zarn.ini's value at start-up
        QTest::addColumn<QString>("ops");
        QTest::addColumn<bool>("privateMode");
        QTest::addColumn<bool>("answered");
        QTest::addColumn<bool>("recording");
        QTest::addColumn<bool>("indicator");
        QTest::addColumn<int>("stored");    // record a save writes

        QTest::addRow("business start asks first") << 1 << "" << false << false << false << true << 1;
        QTest::addRow("private start") << 0 << "" << true << true << false << false << 0;
        QTest::addRow("any other record is private") << 7 << "" << true << true << false << false << 0;
        QTest::addRow("yes records") << 1 << "y" << false << true << true << true << 1;
        QTest::addRow("no keeps the indicator") << 1 << "n" << true << true << false << true << 0;
        QTest::addRow("toggle while asking: private") << 1 << "t" << true << false << false << false << 0;
        QTest::addRow("toggle twice while asking stays asking") << 1 << "tt" << false << false << false << true << 1;
        QTest::addRow("toggle from private records") << 0 << "t" << false << true << true << true << 1;
        QTest::addRow("toggle after no records") << 1 << "nt" << false << true << true << true << 1;
    }

    void modes()
    {
        QFETCH(int, record);
        QFETCH(QString, ops);
        QFETCH(bool, privateMode);
        QFETCH(bool, answered);
        QFETCH(bool, recording);
        QFETCH(bool, indicator);
        QFETCH(int, stored);
        DriversLogMode mode;
        mode.load(::record(record));
        run(mode, ops);
        QCOMPARE(mode.privateMode(), privateMode);
        QCOMPARE(mode.modeAnswered(), answered);
        QCOMPARE(mode.recording(), recording);
        QCOMPARE(mode.indicatorRaised(), indicator);
        QCOMPARE(mode.modeCaption(), privateMode ? QStringLiteral("Mode is PRIVATE") : QStringLiteral("Mode is BUSINESS"));
        QCOMPARE(mode.message(), privateMode ? QStringLiteral(" Private mode set") : QStringLiteral(" Business mode set"));
        DriversLogSettings saved;
        mode.store(saved);
        QCOMPARE(saved.driversLogRecord, stored);
    }

    void startAndToggleTellTheRoot()
    {
        DriversLogMode mode;
        QSignalSpy question(&mode, &DriversLogMode::questionPending);
        QSignalSpy cluster(&mode, &DriversLogMode::clusterText);
        QSignalSpy save(&mode, &DriversLogMode::saveRequested);
        mode.load(record(0));
        QCOMPARE(question.count(), 0);
        mode.load(record(1));
        QCOMPARE(question.count(), 1);
        mode.toggle();
        mode.toggle();
        QCOMPARE(cluster.count(), 2);
        QCOMPARE(cluster.at(0).at(0).toString(), QStringLiteral("Drivers log OFF"));
        QCOMPARE(cluster.at(1).at(0).toString(), QStringLiteral("Drivers log ON"));
        QCOMPARE(save.count(), 2);
        mode.answerYes();
        QCOMPARE(save.count(), 2); // only the toggle saves
    }
};

QTEST_GUILESS_MAIN(TestDriversLogMode)
#include "tst_driverslogmode.moc"
