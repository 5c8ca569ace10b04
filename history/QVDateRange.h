#pragma once

#include "history/KZDateFormatter.h"

#include <QDateTime>
#include <QString>

#include <memory>

// A page of time: from startDate to endDate, both included. The page constructors count back from now
// (offset 0 is the current day, week, month or year, 1 the one before, and so on) in the local zone.
class QVDateRange
{
public:
    QVDateRange() = default;
    QVDateRange(const QDateTime& startDate, const QDateTime& endDate);
    QVDateRange(const QVDateRange& other);   // the copy makes its own formatter when it needs one
    QVDateRange& operator=(const QVDateRange& other);
    QVDateRange(QVDateRange&&) noexcept = default;
    QVDateRange& operator=(QVDateRange&&) noexcept = default;
    ~QVDateRange();

    static QVDateRange dateRangeWithStartDate(const QDateTime& startDate, const QDateTime& endDate);
    // Day k: the k-th calendar day before today, 00:00:00 to 23:59:59.
    static QVDateRange dateRangeForDayWithOffset(qint64 offset, const QDateTime& now = QDateTime::currentDateTimeUtc());
    // Week k: eight calendar days ending 8 x k days before today (today for k = 0); pages neither
    // overlap nor leave gaps.
    static QVDateRange dateRangeForWeekWithOffset(qint64 offset, const QDateTime& now = QDateTime::currentDateTimeUtc());
    // Month k: the calendar month k months before the current one, first day 00:00:00 to last day 23:59:59.
    static QVDateRange dateRangeForMonthWithOffset(qint64 offset, const QDateTime& now = QDateTime::currentDateTimeUtc());
    // Year k: the calendar year k years before the current one, January 1 to December 31.
    static QVDateRange dateRangeForYearWithOffset(qint64 offset, const QDateTime& now = QDateTime::currentDateTimeUtc());

    QDateTime startDate() const { return m_startDate; }
    void setStartDate(const QDateTime& date) { m_startDate = date; }
    QDateTime endDate() const { return m_endDate; }
    void setEndDate(const QDateTime& date) { m_endDate = date; }

    // The range's own formatter, made on first use in the local zone; shared by the string operations.
    // Not for use from two threads at once.
    KZDateFormatter* dateFormatter() const { return m_dateFormatter.get(); }
    void makeDateFormatterIfNeeded() const;

    QString startDateStringWithFormat(const QString& format) const;
    QString endDateStringWithFormat(const QString& format) const;
    // "<start> - <end>", both formatted with the pattern.
    QString rangeStringWithFormat(const QString& format) const;

    bool operator==(const QVDateRange& other) const
    {
        return m_startDate == other.m_startDate && m_endDate == other.m_endDate;
    }

private:
    QDateTime m_startDate;
    QDateTime m_endDate;
    mutable std::unique_ptr<KZDateFormatter> m_dateFormatter;
};
