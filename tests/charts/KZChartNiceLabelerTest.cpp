#include "charts/KZChartLabeling.h"
#include "charts/KZChartNiceLabeler.h"

#include <gtest/gtest.h>

namespace {

struct LabelCase {
    qint64 itemCount;
    QList<qint64> niceLabels;
    QList<qsizetype> labelledItems;
};

QList<qsizetype> labelledIndices(qsizetype itemCount)
{
    const QList<bool> flags = KZChartLabelledItems(itemCount);
    EXPECT_EQ(flags.size(), std::max<qsizetype>(itemCount, 0));
    QList<qsizetype> indices;
    for (qsizetype i = 0; i < flags.size(); ++i)
        if (flags[i])
            indices.append(i);
    return indices;
}

} // namespace

TEST(KZChartNiceLabeler, LabelsAndLabelledItemsForEveryItemCount)
{
    const LabelCase cases[] = {
        {0, {0, 0, 0}, {}},
        {1, {0, 1, 1}, {0}},
        {2, {0, 1, 2}, {0, 1}},
        {3, {0, 2, 3}, {0, 1, 2}},
        {4, {0, 2, 4}, {0, 1, 3}},
        {5, {0, 3, 5}, {0, 2, 4}},
        {6, {0, 2, 4, 5, 6}, {0, 1, 3, 4, 5}},
        {7, {0, 3, 5, 6, 7}, {0, 2, 4, 5, 6}},
        {12, {0, 4, 7, 10, 12}, {0, 3, 6, 9, 11}},
        {24, {0, 7, 13, 19, 24}, {0, 6, 12, 18, 23}},
        {30, {0, 8, 16, 23, 30}, {0, 7, 15, 22, 29}},
        {31, {0, 9, 17, 24, 31}, {0, 8, 16, 23, 30}},
        {52, {0, 14, 27, 40, 52}, {0, 13, 26, 39, 51}},
        {100, {0, 26, 51, 76, 100}, {0, 25, 50, 75, 99}},
    };
    for (const LabelCase& c : cases) {
        SCOPED_TRACE(c.itemCount);
        EXPECT_EQ(KZChartNiceLabeler::labelerWithMin(0, c.itemCount, 8).niceLabels(), c.niceLabels);
        EXPECT_EQ(labelledIndices(c.itemCount), c.labelledItems);
    }
}

TEST(KZChartNiceLabeler, MinIsOnlyTheFirstLabelAndMaxTicksChangesNothing)
{
    EXPECT_EQ(KZChartNiceLabeler::labelerWithMin(3, 10, 8).niceLabels(), (QList<qint64> {3, 3, 6, 8, 10}));
    const QList<qint64> expected {0, 7, 13, 19, 24};
    for (qint64 maxTicks : {2, 8, 100})
        EXPECT_EQ(KZChartNiceLabeler::labelerWithMin(0, 24, maxTicks).niceLabels(), expected);
    // Every item count up to a year of days labels the first and the last item.
    for (qsizetype n = 1; n <= 366; ++n) {
        const QList<bool> flags = KZChartLabelledItems(n);
        ASSERT_TRUE(flags.first() && flags.last()) << n;
    }
}
