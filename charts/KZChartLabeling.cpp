#include "charts/KZChartLabeling.h"

#include "charts/KZChartNiceLabeler.h"

bool KZChartIsLabelledIndex(const QList<qint64>& niceLabels, qsizetype index)
{
    const qint64 position = index == 0 ? 0 : qint64(index) + 1;
    return niceLabels.contains(position);
}

QList<bool> KZChartLabelledItems(qsizetype itemCount)
{
    QList<bool> labelled;
    if (itemCount <= 0)
        return labelled;
    const QList<qint64> positions = KZChartNiceLabeler::labelerWithMin(0, itemCount, 8).niceLabels();
    labelled.reserve(itemCount);
    for (qsizetype i = 0; i < itemCount; ++i)
        labelled.append(KZChartIsLabelledIndex(positions, i));
    return labelled;
}
