// The music browser on a directory of 10000 entries: listing it into the music list with
// the filter keys updated and the list painted, and typing one filter letter in it.
#include "media/MusicListModel.h"
#include "ui/TBMWListbox.h"
#include "ui/ZarnWindow.h"
#include "ui/pages/MusicPage.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int Entries = 10000;

// Mostly music files, some other files and a few hundred directories, the names spread
// over the letters and digits the way a music collection's are.
struct Library {
    QTemporaryDir dir;
    Library()
    {
        const char* const kinds[] = {".mp3", ".mp3", ".mp3", ".ogg", ".wma", ".jpg", ".txt"};
        const QByteArray first = "abcdefghijklmnopqrstuvwxyz0123456789";
        quint32 x = 4711;
        for (int i = 0; i < Entries; ++i) {
            x = x * 1103515245u + 12345u;
            QByteArray name = QFile::encodeName(dir.path()) + '/' + first[int((x >> 8) % first.size())]
                              + "rtist " + QByteArray::number(i) + " - Title";
            if (i % 20 == 0) {
                ::mkdir(name.constData(), 0755);
            } else {
                name += kinds[(x >> 16) % 7];
                ::close(::open(name.constData(), O_CREAT | O_WRONLY, 0644));
            }
        }
    }
};

struct Browser {
    Library library;
    zarn::ZarnWindow window;
    zarn::MusicListModel model;
    zarn::MusicPage* page = static_cast<zarn::MusicPage*>(window.page(zarn::PageMusic));
    Browser()
    {
        page->setModel(&model);
        model.setMask(QString::fromLatin1(zarn::MusicListModel::MusicMask));
        model.GoToPath(library.dir.path());
        page->setMusicRoot(library.dir.path());
        window.show();
        window.ShowPage(zarn::PageMusic);
        page->RelistMusicFolder(QString());
        QApplication::processEvents();
    }
};

Browser& browser()
{
    static Browser b;
    return b;
}

void BM_ListDirectory(benchmark::State& state)
{
    Browser& b = browser();
    for (auto _ : state) {
        b.model.relist();
        b.page->RelistMusicFolder(QString());
        QApplication::processEvents(); // the list's paint
    }
    state.counters["entries"] = double(b.model.count());
}
BENCHMARK(BM_ListDirectory)->Unit(benchmark::kMillisecond);

void BM_TypeOneLetter(benchmark::State& state)
{
    Browser& b = browser();
    int shown = 0;
    for (auto _ : state) {
        state.PauseTiming();
        b.page->RelistMusicFolder(QString());
        QApplication::processEvents();
        state.ResumeTiming();
        b.page->RelistMusicFolder(QStringLiteral("m"));
        QApplication::processEvents();
        shown = b.model.count();
    }
    state.counters["shown"] = double(shown);
}
BENCHMARK(BM_TypeOneLetter)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
