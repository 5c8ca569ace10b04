#pragma once

#include <QColor>
#include <QImage>
#include <QString>

#include <optional>

// The application's image named `name` (from the compiled-in icons, ":/icons/<name>.svg" or
// ".png"); none when there is no such image.
std::optional<QImage> kz_imageNamed(const QString& name);

// The named image, tinted; none when there is no such image.
std::optional<QImage> kz_imageWithName(const QString& name, const QColor& withTintColor);

// A new image of the same size: the source drawn over the whole rectangle, then the colour laid
// over it with source-atop, so the colour replaces the image's colours where it is opaque and the
// image's transparency stays.
QImage kz_imageWithTintColor(const QImage& image, const QColor& tintColor);
