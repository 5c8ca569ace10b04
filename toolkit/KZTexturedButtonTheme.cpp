#include "toolkit/KZTexturedButtonTheme.h"

namespace {

QColor grey(float white, float alpha = 1)
{
    return QColor::fromRgbF(white, white, white, alpha);
}

} // namespace

QColor KZTexturedButtonTheme::strokeColor() const
{
    return grey(0.5569f);
}

QGradientStops KZTexturedButtonTheme::backgroundGradient() const
{
    return {{0.0, grey(0.9333f)}, {1.0, grey(0.9843f)}};
}

KZTitleAttributes KZTexturedButtonTheme::titleAttributes() const
{
    // The white shadow sits one point below the text.
    return {grey(0.2f), std::nullopt, KZShadow {grey(1, 0.7f), QPointF(0, 1), 0}};
}

QPainterPath KZTexturedButtonTheme::drawingPathForFrame(const QRectF& frame) const
{
    QRectF rect = frame.adjusted(0.5, 1.5, -0.5, -1.5);
    rect.setHeight(rect.height() - 1);
    QPainterPath path;
    path.addRoundedRect(rect, 3, 3);
    return path;
}
