// Runs against python-dbusmock's timedated and logind on a private bus, pointed to by
// DBUS_SYSTEM_BUS_ADDRESS, so the real clock and the real logind are never touched.
#include "services/LogindSleepWatcher.h"
#include "services/TimedatedClockSetter.h"

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

const QString Python = QStringLiteral("/usr/bin/python3");
constexpr int StartLimitMs = 30000;

struct MockCall {
    QString method;
    QVariantList args;
};

} // namespace

class TestTimedated : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty())
            QSKIP("dbus-daemon is not installed");
        if (QProcess::execute(Python, {QStringLiteral("-c"), QStringLiteral("import dbusmock")}) != 0)
            QSKIP("python3-dbusmock is not installed for /usr/bin/python3");

        daemon_.setProgram(daemon);
        daemon_.setArguments({QStringLiteral("--session"), QStringLiteral("--nofork"),
                              QStringLiteral("--print-address=1")});
        daemon_.start();
        QVERIFY(daemon_.waitForStarted(StartLimitMs));
        QTRY_VERIFY_WITH_TIMEOUT(daemon_.canReadLine(), StartLimitMs);
        address_ = QString::fromLocal8Bit(daemon_.readLine()).trimmed();
        QVERIFY(!address_.isEmpty());
        // Before QtDBus first opens the system bus, and inherited by the mocks.
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", address_.toLocal8Bit());

        bus_ = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(address_, QStringLiteral("zarn-test-bus")));
        QVERIFY(bus_->isConnected());
        // The program's default connection must be the private bus too.
        QVERIFY(QDBusConnection::systemBus().isConnected());
        QVERIFY(bus_->interface()->serviceOwner(QDBusConnection::systemBus().baseService()).isValid());
    }

    void cleanupTestCase()
    {
        bus_.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("zarn-test-bus"));
        if (daemon_.state() != QProcess::NotRunning) {
            daemon_.terminate();
            daemon_.waitForFinished(StartLimitMs);
        }
    }

    void cleanup() { stopMock(); }

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

        const QList<MockCall> calls = mockCalls(QStringLiteral("/org/freedesktop/timedate1"));
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
        QDBusMessage add = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.timedate1"), QStringLiteral("/org/freedesktop/timedate1"),
            QStringLiteral("org.freedesktop.DBus.Mock"), QStringLiteral("AddMethod"));
        add << QStringLiteral("org.freedesktop.timedate1") << QStringLiteral("SetTime")
            << QStringLiteral("xbb") << QString()
            << QStringLiteral("raise dbus.exceptions.DBusException('Automatic time synchronization "
                              "is enabled', name='org.freedesktop.timedate1.AutomaticTimeSyncEnabled')");
        QCOMPARE(bus_->call(add).type(), QDBusMessage::ReplyMessage);

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
        mock_ = std::make_unique<QProcess>();
        mock_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        mock_->start(Python, {QStringLiteral("-m"), QStringLiteral("dbusmock"),
                              QStringLiteral("--template"), templateName});
        QVERIFY(mock_->waitForStarted(StartLimitMs));
        QTRY_VERIFY_WITH_TIMEOUT(bus_->interface()->isServiceRegistered(busName).value(),
                                 StartLimitMs);
    }

    void stopMock()
    {
        if (!mock_)
            return;
        mock_->terminate();
        if (!mock_->waitForFinished(StartLimitMs))
            mock_->kill();
        mock_.reset();
    }

    QList<MockCall> mockCalls(const QString& path)
    {
        const QDBusMessage reply = bus_->call(QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.timedate1"), path,
            QStringLiteral("org.freedesktop.DBus.Mock"), QStringLiteral("GetCalls")));
        QList<MockCall> calls;
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return calls;
        const QDBusArgument array = reply.arguments().at(0).value<QDBusArgument>();
        array.beginArray(); // a(tsav): time, method, arguments
        while (!array.atEnd()) {
            qulonglong when = 0;
            MockCall call;
            array.beginStructure();
            array >> when >> call.method >> call.args;
            array.endStructure();
            calls << call;
        }
        array.endArray();
        return calls;
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

    QProcess daemon_;
    QString address_;
    std::unique_ptr<QDBusConnection> bus_;
    std::unique_ptr<QProcess> mock_;
};

QTEST_GUILESS_MAIN(TestTimedated)
#include "tst_timedated.moc"
