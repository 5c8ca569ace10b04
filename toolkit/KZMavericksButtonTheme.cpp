#include "toolkit/KZMavericksButtonTheme.h"

QPainterPath KZMavericksButtonTheme::drawingPathForFrame(const QRectF& frame) const
{
    Q_UNUSED(frame);
    return {};
}

std::shared_ptr<KZMavericksButtonTheme>& KZMavericksButtonTheme::lastTheme()
{
    static std::shared_ptr<KZMavericksButtonTheme> last;
    return last;
}
