#include "alerts/KZUserNotification.h"
#include "alerts/KZUserNotificationCenter.h"
#include "alerts/QVBatteryNotifications.h"
#include "app/settings/QVUserDefaults.h"
#include "battery/KZTimer.h"
#include "battery/QVBatteryData.h"
#include "battery/QVBatteryManager.h"
#include "platform/sleep/SleepWatcher.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

using Reading = QVBatteryNotifications::Reading;

// Keeps what would have been shown instead of showing it.
class RecordingCenter : public KZUserNotificationCenter {
public:
    RecordingCenter() : KZUserNotificationCenter(nullptr) {}
    void deliverNotification(const std::shared_ptr<KZUserNotification>& notification) override
    {
        delivered.push_back(notification);
    }
    std::vector<std::shared_ptr<KZUserNotification>> delivered;
};

Reading onBattery(double percent)
{
    return Reading{false, false, false, percent / 100.0};
}

Reading charging(double percent, bool full = false)
{
    return Reading{true, true, full, percent / 100.0};
}

// Everything the process writes on standard error while `block` runs.
QString capturedStderr(const std::function<void()>& block)
{
    std::fflush(stderr);
    char path[] = "/tmp/alerts-stderr-XXXXXX";
    const int fd = mkstemp(path);
    const int saved = dup(STDERR_FILENO);
    dup2(fd, STDERR_FILENO);
    block();
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    close(fd);
    QFile file(QString::fromLocal8Bit(path));
    file.open(QIODevice::ReadOnly);
    const QString text = QString::fromUtf8(file.readAll());
    file.remove();
    return text;
}

class QVBatteryNotificationsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings = std::make_unique<QVUserDefaults>(dir.filePath("Voltara.conf"));
        settings->setSoundName(QString(""));   // silent alerts
        setAlerts({}, {});
        engine = std::make_unique<QVBatteryNotifications>(&center, settings.get());
    }
    void TearDown() override { engine.reset(); }

    // Every entry off unless given.
    void setAlerts(const QVariantMap& battery, const QVariantMap& charging)
    {
        QVariantMap b{{"low-battery-enabled", 0}, {"level-enabled", 0}, {"level-amount", 20}, {"reminder-enabled", 0},
                      {"reminder-amount", 10}};
        QVariantMap c{{"level-enabled", 0}, {"level-amount", 80}, {"fully-charged-enabled", 0}};
        for (auto it = battery.begin(); it != battery.end(); ++it)
            b[it.key()] = it.value();
        for (auto it = charging.begin(); it != charging.end(); ++it)
            c[it.key()] = it.value();
        settings->setNotifications({{"Battery", b}, {"Charging", c}});
    }

    // Runs one check per reading and returns the texts shown by each, "" when nothing was shown.
    std::vector<QString> run(const std::vector<Reading>& readings)
    {
        std::vector<QString> shown;
        for (const Reading& reading : readings) {
            const std::size_t before = center.delivered.size();
            engine->check(reading);
            EXPECT_LE(center.delivered.size(), before + 1);
            shown.push_back(center.delivered.size() > before ? texts(*center.delivered.back()) : QString());
        }
        return shown;
    }

    static QString texts(const KZUserNotification& n)
    {
        QStringList parts{n.subtitle(), n.informativeText()};
        parts.removeAll(QString());
        return parts.join(" | ");
    }

    QTemporaryDir dir;
    std::unique_ptr<QVUserDefaults> settings;
    RecordingCenter center;
    std::unique_ptr<QVBatteryNotifications> engine;
};

