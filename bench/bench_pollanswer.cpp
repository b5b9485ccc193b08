// Delay between a CD changer poll written on the pseudo-terminal and the answer read
// back, with the real zarn program: 100 ms by design, the rest is the link's quiet
// time, the hand-over and the timer. Arg 1 runs it while both cores are kept busy.
#include "PtyPair.h"
#include "ZarnProcess.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QElapsedTimer>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace {
void BM_PollAnswer(benchmark::State& state)
{
    zarn::test::PtyPair pty;
    zarn::test::ZarnProcess zarn;
    zarn.writeIni("[COM-Port]\nDevicePath=" + pty.slavePath().toUtf8() + "\n[CD_Emulation]\nCD_CheckBox=1\n");
    if (!zarn.start() || !zarn.waitForLine(QStringLiteral("Last known mileage read - number is 4711"))) {
        state.SkipWithError("zarn did not start");
        return;
    }
    pty.read(500); // the greeting

    std::atomic<bool> stop{false};
    std::vector<std::thread> load;
    if (state.range(0) == 1)
        for (unsigned i = 0; i < std::max(2u, std::thread::hardware_concurrency()); ++i)
            load.emplace_back([&stop] {
                volatile unsigned long x = 0;
                while (!stop.load(std::memory_order_relaxed))
                    x = x + 1;
            });

    const QByteArray poll = QByteArray::fromHex("6803180172");
    const QByteArray answer = QByteArray::fromHex("1804FF0200E1");
    std::vector<double> delays;
    for (auto _ : state) {
        pty.read(0); // drop anything else (requests)
        QElapsedTimer t;
        t.start();
        pty.write(poll);
        const QByteArray got = pty.readUntil(answer, 2000);
        const double ms = double(t.nsecsElapsed()) / 1e6;
        if (!got.contains(answer)) {
            state.SkipWithError("no answer");
            break;
        }
        delays.push_back(ms);
        state.SetIterationTime(ms / 1000.0);
    }
    stop = true;
    for (auto& t : load)
        t.join();
    zarn.terminate();
    if (delays.empty())
        return;
    std::sort(delays.begin(), delays.end());
    state.counters["p50_ms"] = delays[delays.size() / 2];
    state.counters["p99_ms"] = delays[std::min(delays.size() - 1, delays.size() * 99 / 100)];
    state.counters["max_ms"] = delays.back();
}
BENCHMARK(BM_PollAnswer)->Arg(0)->Arg(1)->Iterations(300)->UseManualTime()->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
