#pragma once

#include <QColor>
#include <QRgb>

#include <optional>

// A hue-saturation-brightness colour from hue in degrees and saturation and brightness in percent.
QColor kz_colorWithEasyHue(double hue, double saturation, double brightness, double alpha = 1.0);

// The colour as the painting system's own colour value (non-premultiplied ARGB).
QRgb kz_CGColorRef(const QColor& color);
// The reverse; none for none.
std::optional<QColor> kz_colorWithCGColorRef(const std::optional<QRgb>& colorRef);
