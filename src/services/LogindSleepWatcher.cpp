#include "services/LogindSleepWatcher.h"

namespace zarn {

LogindSleepWatcher::LogindSleepWatcher(QDBusConnection bus, QObject* parent)
    : QObject(parent)
    , bus_(std::move(bus))
{
}

bool LogindSleepWatcher::start()
{
    if (!bus_.isConnected())
        return false;
    return bus_.connect(QStringLiteral("org.freedesktop.login1"),
                        QStringLiteral("/org/freedesktop/login1"),
                        QStringLiteral("org.freedesktop.login1.Manager"),
                        QStringLiteral("PrepareForSleep"), this,
                        SLOT(onPrepareForSleep(bool)));
}

void LogindSleepWatcher::onPrepareForSleep(bool sleeping)
{
    if (!sleeping)
        emit resumed();
}

} // namespace zarn
