#include "history/QVDateEnumerator.h"

#include "history/QVDateRange.h"

#include <cmath>

void QVDateEnumerator::enumerateFromStartDate(const QDateTime& startDate, const QDateTime& toEndDate,
                                              double withInterval, const Block& usingBlock)
{
    if (!(withInterval > 0) || !startDate.isValid() || !toEndDate.isValid())
        return;
    const double end = static_cast<double>(toEndDate.toMSecsSinceEpoch()) / 1000.0;
    bool stop = false;
    for (double t = static_cast<double>(startDate.toMSecsSinceEpoch()) / 1000.0; t < end && !stop;
         t += withInterval) {
        usingBlock(QDateTime::fromMSecsSinceEpoch(std::llround(t * 1000.0), Qt::UTC), stop);
    }
}

void QVDateEnumerator::enumerateWithDateRange(const QVDateRange& range, double withInterval, const Block& usingBlock)
{
    enumerateFromStartDate(range.startDate(), range.endDate(), withInterval, usingBlock);
}
