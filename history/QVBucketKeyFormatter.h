#pragma once

#include "history/KZDateFormatter.h"

#include <QString>

#include <unicode/uversion.h>

#include <memory>

U_NAMESPACE_BEGIN
class BasicTimeZone;
U_NAMESPACE_END

// Formats instants into bucket keys ("yyyy-MM-dd HH", "yyyy-MM") in the local zone, fast enough for a
// year of snapshots: after formatting one instant it knows the span of time (up to the next wall-clock
// minute, hour, day, month or year the pattern depends on, and never across a change of the zone's
// offset) in which every instant gives the same key, and answers from it without formatting again.
// Patterns with seconds or unusual fields, and calendars other than the Gregorian one, always format.
// Not for use from two threads at once.
class QVBucketKeyFormatter
{
public:
    explicit QVBucketKeyFormatter(const QString& pattern = QString());
    QVBucketKeyFormatter(const QVBucketKeyFormatter& other);
    QVBucketKeyFormatter& operator=(const QVBucketKeyFormatter& other);
    ~QVBucketKeyFormatter();

    void setPattern(const QString& pattern);
    QString pattern() const { return m_formatter.dateFormat(); }

    // The key of the instant (milliseconds since 1970). `formatted` tells whether the key was formatted
    // anew (true) or came from the span of the previous one (false, then it equals the previous key).
    const QString& keyForMSecs(double msecs, bool* formatted = nullptr);
    // Forgets the span of the previous key: the next instant is formatted anew.
    void invalidate() { m_spanStart = m_spanEnd = 0; }

private:
    enum class Span { None, Minute, Hour, Day, Month, Year, Zone };
    void updateSpan(double msecs);

    KZDateFormatter m_formatter;
    Span m_span = Span::None;
    std::unique_ptr<icu::BasicTimeZone> m_zone;
    double m_spanStart = 0;   // [m_spanStart, m_spanEnd) gives m_key; empty while nothing is cached
    double m_spanEnd = 0;
    QString m_key;
};
