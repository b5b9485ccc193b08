// The now-playing page: what one progress tick costs. A tick changes the time text and
// the slider value; the page must repaint those two and nothing else. Reported: the
// time of one setView with a tick's change, and per tick with its repaint the controls
// painted and the pixels of their paint regions. A track change and a scroller step
// stand beside it for scale. The spectrum's 35 ms tick: the engine's magnitudes of a
// playing tone, one analyser frame and its repaint, which must touch the paint box alone.
#include "media/FfmpegAudioEngine.h"
#include "ui/ColorScheme.h"
#include "ui/TSpectrum.h"
#include "ui/TextScroller.h"
#include "ui/ZarnWindow.h"
#include "ui/pages/NowPlayingPage.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPaintEvent>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>

#include <cmath>
#include <vector>

namespace {

struct PaintMeter : QObject {
    qint64 paints = 0;
    qint64 pixels = 0;
    QSet<QString> names;
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Paint) {
            ++paints;
            for (const QRect& r : static_cast<QPaintEvent*>(e)->region())
                pixels += qint64(r.width()) * r.height();
            names.insert(o->objectName());
        }
        return false;
    }
};

zarn::NowPlayingView track(int second)
{
    zarn::NowPlayingView v;
    v.playMark = QStringLiteral(">");
    v.bitrateText = QStringLiteral("192");
    v.sampleRateText = QStringLiteral("44100");
    v.format = zarn::NowPlayingView::Format::Mp3;
    v.progressMax = 245;
    v.progressValue = second % 245;
    v.timeText = QStringLiteral("%1:%2 / 4:05").arg(v.progressValue / 60).arg(v.progressValue % 60, 2, 10, QLatin1Char('0'));
    v.scrollerText = QStringLiteral("/media/music/Die Ärzte/Die Bestie in Menschengestalt/03 - Schrei nach Liebe.mp3");
    v.title = QStringLiteral("Schrei nach Liebe");
    v.artist = QStringLiteral("Die Ärzte");
    v.album = QStringLiteral("Die Bestie in Menschengestalt");
    v.year = QStringLiteral("1993");
    v.genre = QStringLiteral("Punk");
    return v;
}

struct Shown {
    zarn::ZarnWindow window;
    zarn::NowPlayingPage* page;
    Shown()
    {
        zarn::ApplyColorScheme(window);
        window.findChild<QWidget*>(QStringLiteral("offpanel"))->hide();
        window.ShowPage(zarn::PageNowPlaying);
        page = static_cast<zarn::NowPlayingPage*>(window.page(zarn::PageNowPlaying));
        page->setView(track(0));
        window.show();
        QApplication::processEvents();
        QApplication::processEvents();
    }
    void meter(PaintMeter& m)
    {
        window.installEventFilter(&m);
        for (QWidget* w : window.findChildren<QWidget*>())
            w->installEventFilter(&m);
    }
};

void report(benchmark::State& state, const PaintMeter& m)
{
    const double n = double(state.iterations());
    state.counters["paints_per_tick"] = benchmark::Counter(double(m.paints) / n);
    state.counters["pixels_per_tick"] = benchmark::Counter(double(m.pixels) / n);
    QStringList names(m.names.cbegin(), m.names.cend());
    names.sort();
    state.SetLabel(names.join(QLatin1Char(' ')).toStdString());
}

void BM_SetViewTick(benchmark::State& state)
{
    Shown s;
    int second = 0;
    for (auto _ : state)
        s.page->setView(track(++second));
    QApplication::processEvents();
}
BENCHMARK(BM_SetViewTick)->Unit(benchmark::kMicrosecond);

void BM_TickWithRepaint(benchmark::State& state)
{
    Shown s;
    PaintMeter m;
    s.meter(m);
    int second = 0;
    for (auto _ : state) {
        s.page->setView(track(++second));
        QApplication::processEvents(); // the repaint
    }
    report(state, m);
}
BENCHMARK(BM_TickWithRepaint)->Unit(benchmark::kMicrosecond);

