// The now-playing page: what one progress tick costs. A tick changes the time text and
// the slider value; the page must repaint those two and nothing else. Reported: the
// time of one setView with a tick's change, and per tick with its repaint the controls
// painted and the pixels of their paint regions. A track change and a scroller step
// stand beside it for scale.
#include "ui/ColorScheme.h"
#include "ui/TextScroller.h"
#include "ui/ZarnWindow.h"
#include "ui/pages/NowPlayingPage.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPaintEvent>
#include <QSet>

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

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
