// The power options against python-dbusmock's logind on a private bus, pointed to by
// DBUS_SYSTEM_BUS_ADDRESS: the machine's own logind is never asked to do anything.
#include "core/StatusLog.h"
#include "services/PowerController.h"
#include "DbusMock.h"
#include "TestSupport.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include <memory>

using namespace zarn;

namespace {

const QString Login1 = QStringLiteral("org.freedesktop.login1");
const QString Login1Path = QStringLiteral("/org/freedesktop/login1");
const QString ManagerIface = QStringLiteral("org.freedesktop.login1.Manager");
constexpr int StartLimitMs = test::DbusMock::StartLimitMs;

QStringList errorsOf(const StatusLog& log)
{
    QStringList out;
    for (const QString& t : test::texts(log))
        if (t.startsWith(QLatin1String("Power")))
            out << t;
    return out;
}

} // namespace

class TestPower : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        const QString problem = dbus_.startDaemon();
        if (dbus_.daemonMissing())
            QSKIP(qPrintable(problem));
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        bus_ = &dbus_.bus();
    }

    void cleanup() { dbus_.stopTemplate(); }

    void eachOptionCallsItsMethod_data()
    {
        QTest::addColumn<int>("option");
        QTest::addColumn<QString>("method");
        QTest::addRow("shutdown halts") << int(PowerController::Shutdown) << QStringLiteral("Halt");
        QTest::addRow("power off") << int(PowerController::PowerOff) << QStringLiteral("PowerOff");
        QTest::addRow("standby suspends") << int(PowerController::Standby) << QStringLiteral("Suspend");
        QTest::addRow("hibernate") << int(PowerController::Hibernate) << QStringLiteral("Hibernate");
    }
    void eachOptionCallsItsMethod()
    {
        QFETCH(int, option);
        QFETCH(QString, method);
        startLogind();
        StatusLog log;
        PowerController power(log); // the system bus, which is the private one here
        QSignalSpy finished(&power, &PowerController::requestFinished);
        QVERIFY(power.request(PowerController::Option(option)));
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, StartLimitMs);
        QCOMPARE(finished[0][0].toInt(), option);
        QVERIFY2(finished[0][1].toBool(), qPrintable(errorsOf(log).join('\n')));

        const QList<test::DbusMock::Call> calls = managerCalls();
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls[0].method, method);
        QCOMPARE(calls[0].args.size(), 1);
        QCOMPARE(calls[0].args[0].toBool(), false); // never asks the user
        QVERIFY(errorsOf(log).isEmpty());
    }

    // The exit options are no requests: nothing reaches logind.
    void exitOptionsAreNoRequests()
    {
        startLogind();
        StatusLog log;
        PowerController power(log, *bus_);
        for (auto option : {PowerController::NoOption, PowerController::JustExit, PowerController::ExplorerShell})
            QVERIFY(!power.request(option));
        QTest::qWait(0);
        QVERIFY(managerCalls().isEmpty());
    }

    // A refused request is written once while it keeps being refused (the idle exit
    // repeats it), and again after a request went through.
    void refusedRequestIsReportedOnce()
    {
        startLogind();
        addMethod(QStringLiteral("Suspend"),
                  QStringLiteral("raise dbus.exceptions.DBusException('Access denied', "
                                 "name='org.freedesktop.DBus.Error.AccessDenied')"));
        StatusLog log;
        PowerController power(log, *bus_);
        QSignalSpy finished(&power, &PowerController::requestFinished);
        power.request(PowerController::Standby);
        power.request(PowerController::Standby);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, StartLimitMs);
        QCOMPARE(finished[0][1].toBool(), false);
        QCOMPARE(finished[1][1].toBool(), false);
        QCOMPARE(errorsOf(log), QStringList{QStringLiteral(
                                    "Power option Suspend refused: org.freedesktop.DBus.Error.AccessDenied Access denied")});

        power.request(PowerController::PowerOff);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 3, StartLimitMs);
        QVERIFY(finished[2][1].toBool());
        power.request(PowerController::Standby);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 4, StartLimitMs);
        QCOMPARE(errorsOf(log).size(), 2);
    }

    void logindAbsent()
    {
        StatusLog log;
        PowerController power(log, *bus_);
        power.ReadPowerCapabilities();
        QCOMPARE(power.HibernateAllowed(), false);
        QCOMPARE(power.optionTexts().size(), 5);
        QCOMPARE(errorsOf(log),
                 QStringList{QStringLiteral("Power options: logind (org.freedesktop.login1) is not on the system bus")});

        QSignalSpy finished(&power, &PowerController::requestFinished);
        QVERIFY(power.request(PowerController::PowerOff));
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, StartLimitMs);
        QCOMPARE(finished[0][1].toBool(), false);
        QCOMPARE(errorsOf(log).last(),
                 QStringLiteral("Power option PowerOff not done: logind (org.freedesktop.login1) is not on the system bus"));
    }

    void noBusAtAll()
    {
        const QDBusConnection none = QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/zarn-test"),
                                                                   QStringLiteral("zarn-no-bus"));
        StatusLog log;
        PowerController power(log, none);
        power.ReadPowerCapabilities();
        QSignalSpy finished(&power, &PowerController::requestFinished);
        QVERIFY(power.request(PowerController::Hibernate));
        QCOMPARE(finished.count(), 1); // at once: nothing to wait for
        QCOMPARE(finished[0][1].toBool(), false);
        const QStringList lines = errorsOf(log);
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines[0].startsWith(QLatin1String("Power options: no system bus")));
        QCOMPARE(lines[1], QStringLiteral("Power option Hibernate not done: no system bus"));
        QDBusConnection::disconnectFromBus(QStringLiteral("zarn-no-bus"));
    }

    void hibernationOffered_data()
    {
        QTest::addColumn<QString>("canHibernate");
        QTest::addColumn<int>("options");
        QTest::addColumn<int>("storedFive"); // what a stored index 5 selects
        QTest::addRow("yes") << "yes" << 6 << int(PowerController::Hibernate);
        QTest::addRow("no") << "no" << 5 << int(PowerController::Standby);
        QTest::addRow("challenge: it would ask for a password") << "challenge" << 5 << int(PowerController::Standby);
        QTest::addRow("na") << "na" << 5 << int(PowerController::Standby);
    }
    void hibernationOffered()
    {
        QFETCH(QString, canHibernate);
        QFETCH(int, options);
        QFETCH(int, storedFive);
        startLogind(QStringLiteral("{\"CanHibernate\": \"%1\", \"CanSuspend\": \"no\"}").arg(canHibernate));
        StatusLog log;
        PowerController power(log, *bus_);
        power.ReadPowerCapabilities();
        QCOMPARE(power.SuspendAllowed(), false);
        const QStringList texts = power.optionTexts();
        QCOMPARE(texts.size(), options);
        QCOMPARE(texts[2], QStringLiteral("Shutdown (with remaining \"it is now safe to turn off your computer\" screen !)"));
        QCOMPARE(int(power.optionAt(5)), storedFive);
        QCOMPARE(int(power.optionAt(-1)), int(PowerController::NoOption));
        QVERIFY(errorsOf(log).isEmpty());
    }

private:
    void startLogind(const QString& parameters = {})
    {
        QVERIFY(dbus_.startTemplate(QStringLiteral("logind"), Login1, parameters));
        // Real logind has Halt; the template lacks it.
        addMethod(QStringLiteral("Halt"), QString());
        QCOMPARE(bus_->call(dbus_.mockCall(Login1Path, QStringLiteral("ClearCalls"))).type(), QDBusMessage::ReplyMessage);
    }

    void addMethod(const QString& method, const QString& code)
    {
        QVERIFY(dbus_.addMethod(Login1Path, ManagerIface, method, QStringLiteral("b"), QString(), code));
    }

    // The calls of the manager's power methods (the Can* queries left out).
    QList<test::DbusMock::Call> managerCalls()
    {
        QList<test::DbusMock::Call> calls = dbus_.calls(Login1Path);
        calls.removeIf([](const test::DbusMock::Call& c) { return c.method.startsWith(QLatin1String("Can")); });
        return calls;
    }

    test::DbusMock dbus_;
    QDBusConnection* bus_ = nullptr;
};

QTEST_GUILESS_MAIN(TestPower)
#include "tst_power.moc"
