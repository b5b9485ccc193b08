#pragma once

#include <QObject>
#include <QString>

namespace zarn {

class TimerScheduler;

// A timer with the semantics the whole program relies on:
//  - setInterval(0) stops it;
//  - setInterval(n) with the interval it already has changes nothing (no restart);
//  - any other interval (re)starts it, first tick n ms from now, then every n ms.
// A restart is therefore written restart(n), i.e. 0 followed by n.
// Main thread only. Ticks come from the scheduler the timer was made with.
class Timer : public QObject {
    Q_OBJECT
public:
    explicit Timer(const QString& name = {}, QObject* parent = nullptr);
    Timer(TimerScheduler& scheduler, const QString& name, QObject* parent = nullptr);
    ~Timer() override;

    int interval() const { return interval_; }
    void setInterval(int ms);
    void stop() { setInterval(0); }
    void restart(int ms)
    {
        setInterval(0);
        setInterval(ms);
    }
    bool isActive() const { return interval_ > 0; }
    const QString& name() const { return name_; }

    // Scheduler only: delivers one tick.
    void fire();

signals:
    void timeout();

private:
    TimerScheduler& scheduler_;
    QString name_;
    int interval_ = 0;
};

} // namespace zarn
