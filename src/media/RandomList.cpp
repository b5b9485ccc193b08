#include "media/RandomList.h"

#include "core/StartupSequence.h"
#include "core/StatusLog.h"
#include "ibus/IbusSender.h"
#include "media/RandomListFiles.h"

#include <QFileInfo>
#include <QPointer>
#include <QThread>

namespace zarn {

struct RandomList::Found {
    QString root;
    RandomListFiles::SearchResult result;
    bool written = false;
    QString writeError;
};

RandomList::RandomList(TimerScheduler& timers, StatusLog& log, IbusSender& sender, const QString& appDir, QObject* parent)
    : QObject(parent)
    , RandomListreadTimer(timers, QStringLiteral("RandomListreadTimer"), this)
    , log_(log)
    , sender_(sender)
    , appDir_(appDir)
{
    connect(&RandomListreadTimer, &Timer::timeout, this, &RandomList::RandomListreadTimerTimer);
}

RandomList::~RandomList() { stopSearch(); }

void RandomList::registerStartup(StartupSequence& startup)
{
    startup.add(QStringLiteral("random list"), [this](const StartupSequence::Splash&) {
        RandomListreadTimer.setInterval(ReadDelayMs);
    });
}

void RandomList::startWorker(std::function<void()> work)
{
    worker_ = QThread::create(std::move(work));
    worker_->start();
}

void RandomList::endWorker()
{
    if (!worker_)
        return;
    stop_->store(true);
    worker_->wait();
    delete worker_;
    worker_ = nullptr;
    // A read cut short still gives the music item back.
    if (reading_) {
        reading_ = false;
        emit readFinished();
    }
}

void RandomList::stopSearch()
{
    if (!worker_)
        return;
    endWorker();
    // The stopped worker's last hand-over is dropped with its generation: end its texts here.
    ++generation_;
    setIndicator(false);
    log_.addWarning(QStringLiteral("Rnd list search stopped - ") + listFile() + QStringLiteral(" kept as it was"));
}

void RandomList::BMWpanel71Click(const QString& directory)
{
    RandomListreadTimer.stop();
    endWorker();
    const quint64 generation = ++generation_;
    setFilterInfo(QStringLiteral(" Rnd list creation scheduled"));
    setEntries({});
    setIndicator(true);
    setStatus(QStringLiteral("Build rnd list..."));
    log_.addMessage(QStringLiteral("Searching ") + directory + QStringLiteral(" for the random list"));

    const QString root = directory;
    const QString file = listFile();
    QPointer<RandomList> self(this);
    auto stop = stop_ = std::make_shared<std::atomic<bool>>(false);
    startWorker([self, stop, root, file, generation] {
        auto progress = [self, generation](int count) {
            QMetaObject::invokeMethod(
                self, [self, generation, count] { if (self) self->searchProgress(generation, count); },
                Qt::QueuedConnection);
        };
        Found found;
        found.root = root;
        found.result = RandomListFiles::search(root, *stop, progress);
        // Only a search that ran to its end may replace the list on disk.
        if (!found.result.stopped && !found.result.rootUnreadable)
            found.written = RandomListFiles::write(file, found.result.found, &found.writeError);
        QMetaObject::invokeMethod(self, [self, generation, found = std::move(found)] {
            if (self)
                self->searchFinished(generation, found);
        }, Qt::QueuedConnection);
    });
}

void RandomList::searchProgress(quint64 generation, int found)
{
    if (generation != generation_)
        return;
    setStatus(QStringLiteral("Build rnd list..."));
    emit searching(found);
}

void RandomList::searchFinished(quint64 generation, const Found& found)
{
    if (generation != generation_)
        return;
    endWorker();
    const auto& result = found.result;
    setEntries(result.found);
    setStatus(QStringLiteral("Rnd list created #=") + QString::number(entries_.size()));
    log_.addMessage(QStringLiteral("Rnd list created "));
    setFilterInfo(QStringLiteral(" ") + status_);
    if (!sender_.SendInProgress())
        sender_.SendClusterText(QStringLiteral("Rnd list ok"));
    setIndicator(false);
    if (result.unreadableFolders > 0)
        log_.addWarning(QStringLiteral("Rnd list: %1 folder(s) could not be read").arg(result.unreadableFolders));
    if (result.unusableNames > 0)
        log_.addWarning(QStringLiteral("Rnd list: %1 name(s) not in UTF-8 left out").arg(result.unusableNames));
    if (result.rootUnreadable)
        log_.addError(QStringLiteral("Rnd list: ") + found.root + QStringLiteral(" could not be read - ") + listFile()
                      + QStringLiteral(" kept as it was"));
    else if (result.stopped)
        log_.addWarning(QStringLiteral("Rnd list search stopped - ") + listFile() + QStringLiteral(" kept as it was"));
    else if (found.written)
        log_.addMessage(QStringLiteral("Wrote random list to ") + listFile());
    else
        log_.addError(QStringLiteral("Error writing random list to ") + listFile() + QStringLiteral(": ") + found.writeError);
    emit buildFinished();
}

void RandomList::RandomListreadTimerTimer()
{
    log_.timerTrace(QStringLiteral("RandomListreadTimerTimer"));
    endWorker();
    emit readStarted();
    setEntries({});
    setIndicator(true);
    RandomListreadTimer.stop();
    log_.addMessage(QStringLiteral("Reading Random list from ") + listFile());
    setStatus(QStringLiteral("Reading rnd from file"));

    const QString file = listFile();
    if (!QFileInfo::exists(file)) {
        log_.addMessage(QStringLiteral("No Random list found as ") + file);
        setIndicator(false);
        emit readFinished();
        return;
    }
    if (saveMemory_) {
        log_.addMessage(QStringLiteral("Reading Random prohibited by command line parameter SAVEMEMORY"));
        setIndicator(false);
        emit readFinished();
        return;
    }
    const quint64 generation = ++generation_;
    QPointer<RandomList> self(this);
    auto stop = stop_ = std::make_shared<std::atomic<bool>>(false);
    reading_ = true;
    startWorker([self, stop, file, generation] {
        RandomListFiles::ReadResult r = RandomListFiles::read(file, *stop);
        QMetaObject::invokeMethod(self, [self, generation, r = std::move(r)] {
            if (self)
                self->readDone(generation, r.entries, r.skipped, r.openFailed || r.readFailed, r.error);
        }, Qt::QueuedConnection);
    });
}

void RandomList::readDone(quint64 generation, const QStringList& entries, int skipped, bool failed, const QString& error)
{
    if (generation != generation_)
        return;
    reading_ = false;
    endWorker();
    setEntries(entries);
    if (failed) {
        setStatus(QStringLiteral("Error Reading RND"));
        log_.addError(QStringLiteral("Error reading random list ") + listFile() + QStringLiteral(": ") + error);
    } else {
        log_.addMessage(QStringLiteral("Random list successfully loaded"));
        setStatus(QStringLiteral("Reading OK from file"));
    }
    if (skipped > 0)
        log_.addWarning(QStringLiteral("Random list: %1 line(s) left out, naming no file (%2 loaded)")
                            .arg(skipped).arg(entries.size()));
    setIndicator(false);
    emit readFinished();
}

void RandomList::setEntries(const QStringList& entries)
{
    if (entries.isEmpty() && entries_.isEmpty())
        return;
    entries_ = entries;
    emit entriesChanged();
}

void RandomList::setStatus(const QString& text)
{
    if (text == status_)
        return;
    status_ = text;
    emit statusChanged(text);
}

void RandomList::setFilterInfo(const QString& text)
{
    filterInfo_ = text;
    emit filterInfoChanged(text);
}

void RandomList::setIndicator(bool visible)
{
    if (visible == indicator_)
        return;
    indicator_ = visible;
    emit indicatorChanged(visible);
}

} // namespace zarn
