// Dispatch time of a typical block: three frames (speed, a knob turn, a device the
// program ignores), every row of the table tested; and of the same block behind stray
// bytes, which the frame split skips.
#include "core/StatusLog.h"
#include "ibus/BusEvents.h"
#include "ibus/BusOptions.h"
#include "ibus/BusSideSink.h"
#include "ibus/CdChanger.h"
#include "ibus/CodeTable.h"
#include "ibus/Dispatcher.h"
#include "ibus/FrameText.h"
#include "ibus/IbusSender.h"
#include "ibus/ScreenRelay.h"

#include "RecordingSink.h"

#include <benchmark/benchmark.h>

namespace {

// The block as it arrives; hexPrefix: stray bytes before it (a port opened mid-frame).
void dispatchBlock(benchmark::State& state, const char* hexPrefix)
{
    zarn::StatusLog log;
    zarn::BusOptions options;
    options.cdEmulation = true;
    zarn::test::RecordingSink sink;
    zarn::test::FakeRts rts;
    zarn::CodeTable codes;
    zarn::IbusSender sender(sink, log, options);
    zarn::CdChanger cd(sender, log);
    zarn::ScreenRelay screen(rts, log);
    struct : zarn::BusEventSink {
        bool busEvent(const zarn::BusEvent&) override { return true; }
    } above;
    zarn::BusSideSink busSide(cd, screen, {}, above);
    zarn::Dispatcher dispatcher(codes, options, log, screen, busSide);
    screen.forceScreen();
    const QByteArray block =
        QByteArray::fromHex(QByteArray(hexPrefix) + "8005BF182A151D" "F0043B498107" "D007BF5B0000000033");
    for (auto _ : state) {
        dispatcher.ProcessIbusText(zarn::ClusterToHexText(block));
        log.clear();
    }
}
void BM_DispatchTypicalBlock(benchmark::State& state)
{
    dispatchBlock(state, "");
}
BENCHMARK(BM_DispatchTypicalBlock)->Unit(benchmark::kMicrosecond);

void BM_DispatchBlockAfterStrayBytes(benchmark::State& state)
{
    dispatchBlock(state, "00FF1337");
}
BENCHMARK(BM_DispatchBlockAfterStrayBytes)->Unit(benchmark::kMicrosecond);
} // namespace

BENCHMARK_MAIN();
