#pragma once

#include "toolkit/KZMavericksButtonTheme.h"

// The textured rounded button: a flat grey gradient with an engraved title.
class KZTexturedButtonTheme : public KZMavericksButtonTheme {
public:
    QColor strokeColor() const override;
    QGradientStops backgroundGradient() const override;
    KZTitleAttributes titleAttributes() const override;
    QPainterPath drawingPathForFrame(const QRectF& frame) const override;
};
