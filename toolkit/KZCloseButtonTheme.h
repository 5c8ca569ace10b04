#pragma once

#include "toolkit/KZTexturedButtonTheme.h"

// The close button: the textured outline with a translucent black stroke.
class KZCloseButtonTheme : public KZTexturedButtonTheme {
public:
    QColor strokeColor() const override;
    QGradientStops backgroundGradient() const override;
    KZTitleAttributes titleAttributes() const override;
};
