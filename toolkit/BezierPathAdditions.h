#pragma once

#include <QList>
#include <QPainterPath>
#include <QPointF>

// Point extraction and smoothing of paths, used to draw the line graph's curve.
namespace KZBezierPath {

// A new path through this path's points: simplified (Douglas-Peucker, tolerance 4), interpolated by
// a Catmull-Rom spline with `granularity` steps per span when at least four points remain, joined
// by straight segments and ended with a move to the last point (so closing it adds nothing).
QPainterPath smoothedPath(const QPainterPath& path, int granularity);
// The same, for a list of points.
QPainterPath smoothedPath(const QList<QPointF>& points, int granularity);

// The path's points after flattening curves into straight segments: the end point of every
// element, in order (a closed subpath yields its first point again).
QList<QPointF> points(const QPainterPath& path);

// Ramer-Douglas-Peucker simplification: for more than two points, splits at the interior point
// farthest from the line through the first and the last (the first of equal maxima) when that
// distance is strictly above `epsilon`; otherwise keeps the first and the last.
QList<QPointF> douglasPeucker(const QList<QPointF>& points, float epsilon);

// Distance of `point` from the line through `lineA` and `lineB`, in single precision. NaN when it
// cannot be computed (the point coincides with lineA, or the cosine falls outside -1..1).
float perpendicularDistance(QPointF point, QPointF lineA, QPointF lineB);

// Uniform Catmull-Rom interpolation with `segments` steps per span; lists of fewer than four
// points come back unchanged.
QList<QPointF> catmullRomSpline(const QList<QPointF>& points, int segments);

} // namespace KZBezierPath
