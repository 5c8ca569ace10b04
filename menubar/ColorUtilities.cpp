#include "menubar/ColorUtilities.h"

#include <algorithm>

QColor kz_colorWithEasyHue(double hue, double saturation, double brightness, double alpha)
{
    // Hue wraps around the circle; the other components are clamped to their range.
    double h = hue / 360.0;
    h -= static_cast<long long>(h);
    if (h < 0)
        h += 1.0;
    const auto unit = [](double v) { return static_cast<float>(std::clamp(v, 0.0, 1.0)); };
    return QColor::fromHsvF(unit(h), unit(saturation / 100.0), unit(brightness / 100.0), unit(alpha));
}

QRgb kz_CGColorRef(const QColor& color)
{
    return color.rgba();
}

std::optional<QColor> kz_colorWithCGColorRef(const std::optional<QRgb>& colorRef)
{
    if (!colorRef)
        return std::nullopt;
    return QColor::fromRgba(*colorRef);
}
