#pragma once

#include <QPainterPath>

#include <optional>

// The path as handed to drawing: a copy whose last subpath is closed as well (closing a subpath
// that ends in a lone move adds nothing); none for an empty path.
std::optional<QPainterPath> kz_CGPathRef(const QPainterPath& path);
