#include "core/Timer.h"
#include "TestSupport.h"

#include <QTest>

using namespace zarn;
using Settings = QList<QPair<qint64, int>>; // (at ms, interval)

class TestTimer : public QObject {
    Q_OBJECT
private slots:
    void intervalSemantics_data()
    {
        QTest::addColumn<Settings>("settings");
        QTest::addColumn<QList<qint64>>("ticks");
        QTest::addRow("periodic") << Settings{{0, 100}} << QList<qint64>{100, 200, 300};
        QTest::addRow("same interval does not restart")
            << Settings{{0, 100}, {50, 100}} << QList<qint64>{100, 200, 300};
        QTest::addRow("zero then same interval restarts")
            << Settings{{0, 100}, {50, 0}, {50, 100}} << QList<qint64>{150, 250};
        QTest::addRow("other interval restarts")
            << Settings{{0, 100}, {50, 200}} << QList<qint64>{250};
        QTest::addRow("zero stops") << Settings{{0, 100}, {150, 0}} << QList<qint64>{100};
    }
    void intervalSemantics()
    {
        QFETCH(Settings, settings);
        QFETCH(QList<qint64>, ticks);
        test::VirtualTime time;
        Timer timer(QStringLiteral("t"));
        QList<qint64> seen;
        connect(&timer, &Timer::timeout, [&] { seen << time.now(); });
        for (const auto& [at, interval] : settings) {
            time.scheduler.advanceTo(at);
            timer.setInterval(interval);
        }
        time.scheduler.advanceTo(300);
        QCOMPARE(seen, ticks);
    }

    void oneShotStopsItselfInItsTick()
    {
        test::VirtualTime time;
        Timer timer;
        int count = 0;
        connect(&timer, &Timer::timeout, [&] { ++count; timer.setInterval(0); });
        timer.setInterval(100);
        time.advance(1000);
        QCOMPARE(count, 1);
    }

    void simultaneousTicksFireInArmingOrder()
    {
        test::VirtualTime time;
        Timer a, b;
        QString order;
        connect(&a, &Timer::timeout, [&] { order += 'a'; });
        connect(&b, &Timer::timeout, [&] { order += 'b'; });
        b.setInterval(100);
        a.setInterval(100);
        time.advance(100);
        QCOMPARE(order, QStringLiteral("ba"));
    }

    void clockFollowsVirtualTime()
    {
        test::VirtualTime time(QDateTime(QDate(2026, 1, 1), QTime(23, 59, 59)));
        time.advance(1500);
        QCOMPARE(Clock::current().now(), QDateTime(QDate(2026, 1, 2), QTime(0, 0, 0, 500)));
    }

    void destroyedTimerNeverFires()
    {
        test::VirtualTime time;
        auto* t = new Timer;
        t->setInterval(10);
        delete t;
        time.advance(100); // must not touch the dead timer
        QCOMPARE(time.scheduler.nextDue(), -1);
    }
};

QTEST_GUILESS_MAIN(TestTimer)
#include "tst_timer.moc"
