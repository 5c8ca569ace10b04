#include "platform/sleep/SleepWatcher.h"

#include <QDBusConnection>

SleepWatcher& SleepWatcher::shared()
{
    static SleepWatcher* watcher = new SleepWatcher;
    return *watcher;
}

SleepWatcher::SleepWatcher()
{
    QDBusConnection bus = QDBusConnection::systemBus();
    if (bus.isConnected()) {
        bus.connect("org.freedesktop.login1", "/org/freedesktop/login1", "org.freedesktop.login1.Manager",
                    "PrepareForSleep", this, SLOT(prepareForSleep(bool)));
    }
}

void SleepWatcher::prepareForSleep(bool sleeping)
{
    if (sleeping)
        Q_EMIT willSleep();
    else
        Q_EMIT didWake();
}
