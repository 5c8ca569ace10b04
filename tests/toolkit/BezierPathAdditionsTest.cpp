#include "toolkit/BezierPathAdditions.h"
#include "toolkit/BezierPathCGPath.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace KZBezierPath;

namespace {

QPainterPath polyline(const QList<QPointF>& points)
{
    QPainterPath path(points.first());
    for (qsizetype i = 1; i < points.size(); ++i)
        path.lineTo(points[i]);
    return path;
}

// The points a smoothed path draws, without the closing move that ends it.
QList<QPointF> drawn(const QPainterPath& path)
{
    QList<QPointF> result = points(path);
    if (!result.isEmpty())
        result.removeLast();
    return result;
}

} // namespace

TEST(KZBezierPath, PerpendicularDistanceAndItsUncomputableCases)
{
    EXPECT_FLOAT_EQ(perpendicularDistance({5, 3}, {0, 0}, {10, 0}), 3.0f);
    EXPECT_NEAR(perpendicularDistance({0, 4}, {0, 0}, {3, 3}), 2.828427f, 1e-5);
    EXPECT_TRUE(std::isnan(perpendicularDistance({0, 0}, {0, 0}, {10, 0}))) << "point on the line start";
    EXPECT_TRUE(std::isnan(perpendicularDistance({1, 1}, {2, 2}, {2, 2}))) << "line of no length";
}

TEST(KZBezierPath, DouglasPeuckerKeepsOnlyPointsBeyondTheTolerance)
{
    // Everything within 4 points of the chord collapses to the chord.
    EXPECT_EQ(douglasPeucker({{0, 0}, {10, 3}, {20, -4}, {30, 0}}, 4.0f), (QList<QPointF> {{0, 0}, {30, 0}}));
    // Exactly 4 is not beyond the tolerance.
    EXPECT_EQ(douglasPeucker({{0, 0}, {10, 4}, {20, 0}}, 4.0f), (QList<QPointF> {{0, 0}, {20, 0}}));
    // The farthest point splits the run; each half is simplified on its own and the split point
    // appears once.
    EXPECT_EQ(douglasPeucker({{0, 0}, {10, 9}, {20, 20}, {30, 21}, {40, 0}}, 4.0f),
              (QList<QPointF> {{0, 0}, {20, 20}, {30, 21}, {40, 0}}));
    // Of equal maxima the first wins.
    EXPECT_EQ(douglasPeucker({{0, 0}, {10, 10}, {20, 0}, {30, 10}, {40, 0}}, 4.0f).at(1), QPointF(10, 10));
    // A point on the start of the line cannot be measured and is never chosen.
    EXPECT_EQ(douglasPeucker({{0, 0}, {0, 0}, {10, 0}}, 4.0f), (QList<QPointF> {{0, 0}, {10, 0}}));
    EXPECT_EQ(douglasPeucker({{1, 1}}, 4.0f), (QList<QPointF> {{1, 1}}));
    EXPECT_EQ(douglasPeucker({{1, 1}, {9, 9}}, 4.0f), (QList<QPointF> {{1, 1}, {9, 9}}));
}

TEST(KZBezierPath, CatmullRomAddsTheSpanPointsAndKeepsTheGivenOnes)
{
    const QList<QPointF> three {{0, 0}, {10, 10}, {20, 0}};
    EXPECT_EQ(catmullRomSpline(three, 2), three);

    const QList<QPointF> q {{0, 0}, {10, 20}, {20, 0}, {30, 20}, {40, 0}};
    const QList<QPointF> result = catmullRomSpline(q, 2);
    ASSERT_EQ(result.size(), 2 * (q.size() - 1) + 1);
    for (qsizetype k = 0; k < q.size(); ++k)
        EXPECT_EQ(result[2 * k], q[k]) << k;
    // One midpoint per span: (-q[k-1] + 9 q[k] + 9 q[k+1] - q[k+2]) / 16, the end points standing
    // in for their missing neighbours.
    for (qsizetype k = 0; k + 1 < q.size(); ++k) {
        const QPointF before = q[std::max<qsizetype>(k - 1, 0)];
        const QPointF after = q[std::min<qsizetype>(k + 2, q.size() - 1)];
        const QPointF expected = (-before + 9 * q[k] + 9 * q[k + 1] - after) / 16;
        EXPECT_NEAR(result[2 * k + 1].x(), expected.x(), 1e-4) << k;
        EXPECT_NEAR(result[2 * k + 1].y(), expected.y(), 1e-4) << k;
    }
}

TEST(KZBezierPath, SmoothedPathJoinsThreeKeptPointsStraightAndInterpolatesFromFour)
{
    const QList<QPointF> three {{0, 0}, {50, 40}, {100, 0}};
    const QPainterPath straight = smoothedPath(polyline(three), 2);
    EXPECT_EQ(drawn(straight), three);
    EXPECT_EQ(straight.currentPosition(), QPointF(100, 0)) << "ends with a move to the last point";

    const QList<QPointF> four {{0, 0}, {30, 40}, {60, 0}, {90, 40}};
    const QList<QPointF> curve = drawn(smoothedPath(polyline(four), 2));
    ASSERT_EQ(curve.size(), 7);
    for (qsizetype k = 0; k < four.size(); ++k)
        EXPECT_EQ(curve[2 * k], four[k]);

    // Points that stay close to the chord collapse to it before any interpolation.
    EXPECT_EQ(drawn(smoothedPath(polyline({{0, 0}, {10, 2}, {20, -3}, {30, 1}, {40, 0}}), 2)),
              (QList<QPointF> {{0, 0}, {40, 0}}));
    EXPECT_TRUE(smoothedPath(QPainterPath(), 2).isEmpty());
}

TEST(KZBezierPath, PointsFlattenCurvesAndTheDrawingCopyIsClosedUnlessItEndsInAMove)
{
    QPainterPath path(QPointF(0, 0));
    path.lineTo(10, 0);
    path.cubicTo(15, 0, 20, 5, 20, 10);
    const QList<QPointF> flat = points(path);
    EXPECT_EQ(flat.first(), QPointF(0, 0));
    EXPECT_EQ(flat.at(1), QPointF(10, 0));
    EXPECT_EQ(flat.last(), QPointF(20, 10));
    EXPECT_GT(flat.size(), 3);

    EXPECT_FALSE(kz_CGPathRef(QPainterPath()).has_value());
    const std::optional<QPainterPath> closed = kz_CGPathRef(polyline({{0, 0}, {10, 0}, {10, 10}}));
    ASSERT_TRUE(closed);
    EXPECT_EQ(closed->elementCount(), 4);
    EXPECT_EQ(QPointF(closed->elementAt(3)), QPointF(0, 0));
    const QPainterPath smoothed = smoothedPath(polyline({{0, 0}, {50, 40}, {100, 0}}), 2);
    EXPECT_EQ(kz_CGPathRef(smoothed)->elementCount(), smoothed.elementCount()) << "the curve is not closed";
}

QT_BEGIN_NAMESPACE
// Readable points in failure messages.
void PrintTo(const QPointF& point, std::ostream* out)
{
    *out << "(" << point.x() << ", " << point.y() << ")";
}
QT_END_NAMESPACE
