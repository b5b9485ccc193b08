#pragma once

#include <QDBusConnection>
#include <QObject>

namespace zarn {

// Tells when the PC has woken up: logind's PrepareForSleep(false).
// Main thread only (QtDBus delivers the signal to this object's thread).
class LogindSleepWatcher : public QObject {
    Q_OBJECT
public:
    explicit LogindSleepWatcher(QDBusConnection bus = QDBusConnection::systemBus(),
                                QObject* parent = nullptr);

    // Subscribes; false when there is no bus to listen on (nothing will ever be
    // reported then). Logind itself may start later.
    bool start();

signals:
    void resumed();

private slots:
    void onPrepareForSleep(bool sleeping);

private:
    QDBusConnection bus_;
};

} // namespace zarn
