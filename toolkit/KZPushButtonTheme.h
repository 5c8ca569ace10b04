#pragma once

#include "toolkit/KZMavericksButtonTheme.h"

// The rounded push button: light grey to white, grey outline inset from the frame.
class KZPushButtonTheme : public KZMavericksButtonTheme {
public:
    QColor strokeColor() const override;
    QGradientStops backgroundGradient() const override;
    KZTitleAttributes titleAttributes() const override;
    QPainterPath drawingPathForFrame(const QRectF& frame) const override;
};
