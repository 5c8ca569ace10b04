#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>

// A drop shadow: colour, offset in widget coordinates (positive y is downwards) and blur radius.
struct KZShadow {
    QColor color;
    QPointF offset;
    qreal blurRadius = 0;

    bool operator==(const KZShadow&) const = default;

    // The shadow of an already drawn layer: the layer's alpha in the shadow colour, blurred.
    QImage shadowImageForLayer(const QImage& layer) const;
};
