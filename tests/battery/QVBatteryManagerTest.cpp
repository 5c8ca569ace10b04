#include "battery/QVBatteryClock.h"
#include "battery/QVBatteryManager.h"
#include "platform/notifications/NotificationCenter.h"

#include <QTimeZone>
#include <gtest/gtest.h>

namespace {

const QString kFixtures = QStringLiteral(VOLTARA_FIXTURES "/power_supply/");

// The manager is one per process; each test points it at fixture trees and updates it.
class QVBatteryManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_now = QDateTime(QDate(2026, 12, 11), QTime(9, 0), QTimeZone::utc());
        QVBatteryClock::setNowProvider([this] { return m_now; });
        use("full_ac");
        manager().update();
    }
    void TearDown() override
    {
        QVBatteryClock::setNowProvider({});
        qunsetenv("VOLTARA_POWER_SUPPLY_ROOT");
    }
    static QVBatteryManager& manager() { return QVBatteryManager::sharedManager(); }
    static void use(const char* fixture) { qputenv("VOLTARA_POWER_SUPPLY_ROOT", (kFixtures + fixture).toUtf8()); }

    QDateTime m_now;
};

} // namespace

TEST_F(QVBatteryManagerTest, LastChargeDateFollowsThePowerConnection)
{
    EXPECT_TRUE(manager().hasBatteryInstalled());
    EXPECT_FALSE(manager().lastChargeDate().has_value());
    EXPECT_EQ(manager().timeSinceLastCharge(), -1);

    // Unplugged: the first update on battery marks the moment, later ones leave it.
    use("charge_discharging");
    manager().update();
    const QDateTime unplugged = m_now;
    EXPECT_EQ(manager().lastChargeDate(), unplugged);
    m_now = m_now.addSecs(600);
    manager().update();
    EXPECT_EQ(manager().lastChargeDate(), unplugged);
    EXPECT_DOUBLE_EQ(manager().timeSinceLastCharge(), 600);

    // Without any power source there is no reading, and the date stays.
    use("desktop_mains");
    manager().update();
    EXPECT_EQ(manager().data(), nullptr);
    EXPECT_FALSE(manager().hasBatteryInstalled());
    EXPECT_EQ(manager().lastChargeDate(), unplugged);

    // Plugged in again: cleared.
    use("not_charging");
    manager().update();
    ASSERT_NE(manager().data(), nullptr);
    EXPECT_EQ(manager().data()->currentCharge(), 3200u);
    EXPECT_FALSE(manager().lastChargeDate().has_value());
    EXPECT_EQ(manager().timeSinceLastCharge(), -1);
}

TEST_F(QVBatteryManagerTest, ObserversOfTheNewReadingStillSeeThePreviousOne)
{
    const std::shared_ptr<QVBatteryData> previous = manager().data();
    ASSERT_NE(previous, nullptr);
    QObject owner;
    QVBatteryData* during = nullptr;
    QObject* posted = nullptr;
    NotificationCenter::defaultCenter().addObserver(
        "QVValuesDidChangeNotification", nullptr,
        [&](const Notification& n) {
            during = manager().data().get();
            posted = n.object;
        },
        &owner);
    use("two_batteries");
    manager().update();
    EXPECT_EQ(during, previous.get());
    EXPECT_EQ(posted, manager().data().get());
    EXPECT_NE(posted, previous.get());
}

TEST_F(QVBatteryManagerTest, PowerSourceChangeIsAnnouncedBeforeTheUpdate)
{
    const std::shared_ptr<QVBatteryData> previous = manager().data();
    QObject owner;
    QStringList order;
    QVBatteryData* seenByChangeObserver = nullptr;
    NotificationCenter::defaultCenter().addObserver(
        "QVNotificationPowerSourceDidChange", nullptr,
        [&](const Notification& n) {
            order << "change";
            EXPECT_EQ(n.object, nullptr);
            seenByChangeObserver = manager().data().get();
        },
        &owner);
    NotificationCenter::defaultCenter().addObserver(
        "QVValuesDidChangeNotification", nullptr, [&](const Notification&) { order << "values"; }, &owner);
    use("energy_charging");
    manager().powerSourceDidChange();
    EXPECT_EQ(order, (QStringList{"change", "values"}));
    EXPECT_EQ(seenByChangeObserver, previous.get());
    ASSERT_NE(manager().data(), nullptr);
    EXPECT_TRUE(manager().data()->isCharging());
}
