#include "toolkit/KZCloseButtonTheme.h"

QColor KZCloseButtonTheme::strokeColor() const
{
    return QColor::fromRgbF(0, 0, 0, 0.25f);
}

QGradientStops KZCloseButtonTheme::backgroundGradient() const
{
    return {{0.0, QColor::fromRgbF(0.9294f, 0.9294f, 0.9294f)}, {1.0, QColor::fromRgbF(0.9843f, 0.9843f, 0.9843f)}};
}

KZTitleAttributes KZCloseButtonTheme::titleAttributes() const
{
    return {QColor::fromRgbF(0.1f, 0.1f, 0.1f), -0.1, KZShadow {QColor::fromRgbF(1, 1, 1, 0.7f), QPointF(0, 1), 0}};
}
