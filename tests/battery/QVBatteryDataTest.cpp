#include "battery/BatteryRounding.h"
#include "battery/QVBatteryClock.h"
#include "battery/QVBatteryData.h"
#include "platform/notifications/NotificationCenter.h"

#include "platform/PowerSupplyTreeBuilder.h"

#include <gtest/gtest.h>

#include <ostream>

void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

const QString kFixtures = QStringLiteral(VOLTARA_FIXTURES "/power_supply/");
const QDateTime kNow(QDate(2026, 12, 11), QTime(12, 0));

class QVBatteryDataTest : public ::testing::Test {
protected:
    void SetUp() override { QVBatteryClock::setNowProvider([] { return kNow; }); }
    void TearDown() override
    {
        QVBatteryClock::setNowProvider({});
        qunsetenv("VOLTARA_POWER_SUPPLY_ROOT");
    }
    static std::shared_ptr<QVBatteryData> readFixture(const char* name)
    {
        qputenv("VOLTARA_POWER_SUPPLY_ROOT", (kFixtures + name).toUtf8());
        return std::make_shared<QVBatteryData>();
    }
};

QStringList rowValues(const QVBatteryData& data)
{
    QStringList values;
    for (const QVariantMap& row : data.valuesArray())
        values << row.value("value").toString();
    return values;
}

} // namespace

// The rows of every fixture tree, computed by hand from its files.
TEST_F(QVBatteryDataTest, FixtureTreesGiveTheirRows)
{
    struct Case {
        const char* fixture;
        QStringList values;
        const char* powerTitle;
    };
    const Case cases[] = {
        {"charge_discharging",
         {"2565 / 4500 mAh", "57%", "4500 mAh", "5000 mAh", "90%", "Good", "1h 42m", "321", "9.7 years", "Mar 14, 2017",
          "30.5°C / 86.9°F", "17.1 Watts"},
         "Power Usage"},
        {"energy_charging",
         {"2500 / 4500 mAh", "55%", "4500 mAh", "5000 mAh", "90%", "Unknown", "---", "42", "", "Unknown", "Unknown",
          "24.0 Watts"},
         "Charging With"},
        {"full_ac",
         {"5400 / 5400 mAh", "100%", "5400 mAh", "6000 mAh", "90%", "Good", "---", "100", "5.1 years", "Nov 2, 2021",
          "28°C / 82.4°F", "0.0 Watts"},
         "Charging With"},
        {"not_charging",
         {"3200 / 4000 mAh", "80%", "4000 mAh", "5000 mAh", "80%", "Good", "---", "512", "", "Unknown",
          "26.5°C / 79.7°F", "0.0 Watts"},
         "Charging With"},
        {"two_batteries",
         {"4140 / 5400 mAh", "77%", "5400 mAh", "6000 mAh", "90%", "Good", "4h 8m", "150", "7.5 years", "Jun 1, 2019",
          "31°C / 87.8°F", "11.6 Watts"},
         "Power Usage"},
        // A UPS is a power source but no internal battery: every battery value is empty.
        {"ups",
         {"0 / 0 mAh", "0%", "0 mAh", "0 mAh", "0%", "Good", "---", "0", "", "Unknown", "Unknown", "0.0 Watts"},
         "Power Usage"},
        {"broken_files",
         {"0 / 0 mAh", "0%", "0 mAh", "0 mAh", "0%", "Unknown", "---", "0", "", "Unknown", "Unknown", "0.0 Watts"},
         "Power Usage"},
    };
    for (const Case& c : cases) {
        const auto data = readFixture(c.fixture);
        EXPECT_EQ(rowValues(*data), c.values) << c.fixture;
        EXPECT_EQ(data->valuesArray().last().value("title").toString(), c.powerTitle) << c.fixture;
    }
}

