#pragma once

#include "toolkit/KZMavericksButtonTheme.h"

// The blue button of a primary action, with a white title.
class KZOpenButtonTheme : public KZMavericksButtonTheme {
public:
    QColor strokeColor() const override;
    QGradientStops backgroundGradient() const override;
    KZTitleAttributes titleAttributes() const override;
    QPainterPath drawingPathForFrame(const QRectF& frame) const override;
};
