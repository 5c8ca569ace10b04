#pragma once

#include <QObject>

#include <memory>

class KZTimer;
class QVHistoryStore;

// Copies the battery manager's current reading into the history store once a minute while the
// computer is awake and has a battery. One per process; everything runs on the main thread.
class QVSnapshotRecorder : public QObject {
    Q_OBJECT
public:
    // The one recorder; creating it sets snapshotInterval to 60 s and registers for sleep and wake.
    static QVSnapshotRecorder& sharedInstance();

    // Records one snapshot at once and then one every snapshotInterval; restarts when recording.
    // Without a battery it stays stopped.
    void start();
    void stop();
    void takeSnapshot();

    void computerWillSleep();
    void computerDidWake();
    // Process activities that keep recording from being throttled do not exist here: both do nothing.
    void disableAppNap();
    void enableAppNap();
    void addSleepWakeNotificationObservers();

    const std::shared_ptr<KZTimer>& timer() const { return m_timer; }
    bool isRecording() const { return m_timer != nullptr; }
    double snapshotInterval() const { return m_snapshotInterval; }
    void setSnapshotInterval(double seconds) { m_snapshotInterval = seconds; }

    // The store the snapshots go to: QVHistoryStore::sharedStore() unless replaced (tests).
    QVHistoryStore& store() const;
    void setStore(QVHistoryStore* store) { m_store = store; }

private:
    QVSnapshotRecorder();

    std::shared_ptr<KZTimer> m_timer;
    double m_snapshotInterval = 60.0;
    QVHistoryStore* m_store = nullptr;
};
