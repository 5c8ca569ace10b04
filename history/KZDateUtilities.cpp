#include "history/KZDateUtilities.h"

#include <unicode/calendar.h>
#include <unicode/gregocal.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

// One calendar per thread, so the calculators' workers and the main thread never share one. The zone
// is read again on every use, so a change of the local zone shows at the next call.
icu::Calendar& calendar()
{
    thread_local std::unique_ptr<icu::Calendar> cal;
    if (!cal) {
        UErrorCode status = U_ZERO_ERROR;
        cal.reset(icu::Calendar::createInstance(icu::Locale::getDefault(), status));
        if (U_FAILURE(status) || !cal) {
            status = U_ZERO_ERROR;
            cal = std::make_unique<icu::GregorianCalendar>(status);
        }
        cal->setLenient(true);
        // Midnight inside a repeated hour is its first occurrence; a skipped midnight becomes the first
        // instant after the gap, so "midnight" is always the first instant of the day.
        cal->setRepeatedWallTimeOption(UCAL_WALLTIME_FIRST);
        cal->setSkippedWallTimeOption(UCAL_WALLTIME_NEXT_VALID);
    }
    cal->adoptTimeZone(icu::TimeZone::createDefault());
    return *cal;
}

struct CalendarDay {
    int32_t year;   // extended year, so eras never matter
    int32_t month;  // 0-based, as the calendar counts
    int32_t day;
};

CalendarDay dayOf(icu::Calendar& cal, const QDateTime& d)
{
    UErrorCode status = U_ZERO_ERROR;
    cal.setTime(static_cast<UDate>(d.toMSecsSinceEpoch()), status);
    CalendarDay result{cal.get(UCAL_EXTENDED_YEAR, status), cal.get(UCAL_MONTH, status), cal.get(UCAL_DATE, status)};
    return result;
}

// Midnight of the given day; month and day may lie outside their ranges (day 0 is the last day of the
// month before), the lenient calendar rolls them over.
QDateTime midnight(icu::Calendar& cal, int32_t year, int32_t month, int64_t day)
{
    // About 27,000 years either way: far beyond any page, and safe from overflowing the calendar's fields.
    constexpr int64_t limit = 10'000'000;
    UErrorCode status = U_ZERO_ERROR;
    cal.clear();
    cal.set(UCAL_EXTENDED_YEAR, year);
    cal.set(UCAL_MONTH, month);
    cal.set(UCAL_DATE, static_cast<int32_t>(std::clamp<int64_t>(day, -limit, limit)));
    cal.set(UCAL_HOUR_OF_DAY, 0);
    const UDate t = cal.getTime(status);
    if (U_FAILURE(status))
        return {};
    return QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(std::llround(t)), Qt::UTC);
}

} // namespace

QDateTime kz_normalizedToMidnight(const QDateTime& d)
{
    if (!d.isValid())
        return {};
    icu::Calendar& cal = calendar();
    const CalendarDay day = dayOf(cal, d);
    return midnight(cal, day.year, day.month, day.day);
}

int kz_hour(const QDateTime& d)
{
    icu::Calendar& cal = calendar();
    UErrorCode status = U_ZERO_ERROR;
    cal.setTime(static_cast<UDate>(d.toMSecsSinceEpoch()), status);
    return cal.get(UCAL_HOUR_OF_DAY, status);
}

QDateTime kz_dateByAddingDays(const QDateTime& d, qint64 n)
{
    if (!d.isValid())
        return {};
    icu::Calendar& cal = calendar();
    const CalendarDay day = dayOf(cal, d);
    return midnight(cal, day.year, day.month, day.day + n);
}

QDateTime kz_dateByRemovingDays(const QDateTime& d, qint64 n)
{
    return kz_dateByAddingDays(d, -n);
}

QDateTime kz_endOfDay(const QDateTime& d)
{
    const QDateTime next = kz_dateByAddingDays(d, 1);
    return next.isValid() ? next.addSecs(-1) : next;
}

QDateTime kz_beginningOfMonth(const QDateTime& d)
{
    if (!d.isValid())
        return {};
    icu::Calendar& cal = calendar();
    const CalendarDay day = dayOf(cal, d);
    return midnight(cal, day.year, day.month, 1);
}

QDateTime kz_endOfMonth(const QDateTime& d)
{
    if (!d.isValid())
        return {};
    icu::Calendar& cal = calendar();
    const CalendarDay day = dayOf(cal, d);
    return midnight(cal, day.year, day.month + 1, 0);
}

QDateTime kz_beginningOfYear(const QDateTime& d)
{
    if (!d.isValid())
        return {};
    icu::Calendar& cal = calendar();
    const CalendarDay day = dayOf(cal, d);
    return midnight(cal, day.year, 0, 1);
}

QDateTime kz_endOfYear(const QDateTime& d)
{
    if (!d.isValid())
        return {};
    icu::Calendar& cal = calendar();
    const CalendarDay day = dayOf(cal, d);
    return midnight(cal, day.year + 1, 0, 0);
}

namespace {

QDateTime addingField(const QDateTime& d, UCalendarDateFields field, int n)
{
    if (!d.isValid())
        return {};
    icu::Calendar& cal = calendar();
    const QDateTime start = kz_normalizedToMidnight(d);
    UErrorCode status = U_ZERO_ERROR;
    cal.setTime(static_cast<UDate>(start.toMSecsSinceEpoch()), status);
    cal.add(field, n, status);   // keeps the day of the month, clamped to the target month's length
    const CalendarDay day{cal.get(UCAL_EXTENDED_YEAR, status), cal.get(UCAL_MONTH, status), cal.get(UCAL_DATE, status)};
    if (U_FAILURE(status))
        return {};
    return midnight(cal, day.year, day.month, day.day);
}

} // namespace

QDateTime kz_dateByAddingMonths(const QDateTime& d, int n)
{
    return addingField(d, UCAL_MONTH, n);
}

QDateTime kz_dateByAddingYears(const QDateTime& d, int n)
{
    return addingField(d, UCAL_YEAR, n);
}