TEST_F(QVBatteryDataTest, ReadingFromTheRegistryValues)
{
    auto d = readFixture("charge_discharging");
    EXPECT_FALSE(d->isCharging());
    EXPECT_FALSE(d->isConnectedToPowerSource());
    EXPECT_DOUBLE_EQ(d->timeRemainingEstimate(), 6156);   // 2565 mAh at 1500 mA
    EXPECT_EQ(d->timeTilChargedEstimate(), 65535);        // "no estimate" stays unscaled
    EXPECT_EQ(d->voltage(), 11400);
    EXPECT_DOUBLE_EQ(d->powerUsageWatts(), 17.1);   // 1500 mA at 11400 mV
    EXPECT_DOUBLE_EQ(d->powerUsageRealtime(), -1500);
    EXPECT_TRUE(d->hasTemperature());
    EXPECT_EQ(d->temperatureCelsius(), 30.5);
    // 1.8 is a single-precision constant.
    EXPECT_EQ(d->temperatureFahrenheit(), 30.5 * static_cast<double>(1.8f) + 32);
    EXPECT_NE(d->temperatureFahrenheit(), 30.5 * 1.8 + 32);
    ASSERT_TRUE(d->manufactureDate().has_value());
    EXPECT_EQ(d->manufactureDate()->date(), QDate(2017, 3, 14));
    EXPECT_EQ(d->adapterWatts(), 0);   // only updateAdapterProperties reads the adapter

    d = readFixture("energy_charging");
    EXPECT_EQ(d->timeTilChargedEstimate(), 57 * 60);
    EXPECT_EQ(d->timeRemainingEstimate(), -2);
    EXPECT_FALSE(d->hasTemperature());
    EXPECT_EQ(d->temperatureCelsius(), 0);   // kept at 0 for stored snapshots
    EXPECT_EQ(d->temperatureFahrenheit(), 0);
    EXPECT_FALSE(d->osxHealth().has_value());
    d->updateAdapterProperties();
    EXPECT_DOUBLE_EQ(d->adapterWatts(), 65);
    EXPECT_FALSE(d->adapterSerialNumber().has_value());
}

TEST_F(QVBatteryDataTest, ConnectionFollowsTheEstimateWithoutRegistry)
{
    PowerSupplyTreeBuilder tree;
    tree.supply("ups", {{"type", "UPS"}, {"status", "Discharging"}, {"time_to_empty_now", "600"}});
    QVBatteryData onUps;
    EXPECT_FALSE(onUps.isConnectedToPowerSource());
    EXPECT_EQ(onUps.timeRemainingEstimate(), 600);
    EXPECT_EQ(onUps.timeTilChargedEstimate(), 0);

    tree.supply("AC", {{"type", "Mains"}, {"online", "1"}});
    QVBatteryData onMains;
    EXPECT_TRUE(onMains.isConnectedToPowerSource());
    EXPECT_EQ(onMains.powerUsageRealtime(), 0);   // no registry: no current
}

TEST_F(QVBatteryDataTest, ConstructionPostsTheNewReading)
{
    qputenv("VOLTARA_POWER_SUPPLY_ROOT", (kFixtures + "full_ac").toUtf8());
    QList<QObject*> posted;
    QObject owner;
    NotificationCenter::defaultCenter().addObserver(
        "QVValuesDidChangeNotification", nullptr, [&](const Notification& n) { posted << n.object; }, &owner);
    auto data = std::make_shared<QVBatteryData>();
    ASSERT_EQ(posted.size(), 1);
    EXPECT_EQ(posted.first(), data.get());
    data->updateBatteryProperties();
    EXPECT_EQ(posted.size(), 2);
}

TEST_F(QVBatteryDataTest, PowerUsageRealtimeReadsTheCurrentAfresh)
{
    PowerSupplyTreeBuilder tree;
    tree.supply("BAT0", {{"type", "Battery"}, {"status", "Charging"}, {"current_now", "1000000"}});
    QVBatteryData data;
    struct Case {
        const char* currentNow;
        const char* status;
        double expected;
    };
    const Case cases[] = {
        {"60000000", "Charging", 60000},
        {"60001000", "Charging", 5534},   // above 60000: a 16-bit negative reading turned into a magnitude
        {"65000000", "Charging", 535},
        {"1500000", "Discharging", -1500},
        {"-1500000", "Discharging", -1500},
        {"garbage", "Discharging", 0},
    };
    for (const Case& c : cases) {
        tree.supply("BAT0", {{"current_now", c.currentNow}, {"status", c.status}});
        EXPECT_EQ(data.powerUsageRealtime(), c.expected) << c.currentNow;
    }
}

