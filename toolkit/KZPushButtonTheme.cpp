#include "toolkit/KZPushButtonTheme.h"

QColor KZPushButtonTheme::strokeColor() const
{
    return QColor::fromRgbF(0.6039f, 0.6039f, 0.6039f);
}

QGradientStops KZPushButtonTheme::backgroundGradient() const
{
    return {{0.4, QColor::fromHsvF(0, 0, 0.94f)}, {0.5, QColor::fromHsvF(0, 0, 1.0f)}};
}

KZTitleAttributes KZPushButtonTheme::titleAttributes() const
{
    return {QColor(Qt::black), -0.1, std::nullopt};
}

QPainterPath KZPushButtonTheme::drawingPathForFrame(const QRectF& frame) const
{
    QRectF rect = frame.adjusted(7.5, 4.5, -7.5, -4.5);
    rect.setHeight(rect.height() - 3);
    QPainterPath path;
    path.addRoundedRect(rect, 3, 3);
    return path;
}
