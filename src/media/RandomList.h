#pragma once

#include "core/Timer.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>

class QThread;

namespace zarn {

class IbusSender;
class StartupSequence;
class StatusLog;
class TimerScheduler;

// The random play list: every music file below a chosen directory, built on request by
// a recursive search and kept in AppDir + "Zarn_random.txt", which is read back 6 s
// after every start (not with SAVEMEMORY). The search and the read run on a worker
// thread; their results are handed to the main thread, so the window never waits.
//
// Contract:
// - Main thread only: every member is called there and every signal emitted there.
//   The worker touches nothing of this object but the stop flag (`stop_`, atomic).
// - entriesChanged() follows every change of entries(); the player draws from them.
//   During a build they hold what was found so far.
// - The file is replaced (atomically) only by a build that ran to its end; a stopped
//   build keeps the previous file whole.
// - statusChanged() carries the random status bar's text (BMWpanel72),
//   filterInfoChanged() the music page's status strip (FilterInfo), indicatorChanged()
//   whether "Rnd..." shows. readStarted() asks for the main menu with its music item
//   disabled; readFinished() enables it again. buildFinished() ends every build.
// - stopSearch() is for the exit path: it ends a running build or read within
//   milliseconds and waits for the worker. The destructor does the same.
// - The log, the sender and the scheduler must outlive the list.
class RandomList : public QObject {
    Q_OBJECT
public:
    static constexpr int ReadDelayMs = 6000;
    static constexpr const char* FileName = "Zarn_random.txt";

    // appDir ends in "/".
    RandomList(TimerScheduler& timers, StatusLog& log, IbusSender& sender, const QString& appDir,
               QObject* parent = nullptr);
    ~RandomList() override;

    const QStringList& entries() const { return entries_; }
    QString listFile() const { return appDir_ + QLatin1String(FileName); }
    QString status() const { return status_; }
    QString filterInfo() const { return filterInfo_; }
    bool indicatorVisible() const { return indicator_; }
    bool busy() const { return worker_ != nullptr; }

    // SAVEMEMORY: the file is not read at start.
    void setSaveMemory(bool on) { saveMemory_ = on; }
    // Its step of the start-up: the read timer starts.
    void registerStartup(StartupSequence& startup);

    // "Make Random List": a new list from this directory (the one the music list shows).
    // A pending read is cancelled, a running build or read is stopped first.
    void BMWpanel71Click(const QString& directory);
    // Sets the stop request and waits for the worker to end.
    void stopSearch();

    // Once, 6 s after start.
    Timer RandomListreadTimer;

signals:
    void entriesChanged();
    void statusChanged(const QString& text);
    void filterInfoChanged(const QString& text);
    void indicatorChanged(bool visible);
    void readStarted();
    void readFinished();
    void buildFinished();
    // Now and then during a build: how many files were found so far.
    void searching(int found);

private:
    struct Found;
    void RandomListreadTimerTimer();
    void startWorker(std::function<void()> work);
    void endWorker();
    void searchProgress(quint64 generation, int found);
    void searchFinished(quint64 generation, const Found& found);
    void readDone(quint64 generation, const QStringList& entries, int skipped, bool failed, const QString& error);
    void setEntries(const QStringList& entries);
    void setStatus(const QString& text);
    void setFilterInfo(const QString& text);
    void setIndicator(bool visible);

    StatusLog& log_;
    IbusSender& sender_;
    QString appDir_;
    bool saveMemory_ = false;

    QStringList entries_;
    QString status_;
    QString filterInfo_;
    bool indicator_ = false;

    // Main thread owns the worker and the generation; a result of an older generation
    // (a worker stopped for a newer one) is dropped.
    QThread* worker_ = nullptr;
    quint64 generation_ = 0;
    bool reading_ = false; // readStarted() was emitted and readFinished() is due
    std::shared_ptr<std::atomic<bool>> stop_;
};

} // namespace zarn
