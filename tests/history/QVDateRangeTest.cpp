#include "history/KZDateUtilities.h"
#include "history/LocalZone.h"
#include "history/QVDateEnumerator.h"
#include "history/QVDateRange.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using PageMaker = QVDateRange (*)(qint64, const QDateTime&);

struct PageCase {
    const char* name;
    PageMaker page;
    const char* now;     // local wall time in Berlin
    qint64 offset;
    const char* start;   // expected, local
    const char* end;
};

// Berlin: clocks go forward on 2026-03-29, back on 2026-10-25.
const PageCase pageCases[] = {
    {"day 0", QVDateRange::dateRangeForDayWithOffset, "2026-05-14 15:20:00", 0, "2026-05-14 00:00:00",
     "2026-05-14 23:59:59"},
    {"day 1", QVDateRange::dateRangeForDayWithOffset, "2026-05-14 15:20:00", 1, "2026-05-13 00:00:00",
     "2026-05-13 23:59:59"},
    {"day 0 on the day the clocks go back", QVDateRange::dateRangeForDayWithOffset, "2026-10-25 10:00:00", 0,
     "2026-10-25 00:00:00", "2026-10-25 23:59:59"},
    {"day 1 is the long day", QVDateRange::dateRangeForDayWithOffset, "2026-10-26 08:00:00", 1,
     "2026-10-25 00:00:00", "2026-10-25 23:59:59"},
    {"day 1 in the first hour after spring forward", QVDateRange::dateRangeForDayWithOffset, "2026-03-30 00:30:00",
     1, "2026-03-29 00:00:00", "2026-03-29 23:59:59"},
    {"week 0", QVDateRange::dateRangeForWeekWithOffset, "2026-05-14 15:20:00", 0, "2026-05-07 00:00:00",
     "2026-05-14 23:59:59"},
    {"week 1", QVDateRange::dateRangeForWeekWithOffset, "2026-05-14 15:20:00", 1, "2026-04-29 00:00:00",
     "2026-05-06 23:59:59"},
    {"week ending on the long day", QVDateRange::dateRangeForWeekWithOffset, "2026-10-25 00:00:00", 0,
     "2026-10-18 00:00:00", "2026-10-25 23:59:59"},
    {"week across a leap day", QVDateRange::dateRangeForWeekWithOffset, "2024-03-11 09:00:00", 1,
     "2024-02-25 00:00:00", "2024-03-03 23:59:59"},
    {"week across the year end", QVDateRange::dateRangeForWeekWithOffset, "2026-01-03 09:00:00", 0,
     "2025-12-27 00:00:00", "2026-01-03 23:59:59"},
    {"month 0 ends on the 31st after the long day", QVDateRange::dateRangeForMonthWithOffset, "2026-10-25 01:00:00",
     0, "2026-10-01 00:00:00", "2026-10-31 23:59:59"},
    {"month 1 on the 31st is the month before", QVDateRange::dateRangeForMonthWithOffset, "2026-05-31 12:00:00", 1,
     "2026-04-01 00:00:00", "2026-04-30 23:59:59"},
    {"month 1 on March 1 is February", QVDateRange::dateRangeForMonthWithOffset, "2026-03-01 00:00:00", 1,
     "2026-02-01 00:00:00", "2026-02-28 23:59:59"},
    {"month 1 on March 31 of a leap year", QVDateRange::dateRangeForMonthWithOffset, "2024-03-31 23:59:59", 1,
     "2024-02-01 00:00:00", "2024-02-29 23:59:59"},
    {"month 2 on January 31", QVDateRange::dateRangeForMonthWithOffset, "2026-01-31 10:00:00", 2,
     "2025-11-01 00:00:00", "2025-11-30 23:59:59"},
    {"month 12", QVDateRange::dateRangeForMonthWithOffset, "2026-03-15 10:00:00", 12, "2025-03-01 00:00:00",
     "2025-03-31 23:59:59"},
    {"year 0", QVDateRange::dateRangeForYearWithOffset, "2024-12-31 23:30:00", 0, "2024-01-01 00:00:00",
     "2024-12-31 23:59:59"},
    {"year 1 on December 31 of a leap year", QVDateRange::dateRangeForYearWithOffset, "2024-12-31 12:00:00", 1,
     "2023-01-01 00:00:00", "2023-12-31 23:59:59"},
    {"year 1 on February 29", QVDateRange::dateRangeForYearWithOffset, "2024-02-29 12:00:00", 1,
     "2023-01-01 00:00:00", "2023-12-31 23:59:59"},
    {"year 3 on January 1", QVDateRange::dateRangeForYearWithOffset, "2026-01-01 00:00:00", 3,
     "2023-01-01 00:00:00", "2023-12-31 23:59:59"},
};

