#include "toolkit/BezierPathAdditions.h"

#include <cmath>

namespace KZBezierPath {

QList<QPointF> points(const QPainterPath& path)
{
    QList<QPointF> result;
    QPointF current;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element element = path.elementAt(i);
        if (element.type == QPainterPath::CurveToElement && i + 2 < path.elementCount()) {
            // Flatten the cubic into straight segments and keep their end points.
            QPainterPath curve(current);
            curve.cubicTo(path.elementAt(i), path.elementAt(i + 1), path.elementAt(i + 2));
            const QList<QPolygonF> polygons = curve.toSubpathPolygons();
            for (const QPolygonF& polygon : polygons)
                for (qsizetype k = 1; k < polygon.size(); ++k)
                    result.append(polygon.at(k));
            current = path.elementAt(i + 2);
            i += 2;
            continue;
        }
        current = element;
        result.append(current);
    }
    return result;
}

float perpendicularDistance(QPointF point, QPointF lineA, QPointF lineB)
{
    const float vx = float(point.x() - lineA.x());
    const float vy = float(point.y() - lineA.y());
    const float wx = float(lineB.x() - lineA.x());
    const float wy = float(lineB.y() - lineA.y());
    const float lengthV = std::sqrt(vx * vx + vy * vy);
    const float lengthW = std::sqrt(wx * wx + wy * wy);
    if (lengthV == 0.0f || lengthW == 0.0f)
        return std::nanf("");
    const float cosine = (vx * wx + vy * wy) / (lengthW * lengthV);
    if (!(cosine >= -1.0f && cosine <= 1.0f))
        return std::nanf("");
    return lengthV * std::sin(std::acos(cosine));
}

QList<QPointF> douglasPeucker(const QList<QPointF>& points, float epsilon)
{
    if (points.size() <= 2)
        return points;
    const QPointF first = points.first();
    const QPointF last = points.last();
    float maxDistance = 0;
    qsizetype index = 0;
    for (qsizetype i = 1; i + 1 < points.size(); ++i) {
        const float distance = perpendicularDistance(points.at(i), first, last);
        // NaN never compares greater, so a point whose distance is unknown is never chosen.
        if (distance > maxDistance) {
            maxDistance = distance;
            index = i;
        }
    }
    if (index > 0 && maxDistance > epsilon) {
        QList<QPointF> left = douglasPeucker(points.mid(0, index + 1), epsilon);
        const QList<QPointF> right = douglasPeucker(points.mid(index), epsilon);
        left.removeLast();
        left.append(right);
        return left;
    }
    return {first, last};
}

QList<QPointF> catmullRomSpline(const QList<QPointF>& points, int segments)
{
    const qsizetype n = points.size();
    if (n < 4 || segments < 1)
        return points;

    QList<float> b0(segments), b1(segments), b2(segments), b3(segments);
    for (int j = 0; j < segments; ++j) {
        const float t = float(j) / float(segments);
        const float t2 = t * t;
        const float t3 = t2 * t;
        b0[j] = (-t3 + 2 * t2 - t) / 2;
        b1[j] = (3 * t3 - 5 * t2 + 2) / 2;
        b2[j] = (-3 * t3 + 4 * t2 + t) / 2;
        b3[j] = (t3 - t2) / 2;
    }
    const auto mix = [](float w0, QPointF p0, float w1, QPointF p1, float w2, QPointF p2, float w3, QPointF p3) {
        return QPointF(w0 * p0.x() + w1 * p1.x() + w2 * p2.x() + w3 * p3.x(),
                       w0 * p0.y() + w1 * p1.y() + w2 * p2.y() + w3 * p3.y());
    };

    QList<QPointF> result;
    result.reserve((n - 1) * segments + 1);
    // First span: P0 stands in for its missing predecessor.
    result.append(points[0]);
    for (int j = 1; j < segments; ++j)
        result.append(mix(b0[j] + b1[j], points[0], b2[j], points[1], b3[j], points[2], 0, {}));
    // Inner spans.
    for (qsizetype i = 1; i <= n - 3; ++i) {
        result.append(points[i]);
        for (int j = 1; j < segments; ++j)
            result.append(mix(b0[j], points[i - 1], b1[j], points[i], b2[j], points[i + 1], b3[j], points[i + 2]));
    }
    // Last span: Pn-1 stands in for its missing successor.
    result.append(points[n - 2]);
    for (int j = 1; j < segments; ++j)
        result.append(mix(b0[j], points[n - 3], b1[j], points[n - 2], b2[j] + b3[j], points[n - 1], 0, {}));
    result.append(points[n - 1]);
    return result;
}

QPainterPath smoothedPath(const QList<QPointF>& points, int granularity)
{
    const QList<QPointF> smoothed = catmullRomSpline(douglasPeucker(points, 4.0f), granularity);
    QPainterPath path;
    if (smoothed.isEmpty())
        return path;
    path.moveTo(smoothed.first());
    for (qsizetype i = 1; i < smoothed.size(); ++i)
        path.lineTo(smoothed.at(i));
    path.moveTo(smoothed.last());
    return path;
}

QPainterPath smoothedPath(const QPainterPath& path, int granularity)
{
    return smoothedPath(points(path), granularity);
}

} // namespace KZBezierPath
