#include "history/KZDateUtilities.h"
#include "history/LocalZone.h"

#include <gtest/gtest.h>

#include <QList>

#include <functional>
#include <thread>
#include <vector>

namespace {

struct DateCase {
    const char* name;
    const char* zone;
    const char* input;    // local wall time in the zone
    std::function<QDateTime(const QDateTime&)> operation;
    const char* expected; // local wall time in the zone
};

// Berlin changes its clocks on 2026-03-29 (02:00 -> 03:00) and 2026-10-25 (03:00 -> 02:00); New York
// on 2026-03-08 and 2026-11-01; Santiago skips midnight on 2026-09-06 (00:00 -> 01:00).
const DateCase dateCases[] = {
    {"midnight", "Europe/Berlin", "2026-05-14 15:20:07", kz_normalizedToMidnight, "2026-05-14 00:00:00"},
    {"midnight on the long day", "Europe/Berlin", "2026-10-25 23:30:00", kz_normalizedToMidnight, "2026-10-25 00:00:00"},
    {"midnight on the short day", "Europe/Berlin", "2026-03-29 04:00:00", kz_normalizedToMidnight, "2026-03-29 00:00:00"},
    {"skipped midnight is the first instant of the day", "America/Santiago", "2026-09-06 12:00:00",
     kz_normalizedToMidnight, "2026-09-06 01:00:00"},
    {"next day", "Europe/Berlin", "2026-05-14 15:20:00", [](auto d) { return kz_dateByAddingDays(d, 1); },
     "2026-05-15 00:00:00"},
    {"yesterday in the first hour after spring forward", "Europe/Berlin", "2026-03-30 00:30:00",
     [](auto d) { return kz_dateByRemovingDays(d, 1); }, "2026-03-29 00:00:00"},
    {"over the long day", "Europe/Berlin", "2026-10-26 00:30:00", [](auto d) { return kz_dateByRemovingDays(d, 2); },
     "2026-10-24 00:00:00"},
    {"late on the long day plus one", "Europe/Berlin", "2026-10-25 23:30:00",
     [](auto d) { return kz_dateByAddingDays(d, 1); }, "2026-10-26 00:00:00"},
    {"New York yesterday after spring forward", "America/New_York", "2026-03-09 00:30:00",
     [](auto d) { return kz_dateByRemovingDays(d, 1); }, "2026-03-08 00:00:00"},
    {"a year of days back across both changes", "Europe/Berlin", "2026-12-31 00:10:00",
     [](auto d) { return kz_dateByRemovingDays(d, 365); }, "2025-12-31 00:00:00"},
    {"end of an ordinary day", "Europe/Berlin", "2026-05-14 15:20:00", kz_endOfDay, "2026-05-14 23:59:59"},
    {"end of the long day from its midnight", "Europe/Berlin", "2026-10-25 00:00:00", kz_endOfDay,
     "2026-10-25 23:59:59"},
    {"end of the short day", "Europe/Berlin", "2026-03-29 00:00:00", kz_endOfDay, "2026-03-29 23:59:59"},
    {"end of the day before a skipped midnight", "America/Santiago", "2026-09-05 10:00:00", kz_endOfDay,
     "2026-09-05 23:59:59"},
    {"beginning of month", "Europe/Berlin", "2026-10-31 23:00:00", kz_beginningOfMonth, "2026-10-01 00:00:00"},
    {"end of month", "Europe/Berlin", "2026-10-02 01:00:00", kz_endOfMonth, "2026-10-31 00:00:00"},
    {"end of February", "Europe/Berlin", "2026-02-10 12:00:00", kz_endOfMonth, "2026-02-28 00:00:00"},
    {"end of leap February", "Europe/Berlin", "2024-02-10 12:00:00", kz_endOfMonth, "2024-02-29 00:00:00"},
    {"beginning of year", "Europe/Berlin", "2026-12-31 23:59:59", kz_beginningOfYear, "2026-01-01 00:00:00"},
    {"end of year", "Europe/Berlin", "2026-01-01 00:00:00", kz_endOfYear, "2026-12-31 00:00:00"},
    {"a month back from the 31st", "Europe/Berlin", "2026-03-31 18:00:00",
     [](auto d) { return kz_dateByAddingMonths(d, -1); }, "2026-02-28 00:00:00"},
    {"a month back from the 31st, leap year", "Europe/Berlin", "2024-03-31 18:00:00",
     [](auto d) { return kz_dateByAddingMonths(d, -1); }, "2024-02-29 00:00:00"},
    {"thirteen months back", "Europe/Berlin", "2026-01-15 08:00:00",
     [](auto d) { return kz_dateByAddingMonths(d, -13); }, "2024-12-15 00:00:00"},
    {"a year back from February 29", "Europe/Berlin", "2024-02-29 08:00:00",
     [](auto d) { return kz_dateByAddingYears(d, -1); }, "2023-02-28 00:00:00"},
};

TEST(KZDateUtilities, calendarOperationsInZonesWithClockChanges)
{
    for (const DateCase& c : dateCases) {
        LocalZone zone(c.zone);
        const QDateTime result = c.operation(zone.at(QString::fromLatin1(c.input)));
        EXPECT_EQ(zone.text(result), QString::fromLatin1(c.expected)) << c.name;
        EXPECT_EQ(result.timeSpec(), Qt::UTC) << c.name;
    }
}

TEST(KZDateUtilities, hourIsTheLocalHourAlsoInTheRepeatedHour)
{
    LocalZone zone("Europe/Berlin");
    // 00:30 and 01:30 UTC on 2026-10-25 are both 02:30 local (summer time, then winter time).
    EXPECT_EQ(kz_hour(QDateTime(QDate(2026, 10, 25), QTime(0, 30), Qt::UTC)), 2);
    EXPECT_EQ(kz_hour(QDateTime(QDate(2026, 10, 25), QTime(1, 30), Qt::UTC)), 2);
    EXPECT_EQ(kz_hour(QDateTime(QDate(2026, 10, 25), QTime(2, 30), Qt::UTC)), 3);
    EXPECT_EQ(kz_hour(zone.at(2026, 3, 29, 3, 0)), 3);
    EXPECT_EQ(kz_hour(zone.at(2026, 5, 14, 23, 59, 59)), 23);
}

TEST(KZDateUtilities, theLocalZoneIsReadAtEachCall)
{
    const QDateTime instant(QDate(2026, 6, 1), QTime(12, 0), Qt::UTC);
    {
        LocalZone zone("Europe/Berlin");
        EXPECT_EQ(kz_hour(instant), 14);
        EXPECT_EQ(kz_normalizedToMidnight(instant), QDateTime(QDate(2026, 5, 31), QTime(22, 0), Qt::UTC));
    }
    {
        LocalZone zone("America/New_York");
        EXPECT_EQ(kz_hour(instant), 8);
        EXPECT_EQ(kz_normalizedToMidnight(instant), QDateTime(QDate(2026, 6, 1), QTime(4, 0), Qt::UTC));
    }
}

TEST(KZDateUtilities, concurrentUseGivesTheSameResultsAsOneThread)
{
    LocalZone zone("Europe/Berlin");
    std::vector<QDateTime> inputs;
    for (int i = 0; i < 400; ++i)
        inputs.push_back(zone.at(2026, 1, 1).addSecs(qint64(i) * 79'213));
    auto compute = [&] {
        QList<QDateTime> out;
        for (const QDateTime& d : inputs) {
            out << kz_normalizedToMidnight(d) << kz_endOfDay(d) << kz_endOfMonth(d) << kz_dateByRemovingDays(d, 3)
                << kz_dateByAddingMonths(d, -1) << QDateTime::fromSecsSinceEpoch(kz_hour(d));
        }
        return out;
    };
    const QList<QDateTime> expected = compute();
    std::vector<QList<QDateTime>> results(4);
    std::vector<std::thread> threads;
    for (auto& result : results)
        threads.emplace_back([&result, &compute] { result = compute(); });
    const QList<QDateTime> onMain = compute();
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(onMain, expected);
    for (const auto& result : results)
        EXPECT_EQ(result, expected);
}

} // namespace
