#include "platform/power/PowerSources.h"
#include "platform/power/PowerSupplySnapshot.h"

#include "platform/PowerSupplyTreeBuilder.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kFixtures = QStringLiteral(VOLTARA_FIXTURES "/power_supply/");

// Points the stand-in at one of the checked-in fixture trees for the current scope.
struct UseFixture {
    explicit UseFixture(const QString& name) { qputenv("VOLTARA_POWER_SUPPLY_ROOT", (kFixtures + name).toUtf8()); }
    ~UseFixture() { qunsetenv("VOLTARA_POWER_SUPPLY_ROOT"); }
};

QVariantMap registry()
{
    return PowerSources::copySmartBatteryProperties().value_or(QVariantMap());
}

} // namespace

TEST(PowerSupplySnapshot, IntegerFilesAreReadWholeOrNotAtAll)
{
    QTemporaryDir dir;
    struct Case {
        QByteArray bytes;
        std::optional<qint64> expected;
    };
    const Case cases[] = {
        {"42\n", 42},
        {"  -7 \n", -7},
        {"42", 42},                          // no newline
        {"", std::nullopt},                  // empty
        {"\n", std::nullopt},
        {"abc\n", std::nullopt},
        {"12abc\n", std::nullopt},           // never a number parsed from part of the text
        {"1.5\n", std::nullopt},
        {"1.2e7\n", std::nullopt},
        {"0x10\n", std::nullopt},
        {"4 2\n", std::nullopt},
        {QByteArray("5\0" "00", 4), std::nullopt},
        {"99999999999999999999999\n", std::nullopt},   // beyond 64 bits
        {"1001\n", std::nullopt},            // beyond the allowed range
        {"-1001\n", std::nullopt},
    };
    for (const Case& c : cases) {
        QFile file(dir.filePath("value"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.bytes);
        file.close();
        EXPECT_EQ(PowerSupplySnapshot::readInteger(dir.filePath("value"), -1000, 1000), c.expected) << c.bytes.toStdString();
    }
    EXPECT_EQ(PowerSupplySnapshot::readInteger(dir.filePath("missing"), 0, 10), std::nullopt);
    QDir(dir.path()).mkdir("folder");
    EXPECT_EQ(PowerSupplySnapshot::readInteger(dir.filePath("folder"), 0, 10), std::nullopt);
    EXPECT_EQ(PowerSupplySnapshot::readString(dir.filePath("folder")), std::nullopt);
}

TEST(PowerSources, FixtureTreesGiveTheRegistryOfTheInternalBattery)
{
    struct Case {
        const char* fixture;
        QVariantMap expected;   // every key listed must match; keys mapped to an invalid QVariant must be absent
    };
    const QVariant absent;
    const Case cases[] = {
        {"charge_discharging",
         {{"IsCharging", false}, {"FullyCharged", false}, {"ExternalConnected", false}, {"CycleCount", 321},
          {"DesignCapacity", 5000}, {"MaxCapacity", 4500}, {"CurrentCapacity", 2565}, {"Voltage", 11400},
          {"Amperage", -1500}, {"InstantAmperage", -1500}, {"AvgTimeToFull", 65535}, {"Temperature", 3050},
          {"ManufactureDate", 19054}}},
        // Energy counted in µWh turns into mAh through the design voltage; the current comes from the power.
        // Time to full: 22.8 Wh still to go at 24 W.
        {"energy_charging",
         {{"IsCharging", true}, {"ExternalConnected", true}, {"DesignCapacity", 5000}, {"MaxCapacity", 4500},
          {"CurrentCapacity", 2500}, {"Voltage", 12000}, {"Amperage", 2000}, {"AvgTimeToFull", 57},
          {"Temperature", absent}, {"ManufactureDate", absent}}},
        {"full_ac", {{"IsCharging", false}, {"FullyCharged", true}, {"ExternalConnected", true}, {"Amperage", 0}}},
        {"not_charging",
         {{"IsCharging", false}, {"FullyCharged", false}, {"ExternalConnected", true}, {"AvgTimeToFull", 65535}}},
        // Two batteries add up; the newest cycle count and the hottest temperature stand for both.
        {"two_batteries",
         {{"DesignCapacity", 6000}, {"MaxCapacity", 5400}, {"CurrentCapacity", 4140}, {"Amperage", -1000},
          {"Voltage", 11600}, {"CycleCount", 150}, {"Temperature", 3100}, {"ManufactureDate", 20161},
          {"ExternalConnected", false}}},
        // A broken `online` leaves the decision to the battery's status.
        {"broken_files",
         {{"IsCharging", false}, {"ExternalConnected", false}, {"CycleCount", absent}, {"DesignCapacity", absent},
          {"MaxCapacity", absent}, {"CurrentCapacity", absent}, {"Voltage", absent}, {"Amperage", absent},
          {"Temperature", absent}, {"ManufactureDate", absent}, {"AvgTimeToFull", 65535}}},
    };
    for (const Case& c : cases) {
        UseFixture use(c.fixture);
        const auto props = PowerSources::copySmartBatteryProperties();
        ASSERT_TRUE(props.has_value()) << c.fixture;
        for (auto it = c.expected.begin(); it != c.expected.end(); ++it) {
            if (!it.value().isValid())
                EXPECT_FALSE(props->contains(it.key())) << c.fixture << " " << it.key().toStdString();
            else
                EXPECT_EQ(props->value(it.key()), it.value()) << c.fixture << " " << it.key().toStdString();
        }
    }
}

TEST(PowerSources, PowerSourcesListOnlyTheSystemBatteryAndUpsUnits)
{
    struct Case {
        const char* fixture;
        QStringList types;
        bool hasRegistry;
    };
    const Case cases[] = {
        {"charge_discharging", {"InternalBattery"}, true},
        {"two_batteries", {"InternalBattery"}, true},   // one composite battery
        {"desktop_mains", {}, false},
        {"peripheral_only", {}, false},
        {"ups", {"UPS"}, false},
    };
    for (const Case& c : cases) {
        UseFixture use(c.fixture);
        QStringList types;
        for (const QVariant& entry : PowerSources::copyPowerSourcesList())
            types << entry.toMap().value("Type").toString();
        EXPECT_EQ(types, c.types) << c.fixture;
        EXPECT_EQ(PowerSources::copySmartBatteryProperties().has_value(), c.hasRegistry) << c.fixture;
    }

    UseFixture two("two_batteries");
    const QVariantMap battery = PowerSources::copyPowerSourcesList().first().toMap();
    // 50 % of 1800 mAh and 90 % of 3600 mAh: 77 % of the whole.
    EXPECT_EQ(battery.value("Current Capacity"), 77);
    EXPECT_EQ(battery.value("Voltara"), "Good");
}

TEST(PowerSources, BatteryThatIsNotInstalledIsNotAPowerSource)
{
    PowerSupplyTreeBuilder tree;
    tree.supply("BAT0", {{"type", "Battery"}, {"present", "0"}, {"status", "Unknown"}, {"capacity", "0"}});
    EXPECT_TRUE(PowerSources::copyPowerSourcesList().isEmpty());
    EXPECT_FALSE(PowerSources::copySmartBatteryProperties().has_value());
    tree.supply("BAT0", {{"present", "1"}});
    EXPECT_EQ(PowerSources::copyPowerSourcesList().size(), 1);
}

TEST(PowerSources, ExternalPowerFromLinePowerOrElseFromTheBatteryStatus)
{
    struct Case {
        const char* lineType;   // nullptr: no line-power supply at all
        const char* online;     // nullptr: no online file
        const char* status;
        bool expected;
    };
    const Case cases[] = {
        {"Mains", "1", "Discharging", true},   // line power wins over a stale status
        {"Mains", "0", "Charging", false},
        {"USB", "1", "Discharging", true},
        {"USB_C", "1", "Discharging", true},
        {nullptr, nullptr, "Charging", true},
        {nullptr, nullptr, "Full", true},
        {nullptr, nullptr, "Not charging", true},
        {nullptr, nullptr, "Discharging", false},
        {"Mains", "garbage", "Full", true},    // an unreadable `online` does not tell
        {"Mains", nullptr, "Discharging", false},
    };
    for (const Case& c : cases) {
        PowerSupplyTreeBuilder tree;
        tree.supply("BAT0", {{"type", "Battery"}, {"status", c.status}, {"charge_now", "1000000"},
                             {"current_now", "500000"}, {"voltage_now", "12000000"}});
        if (c.lineType) {
            tree.supply("AC", {{"type", c.lineType}});
            if (c.online)
                tree.supply("AC", {{"online", c.online}});
        }
        const QString label = QString("%1/%2/%3").arg(c.lineType, c.online, c.status);
        EXPECT_EQ(registry().value("ExternalConnected").toBool(), c.expected) << label.toStdString();
        EXPECT_EQ(PowerSources::getTimeRemainingEstimate() == -2, c.expected) << label.toStdString();
    }
}

TEST(PowerSources, TimeRemainingEstimate)
{
    struct Case {
        const char* name;
        PowerSupplyTreeBuilder::Attributes battery;
        double expected;
    };
    const Case cases[] = {
        {"driver estimate", {{"time_to_empty_now", "3000"}, {"charge_now", "1000000"}, {"current_now", "1000000"}}, 3000},
        {"average estimate", {{"time_to_empty_avg", "2400"}}, 2400},
        // A zero estimate means the driver has none; the charge and the current decide.
        {"zero estimate", {{"time_to_empty_now", "0"}, {"charge_now", "2000000"}, {"current_now", "1000000"},
                           {"voltage_now", "12000000"}}, 7200},
        {"energy over power", {{"energy_now", "30000000"}, {"power_now", "15000000"}}, 7200},
        {"negative current", {{"charge_now", "1500000"}, {"current_now", "-1000000"}, {"voltage_now", "11000000"}}, 5400},
        {"no rate yet", {{"charge_now", "1500000"}, {"current_now", "0"}, {"voltage_now", "11000000"}}, -1},
        {"charge over current, no voltage", {{"charge_now", "1500000"}, {"current_now", "1000000"}}, 5400},
        {"nothing known", {}, -1},
    };
    for (const Case& c : cases) {
        PowerSupplyTreeBuilder tree;
        tree.supply("AC", {{"type", "Mains"}, {"online", "0"}});
        tree.supply("BAT0", {{"type", "Battery"}, {"status", "Discharging"}});
        tree.supply("BAT0", c.battery);
        EXPECT_DOUBLE_EQ(PowerSources::getTimeRemainingEstimate(), c.expected) << c.name;
    }
}

TEST(PowerSources, TimeToFullInMinutes)
{
    struct Case {
        const char* name;
        const char* status;
        PowerSupplyTreeBuilder::Attributes battery;
        qint64 expected;
    };
    const Case cases[] = {
        {"average estimate", "Charging", {{"time_to_full_avg", "5400"}, {"time_to_full_now", "600"}}, 90},
        {"present estimate", "Charging", {{"time_to_full_now", "600"}}, 10},
        {"capacity to go over current", "Charging",
         {{"charge_full", "4000000"}, {"charge_now", "3000000"}, {"current_now", "2000000"}}, 30},
        {"energy over power", "Charging",
         {{"energy_full", "50000000"}, {"energy_now", "26000000"}, {"power_now", "24000000"}}, 60},
        {"already at full capacity", "Charging",
         {{"charge_full", "4000000"}, {"charge_now", "4000000"}, {"current_now", "2000000"}}, 0},
        {"no current", "Charging", {{"charge_full", "4000000"}, {"charge_now", "3000000"}, {"current_now", "0"}}, 65535},
        {"not charging", "Discharging",
         {{"charge_full", "4000000"}, {"charge_now", "3000000"}, {"current_now", "2000000"}}, 65535},
    };
    for (const Case& c : cases) {
        PowerSupplyTreeBuilder tree;
        tree.supply("BAT0", {{"type", "Battery"}, {"status", c.status}});
        tree.supply("BAT0", c.battery);
        EXPECT_EQ(registry().value("AvgTimeToFull").toLongLong(), c.expected) << c.name;
    }
}

TEST(PowerSources, AdapterDetailsFromAnOnlineLinePowerSupply)
{
    {
        UseFixture use("energy_charging");
        const auto adapter = PowerSources::copyExternalPowerAdapterDetails();
        ASSERT_TRUE(adapter.has_value());
        EXPECT_DOUBLE_EQ(adapter->value("Watts").toDouble(), 65.0);   // 20 V × 3.25 A
    }
    PowerSupplyTreeBuilder tree;
    tree.supply("USB0", {{"type", "USB"}, {"online", "0"}, {"voltage_max", "20000000"}, {"current_max", "3000000"}});
    tree.supply("AC", {{"type", "Mains"}, {"online", "1"}});
    EXPECT_FALSE(PowerSources::copyExternalPowerAdapterDetails().has_value());   // offline, or no rating
}

TEST(PowerSources, RootIsReadAgainOnEveryCall)
{
    EXPECT_EQ(PowerSources::rootPath(), QStringLiteral("/sys/class/power_supply"));
    {
        UseFixture use("desktop_mains");
        EXPECT_TRUE(PowerSources::copyPowerSourcesList().isEmpty());
    }
    UseFixture use("full_ac");
    EXPECT_EQ(PowerSources::copyPowerSourcesList().size(), 1);
}

TEST(PowerSources, SharedReadScopeGivesOneMoment)
{
    PowerSupplyTreeBuilder tree;
    tree.supply("BAT0", {{"type", "Battery"}, {"status", "Discharging"}, {"capacity", "50"}});
    auto percent = [] { return PowerSources::copyPowerSourcesList().value(0).toMap().value("Current Capacity"); };
    {
        const PowerSources::SharedReadScope outer;
        EXPECT_EQ(percent(), 50);
        tree.supply("BAT0", {{"capacity", "49"}});
        {
            const PowerSources::SharedReadScope inner;
            EXPECT_EQ(percent(), 50);
        }
        EXPECT_EQ(percent(), 50);
        // Another root is another tree, read afresh.
        UseFixture other("two_batteries");
        EXPECT_EQ(percent(), 77);
    }
    qputenv("VOLTARA_POWER_SUPPLY_ROOT", tree.path().toUtf8());
    EXPECT_EQ(percent(), 49);
}
