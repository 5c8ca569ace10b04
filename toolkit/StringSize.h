#pragma once

#include <QFont>
#include <QSizeF>
#include <QString>

#include <optional>

// Lays the string out in `font` in a box of width `width` and unlimited height; returns the used
// width and height, each plus `padding` and then rounded to the nearest whole point.
QSizeF kz_sizeWithWidth(const QString& text, qreal width, const QFont& font, qreal padding);

// The same layout for a text shown in one font (the application font when none is given):
// returns (width, used height + padding), neither rounded.
QSizeF kzn_sizeWithWidth(const QString& text, float width, const std::optional<QFont>& font, qreal padding);
