#pragma once

#include <QList>
#include <QtGlobal>

// The labelled-index rule of the graphs: for a run of `itemCount` items, asks a labeler with
// min 0, max itemCount and maxTicks 8 once; item 0 is labelled when 0 is among the positions,
// item i >= 1 when i + 1 is. Returns one flag per item, in index order.
QList<bool> KZChartLabelledItems(qsizetype itemCount);

// The same rule for one index against positions already read from a labeler.
bool KZChartIsLabelledIndex(const QList<qint64>& niceLabels, qsizetype index);
