// The window: one knob step from the bus including the repaint, and the whole program
// from its start to the main menu shown and a clean exit.
#include "app/MainWindow.h"
#include "PtyPair.h"
#include "TestSupport.h"
#include "ZarnProcess.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>

namespace {
// Counts the widgets that repaint.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

void BM_KnobStepWithRepaint(benchmark::State& state)
{
    QTemporaryDir home;
    QFile ini(home.filePath("Zarn.ini"));
    ini.open(QIODevice::WriteOnly);
    ini.write("[COM-Port]\nDevicePath=/nonexistent/ttyCAR\n");
    ini.close();
    zarn::MainController::Environment env;
    env.arguments = {QStringLiteral("zarn"), QStringLiteral("/FORCESCREEN")};
    env.appDir = home.path() + QLatin1Char('/');
    env.watchSleep = false;
    zarn::MainWindow main(env);
    main.FormCreate();
    main.window().show();
    QApplication::processEvents();
    PaintCounter counter;
    qApp->installEventFilter(&counter);
    const QString step = zarn::test::blockText(QStringLiteral("F0043B498107"));
    for (auto _ : state) {
        main.core().dispatcher().ProcessIbusText(step);
        QApplication::processEvents(); // the repaint
    }
    qApp->removeEventFilter(&counter);
    state.counters["paints_per_step"] = benchmark::Counter(double(counter.paints) / double(state.iterations()));
}
BENCHMARK(BM_KnobStepWithRepaint)->Unit(benchmark::kMicrosecond);

// Start to main menu shown: the SIGTERM sent after the first status line is handled
// once the event loop runs, i.e. after the window is up; then the program saves and ends.
void BM_StartupToMainMenu(benchmark::State& state)
{
    zarn::test::PtyPair pty;
    for (auto _ : state) {
        zarn::test::ZarnProcess zarn;
        zarn.writeIni("[COM-Port]\nDevicePath=" + pty.slavePath().toUtf8() + "\n[CD_Emulation]\nCD_CheckBox=1\n");
        QElapsedTimer t;
        t.start();
        zarn.start({QStringLiteral("/NOSPLASH")});
        zarn.waitForLine(QStringLiteral("starting up..."), 10000);
        zarn.terminate(10000);
        state.SetIterationTime(double(t.nsecsElapsed()) / 1e9);
    }
}
BENCHMARK(BM_StartupToMainMenu)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