TEST_F(QVBatteryNotificationsTest, RemindersStepDownTheFixedLevels)
{
    setAlerts({{"level-enabled", 1}, {"level-amount", 50}, {"reminder-enabled", 1}}, {});
    const auto shown = run({onBattery(51), onBattery(50), onBattery(49), onBattery(45), onBattery(41), onBattery(40),
                            onBattery(40), onBattery(35), onBattery(30), onBattery(20), onBattery(10), onBattery(5),
                            onBattery(3), onBattery(1), onBattery(0.4)});
    const std::vector<QString> expected{
        "", "Your battery has reached 50% | Next reminder at 40%", "", "", "",
        "Your battery has reached 40% | Next reminder at 30%", "", "",
        "Your battery has reached 30% | Next reminder at 20%", "Your battery has reached 20% | Next reminder at 10%",
        "Your battery has reached 10% | Next reminder at 5%", "Your battery has reached 5% | Next reminder at 1%", "",
        "Your battery has reached 1%", ""};
    EXPECT_EQ(shown, expected);

    const auto& n = *center.delivered.front();
    EXPECT_EQ(n.title(), "Voltara");
    EXPECT_FALSE(n.hasActionButton());
    EXPECT_EQ(n.soundName(), "");
}

TEST_F(QVBatteryNotificationsTest, WithoutRemindersOneLevelAlertPerDischarge)
{
    setAlerts({{"level-enabled", 1}, {"level-amount", 50}}, {});
    const auto shown = run({onBattery(50), onBattery(40), onBattery(30), onBattery(1)});
    EXPECT_EQ(shown, (std::vector<QString>{"Your battery has reached 50%", "", "", ""}));
    EXPECT_EQ(engine->nextAlert(), QVBatteryNotifications::kNone);

    // Charging forgets the battery alert; the next discharge alerts again.
    run({charging(60)});
    EXPECT_EQ(run({onBattery(50)}), std::vector<QString>{"Your battery has reached 50%"});
}

TEST_F(QVBatteryNotificationsTest, LevelIsRoundedHalfToEven)
{
    const std::vector<std::pair<double, qint64>> table{
        {50.4, 50}, {49.6, 50}, {50.5, 50}, {51.5, 52}, {49.5, 50}, {0.5, 0}, {1.5, 2}, {-3, 0}, {99.99, 100}};
    for (const auto& [percent, rounded] : table)
        EXPECT_EQ(QVBatteryNotifications::roundedLevel(percent), rounded) << percent;

    setAlerts({{"level-enabled", 1}, {"level-amount", 50}}, {});
    for (double percent : {50.4, 49.6, 50.5}) {
        settings->setNotifications(settings->notifications());   // a settings change forgets the last alert
        EXPECT_EQ(run({onBattery(percent)}), std::vector<QString>{"Your battery has reached 50%"}) << percent;
    }
    settings->setNotifications(settings->notifications());
    EXPECT_EQ(run({onBattery(50.6)}), std::vector<QString>{""});
}

TEST_F(QVBatteryNotificationsTest, LevelSettingIsSnappedToAPreset)
{
    // 99 stays 99, so the first alert comes at 90; 44 snaps to 40; a missing amount snaps to 1.
    const std::vector<std::tuple<QVariant, double, double>> table{
        {99, 91, 90}, {44, 41, 40}, {QVariant(), 2, 1}};
    for (const auto& [amount, silent, alerting] : table) {
        QVariantMap battery{{"level-enabled", 1}};
        if (amount.isValid())
            battery["level-amount"] = amount;
        setAlerts(battery, {});
        if (!amount.isValid()) {
            QVariantMap n = settings->notifications();
            QVariantMap b = n["Battery"].toMap();
            b.remove("level-amount");
            n["Battery"] = b;
            settings->setNotifications(n);
        }
        const auto shown = run({onBattery(95), onBattery(silent), onBattery(alerting)});
        EXPECT_EQ(shown, (std::vector<QString>{"", "", QString("Your battery has reached %1%").arg(alerting)}))
            << amount.toString().toStdString();
    }
}

