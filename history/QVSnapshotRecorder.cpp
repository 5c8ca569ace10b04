#include "history/QVSnapshotRecorder.h"

#include "battery/KZTimer.h"
#include "battery/QVBatteryManager.h"
#include "history/QVHistoryStore.h"
#include "platform/sleep/SleepWatcher.h"

#include <QDateTime>

QVSnapshotRecorder& QVSnapshotRecorder::sharedInstance()
{
    static QVSnapshotRecorder* recorder = new QVSnapshotRecorder;   // lives until the process ends
    return *recorder;
}

QVSnapshotRecorder::QVSnapshotRecorder()
{
    m_snapshotInterval = 60.0;
    addSleepWakeNotificationObservers();
}

QVHistoryStore& QVSnapshotRecorder::store() const
{
    return m_store ? *m_store : QVHistoryStore::sharedStore();
}

void QVSnapshotRecorder::addSleepWakeNotificationObservers()
{
    connect(&SleepWatcher::shared(), &SleepWatcher::willSleep, this, &QVSnapshotRecorder::computerWillSleep);
    connect(&SleepWatcher::shared(), &SleepWatcher::didWake, this, &QVSnapshotRecorder::computerDidWake);
}

void QVSnapshotRecorder::computerWillSleep()
{
    stop();
}

void QVSnapshotRecorder::computerDidWake()
{
    start();
}

void QVSnapshotRecorder::start()
{
    stop();
    if (!QVBatteryManager::sharedManager().hasBatteryInstalled())
        return;
    disableAppNap();
    m_timer = KZTimer::timerWithInterval(m_snapshotInterval, true, [this](KZTimer&) { takeSnapshot(); });
    m_timer->run();
    takeSnapshot();
}

void QVSnapshotRecorder::stop()
{
    enableAppNap();
    if (m_timer) {
        m_timer->invalidate();
        m_timer.reset();
    }
}

void QVSnapshotRecorder::disableAppNap()
{
}

void QVSnapshotRecorder::enableAppNap()
{
}

void QVSnapshotRecorder::takeSnapshot()
{
    const std::shared_ptr<QVBatteryData> data = QVBatteryManager::sharedManager().data();
    if (!QVBatteryManager::sharedManager().hasBatteryInstalled() || !data)
        return;
    QVHistoryStore& historyStore = store();
    QVSnapshot& snapshot = historyStore.createSnapshot();
    snapshot.currentCharge = data->currentCharge();
    snapshot.cycles = data->cycles();
    snapshot.isCharging = data->isCharging();
    snapshot.isConnectedToPowerSource = data->isConnectedToPowerSource();
    snapshot.isFullyCharged = data->isFullyCharged();
    snapshot.maxCapacity = data->maxCapacity();
    snapshot.maxCharge = data->maxCharge();
    snapshot.osxHealth = data->osxHealth().value_or(QString());
    snapshot.powerUsageWatts = data->powerUsageWatts();
    snapshot.temperature = data->temperatureCelsius();
    snapshot.timeRemainingEstimate = data->timeRemainingEstimate();
    snapshot.setDateTime(QDateTime::currentDateTimeUtc());
    snapshot.chargeLevel = data->chargeLevel() * 100.0;
    historyStore.save();
}
