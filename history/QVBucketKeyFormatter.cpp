#include "history/QVBucketKeyFormatter.h"

#include <unicode/basictz.h>
#include <unicode/calendar.h>
#include <unicode/smpdtfmt.h>
#include <unicode/tztrans.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>

namespace {

constexpr double msPerMinute = 60'000;
constexpr double msPerHour = 3'600'000;
constexpr double msPerDay = 86'400'000;
// Before 1601 the Gregorian calendar's switch-over and its eras make wall-clock spans unreliable.
constexpr double earliestCached = -11'644'473'600'000.0;
constexpr double latestCached = 253'402'300'800'000.0;   // year 10000

} // namespace

QVBucketKeyFormatter::QVBucketKeyFormatter(const QString& pattern)
    : m_formatter(pattern)
{
    setPattern(pattern);
}

QVBucketKeyFormatter::QVBucketKeyFormatter(const QVBucketKeyFormatter& other)
    : m_formatter(other.m_formatter)
{
    setPattern(other.pattern());
}

QVBucketKeyFormatter& QVBucketKeyFormatter::operator=(const QVBucketKeyFormatter& other)
{
    if (this != &other) {
        m_formatter = other.m_formatter;
        setPattern(other.pattern());
    }
    return *this;
}

QVBucketKeyFormatter::~QVBucketKeyFormatter() = default;

void QVBucketKeyFormatter::setPattern(const QString& pattern)
{
    m_formatter.setDateFormat(pattern);
    m_spanStart = m_spanEnd = 0;
    m_key.clear();

    // The finest calendar field the pattern shows decides how long a key lasts.
    m_span = Span::Zone;
    bool quoted = false;
    for (QChar c : pattern) {
        if (c == u'\'') {
            quoted = !quoted;
            continue;
        }
        if (quoted || !((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')))
            continue;
        Span field;
        switch (c.unicode()) {
        case 'G': case 'y': case 'Y': case 'u': case 'U': case 'r':
            field = Span::Year;
            break;
        case 'Q': case 'q': case 'M': case 'L':
            field = Span::Month;
            break;
        case 'w': case 'W': case 'd': case 'D': case 'F': case 'g': case 'E': case 'e': case 'c':
            field = Span::Day;
            break;
        case 'a': case 'b': case 'B': case 'h': case 'H': case 'k': case 'K':
            field = Span::Hour;
            break;
        case 'm':
            field = Span::Minute;
            break;
        case 'z': case 'Z': case 'O': case 'v': case 'V': case 'X': case 'x':
            field = Span::Zone;   // changes only where the offset changes, which ends every span anyway
            break;
        default:
            field = Span::None;   // seconds and anything unknown: format every instant
            break;
        }
        m_span = std::min(m_span, field);
    }

    const icu::Calendar* calendar = m_formatter.icuFormat().getCalendar();
    if (!calendar || std::strcmp(calendar->getType(), "gregorian") != 0)
        m_span = Span::None;
    m_zone.reset();
    if (m_span != Span::None) {
        if (auto* zone = dynamic_cast<const icu::BasicTimeZone*>(&m_formatter.icuFormat().getTimeZone()))
            m_zone.reset(zone->clone());
        else
            m_span = Span::None;
    }
}

const QString& QVBucketKeyFormatter::keyForMSecs(double msecs, bool* formatted)
{
    const bool hit = msecs >= m_spanStart && msecs < m_spanEnd;
    if (formatted)
        *formatted = !hit;
    if (hit)
        return m_key;
    m_key = m_formatter.stringFromMSecs(msecs);
    updateSpan(msecs);
    return m_key;
}

void QVBucketKeyFormatter::updateSpan(double msecs)
{
    m_spanStart = m_spanEnd = 0;
    if (m_span == Span::None || !m_zone || !(msecs >= earliestCached && msecs < latestCached))
        return;
    UErrorCode status = U_ZERO_ERROR;
    int32_t raw = 0;
    int32_t dst = 0;
    m_zone->getOffset(msecs, false, raw, dst, status);
    if (U_FAILURE(status))
        return;
    const double offset = double(raw) + double(dst);
    const double wall = msecs + offset;

    // The wall-clock span of the key, as if the wall clock were UTC.
    double wallStart = -INFINITY;
    double wallEnd = INFINITY;
    auto fixed = [&](double length) {
        wallStart = std::floor(wall / length) * length;
        wallEnd = wallStart + length;
    };
    using namespace std::chrono;
    const sys_days day{days{static_cast<int>(std::floor(wall / msPerDay))}};
    const year_month_day date{day};
    auto msOf = [](sys_days d) { return double(d.time_since_epoch().count()) * msPerDay; };
    switch (m_span) {
    case Span::Minute: fixed(msPerMinute); break;
    case Span::Hour: fixed(msPerHour); break;
    case Span::Day: fixed(msPerDay); break;
    case Span::Month:
        wallStart = msOf(sys_days{date.year() / date.month() / 1});
        wallEnd = msOf(sys_days{(date.year() / date.month() / 1) + months{1}});
        break;
    case Span::Year:
        wallStart = msOf(sys_days{date.year() / January / 1});
        wallEnd = msOf(sys_days{(date.year() + years{1}) / January / 1});
        break;
    case Span::Zone:
    case Span::None:
        break;
    }
    double start = wallStart - offset;
    double end = wallEnd - offset;

    // The offset stays the same only between two transitions of the zone.
    icu::TimeZoneTransition transition;
    if (m_zone->getPreviousTransition(msecs, true, transition))
        start = std::max(start, transition.getTime());
    else if (!std::isfinite(start))
        return;
    if (m_zone->getNextTransition(msecs, false, transition))
        end = std::min(end, transition.getTime());
    else if (!std::isfinite(end))
        return;
    if (!(start <= msecs && msecs < end))
        return;
    m_spanStart = start;
    m_spanEnd = end;
}