TEST_F(QVBatteryNotificationsTest, LowBatteryAtFivePercentTakesPrecedence)
{
    setAlerts({{"low-battery-enabled", 1}, {"level-enabled", 1}, {"level-amount", 5}}, {});
    auto shown = run({onBattery(5.01), onBattery(5.0), onBattery(4), onBattery(5.0)});
    EXPECT_EQ(shown, (std::vector<QString>{"Your battery has reached 5%",
                                           "Your Mac will sleep soon unless plugged into a power outlet.", "", ""}));
    const auto& low = *center.delivered.back();
    EXPECT_EQ(low.subtitle(), "");
    EXPECT_EQ(low.informativeText(), "Your Mac will sleep soon unless plugged into a power outlet.");
    EXPECT_EQ(engine->lastNotification(), QVBatteryNotifications::kLowBattery);

    // With the low-battery alert off the level rule runs at 5.0.
    setAlerts({{"level-enabled", 1}, {"level-amount", 5}}, {});
    EXPECT_EQ(run({onBattery(5.0)}), std::vector<QString>{"Your battery has reached 5%"});
}

TEST_F(QVBatteryNotificationsTest, ChargingLevelThenFullThenLevelAgain)
{
    setAlerts({}, {{"level-enabled", 1}, {"level-amount", 80}, {"fully-charged-enabled", 1}});
    const auto shown = run({charging(79.9), charging(80), charging(85.7), charging(100), charging(100), charging(99),
                            charging(99.5, true)});
    EXPECT_EQ(shown, (std::vector<QString>{"", "Your battery has reached 80%", "", "Your battery is now fully charged.",
                                           "", "Your battery has reached 99%", "Your battery is now fully charged."}));
}

TEST_F(QVBatteryNotificationsTest, FullyChargedRuleHidesTheLevelRuleEvenWhenSuppressed)
{
    setAlerts({}, {{"level-enabled", 1}, {"level-amount", 80}, {"fully-charged-enabled", 1}});
    run({charging(100)});
    // Still full: kind 0 is suppressed and the level rule is not looked at.
    EXPECT_EQ(run({charging(99, true)}), std::vector<QString>{""});
    EXPECT_EQ(engine->lastNotification(), QVBatteryNotifications::kFullyCharged);
}

TEST_F(QVBatteryNotificationsTest, ConnectedButNotChargingRaisesNothing)
{
    setAlerts({{"low-battery-enabled", 1}, {"level-enabled", 1}, {"level-amount", 50}},
              {{"level-enabled", 1}, {"level-amount", 80}, {"fully-charged-enabled", 1}});
    EXPECT_EQ(run({Reading{false, true, true, 1.0}, Reading{false, true, false, 0.03}}),
              (std::vector<QString>{"", ""}));
    // No battery: nothing at all.
    engine->check(std::nullopt);
    EXPECT_TRUE(center.delivered.empty());
}

TEST_F(QVBatteryNotificationsTest, PluggingInForgetsThePendingReminder)
{
    setAlerts({{"level-enabled", 1}, {"level-amount", 50}, {"reminder-enabled", 1}}, {});
    run({onBattery(50)});
    EXPECT_EQ(engine->nextAlert(), 40);
    run({Reading{false, true, false, 0.5}});
    EXPECT_EQ(engine->nextAlert(), QVBatteryNotifications::kNone);
    // Back on battery the threshold is the setting again, not the reminder.
    EXPECT_EQ(run({onBattery(50)}), std::vector<QString>{"Your battery has reached 50% | Next reminder at 40%"});
}

TEST_F(QVBatteryNotificationsTest, MissingSectionsTurnEveryAlertOff)
{
    settings->setNotifications({});
    EXPECT_EQ(run({onBattery(1), charging(100)}), (std::vector<QString>{"", ""}));
}

TEST_F(QVBatteryNotificationsTest, LogLinesAreWrittenBeforeShowing)
{
    setAlerts({{"low-battery-enabled", 1}, {"level-enabled", 1}, {"level-amount", 10}, {"reminder-enabled", 1}},
              {{"level-enabled", 1}, {"level-amount", 80}, {"fully-charged-enabled", 1}});
    const QString log = capturedStderr([&] {
        run({onBattery(10), onBattery(1), onBattery(4), charging(80.6), charging(100)});
        setAlerts({{"level-enabled", 1}, {"level-amount", 1}}, {});
        run({onBattery(1)});
    });
    EXPECT_EQ(log, "[DEBUG] Showing on battery notification current: 10, next: 5\n"
                   "Showing low battery notification\n"
                   "[DEBUG] Showing charging notification\n"
                   "[DEBUG] Showing fully charged notification\n"
                   "[DEBUG] Showing on battery notification current: 1, next: 9223372036854775807\n");
    EXPECT_EQ(texts(*center.delivered[2]), "Your battery has reached 80%");
}

