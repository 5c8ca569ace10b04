#include "history/CalculatorStore.h"
#include "history/LocalZone.h"
#include "history/QVChargeDataCalculator.h"
#include "history/QVDateRange.h"
#include "history/QVSnapshotCalculator.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <map>
#include <optional>
#include <vector>

namespace {

struct LevelRow {
    QDateTime date;
    std::optional<double> level;
};

struct ChargeCase {
    const char* name;
    QDate day;
    std::vector<LevelRow> rows;
    int items;
    std::map<QString, float> hours;   // local hour "HH" -> expected value; every other hour is -0.01
};

TEST(QVChargeDataCalculator, hourlyAverageLevelsOfADay)
{
    LocalZone zone("Europe/Berlin");
    auto at = [&](int h, int m, int day = 14, int month = 5) { return zone.at(2026, month, day, h, m); };
    auto utc = [](int day, int h, int m) { return QDateTime(QDate(2026, 10, day), QTime(h, m), Qt::UTC); };
    const std::vector<ChargeCase> cases = {
        {"80, 82 and 84 percent", QDate(2026, 5, 14), {{at(10, 0), 80}, {at(10, 30), 82}, {at(11, 5), 84}}, 24,
         {{"10", 0.81f}, {"11", 0.84f}}},
        {"one row at level 0", QDate(2026, 5, 14), {{at(14, 20), 0}}, 24, {{"14", 0.0f}}},
        {"only zero levels in an hour", QDate(2026, 5, 14), {{at(9, 0), 0}, {at(9, 1), 0}, {at(10, 0), 55}}, 24,
         {{"10", 0.55f}}},
        {"absent and zero levels do not count", QDate(2026, 5, 14),
         {{at(9, 0), std::nullopt}, {at(9, 1), 60}, {at(9, 2), 0}, {at(9, 3), 70}}, 24, {{"09", 0.65f}}},
        {"one row without a level", QDate(2026, 5, 14), {{at(9, 0), std::nullopt}}, 24, {}},
        {"no rows", QDate(2026, 5, 14), {}, 24, {}},
        {"spring forward", QDate(2026, 3, 29), {{at(1, 59, 29, 3), 40}, {at(3, 0, 29, 3), 42}}, 23,
         {{"01", 0.40f}, {"03", 0.42f}}},
        // 00:10 and 01:10 UTC are both 02:10 in Berlin that night
        {"the repeated hour shares one bucket", QDate(2026, 10, 25), {{utc(25, 0, 10), 60}, {utc(25, 1, 10), 70}}, 24,
         {{"02", 0.65f}}},
    };
    for (const ChargeCase& c : cases) {
        CalculatorStore db;
        ASSERT_TRUE(db.isOpen());
        for (const LevelRow& row : c.rows) {
            QVSnapshot snapshot = CalculatorStore::make(row.date, CalculatorStore::OnBattery);
            snapshot.chargeLevel = row.level;
            db.add(snapshot);
        }
        QVChargeDataCalculator calculator(&db.store);
        calculator.setDateRange(QVDateRange::dateRangeForDayWithOffset(0, zone.at(c.day.year(), c.day.month(), c.day.day(), 12)));
        calculator.setSnapshotInterval(QVSnapshotCalculator::Minute);
        const QList<QVChartItem> items = calculator.calculateData();
        ASSERT_EQ(items.size(), c.items) << c.name;
        for (int i = 0; i < items.size(); ++i) {
            const QString hour = items[i].date().toTimeZone(zone.zone()).toString("HH");
            ASSERT_EQ(items[i].valuesArray().size(), 1);
            EXPECT_EQ(items[i].valuesArray()[0].title(), QString());
            const float expected = c.hours.count(hour) ? c.hours.at(hour) : -0.01f;
            EXPECT_EQ(items[i].values()[0], double(expected)) << c.name << " hour " << hour.toStdString();
            if (i > 0) {
                EXPECT_LT(items[i - 1].date(), items[i].date()) << c.name;
            }
        }
    }
}

TEST(QVChargeDataCalculator, hoursAreDatedAtTheirLastRowOrTheirStart)
{
    LocalZone zone("Europe/Berlin");
    CalculatorStore db;
    db.add(zone.at(2026, 5, 14, 10, 0), CalculatorStore::OnBattery, 80.0);
    db.add(zone.at(2026, 5, 14, 10, 30), CalculatorStore::OnBattery, 82.0);
    db.add(zone.at(2026, 5, 14, 11, 5), CalculatorStore::Charging, 84.0);
    QVChargeDataCalculator calculator(&db.store);
    calculator.setDateRange(QVDateRange::dateRangeForDayWithOffset(0, zone.at(2026, 5, 14, 12)));
    const QList<QVChartItem> items = calculator.calculateData();
    ASSERT_EQ(items.size(), 24);
    EXPECT_EQ(items[9].date(), zone.at(2026, 5, 14, 9));
    EXPECT_EQ(items[10].date(), zone.at(2026, 5, 14, 10, 30));
    EXPECT_EQ(items[11].date(), zone.at(2026, 5, 14, 11, 5));
    EXPECT_EQ(calculator.keyForDate(zone.at(2026, 5, 14, 11, 59), QVSnapshotCalculator::Minute), "2026-05-14 11:59");
}

TEST(QVChargeDataCalculator, requestsCompleteOnTheMainThread)
{
    LocalZone zone("Europe/Berlin");
    CalculatorStore db;
    db.add(zone.at(2026, 5, 14, 10, 0), CalculatorStore::OnBattery, 80.0);
    db.add(zone.at(2026, 5, 13, 10, 0), CalculatorStore::OnBattery, 30.0);
    QVChargeDataCalculator calculator(&db.store);
    QList<QVChartItem> today, yesterday;
    int calls = 0;
    bool onMainThread = true;
    auto done = [&](QList<QVChartItem>* target) {
        return [&, target](const QList<QVChartItem>& items) {
            onMainThread = onMainThread && QThread::currentThread() == QCoreApplication::instance()->thread();
            *target = items;
            ++calls;
        };
    };
    const QDateTime now = zone.at(2026, 5, 14, 12);
    calculator.calculateWithDateRange(QVDateRange::dateRangeForDayWithOffset(0, now), 1, done(&today));
    calculator.calculateWithDateRange(QVDateRange::dateRangeForDayWithOffset(1, now), 1, done(&yesterday));
    EXPECT_EQ(calls, 0);
    QElapsedTimer timer;
    timer.start();
    while (calls < 2 && timer.elapsed() < 20'000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_EQ(calls, 2);
    EXPECT_TRUE(onMainThread);
    while (QVChargeDataCalculator::requestsInFlight() > 0 && timer.elapsed() < 20'000)
        QThread::msleep(5);
    ASSERT_EQ(today.size(), 24);
    ASSERT_EQ(yesterday.size(), 24);
    EXPECT_FLOAT_EQ(float(today[10].values()[0]), 0.8f);
    EXPECT_FLOAT_EQ(float(yesterday[10].values()[0]), 0.3f);
}

} // namespace