TEST(QVBatteryData, ChargeLevel)
{
    struct Case {
        std::optional<int> percent;   // "Current Capacity" of the power-source description
        quint64 current, max;
        bool charging;
        double expected;
    };
    const Case cases[] = {
        {std::nullopt, 4000, 4000, true, static_cast<double>(0.99f)},
        {std::nullopt, 4000, 4000, false, 1.0},
        {std::nullopt, 1000, 4000, false, 0.25},
        {std::nullopt, 0, 4000, false, 0},
        {std::nullopt, 1000, 0, false, 0},
        {57, 1000, 4000, false, 0.57},
        {57, 4000, 4000, true, 0.57},
    };
    for (const Case& c : cases) {
        auto d = QVBatteryData::blankReading();
        if (c.percent)
            d->setBatteryInfoDict(QVariantMap{{"Type", "InternalBattery"}, {"Current Capacity", *c.percent}});
        d->setCurrentCharge(c.current);
        d->setMaxCharge(c.max);
        d->setIsCharging(c.charging);
        EXPECT_EQ(d->chargeLevel(), c.expected) << c.current << "/" << c.max;
    }
    EXPECT_EQ(static_cast<double>(0.99f), 0.9900000095367432);
}

TEST(QVBatteryData, HealthIsNotClamped)
{
    auto d = QVBatteryData::blankReading();
    d->setMaxCapacity(5000);
    d->setMaxCharge(5500);
    EXPECT_DOUBLE_EQ(d->health(), 1.1);
    d->setMaxCapacity(0);
    EXPECT_EQ(d->health(), 0);
}

TEST(QVBatteryData, ManufactureDateFromInteger)
{
    const auto date = QVBatteryData::manufactureDateFromInteger(19054);
    ASSERT_TRUE(date.has_value());
    EXPECT_EQ(*date, QDateTime(QDate(2017, 3, 14), QTime(0, 0)));   // local midnight
    for (quint64 invalid : {0ull, 19054ull - 14, 13 * 32 + 1ull + (37 << 9)})   // zero, day 0, month 13
        EXPECT_FALSE(QVBatteryData::manufactureDateFromInteger(invalid).has_value()) << invalid;
}