TEST_F(QVBatteryNotificationsTest, StartChecksAtOnceAndSleepWakeRaisesAnAlertThatStillApplies)
{
    setAlerts({{"low-battery-enabled", 1}}, {});
    engine->setReadingSource([] { return std::optional<Reading>(onBattery(3)); });
    engine->start();
    ASSERT_EQ(center.delivered.size(), 1u);
    ASSERT_TRUE(engine->updateTimer());
    EXPECT_TRUE(engine->updateTimer()->isScheduled());
    EXPECT_EQ(engine->updateTimer()->interval(), 30);
    EXPECT_TRUE(engine->updateTimer()->repeats());

    engine->check();   // a tick in the same situation
    EXPECT_EQ(center.delivered.size(), 1u);

    Q_EMIT SleepWatcher::shared().willSleep();
    EXPECT_FALSE(engine->updateTimer());
    EXPECT_EQ(engine->lastNotification(), -1);
    EXPECT_EQ(center.delivered.size(), 1u);

    Q_EMIT SleepWatcher::shared().didWake();
    EXPECT_EQ(center.delivered.size(), 2u);
    EXPECT_TRUE(engine->updateTimer() && engine->updateTimer()->isScheduled());
    EXPECT_EQ(center.delivered.back()->informativeText(), "Your Mac will sleep soon unless plugged into a power outlet.");
}

TEST_F(QVBatteryNotificationsTest, SettingsChangeForgetsWithoutStopping)
{
    setAlerts({{"level-enabled", 1}, {"level-amount", 50}, {"reminder-enabled", 1}}, {});
    engine->setReadingSource([] { return std::optional<Reading>(onBattery(50)); });
    engine->start();
    EXPECT_EQ(engine->nextAlert(), 40);
    settings->setSoundName("No such sound");   // other keys change nothing
    EXPECT_EQ(engine->nextAlert(), 40);
    setAlerts({{"level-enabled", 1}, {"level-amount", 50}}, {});
    EXPECT_EQ(engine->nextAlert(), QVBatteryNotifications::kNone);
    EXPECT_EQ(engine->lastNotification(), -1);
    EXPECT_TRUE(engine->updateTimer() && engine->updateTimer()->isScheduled());
    // A sound that cannot be found plays nothing; the alert still comes.
    engine->check();
    EXPECT_EQ(center.delivered.size(), 2u);
}

TEST_F(QVBatteryNotificationsTest, ReadsTheBatteryManagersCurrentReading)
{
    setAlerts({{"low-battery-enabled", 1}, {"level-enabled", 1}, {"level-amount", 99}},
              {{"level-enabled", 1}, {"level-amount", 1}, {"fully-charged-enabled", 1}});
    QVBatteryManager& manager = QVBatteryManager::sharedManager();

    qputenv("VOLTARA_POWER_SUPPLY_ROOT", VOLTARA_FIXTURES "/power_supply/charge_discharging");
    manager.update();
    const auto reading = QVBatteryNotifications::currentReading();
    ASSERT_TRUE(reading && manager.data());
    EXPECT_FALSE(reading->isCharging);
    EXPECT_FALSE(reading->isConnectedToPowerSource);
    EXPECT_DOUBLE_EQ(reading->chargeLevel, manager.data()->chargeLevel());
    EXPECT_GT(reading->chargeLevel, 0.0);

    // No power source at all: every check ends at once.
    QTemporaryDir empty;
    qputenv("VOLTARA_POWER_SUPPLY_ROOT", empty.path().toUtf8());
    manager.update();
    EXPECT_FALSE(QVBatteryNotifications::currentReading());
    engine->check();
    EXPECT_TRUE(center.delivered.empty());
    qunsetenv("VOLTARA_POWER_SUPPLY_ROOT");
}

} // namespace
