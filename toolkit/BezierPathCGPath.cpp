#include "toolkit/BezierPathCGPath.h"

std::optional<QPainterPath> kz_CGPathRef(const QPainterPath& path)
{
    if (path.elementCount() == 0)
        return std::nullopt;
    QPainterPath copy = path;
    copy.closeSubpath();
    return copy;
}