TEST(QVDateRange, pagesAreWholeCalendarDaysWeeksMonthsAndYears)
{
    LocalZone zone("Europe/Berlin");
    for (const PageCase& c : pageCases) {
        const QVDateRange range = c.page(c.offset, zone.at(QString::fromLatin1(c.now)));
        EXPECT_EQ(zone.text(range.startDate()), QString::fromLatin1(c.start)) << c.name;
        EXPECT_EQ(zone.text(range.endDate()), QString::fromLatin1(c.end)) << c.name;
    }
}

TEST(QVDateRange, consecutivePagesNeitherOverlapNorLeaveGaps)
{
    LocalZone zone("Europe/Berlin");
    const QDateTime now = zone.at(2026, 3, 30, 0, 30);   // the first hour after a spring-forward night
    const struct {
        const char* name;
        PageMaker page;
        int days;   // days per page, 0 when it varies
    } kinds[] = {{"day", QVDateRange::dateRangeForDayWithOffset, 1},
                 {"week", QVDateRange::dateRangeForWeekWithOffset, 8},
                 {"month", QVDateRange::dateRangeForMonthWithOffset, 0},
                 {"year", QVDateRange::dateRangeForYearWithOffset, 0}};
    for (const auto& kind : kinds) {
        for (qint64 k = 0; k < 400; ++k) {
            const QVDateRange newer = kind.page(k, now);
            const QVDateRange older = kind.page(k + 1, now);
            ASSERT_EQ(older.endDate().addSecs(1), newer.startDate()) << kind.name << " page " << k;
            ASSERT_EQ(kz_normalizedToMidnight(newer.startDate()), newer.startDate()) << kind.name << " page " << k;
            if (kind.days) {
                ASSERT_EQ(kz_dateByAddingDays(newer.startDate(), kind.days), newer.endDate().addSecs(1))
                    << kind.name << " page " << k;
            }
        }
    }
}

TEST(QVDateRange, stringsUseThePatternInTheLocalZone)
{
    LocalZone zone("Europe/Berlin");
    const QVDateRange range = QVDateRange::dateRangeWithStartDate(zone.at(2026, 10, 25), zone.at(2026, 10, 25, 23, 59, 59));
    EXPECT_EQ(range.dateFormatter(), nullptr);
    EXPECT_EQ(range.rangeStringWithFormat("yyyy-MM-dd HH:mm"), "2026-10-25 00:00 - 2026-10-25 23:59");
    EXPECT_NE(range.dateFormatter(), nullptr);
    EXPECT_EQ(range.startDateStringWithFormat("d MMM yyyy"), "25 Oct 2026");
    EXPECT_EQ(range.endDateStringWithFormat("HH:mm:ss"), "23:59:59");
    EXPECT_EQ(range.startDateStringWithFormat("EEE, MMM d, ''yy"), "Sun, Oct 25, '26");
}

TEST(QVDateEnumerator, handsOutPlainSecondStepsBeforeTheEnd)
{
    LocalZone zone("Europe/Berlin");
    auto count = [](const QVDateRange& range, double interval) {
        QList<QDateTime> dates;
        QVDateEnumerator::enumerateWithDateRange(range, interval, [&](const QDateTime& d, bool&) { dates << d; });
        return dates;
    };
    const QVDateRange ordinary = QVDateRange::dateRangeForDayWithOffset(0, zone.at(2026, 5, 14, 12));
    const QList<QDateTime> hours = count(ordinary, 3600);
    ASSERT_EQ(hours.size(), 24);
    EXPECT_EQ(hours.first(), ordinary.startDate());
    EXPECT_EQ(zone.text(hours.last()), "2026-05-14 23:00:00");
    EXPECT_EQ(count(QVDateRange::dateRangeForDayWithOffset(0, zone.at(2026, 3, 29, 12)), 3600).size(), 23);
    EXPECT_EQ(count(QVDateRange::dateRangeForDayWithOffset(0, zone.at(2026, 10, 25, 12)), 3600).size(), 25);

    // The end itself is never handed out, even on a step; a start equal to the end hands out nothing.
    const QDateTime t = zone.at(2026, 5, 14, 10);
    EXPECT_EQ(count(QVDateRange(t, t.addSecs(7200)), 3600).size(), 2);
    EXPECT_TRUE(count(QVDateRange(t, t), 3600).isEmpty());
    EXPECT_TRUE(count(QVDateRange(t, t.addSecs(-60)), 60).isEmpty());
    // A non-positive step would never end: it hands out nothing.
    EXPECT_TRUE(count(ordinary, 0).isEmpty());
    EXPECT_TRUE(count(ordinary, -3600).isEmpty());

    int calls = 0;
    QVDateEnumerator::enumerateFromStartDate(ordinary.startDate(), ordinary.endDate(), 60, [&](const QDateTime&, bool& stop) {
        stop = ++calls == 3;
    });
    EXPECT_EQ(calls, 3);
}

} // namespace
