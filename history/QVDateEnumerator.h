#pragma once

#include <QDateTime>

#include <functional>

class QVDateRange;

// Steps through time in plain seconds: the start is handed out first, then start + interval and so on,
// while the instant lies strictly before the end. Setting `stop` ends the walk. A non-positive interval
// hands out nothing.
class QVDateEnumerator
{
public:
    using Block = std::function<void(const QDateTime& date, bool& stop)>;

    static void enumerateFromStartDate(const QDateTime& startDate, const QDateTime& toEndDate, double withInterval,
                                       const Block& usingBlock);
    static void enumerateWithDateRange(const QVDateRange& range, double withInterval, const Block& usingBlock);
};
