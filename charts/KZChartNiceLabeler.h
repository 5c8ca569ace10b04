#pragma once

#include <QList>
#include <QtGlobal>

// Picks the positions along a category axis that carry a text label: always the first, the
// middle and the last, plus the two quarter points when the range is longer than 5. `min` is
// echoed as the first label only; the interior positions are derived from 0..max. `maxTicks` is
// kept for callers but does not change the result.
class KZChartNiceLabeler {
public:
    static KZChartNiceLabeler labelerWithMin(qint64 min, qint64 max, qint64 maxTicks);

    qint64 min() const { return m_min; }
    void setMin(qint64 min) { m_min = min; }
    qint64 max() const { return m_max; }
    void setMax(qint64 max) { m_max = max; }
    qint64 maxTicks() const { return m_maxTicks; }
    void setMaxTicks(qint64 maxTicks) { m_maxTicks = maxTicks; }

    // Computed on each call: [min, H, max] for max <= 5, else [min, Q1, M, Q3, max].
    QList<qint64> niceLabels() const;

private:
    qint64 m_min = 0;
    qint64 m_max = 0;
    qint64 m_maxTicks = 0;
};
