// zarn with the simulated car and a web site served on loopback by python's http.server:
// the browser engine is not loaded at start-up, the main menu's "Web Browser" item
// loads it and the stored site, and a garbage entry of the site list is named.
#include "CarSimProcess.h"
#include "ZarnProcess.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace zarn;

namespace {
constexpr int LineTimeoutMs = 60000;

bool mapsWebEngine(qint64 pid)
{
    QFile maps(QStringLiteral("/proc/%1/maps").arg(pid));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6WebEngineCore");
}

// python3 -m http.server on a free loopback port, serving one page.
struct Site {
    QTemporaryDir dir;
    QProcess server;
    QString port;
    QString log;

    bool start()
    {
        QFile page(dir.filePath(QStringLiteral("page.html")));
        if (!page.open(QIODevice::WriteOnly))
            return false;
        page.write("<html><body><h1>Schwabing</h1></body></html>");
        page.close();
        server.setWorkingDirectory(dir.path());
        server.setProcessChannelMode(QProcess::MergedChannels);
        server.start(QStringLiteral("/usr/bin/python3"),
                     {QStringLiteral("-u"), QStringLiteral("-m"), QStringLiteral("http.server"), QStringLiteral("0"),
                      QStringLiteral("--bind"), QStringLiteral("127.0.0.1")});
        static const QRegularExpression serving(QStringLiteral("port (\\d+)"));
        return waitFor([&] {
            const QRegularExpressionMatch m = serving.match(log);
            port = m.captured(1);
            return m.hasMatch();
        });
    }
    template <typename Done> bool waitFor(Done done, int timeoutMs = LineTimeoutMs)
    {
        QDeadlineTimer deadline(timeoutMs);
        while (!done()) {
            if (deadline.hasExpired() || server.state() == QProcess::NotRunning)
                return false;
            server.waitForReadyRead(200);
            log += QString::fromUtf8(server.readAll());
        }
        return true;
    }
    ~Site()
    {
        server.terminate();
        server.waitForFinished(5000);
    }
};

void addSites(const QString& home, const QByteArray& sites)
{
    QFile ini(home + QStringLiteral("/Zarn.ini"));
    QVERIFY(ini.open(QIODevice::Append));
    ini.write("\n[Websites]\n" + sites);
}
} // namespace

class TstZarnWeb : public QObject {
    Q_OBJECT
private slots:
    void engineLoadsWithTheFirstVisit();
};

void TstZarnWeb::engineLoadsWithTheFirstVisit()
{
    Site site;
    QVERIFY2(site.start(), qPrintable(site.log));
    test::ZarnProcess zarn;
    test::CarSimProcess car;
    QVERIFY(car.startLive(zarn.home(), {QStringLiteral("--no-car")}));
    addSites(zarn.home(), "Site0=http://127.0.0.1:" + site.port.toLatin1() + "/page.html\nSite1=javascript:alert(1)\n");
    QVERIFY(zarn.start({QStringLiteral("/TRACE")}));
    QVERIFY(car.waitForGreeting());
    QVERIFY2(zarn.waitForLine(QStringLiteral("Zarn.ini [Websites] site \"javascript:alert(1)\" is not a web address "
                                             "(http, https or file) - skipped"),
                              LineTimeoutMs),
             qPrintable(zarn.statusLog()));
    // Up and running, and the engine not even mapped.
    QVERIFY(!mapsWebEngine(zarn.pid()));

    // The PC picture on the car's screen, then the main menu's ring to "Web Browser".
    QVERIFY(car.run("0 source tape"));
    QVERIFY(zarn.waitForLine(QStringLiteral("RTS is now HIGH (relais on)"), LineTimeoutMs));
    QVERIFY(car.run("0 knob right 3"));
    QVERIFY(zarn.waitForLine(QStringLiteral("BMW_Menu_turnknob_Clockwise - numsteps = 3"), LineTimeoutMs));
    QVERIFY(car.run("0 knob press"));
    QVERIFY(zarn.waitForLine(QStringLiteral("BMW_Menu_turnknob_Press found"), LineTimeoutMs));
    QVERIFY2(site.waitFor([&] { return site.log.contains(QLatin1String("GET /page.html")); }),
             qPrintable(site.log + zarn.statusLog()));
    QVERIFY(mapsWebEngine(zarn.pid()));

    QCOMPARE(car.stop(), 0);
    QCOMPARE(zarn.terminate(), 0);
}

QTEST_GUILESS_MAIN(TstZarnWeb)
#include "tst_zarn_web.moc"