TEST_F(QVBatteryDataTest, AgeText)
{
    struct Case {
        QDateTime date;
        std::optional<QString> expected;
    };
    const Case cases[] = {
        {kNow.addYears(-2).addMonths(-4), "2.3 years"},
        {QDateTime(QDate(2026, 10, 12), QTime(12, 0)), "1.10 months"},   // 1 month 29 days: the tenths round up to 10
        {kNow.addDays(-3).addSecs(-12 * 3600), "3.5 days"},
        {kNow.addDays(-1), "1.0 days"},
        {kNow.addSecs(-5 * 3600), "Brand new"},
        {kNow.addSecs(-30 * 60), std::nullopt},
        {kNow.addDays(2), std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QVBatteryData::timeStringFromDate(c.date).value_or("none"), c.expected.value_or("none"))
            << c.date.toString().toStdString();
    EXPECT_EQ(QVBatteryData::timeStringFromDate(std::nullopt), std::nullopt);
}

TEST(QVBatteryData, NearestBatteryValue)
{
    const std::pair<double, double> cases[] = {{3, 5},   {15, 20}, {44, 40}, {95, 99}, {0, 1},
                                               {100, 99}, {10, 10}, {1, 1},   {-20, 1}, {7.4, 5}};
    for (const auto& [x, expected] : cases)
        EXPECT_EQ(kz_nearestBatteryValue(x), expected) << x;
}

TEST(QVBatteryData, TimeTexts)
{
    const std::pair<double, const char*> minutes[] = {
        {0, "0"}, {0.5, "0h 0m"}, {125.5, "2h 5m"}, {1500, "1d 1h 0m"}, {1439, "23h 59m"}, {2941, "2d 1h 1m"}};
    for (const auto& [m, expected] : minutes)
        EXPECT_EQ(QVBatteryData::timeStringWithMinutes(m), expected) << m;

    struct Case {
        quint64 currentCharge;
        bool charging;
        double estimate;
        const char* expected;
    };
    const Case cases[] = {
        {1000, false, -1, "Calculating..."},
        {1000, false, -2, "---"},
        {1000, true, 3600, "---"},
        {0, false, 3600, "---"},
        {1000, false, 6156, "1h 42m"},
    };
    for (const Case& c : cases) {
        auto d = QVBatteryData::blankReading();
        d->setCurrentCharge(c.currentCharge);
        d->setIsCharging(c.charging);
        d->setTimeRemainingEstimate(c.estimate);
        EXPECT_EQ(d->timeRemainingString(), c.expected) << c.estimate;
    }
}

TEST(QVBatteryData, ValueRows)
{
    auto d = QVBatteryData::blankReading();
    d->setCurrentCharge(2565);
    d->setMaxCharge(4500);
    d->setMaxCapacity(5000);
    d->setCycles(7);
    d->setTimeRemainingEstimate(-1);
    d->setManufactureDate(QVBatteryData::manufactureDateFromInteger(19054));
    d->setAgeTimeString(QStringLiteral("9.7 years"));
    d->setOsxHealth(QStringLiteral("Check Battery"));
    d->setTemperatureCelsius(30.55);
    d->setTemperatureFahrenheit(30);
    d->setPowerUsageWatts(17.14);

    const QList<QVariantMap> rows = d->valuesArray();
    const QStringList titles = {"Capacity",           "Current Charge", "Current Max", "Original Max",
                                "Health",             "OS X Health Status", "Time Remaining", "Cycles",
                                "Age",                "Manufacture Date", "Temperature", "Power Usage"};
    const QStringList keys = {"capacity",  "currentcharge", "currentmax", "originalmax",     "health",      "osxstatus",
                              "timeremaining", "cycles",    "age",        "manufacturedate", "temperature", "power"};
    ASSERT_EQ(rows.size(), 12);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(rows[i].size(), 3);
        EXPECT_EQ(rows[i].value("title").toString(), titles[i]);
        EXPECT_EQ(rows[i].value("key").toString(), keys[i]);
    }
    EXPECT_EQ(rowValues(*d), (QStringList{"2565 / 4500 mAh", "57%", "4500 mAh", "5000 mAh", "90%", "Check Battery",
                                          "Calculating...", "7", "9.7 years", "Mar 14, 2017", "30.6°C / 30°F",
                                          "17.1 Watts"}));

    // The title of the power row follows the connection; its key stays.
    d->setIsConnectedToPowerSource(true);
    EXPECT_EQ(d->valuesArray().last().value("title").toString(), "Charging With");
    EXPECT_EQ(d->valuesArray().last().value("key").toString(), "power");

    // Absent values: no verdict and no temperature say "Unknown" instead of "(null)" and "0°C / 32°F".
    auto blank = QVBatteryData::blankReading();
    blank->setTemperatureFahrenheit(32);
    const QStringList values = rowValues(*blank);
    EXPECT_EQ(values[5], "Unknown");
    EXPECT_EQ(values[8], "");
    EXPECT_EQ(values[9], "Unknown");
    EXPECT_EQ(values[10], "Unknown");
    EXPECT_EQ(blank->temperatureCelsiusString(), "Unknown");

    EXPECT_EQ(QVBatteryData::valueDictWithTitle("Age", std::nullopt, "age"),
              (QVariantMap{{"title", "Age"}, {"value", ""}, {"key", "age"}}));
}
