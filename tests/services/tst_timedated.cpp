// Runs against python-dbusmock's timedated and logind on a private bus, pointed to by
// DBUS_SYSTEM_BUS_ADDRESS, so the real clock and the real logind are never touched.
#include "services/LogindSleepWatcher.h"
#include "services/TimedatedClockSetter.h"
#include "DbusMock.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include <memory>

using namespace zarn;

namespace {

constexpr int StartLimitMs = test::DbusMock::StartLimitMs;

} // namespace

class TestTimedated : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        const QString problem = dbus_.startDaemon();
        if (dbus_.daemonMissing())
            QSKIP(qPrintable(problem));
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        bus_ = &dbus_.bus();
        // The program's default connection must be the private bus too.
        QVERIFY(QDBusConnection::systemBus().isConnected());
        QVERIFY(bus_->interface()->serviceOwner(QDBusConnection::systemBus().baseService()).isValid());
    }

    void cleanup() { dbus_.stopTemplate(); }

    void setTimeWithoutTimedatedFails()
    {
        TimedatedClockSetter setter(*bus_);
        QVERIFY(!setter.SetLocalTime(QDateTime(QDate(2031, 5, 6), QTime(7, 8))));
        QVERIFY2(setter.lastError().contains(QStringLiteral("ServiceUnknown")),
                 qPrintable(setter.lastError()));
    }

    void setTimeWithoutBusFails()
    {
        const QDBusConnection none = QDBusConnection::connectToBus(
            QStringLiteral("unix:path=/nonexistent/zarn-test"), QStringLiteral("zarn-no-bus"));
        TimedatedClockSetter setter(none);
        QVERIFY(!setter.SetLocalTime(QDateTime(QDate(2031, 5, 6), QTime(7, 8))));
        QVERIFY(!setter.lastError().isEmpty());
        QDBusConnection::disconnectFromBus(QStringLiteral("zarn-no-bus"));
    }

    void setTimeSendsUtcMicroseconds()
    {
        startMock(QStringLiteral("timedated"), QStringLiteral("org.freedesktop.timedate1"));
        TimedatedClockSetter setter; // the system bus, which is the private one here
        const QDateTime local(QDate(2031, 5, 6), QTime(7, 8));
        QVERIFY2(setter.SetLocalTime(local), qPrintable(setter.lastError()));

        const QList<test::DbusMock::Call> calls = dbus_.calls(QStringLiteral("/org/freedesktop/timedate1"));
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls[0].method, QStringLiteral("SetTime"));
        QCOMPARE(calls[0].args.size(), 3);
        QCOMPARE(calls[0].args[0].toLongLong(), local.toMSecsSinceEpoch() * 1000);
        QCOMPARE(calls[0].args[1].toBool(), false); // absolute
        QCOMPARE(calls[0].args[2].toBool(), false); // never asks the user
    }

    void setTimeRefusedFails()
    {
        startMock(QStringLiteral("timedated"), QStringLiteral("org.freedesktop.timedate1"));
        // What timedated answers while automatic time sync is on.
        QVERIFY(dbus_.addMethod(QStringLiteral("/org/freedesktop/timedate1"), QStringLiteral("org.freedesktop.timedate1"),
                                QStringLiteral("SetTime"), QStringLiteral("xbb"), QString(),
                                QStringLiteral("raise dbus.exceptions.DBusException('Automatic time synchronization "
                                               "is enabled', name='org.freedesktop.timedate1.AutomaticTimeSyncEnabled')")));

        TimedatedClockSetter setter(*bus_);
        QVERIFY(!setter.SetLocalTime(QDateTime(QDate(2031, 5, 6), QTime(7, 8))));
        QVERIFY2(setter.lastError().contains(QStringLiteral("AutomaticTimeSyncEnabled")),
                 qPrintable(setter.lastError()));
    }

    void resumeAfterSleep()
    {
        LogindSleepWatcher watcher; // subscribed before logind is there
        QVERIFY(watcher.start());
        QSignalSpy resumed(&watcher, &LogindSleepWatcher::resumed);
        startMock(QStringLiteral("logind"), QStringLiteral("org.freedesktop.login1"));

        emitPrepareForSleep(true);
        emitPrepareForSleep(false);
        QTRY_COMPARE_WITH_TIMEOUT(resumed.count(), 1, StartLimitMs);
        emitPrepareForSleep(true); // going to sleep again is no wake-up
        emitPrepareForSleep(false);
        QTRY_COMPARE_WITH_TIMEOUT(resumed.count(), 2, StartLimitMs);
    }

    void watcherWithoutBus()
    {
        LogindSleepWatcher watcher(QDBusConnection::connectToBus(
            QStringLiteral("unix:path=/nonexistent/zarn-test"), QStringLiteral("zarn-no-bus")));
        QVERIFY(!watcher.start());
        QDBusConnection::disconnectFromBus(QStringLiteral("zarn-no-bus"));
    }

private:
    void startMock(const QString& templateName, const QString& busName)
    {
        QVERIFY(dbus_.startTemplate(templateName, busName));
    }

    void emitPrepareForSleep(bool sleeping)
    {
        QDBusMessage emitCall = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
            QStringLiteral("org.freedesktop.DBus.Mock"), QStringLiteral("EmitSignal"));
        emitCall << QStringLiteral("org.freedesktop.login1.Manager")
                 << QStringLiteral("PrepareForSleep") << QStringLiteral("b")
                 << QVariant(QVariantList{QVariant(sleeping)});
        const QDBusMessage reply = bus_->call(emitCall);
        QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
    }

    test::DbusMock dbus_;
    QDBusConnection* bus_ = nullptr;
};

QTEST_GUILESS_MAIN(TestTimedated)
#include "tst_timedated.moc"
