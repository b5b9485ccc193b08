// Memory of the real program before and after the web page was first opened (offscreen
// window, the simulated car, a long page served on loopback): the program's resident
// set, and that of the program with the browser engine's helper processes.
// Usage: bench_web [seconds to let the opened page settle, default 10]
#include "ProcStat.h"
#include "CarSimProcess.h"
#include "PythonHttpServer.h"
#include "ZarnProcess.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QThread>

#include <cstdio>

namespace {

using zarn::bench::statusKb;

// The process and every process below it.
QList<qint64> tree(qint64 pid)
{
    QList<qint64> all{pid};
    for (qsizetype i = 0; i < all.size(); ++i) {
        QFile children(QStringLiteral("/proc/%1/task/%1/children").arg(all[i]));
        if (children.open(QIODevice::ReadOnly))
            for (const QByteArray& child : children.readAll().split(' '))
                if (!child.trimmed().isEmpty())
                    all << child.trimmed().toLongLong();
    }
    return all;
}

long treeRssKb(qint64 pid)
{
    long sum = 0;
    for (qint64 p : tree(pid))
        sum += std::max(0L, statusKb(p, "VmRSS:"));
    return sum;
}

bool fail(const char* what)
{
    std::fprintf(stderr, "bench_web: %s\n", what);
    return false;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int settle = argc > 1 ? std::max(1, atoi(argv[1])) : 10;
    QByteArray page = "<html><body style='font-size:28px'><h1>Schwabing</h1>";
    for (int i = 0; i < 200; ++i)
        page += "<p>Paragraph " + QByteArray::number(i) + ": the quick brown fox jumps over the lazy dog.</p>";
    page += "</body></html>";
    zarn::test::PythonHttpServer site;
    if (!site.start({{QStringLiteral("page.html"), page}}))
        return fail("the web server did not start"), 1;

    zarn::test::ZarnProcess zarn;
    zarn::test::CarSimProcess car;
    if (!car.startLive(zarn.home(), {QStringLiteral("--no-car")}))
        return fail("the car did not start"), 1;
    QFile ini(zarn.home() + QStringLiteral("/Zarn.ini"));
    if (!ini.open(QIODevice::Append))
        return fail("no Zarn.ini"), 1;
    // Private mode: no driver's log question takes the screen on its own.
    ini.write("\n[Driverslog]\nrecord=0\n[Websites]\nSite0=" + site.url(QStringLiteral("page.html")).toUtf8() + "\n");
    ini.close();
    // SAVEMEMORY: no random list read, which takes the focus off "MP3 Player" for a while.
    if (!zarn.start({QStringLiteral("/TRACE"), QStringLiteral("/SAVEMEMORY")}) || !car.waitForGreeting())
        return fail("zarn did not start"), 1;
    car.run("0 source tape");
    if (!zarn.waitForLine(QStringLiteral("RTS is now HIGH (relais on)"), 60000))
        return fail("the screen did not switch"), 1;
    // Up and idle: the main menu shown, the bus quiet (knob messages are taken right
    // after the screen switch; the menu's focus is then still on its first item).
    QThread::sleep(2);
    const long before = statusKb(zarn.pid(), "VmRSS:");
    const long beforeTree = treeRssKb(zarn.pid());

    // Main menu: three detents clockwise reach "Web Browser".
    car.run("0 knob right 3");
    zarn.waitForLine(QStringLiteral("BMW_Menu_turnknob_Clockwise - numsteps = 3"), 60000);
    car.run("0 knob press");
    if (!site.waitForRequest(QStringLiteral("GET /page.html")))
        return fail("the page was not requested"), 1;
    QThread::sleep(settle);
    const long after = statusKb(zarn.pid(), "VmRSS:");
    const long afterTree = treeRssKb(zarn.pid());
    const qsizetype helpers = tree(zarn.pid()).size() - 1;
    car.stop();
    zarn.terminate();

    std::printf("resident set of zarn: 2 s after start-up, %d s after the web page opened\n", settle);
    std::printf("  %-34s %8.1f MB\n", "before the web page", before / 1024.0);
    std::printf("  %-34s %8.1f MB (+%.1f)\n", "after it was first opened", after / 1024.0, (after - before) / 1024.0);
    std::printf("  %-34s %8.1f MB -> %.1f MB (+%.1f, %lld helper processes)\n", "with the engine's helpers",
                beforeTree / 1024.0, afterTree / 1024.0, (afterTree - beforeTree) / 1024.0, (long long)helpers);
    return 0;
}
