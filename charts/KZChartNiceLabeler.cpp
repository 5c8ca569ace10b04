#include "charts/KZChartNiceLabeler.h"

#include <cmath>

namespace {

// Half of `value`, rounded up, computed in single precision and truncated, as the axis always was.
qint64 halfUp(qint64 value)
{
    return static_cast<qint64>(std::ceil(static_cast<float>(value) * 0.5f));
}

} // namespace

KZChartNiceLabeler KZChartNiceLabeler::labelerWithMin(qint64 min, qint64 max, qint64 maxTicks)
{
    KZChartNiceLabeler labeler;
    labeler.m_min = min;
    labeler.m_max = max;
    labeler.m_maxTicks = maxTicks;
    return labeler;
}

QList<qint64> KZChartNiceLabeler::niceLabels() const
{
    const qint64 half = halfUp(m_max);
    if (m_max <= 5)
        return {m_min, half, m_max};
    const qint64 middle = half + 1;
    const qint64 firstQuarter = halfUp(middle);
    const qint64 thirdQuarter = middle + halfUp(m_max - middle);
    return {m_min, firstQuarter, middle, thirdQuarter, m_max};
}