// A new track: every text, the icon and the slider change.
void BM_TrackChangeWithRepaint(benchmark::State& state)
{
    Shown s;
    PaintMeter m;
    s.meter(m);
    int n = 0;
    for (auto _ : state) {
        zarn::NowPlayingView v = track(0);
        const QString k = QString::number(++n);
        v.title += k;
        v.artist += k;
        v.album += k;
        v.scrollerText += k;
        v.bitrateText = (n % 2) ? QStringLiteral("VBR") : QStringLiteral("192");
        v.format = (n % 2) ? zarn::NowPlayingView::Format::Ogg : zarn::NowPlayingView::Format::Mp3;
        s.page->setView(v);
        QApplication::processEvents();
    }
    report(state, m);
}
BENCHMARK(BM_TrackChangeWithRepaint)->Unit(benchmark::kMicrosecond);

void BM_ScrollerStepWithRepaint(benchmark::State& state)
{
    Shown s;
    auto* scroller = s.page->findChild<zarn::TextScroller*>(QStringLiteral("MP3_scroller"));
    PaintMeter m;
    s.meter(m);
    for (auto _ : state) {
        scroller->step();
        QApplication::processEvents();
    }
    report(state, m);
}
BENCHMARK(BM_ScrollerStepWithRepaint)->Unit(benchmark::kMicrosecond);

// Magnitudes that move: a falling and rising level over the visible bars.
std::vector<float> movingSpectrum(int frame)
{
    std::vector<float> m(zarn::AudioEngine::FftBins);
    for (int i = 0; i < int(m.size()); ++i)
        m[size_t(i)] = float(0.1 + 0.1 * std::sin(0.3 * i + 0.7 * frame));
    return m;
}

// The page's share of a tick: one analyser frame and the repaint it asks for.
void BM_SpectrumFrameWithRepaint(benchmark::State& state)
{
    Shown s;
    s.page->newSpectrum();
    std::vector<std::vector<float>> frames;
    for (int i = 0; i < 64; ++i)
        frames.push_back(movingSpectrum(i));
    PaintMeter m;
    s.meter(m);
    size_t n = 0;
    for (auto _ : state) {
        const std::vector<float>& f = frames[n++ % frames.size()];
        s.page->drawSpectrum(f.data(), int(f.size()));
        QApplication::processEvents(); // the repaint
    }
    report(state, m);
}
BENCHMARK(BM_SpectrumFrameWithRepaint)->Unit(benchmark::kMicrosecond);

// A stream of a 440 Hz tone playing in an engine without a device, a block rendered.
struct PlayingTone {
    QTemporaryDir dir;
    zarn::FfmpegAudioEngine engine;
    zarn::AudioEngine::StreamHandle stream = 0;
    PlayingTone()
    {
        const QString path = dir.filePath(QStringLiteral("tone.ogg"));
        QProcess::execute(QStringLiteral("ffmpeg"), {"-nostdin", "-v", "error", "-y", "-f", "lavfi", "-i",
                                                     "sine=f=440:r=44100:d=2", "-ac", "2", "-c:a", "libvorbis", path});
        engine.init(zarn::AudioEngine::DeviceNoSound, 44100, 0);
        stream = engine.streamCreateFile(path, 0, 0, zarn::AudioEngine::SampleLoop);
        engine.channelPlay(stream, false);
        std::vector<float> out(4096 * 2);
        engine.renderOffline(out.data(), 4096);
    }
};

// The engine's share: the 512 magnitudes of a playing stream.
void BM_SpectrumFetch(benchmark::State& state)
{
    PlayingTone tone;
    if (tone.stream == 0)
        state.SkipWithError("no stream (is ffmpeg on the PATH?)");
    float magnitudes[zarn::AudioEngine::FftBins];
    for (auto _ : state)
        benchmark::DoNotOptimize(tone.engine.channelGetData(tone.stream, magnitudes, zarn::AudioEngine::DataFft1024));
}
BENCHMARK(BM_SpectrumFetch)->Unit(benchmark::kMicrosecond);

// The whole tick: fetch, analyser frame, repaint.
void BM_SpectrumTickWithRepaint(benchmark::State& state)
{
    PlayingTone tone;
    if (tone.stream == 0)
        state.SkipWithError("no stream (is ffmpeg on the PATH?)");
    Shown s;
    s.page->newSpectrum();
    PaintMeter m;
    s.meter(m);
    float magnitudes[zarn::AudioEngine::FftBins];
    for (auto _ : state) {
        if (tone.engine.channelGetData(tone.stream, magnitudes, zarn::AudioEngine::DataFft1024) > 0)
            s.page->drawSpectrum(magnitudes, zarn::AudioEngine::FftBins);
        QApplication::processEvents();
    }
    report(state, m);
}
BENCHMARK(BM_SpectrumTickWithRepaint)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
