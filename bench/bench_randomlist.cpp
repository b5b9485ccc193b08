// The random list search over a generated tree of 100 000 files in 5 000 folders, side
// by side with `find DIR -type f` on the same tree; best of five runs each.
#include "media/RandomListFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir tree;
    for (int d = 0; d < 5000; ++d) {
        const QByteArray dir = QFile::encodeName(tree.path()) + "/d" + QByteArray::number(d / 100) + "/s"
                               + QByteArray::number(d % 100) + "/";
        QDir().mkpath(QFile::decodeName(dir));
        for (int f = 0; f < 20; ++f)
            ::close(::open((dir + "t" + QByteArray::number(f) + ".mp3").constData(), O_CREAT | O_WRONLY, 0644));
    }
    const std::atomic<bool> stop{false};
    qint64 search = -1, find = -1;
    qsizetype found = 0;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer t;
        t.start();
        found = zarn::RandomListFiles::search(tree.path(), stop).found.size();
        const qint64 ms = t.nsecsElapsed() / 1000;
        search = search < 0 ? ms : std::min(search, ms);

        QProcess p;
        p.setStandardOutputFile(QProcess::nullDevice());
        t.restart();
        p.start(QStringLiteral("find"), {tree.path(), QStringLiteral("-type"), QStringLiteral("f")});
        p.waitForFinished(-1);
        const qint64 fms = t.nsecsElapsed() / 1000;
        find = find < 0 ? fms : std::min(find, fms);
    }
    std::printf("random list search: %lld us for %lld files; find -type f: %lld us; ratio %.2f\n", search,
                qlonglong(found), find, double(search) / double(find));
    return 0;
}
