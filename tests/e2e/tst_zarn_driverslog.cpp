// zarn and the simulated car on a business trip: the question at start-up answered
// with the knob, the route's quarters and streets written to the driver's log under
// ZARN_HOME, and the power cut right after an entry leaving every record whole.
//
// Every step waits for the status line that shows zarn took the car's last event; the
// time-outs only bound a failure.
#include "CarSimProcess.h"
#include "ZarnProcess.h"

#include "carsim/Route.h"
#include "ibus/FrameText.h"
#include "TestSupport.h"

#include <QDate>
#include <QDeadlineTimer>
#include <QDir>
#include <QRegularExpression>
#include <QTest>
#include <QThread>

#include <csignal>

using namespace zarn;

namespace {
constexpr int LineTimeoutMs = 60000;
const QString Written = QStringLiteral("Dual logging not active !");

// As the record has it: a to z upper-cased, everything else kept.
QString upperAscii(QString text)
{
    for (QChar& c : text)
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - 'a' + 'A');
    return text;
}

struct Trip {
    test::ZarnProcess zarn;
    test::CarSimProcess car;
    carsim::Route route{carsim::munichRoute()};
    qsizetype seen = 0; // status lines the last wait looked at

    // Waits for the n-th status line (counted from the start) ending in text.
    bool zarnSaid(const QString& text, int n = 1)
    {
        QDeadlineTimer deadline(LineTimeoutMs);
        for (;;) {
            const QStringList lines = zarn.statusTexts();
            if (lines.count(text) >= n)
                return true;
            if (deadline.hasExpired() || !zarn.isRunning())
                return false;
            QThread::msleep(20);
        }
    }
    QByteArray why(const char* what)
    {
        const auto tail = [](const QStringList& lines) { return lines.mid(qMax<qsizetype>(0, lines.size() - 15)).join('\n'); };
        return QStringLiteral("%1\n--- car:\n%2\n--- zarn:\n%3")
            .arg(QLatin1String(what), tail(car.output().split(QLatin1Char('\n'), Qt::SkipEmptyParts)),
                 tail(zarn.statusTexts()))
            .toLocal8Bit();
    }
    QString place() const { return upperAscii(route.city() + QLatin1Char(',') + route.street()); }
};

#define WAIT(t, condition) QVERIFY2((condition), (t).why(#condition).constData())
} // namespace

class TestZarnDriversLog : public QObject {
    Q_OBJECT
private slots:
    void businessTripFillsTheLog()
    {
        Trip t;
        WAIT(t, t.car.startLive(t.zarn.home()));
        // The car stands still: only the scenario's turns change the place.
        QVERIFY(t.car.run("0 drive 0"));
        {
            QFile ini(t.zarn.home() + QStringLiteral("/Zarn.ini"));
            QVERIFY(ini.open(QIODevice::Append));
            ini.write("\n[Driverslog]\nrecord=1\n");
        }
        WAIT(t, t.zarn.start({QStringLiteral("/TRACE"), QStringLiteral("/TIMERS")}));
        WAIT(t, t.car.waitForGreeting());
        WAIT(t, t.zarn.waitForLine(QStringLiteral("BMW_odometer found - number is 212968"), LineTimeoutMs));
        // An odometer frame whose checksum fails must not reach the records.
        QByteArray odometer = test::hexBytes(QStringLiteral("800ABF17010000801832CC"));
        odometer.append(char(FrameChecksum(odometer) ^ 0x5A));
        QVERIFY(t.car.run("0 frame " + odometer.toHex(' ') + "\n0 source tape"));
        WAIT(t, t.zarn.waitForLine(QStringLiteral("RTS is now HIGH (relais on)"), LineTimeoutMs));
        // The place before the question: no record while it is open.
        WAIT(t, t.zarn.waitForLine(QStringLiteral("BMW_Nav_City successfullly processed"), LineTimeoutMs));
        WAIT(t, t.zarn.waitForLine(QStringLiteral("$$$ Timer - startupandasktimerTimer"), LineTimeoutMs));
        QCOMPARE(t.zarn.statusTexts().count(Written), 0);

        // "A no" has the focus; one detent to "A yes" and a press.
        QVERIFY(t.car.run("0 knob right 1"));
        WAIT(t, t.zarn.waitForLine(QStringLiteral("BMW_Menu_turnknob_Clockwise - numsteps = 1"), LineTimeoutMs));
        QVERIFY(t.car.run("0 knob press"));
        WAIT(t, t.zarnSaid(Written, 1));
        QStringList expected{t.place()};

        // Each turn into another street is a record; a new quarter first writes the
        // new city with the street still the old one.
        for (int i = 0; i < 4; ++i) {
            const QString street = t.route.street();
            const QString city = t.route.city();
            t.route.nextStreet();
            if (t.route.city() != city)
                expected << upperAscii(t.route.city() + QLatin1Char(',') + street);
            expected << t.place();
            QVERIFY(t.car.run("0 route next"));
            WAIT(t, t.zarnSaid(Written, int(expected.size())));
        }
        // The power cut, right after the last entry was reported.
        QVERIFY(::kill(pid_t(t.zarn.pid()), SIGKILL) == 0);
        t.car.stop();

        const QString path =
            QDir(t.zarn.home()).filePath(QStringLiteral("driverslog/%1-%2.LOG").arg(QDate::currentDate().month()).arg(QDate::currentDate().year()));
        const QByteArray file = test::readAll(path);
        QVERIFY2(file.endsWith("\r\n"), file.constData());
        const QStringList records = QString::fromUtf8(file).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(records.size(), expected.size());
        static const QRegularExpression whole(QStringLiteral(
            "^(Sunday|Monday|Tuesday|Wednesday|Thursday|Friday|Saturday),[^,]+,\\d\\d:\\d\\d:\\d\\d,212968,(.+)$"));
        for (qsizetype i = 0; i < records.size(); ++i) {
            const QRegularExpressionMatch m = whole.match(records[i]);
            QVERIFY2(m.hasMatch(), qPrintable(records[i]));
            QCOMPARE(m.captured(2), expected[i]);
        }
        QVERIFY2(expected.join('\n').contains(QStringLiteral("MüNCHEN-SCHWABING,LEOPOLDSTRAßE")),
                 qPrintable(expected.join('\n')));
    }
};

QTEST_GUILESS_MAIN(TestZarnDriversLog)
#include "tst_zarn_driverslog.moc"
