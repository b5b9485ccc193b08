// Loading a full radar.bin (12000 records) and one camera check over all of them, with
// and without the map drawing, next to a plain loop of the same 12000 great-circle
// distances as the floor.
#include "core/Geodesy.h"
#include "core/StatusLog.h"
#include "vehicle/RadarCameras.h"
#include "vehicle/RadarCheck.h"
#include "vehicle/RadarMap.h"

#include "../tests/vehicle/RadarFixture.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int Cameras = 12000;

// Cameras spread over southern Germany, the car in the middle of them.
QByteArray fullRadarBin()
{
    QByteArray bytes;
    bytes.reserve(Cameras * 24);
    quint32 x = 12345;
    for (int i = 0; i < Cameras; ++i) {
        x = x * 1103515245u + 12345u;
        const double lat = 47.5 + (x >> 8) % 20000 / 10000.0;
        x = x * 1103515245u + 12345u;
        const double lon = 9.0 + (x >> 8) % 40000 / 10000.0;
        bytes += radarfixture::record(lat, lon, i % 7 == 0 ? 0 : 1, 50 + i % 5 * 10);
    }
    return bytes;
}

struct Fixture {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("radar.bin"));
    Fixture() { radarfixture::write(path, fullRadarBin()); }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

zarn::RadarCameraList loaded()
{
    zarn::StatusLog log;
    log.setAlertSink([](const QString&) {});
    return zarn::loadradarpositions(fixture().path, log);
}

void BM_LoadRadarBin(benchmark::State& state)
{
    for (auto _ : state) {
        zarn::RadarCameraList list = loaded();
        benchmark::DoNotOptimize(list.cameras.data());
    }
}
BENCHMARK(BM_LoadRadarBin)->Unit(benchmark::kMillisecond);

zarn::RadarCheckInput carInput()
{
    zarn::RadarCheckInput in;
    in.fix.latDeg = 48;
    in.fix.latMin = 30;
    in.fix.lonDeg = 11;
    in.fix.lonMin = 0;
    in.courseOverGround = 10;
    in.currentSpeed = 80;
    in.warningOn = true;
    in.mapScaleKm = 3;
    return in;
}

void BM_RadarCheck(benchmark::State& state)
{
    const zarn::RadarCameraList list = loaded();
    const zarn::RadarCheckInput in = carInput();
    for (auto _ : state) {
        zarn::RadarCheckResult r = zarn::RadarCheck(list.cameras, in);
        benchmark::DoNotOptimize(r.nearest);
    }
}
BENCHMARK(BM_RadarCheck)->Unit(benchmark::kMicrosecond);

// What a position fix costs: the check and the whole map with its dots and lines.
void BM_RadarCheckWithMap(benchmark::State& state)
{
    const zarn::RadarCameraList list = loaded();
    zarn::RadarCheckInput in = carInput();
    in.mapScaleKm = double(state.range(0));
    zarn::RadarMap map(QSize(400, 411));
    zarn::RadarMap::Input mapIn;
    mapIn.scaleKm = int(state.range(0));
    mapIn.warningOn = true;
    mapIn.fix = in.fix;
    mapIn.courseOverGround = in.courseOverGround;
    qsizetype dots = 0;
    for (auto _ : state) {
        zarn::RadarCheckResult r = zarn::RadarCheck(list.cameras, in);
        map.draw(mapIn, list.cameras, r);
        dots = r.onMap.size();
        benchmark::DoNotOptimize(map.image().constBits());
    }
    state.counters["dots"] = double(dots);
}
BENCHMARK(BM_RadarCheckWithMap)->Arg(3)->Arg(20)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_PlainDistances(benchmark::State& state)
{
    const zarn::RadarCameraList list = loaded();
    const zarn::RadarCheckInput in = carInput();
    const double carLat = zarn::Nav2Rad_Angle(in.fix.latDeg, u"N", in.fix.latMin);
    const double carLon = -(in.fix.lonDeg * 60.0 + in.fix.lonMin) * zarn::RadiansPerArcMinute;
    for (auto _ : state) {
        double nearest = 1e9;
        for (const zarn::RadarCamera& c : list.cameras) {
            const double d = zarn::RadToNm(zarn::CentralAngle(c.longitudeRad, c.latitudeRad, carLon, carLat)) * 1.852;
            nearest = d < nearest ? d : nearest;
        }
        benchmark::DoNotOptimize(nearest);
    }
}
BENCHMARK(BM_PlainDistances)->Unit(benchmark::kMicrosecond);

} // namespace

// The map's letters need the GUI application (offscreen: no display).
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
