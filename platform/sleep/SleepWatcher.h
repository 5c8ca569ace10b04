#pragma once

#include <QObject>

// The workspace's will-sleep / did-wake notifications, from logind's PrepareForSleep(bool) on the
// system bus. Without a system bus (or without logind) no events arrive. Tests emit the signals.
class SleepWatcher : public QObject {
    Q_OBJECT
public:
    static SleepWatcher& shared();

Q_SIGNALS:
    void willSleep();
    void didWake();

private Q_SLOTS:
    void prepareForSleep(bool sleeping);

private:
    SleepWatcher();
};
