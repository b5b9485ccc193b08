// zarn with the simulated car and a web site served on loopback by python's http.server:
// the browser engine is not loaded at start-up, the main menu's "Web Browser" item
// loads it and the stored site, and a garbage entry of the site list is named.
#include "CarSimProcess.h"
#include "PythonHttpServer.h"
#include "ZarnProcess.h"

#include <QFile>
#include <QTest>

using namespace zarn;

namespace {
constexpr int LineTimeoutMs = 60000;

bool mapsWebEngine(qint64 pid)
{
    QFile maps(QStringLiteral("/proc/%1/maps").arg(pid));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6WebEngineCore");
}

void addSites(const QString& home, const QByteArray& sites)
{
    QFile ini(home + QStringLiteral("/Zarn.ini"));
    QVERIFY(ini.open(QIODevice::Append));
    ini.write("\n[Driverslog]\nrecord=0\n[Websites]\n" + sites);
}
} // namespace

class TstZarnWeb : public QObject {
    Q_OBJECT
private slots:
    void engineLoadsWithTheFirstVisit();
};

void TstZarnWeb::engineLoadsWithTheFirstVisit()
{
    test::PythonHttpServer site;
    QVERIFY(site.start({{QStringLiteral("page.html"), "<html><body><h1>Schwabing</h1></body></html>"}}));
    test::ZarnProcess zarn;
    test::CarSimProcess car;
    QVERIFY(car.startLive(zarn.home(), {QStringLiteral("--no-car")}));
    addSites(zarn.home(), "Site0=" + site.url(QStringLiteral("page.html")).toUtf8() + "\nSite1=javascript:alert(1)\n");
    // Nothing moves the main menu's focus on its own: no random list read, no driver's
    // log question.
    QVERIFY(zarn.start({QStringLiteral("/TRACE"), QStringLiteral("/SAVEMEMORY")}));
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
    QVERIFY2(site.waitForRequest(QStringLiteral("GET /page.html"), LineTimeoutMs), qPrintable(site.log() + zarn.statusTexts().join(QLatin1Char('\n'))));
    QVERIFY(mapsWebEngine(zarn.pid()));

    QCOMPARE(car.stop(), 0);
    QCOMPARE(zarn.terminate(), 0);
}

QTEST_GUILESS_MAIN(TstZarnWeb)
#include "tst_zarn_web.moc"
