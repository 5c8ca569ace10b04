#include "history/QVSnapshotRecorder.h"

#include "battery/KZTimer.h"
#include "battery/QVBatteryManager.h"
#include "history/QVHistoryStore.h"
#include "platform/sleep/SleepWatcher.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void useFixture(const char* name)
{
    qputenv("VOLTARA_POWER_SUPPLY_ROOT", QByteArray(VOLTARA_FIXTURES "/power_supply/") + name);
    QVBatteryManager::sharedManager().update();
}

void spinEvents(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

class SnapshotRecorderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        store = std::make_unique<QVHistoryStore>();
        ASSERT_TRUE(store->openAtPath(dir.filePath("Voltara.sqlite")));
        recorder().setStore(store.get());
        recorder().setSnapshotInterval(60.0);
    }
    void TearDown() override
    {
        recorder().stop();
        recorder().setStore(nullptr);
    }
    static QVSnapshotRecorder& recorder() { return QVSnapshotRecorder::sharedInstance(); }
    std::int64_t rows() const { return store->count(); }

    QTemporaryDir dir;
    std::unique_ptr<QVHistoryStore> store;
};

} // namespace

TEST_F(SnapshotRecorderTest, StartRecordsTheCurrentReadingAtOnce)
{
    struct Case {
        const char* fixture;
        bool hasHealth;
    };
    for (const Case c : {Case{"charge_discharging", true}, Case{"energy_charging", false}}) {
        useFixture(c.fixture);
        const auto data = QVBatteryManager::sharedManager().data();
        ASSERT_TRUE(data) << c.fixture;
        const double before = QDateTime::currentMSecsSinceEpoch() / 1000.0;
        const std::int64_t count = rows();
        recorder().start();
        ASSERT_TRUE(recorder().isRecording());
        EXPECT_DOUBLE_EQ(recorder().timer()->interval(), 60.0);
        EXPECT_TRUE(recorder().timer()->repeats());

        ASSERT_EQ(rows(), count + 1) << c.fixture;
        const QVSnapshot s = store->fetchSnapshots({}).back();
        EXPECT_TRUE(s.isComplete());
        EXPECT_GE(*s.date, before - 0.001);
        EXPECT_LE(*s.date, QDateTime::currentMSecsSinceEpoch() / 1000.0 + 0.001);
        EXPECT_DOUBLE_EQ(*s.chargeLevel, data->chargeLevel() * 100.0);
        EXPECT_EQ(*s.currentCharge, data->currentCharge());
        EXPECT_EQ(*s.maxCharge, data->maxCharge());
        EXPECT_EQ(*s.maxCapacity, data->maxCapacity());
        EXPECT_EQ(*s.cycles, data->cycles());
        EXPECT_EQ(*s.isCharging, data->isCharging());
        EXPECT_EQ(*s.isConnectedToPowerSource, data->isConnectedToPowerSource());
        EXPECT_EQ(*s.isFullyCharged, data->isFullyCharged());
        EXPECT_EQ(*s.osxHealth, data->osxHealth().value_or(QString()));
        EXPECT_EQ(s.osxHealth->isEmpty(), !c.hasHealth) << c.fixture;
        EXPECT_DOUBLE_EQ(*s.powerUsageWatts, data->powerUsageWatts());
        EXPECT_DOUBLE_EQ(*s.temperature, data->temperatureCelsius());
        EXPECT_DOUBLE_EQ(*s.timeRemainingEstimate, data->timeRemainingEstimate());
        recorder().stop();
        EXPECT_FALSE(recorder().isRecording());
    }
}

TEST_F(SnapshotRecorderTest, TimerRecordsEveryIntervalAndASecondStartLeavesOneTimer)
{
    useFixture("charge_discharging");
    recorder().setSnapshotInterval(0.2);
    recorder().start();
    const std::shared_ptr<KZTimer> first = recorder().timer();
    recorder().start();
    EXPECT_FALSE(first->isScheduled());
    EXPECT_TRUE(recorder().timer()->isScheduled());
    EXPECT_EQ(rows(), 2);   // one row for each start

    spinEvents(1100);   // about five ticks of the one remaining timer (two timers would give ten)
    const std::int64_t ticked = rows() - 2;
    EXPECT_GE(ticked, 2);
    EXPECT_LE(ticked, 6);

    // The battery goes away while recording: ticks record nothing, the timer keeps running.
    useFixture("desktop_mains");
    const std::int64_t count = rows();
    spinEvents(500);
    EXPECT_EQ(rows(), count);
    EXPECT_TRUE(recorder().timer()->isScheduled());
}

TEST_F(SnapshotRecorderTest, NoBatteryMeansNoRowsAndNoTimer)
{
    useFixture("desktop_mains");
    recorder().start();
    EXPECT_FALSE(recorder().isRecording());
    recorder().takeSnapshot();
    EXPECT_EQ(rows(), 0);
}

TEST_F(SnapshotRecorderTest, SleepStopsRecordingAndWakeRecordsAtOnce)
{
    useFixture("charge_discharging");
    recorder().setSnapshotInterval(0.1);
    recorder().start();
    ASSERT_EQ(rows(), 1);

    Q_EMIT SleepWatcher::shared().willSleep();
    EXPECT_FALSE(recorder().isRecording());
    spinEvents(400);
    EXPECT_EQ(rows(), 1);

    Q_EMIT SleepWatcher::shared().didWake();
    EXPECT_TRUE(recorder().isRecording());
    EXPECT_EQ(rows(), 2);
    spinEvents(350);
    EXPECT_GE(rows(), 4);
}
