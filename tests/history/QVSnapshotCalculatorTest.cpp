#include "history/CalculatorStore.h"
#include "history/LocalZone.h"
#include "history/QVDateRange.h"
#include "history/QVSnapshotCalculator.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <map>
#include <vector>

namespace {

using State = CalculatorStore::State;

struct Row {
    const char* local;   // wall time in Berlin, or UTC with a trailing Z
    int msecs;           // added to it
    State state;
    std::optional<double> level = std::nullopt;
};

struct Seconds {
    double battery = 0, charging = 0, fullyCharged = 0;
};

struct DayCase {
    const char* name;
    const char* day;                        // any time of the day page, Berlin
    std::vector<Row> rows;
    int items;
    std::map<QString, Seconds> buckets;     // by local hour "HH"; every other bucket is all zero
};

// Berlin: clocks go forward on 2026-03-29, back on 2026-10-25.
const std::vector<DayCase> dayCases = {
    {"three minutes on battery", "2026-05-14 15:00:00",
     {{"2026-05-14 10:00:00", 0, State::OnBattery}, {"2026-05-14 10:01:00", 0, State::OnBattery},
      {"2026-05-14 10:02:00", 0, State::OnBattery}},
     24, {{"10", {120, 0, 0}}}},
    {"three minutes on battery, spring forward", "2026-03-29 15:00:00",
     {{"2026-03-29 10:00:00", 0, State::OnBattery}, {"2026-03-29 10:01:00", 0, State::OnBattery},
      {"2026-03-29 10:02:00", 0, State::OnBattery}},
     23, {{"10", {120, 0, 0}}}},
    {"three minutes on battery, clocks go back", "2026-10-25 15:00:00",
     {{"2026-10-25 10:00:00", 0, State::OnBattery}, {"2026-10-25 10:01:00", 0, State::OnBattery},
      {"2026-10-25 10:02:00", 0, State::OnBattery}},
     24, {{"10", {120, 0, 0}}}},
    {"99.9 seconds apart count", "2026-05-14 15:00:00",
     {{"2026-05-14 10:00:00", 0, State::OnBattery}, {"2026-05-14 10:01:39", 900, State::OnBattery}},
     24, {{"10", {99.9, 0, 0}}}},
    {"100 seconds apart do not", "2026-05-14 15:00:00",
     {{"2026-05-14 10:00:00", 0, State::OnBattery}, {"2026-05-14 10:01:40", 0, State::OnBattery}},
     24, {}},
    {"a gap over the full hour goes to the later hour", "2026-05-14 15:00:00",
     {{"2026-05-14 10:59:30", 0, State::OnBattery}, {"2026-05-14 11:00:30", 0, State::OnBattery}},
     24, {{"11", {60, 0, 0}}}},
    {"another state in between breaks the chain", "2026-05-14 15:00:00",
     {{"2026-05-14 10:00:00", 0, State::OnBattery}, {"2026-05-14 10:01:00", 0, State::Charging},
      {"2026-05-14 10:02:00", 0, State::OnBattery}},
     24, {}},
    {"state filters", "2026-05-14 15:00:00",
     {// charging below 100 %
      {"2026-05-14 12:00:00", 0, State::Charging, 99.9}, {"2026-05-14 12:01:00", 0, State::Charging, 99.9},
      // charging with the flag set but at 100 %: fully charged, not charging
      {"2026-05-14 13:00:00", 0, State::Charging, 100.0}, {"2026-05-14 13:01:00", 0, State::Charging, 100.0},
      // on external power at 99.9 % without the full flag: neither
      {"2026-05-14 14:00:00", 0, State::HeldOnAC, 99.9}, {"2026-05-14 14:01:00", 0, State::HeldOnAC, 99.9},
      // the full flag below 100 %
      {"2026-05-14 16:00:00", 0, State::FullyCharged, 95.0}, {"2026-05-14 16:01:00", 0, State::FullyCharged, 95.0},
      // 100 % on battery is just on battery
      {"2026-05-14 17:00:00", 0, State::OnBattery, 100.0}, {"2026-05-14 17:01:00", 0, State::OnBattery, 100.0}},
     24, {{"12", {0, 60, 0}}, {"13", {0, 0, 60}}, {"16", {0, 0, 60}}, {"17", {60, 0, 0}}}},
    {"no snapshots", "2026-05-14 15:00:00", {}, 24, {}},
    {"the repeated hour is one bucket", "2026-10-25 15:00:00",
     // 00:30 and 01:30 UTC are both 02:30 in Berlin that night
     {{"2026-10-25 00:30:00Z", 0, State::FullyCharged}, {"2026-10-25 00:31:00Z", 0, State::FullyCharged},
      {"2026-10-25 01:30:00Z", 0, State::FullyCharged}, {"2026-10-25 01:31:00Z", 0, State::FullyCharged},
      {"2026-10-25 01:32:00Z", 0, State::FullyCharged}},
     24, {{"02", {0, 0, 180}}}},
};

TEST(QVSnapshotCalculator, dayPagesInHourBuckets)
{
    LocalZone zone("Europe/Berlin");
    for (const DayCase& c : dayCases) {
        CalculatorStore db;
        ASSERT_TRUE(db.isOpen());
        for (const Row& row : c.rows) {
            const QString text = QString::fromLatin1(row.local);
            const QDateTime date = text.endsWith('Z')
                ? QDateTime(QDate::fromString(text.left(10), Qt::ISODate), QTime::fromString(text.mid(11, 8)), Qt::UTC)
                : zone.at(text);
            db.add(date.addMSecs(row.msecs), row.state, row.level);
        }
        QVSnapshotCalculator calculator(&db.store);
        calculator.setDateRange(QVDateRange::dateRangeForDayWithOffset(0, zone.at(QString::fromLatin1(c.day))));
        calculator.setSnapshotInterval(QVSnapshotCalculator::Hour);
        const QList<QVChartItem> items = calculator.calculateData();

        ASSERT_EQ(items.size(), c.items) << c.name;
        QSet<QString> seen;
        for (int i = 0; i < items.size(); ++i) {
            const QVChartItem& item = items[i];
            const QString hour = item.date().toTimeZone(zone.zone()).toString("HH");
            seen.insert(hour);
            ASSERT_EQ(item.valuesArray().size(), 3) << c.name;
            EXPECT_EQ(item.valuesArray()[0].title(), "Battery");
            EXPECT_EQ(item.valuesArray()[1].title(), "Charging");
            EXPECT_EQ(item.valuesArray()[2].title(), "Fully Charged");
            const Seconds expected = c.buckets.count(hour) ? c.buckets.at(hour) : Seconds{};
            EXPECT_NEAR(item.values()[0], expected.battery, 1e-3) << c.name << " hour " << hour.toStdString();
            EXPECT_NEAR(item.values()[1], expected.charging, 1e-3) << c.name << " hour " << hour.toStdString();
            EXPECT_NEAR(item.values()[2], expected.fullyCharged, 1e-3) << c.name << " hour " << hour.toStdString();
            EXPECT_NEAR(item.total(), expected.battery + expected.charging + expected.fullyCharged, 1e-3);
            if (i > 0) {
                EXPECT_LT(items[i - 1].date(), item.date()) << c.name;
            }
        }
        EXPECT_EQ(seen.size(), c.items) << c.name << ": one item per hour of the day";
    }
}

TEST(QVSnapshotCalculator, bucketsAreDatedAtTheirFirstBatterySnapshotOrTheirStart)
{
    LocalZone zone("Europe/Berlin");
    CalculatorStore db;
    db.add(zone.at(2026, 5, 14, 9, 0, 30), State::Charging);
    db.add(zone.at(2026, 5, 14, 10, 0, 30), State::OnBattery);
    db.add(zone.at(2026, 5, 14, 10, 1, 30), State::OnBattery);
    db.add(zone.at(2026, 5, 12, 18, 0), State::OnBattery);
    QVSnapshotCalculator calculator(&db.store);

    calculator.setDateRange(QVDateRange::dateRangeForDayWithOffset(0, zone.at(2026, 5, 14, 12)));
    calculator.setSnapshotInterval(QVSnapshotCalculator::Hour);
    QList<QVChartItem> items = calculator.calculateData();
    ASSERT_EQ(items.size(), 24);
    EXPECT_EQ(items[9].date(), zone.at(2026, 5, 14, 9));            // charging only: the full hour
    EXPECT_EQ(items[10].date(), zone.at(2026, 5, 14, 10, 0, 30));   // the first on-battery snapshot
    EXPECT_EQ(calculator.dateForKey("2026-05-14 10"), zone.at(2026, 5, 14, 10, 0, 30));

    calculator.setDateRange(QVDateRange::dateRangeForWeekWithOffset(0, zone.at(2026, 5, 14, 12)));
    calculator.setSnapshotInterval(QVSnapshotCalculator::Day);
    items = calculator.calculateData();
    ASSERT_EQ(items.size(), 8);
    EXPECT_EQ(items[0].date(), zone.at(2026, 5, 7));
    EXPECT_EQ(items[5].date(), zone.at(2026, 5, 12, 18, 0));
    EXPECT_EQ(items[7].date(), zone.at(2026, 5, 14, 10, 0, 30));
    EXPECT_DOUBLE_EQ(items[7].values()[0], 60);
}

TEST(QVSnapshotCalculator, weekMonthAndYearPagesHaveOneItemPerDayOrMonth)
{
    LocalZone zone("Europe/Berlin");
    CalculatorStore db;
    // One stretch on battery across midnight at the end of February 2024, and one across the change
    // of the clocks on 2024-10-27.
    for (int m = -2; m <= 2; ++m)
        db.add(zone.at(2024, 3, 1).addSecs(60 * m), State::OnBattery);
    for (int m = 0; m < 5; ++m)
        db.add(QDateTime(QDate(2024, 10, 27), QTime(0, 58), Qt::UTC).addSecs(60 * m), State::Charging);
    QVSnapshotCalculator calculator(&db.store);

    const struct {
        const char* name;
        QVDateRange range;
        int unit;
        int items;
    } pages[] = {
        {"leap February", QVDateRange::dateRangeForMonthWithOffset(1, zone.at(2024, 3, 31, 12)),
         QVSnapshotCalculator::Day, 29},
        {"October with 25 hours on the 27th", QVDateRange::dateRangeForMonthWithOffset(0, zone.at(2024, 10, 31, 12)),
         QVSnapshotCalculator::Day, 31},
        {"week across the month end", QVDateRange::dateRangeForWeekWithOffset(0, zone.at(2024, 3, 3, 12)),
         QVSnapshotCalculator::Day, 8},
        {"year", QVDateRange::dateRangeForYearWithOffset(0, zone.at(2024, 6, 1)), QVSnapshotCalculator::Month, 12},
    };
    for (const auto& page : pages) {
        calculator.setDateRange(page.range);
        calculator.setSnapshotInterval(page.unit);
        const QList<QVChartItem> items = calculator.calculateData();
        EXPECT_EQ(items.size(), page.items) << page.name;
        double battery = 0, charging = 0;
        for (const QVChartItem& item : items) {
            battery += item.values().value(0);
            charging += item.values().value(1);
        }
        // 23:58 to 23:59 lies in February; the gap to 00:00 goes to March 1, the later snapshot's day.
        if (QString(page.name) == "leap February") {
            EXPECT_DOUBLE_EQ(battery, 60) << page.name;
        }
        if (QString(page.name) == "year") {
            EXPECT_DOUBLE_EQ(battery, 240) << page.name;
            EXPECT_DOUBLE_EQ(charging, 240) << page.name;
            EXPECT_DOUBLE_EQ(items[1].values()[0], 60) << "February";
            EXPECT_DOUBLE_EQ(items[2].values()[0], 180) << "March";
            EXPECT_EQ(items[2].date(), zone.at(2024, 3, 1)) << "March is dated at its first battery snapshot";
            EXPECT_EQ(items[0].date(), zone.at(2024, 1, 1)) << "January is dated at its first day";
        }
    }
}

// The calculation sorts one fetch into the three states itself; it must agree with the store's
// own filters for every combination of absent, false and true flags and levels around 100 %.
TEST(QVSnapshotCalculator, statesAgreeWithTheStoreFilters)
{
    LocalZone zone("Europe/Berlin");
    CalculatorStore db;
    const std::optional<bool> flags[] = {std::nullopt, false, true};
    const std::optional<double> levels[] = {std::nullopt, 0.0, 99.9, 100.0, 100.5};
    QDateTime t = zone.at(2026, 5, 14, 1);
    for (auto connected : flags)
        for (auto charging : flags)
            for (auto full : flags)
                for (auto level : levels) {
                    QVSnapshot s;
                    s.isConnectedToPowerSource = connected;
                    s.isCharging = charging;
                    s.isFullyCharged = full;
                    s.chargeLevel = level;
                    for (int i = 0; i < 2; ++i) {
                        s.setDateTime(t.addSecs(60 * i));
                        db.add(s);
                    }
                    t = t.addSecs(300);
                }
    QVSnapshotCalculator calculator(&db.store);
    calculator.setDateRange(QVDateRange::dateRangeForDayWithOffset(0, zone.at(2026, 5, 14, 12)));
    calculator.setSnapshotInterval(QVSnapshotCalculator::Hour);
    const QList<QVChartItem> items = calculator.calculateData();
    const auto battery = calculator.batteryData();
    const auto charging = calculator.chargingData();
    const auto fullyCharged = calculator.fullyChargedData();
    ASSERT_EQ(items.size(), 24);
    double total = 0;
    for (const QVChartItem& item : items) {
        const QString key = item.date().toTimeZone(zone.zone()).toString("yyyy-MM-dd HH");
        EXPECT_EQ(item.values()[0], battery.value(key)) << key.toStdString();
        EXPECT_EQ(item.values()[1], charging.value(key)) << key.toStdString();
        EXPECT_EQ(item.values()[2], fullyCharged.value(key)) << key.toStdString();
        total += item.total();
    }
    // on battery: 1 x 3 x 3 x 5 pairs; charging: 3 x 1 x 3 x 3 (absent, 0, 99.9); fully charged:
    // connected and (level 100 or the flag): 1 x 3 x (1 x 5 + 2 x 1)
    EXPECT_EQ(total, 60.0 * (45 + 27 + 21));
}

TEST(QVSnapshotCalculator, requestsRunOnTheirOwnWorkersAndCompleteOnTheMainThread)
{
    LocalZone zone("Europe/Berlin");
    CalculatorStore db;
    for (int m = 0; m < 3; ++m)
        db.add(zone.at(2026, 5, 14, 10, m), State::OnBattery);
    QVSnapshotCalculator calculator(&db.store);

    const QVDateRange day = QVDateRange::dateRangeForDayWithOffset(0, zone.at(2026, 5, 14, 12));
    const QVDateRange year = QVDateRange::dateRangeForYearWithOffset(0, zone.at(2026, 5, 14, 12));
    QList<QVChartItem> dayItems, yearItems;
    int calls = 0;
    bool onMainThread = true;
    auto done = [&](QList<QVChartItem>* target) {
        return [&, target](const QList<QVChartItem>& items) {
            onMainThread = onMainThread && QThread::currentThread() == QCoreApplication::instance()->thread();
            *target = items;
            ++calls;
        };
    };
    calculator.calculateWithDateRange(day, QVSnapshotCalculator::Hour, done(&dayItems));
    calculator.calculateWithDateRange(year, QVSnapshotCalculator::Month, done(&yearItems));
    EXPECT_EQ(calls, 0) << "returns at once";
    EXPECT_EQ(calculator.snapshotInterval(), QVSnapshotCalculator::Month);

    QElapsedTimer timer;
    timer.start();
    while (calls < 2 && timer.elapsed() < 20'000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_EQ(calls, 2);
    EXPECT_TRUE(onMainThread);
    ASSERT_EQ(dayItems.size(), 24);
    EXPECT_DOUBLE_EQ(dayItems[10].values()[0], 120);
    ASSERT_EQ(yearItems.size(), 12);
    EXPECT_DOUBLE_EQ(yearItems[4].values()[0], 120);

    // A calculator that is gone by the time its request finishes calls nothing.
    bool called = false;
    {
        QVSnapshotCalculator shortLived(&db.store);
        shortLived.calculateWithDateRange(day, QVSnapshotCalculator::Hour, [&](const QList<QVChartItem>&) { called = true; });
    }
    timer.restart();
    while (QVSnapshotCalculator::requestsInFlight() > 0 && timer.elapsed() < 20'000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_EQ(QVSnapshotCalculator::requestsInFlight(), 0);
    QCoreApplication::processEvents();   // delivers the finished request's completion, if it had one
    EXPECT_FALSE(called);
}

} // namespace
