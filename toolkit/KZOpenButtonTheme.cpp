#include "toolkit/KZOpenButtonTheme.h"

QColor KZOpenButtonTheme::strokeColor() const
{
    return QColor::fromRgbF(0.251f, 0.5059f, 0.6863f);
}

QGradientStops KZOpenButtonTheme::backgroundGradient() const
{
    return {{0.0, QColor::fromRgbF(0.2196f, 0.4824f, 0.8157f)}, {1.0, QColor::fromRgbF(0.3137f, 0.6431f, 0.902f)}};
}

KZTitleAttributes KZOpenButtonTheme::titleAttributes() const
{
    // The blue shadow sits one point above the text.
    return {QColor(Qt::white), std::nullopt, KZShadow {QColor::fromRgbF(0.3922f, 0.4745f, 0.6196f), QPointF(0, -1), 0}};
}

QPainterPath KZOpenButtonTheme::drawingPathForFrame(const QRectF& frame) const
{
    QRectF rect = frame.adjusted(0.5, 1.5, -0.5, -1.5);
    rect.setHeight(rect.height() - 1);
    QPainterPath path;
    path.addRoundedRect(rect, 3, 3);
    return path;
}
