#include "history/QVDateRange.h"

#include "history/KZDateUtilities.h"

#include <algorithm>

namespace {

// Page offsets beyond this many calendar months or years are clamped (thousands of years back).
int clampedOffset(qint64 offset)
{
    return static_cast<int>(std::clamp<qint64>(offset, -1'000'000, 1'000'000));
}

} // namespace

QVDateRange::QVDateRange(const QDateTime& startDate, const QDateTime& endDate)
    : m_startDate(startDate), m_endDate(endDate)
{
}

QVDateRange::QVDateRange(const QVDateRange& other)
    : m_startDate(other.m_startDate), m_endDate(other.m_endDate)
{
}

QVDateRange& QVDateRange::operator=(const QVDateRange& other)
{
    m_startDate = other.m_startDate;
    m_endDate = other.m_endDate;
    return *this;
}

QVDateRange::~QVDateRange() = default;

QVDateRange QVDateRange::dateRangeWithStartDate(const QDateTime& startDate, const QDateTime& endDate)
{
    return QVDateRange(startDate, endDate);
}

QVDateRange QVDateRange::dateRangeForDayWithOffset(qint64 offset, const QDateTime& now)
{
    const QDateTime start = kz_dateByRemovingDays(now, offset);
    return QVDateRange(start, kz_endOfDay(start));
}

QVDateRange QVDateRange::dateRangeForWeekWithOffset(qint64 offset, const QDateTime& now)
{
    const QDateTime last = kz_dateByRemovingDays(now, 8 * std::clamp<qint64>(offset, -1'000'000, 1'000'000));
    return QVDateRange(kz_dateByRemovingDays(last, 7), kz_endOfDay(last));
}

QVDateRange QVDateRange::dateRangeForMonthWithOffset(qint64 offset, const QDateTime& now)
{
    const QDateTime month = kz_dateByAddingMonths(now, -clampedOffset(offset));
    const QDateTime end = kz_endOfDay(kz_endOfMonth(month));
    return QVDateRange(kz_beginningOfMonth(end), end);
}

QVDateRange QVDateRange::dateRangeForYearWithOffset(qint64 offset, const QDateTime& now)
{
    const QDateTime year = kz_dateByAddingYears(now, -clampedOffset(offset));
    const QDateTime end = kz_endOfDay(kz_endOfYear(year));
    return QVDateRange(kz_beginningOfYear(end), end);
}

void QVDateRange::makeDateFormatterIfNeeded() const
{
    if (!m_dateFormatter)
        m_dateFormatter = std::make_unique<KZDateFormatter>();
}

QString QVDateRange::startDateStringWithFormat(const QString& format) const
{
    makeDateFormatterIfNeeded();
    m_dateFormatter->setDateFormat(format);
    return m_dateFormatter->stringFromDate(m_startDate);
}

QString QVDateRange::endDateStringWithFormat(const QString& format) const
{
    makeDateFormatterIfNeeded();
    m_dateFormatter->setDateFormat(format);
    return m_dateFormatter->stringFromDate(m_endDate);
}

QString QVDateRange::rangeStringWithFormat(const QString& format) const
{
    makeDateFormatterIfNeeded();
    m_dateFormatter->setDateFormat(format);
    const QString start = m_dateFormatter->stringFromDate(m_startDate);
    const QString end = m_dateFormatter->stringFromDate(m_endDate);
    return QStringLiteral("%1 - %2").arg(start, end);
}
