#pragma once

#include "toolkit/KZShadow.h"

#include <QColor>
#include <QGradientStops>
#include <QPainterPath>
#include <QRectF>

#include <memory>
#include <optional>
#include <type_traits>

// The text attributes a theme lays over a button title; each part is optional.
struct KZTitleAttributes {
    std::optional<QColor> foregroundColor;
    std::optional<qreal> kerning;   // extra space between characters, in points
    std::optional<KZShadow> shadow;

    bool isEmpty() const { return !foregroundColor && !kerning && !shadow; }
};

// The base of the button themes: what a themed button draws its bezel and title with. Empty here.
class KZMavericksButtonTheme {
public:
    virtual ~KZMavericksButtonTheme() = default;

    // A new theme of class T on each call; the last one made is kept.
    template <class T>
    static std::shared_ptr<T> theme()
    {
        static_assert(std::is_base_of_v<KZMavericksButtonTheme, T>, "theme<T>() makes themes");
        auto made = std::make_shared<T>();
        lastTheme() = made;
        return made;
    }

    virtual QColor strokeColor() const { return {}; }
    // Colour stops from the first colour (bottom of the bezel) to the last (top).
    virtual QGradientStops backgroundGradient() const { return {}; }
    virtual KZTitleAttributes titleAttributes() const { return {}; }
    // The bezel outline for a button frame; empty here.
    virtual QPainterPath drawingPathForFrame(const QRectF& frame) const;

private:
    static std::shared_ptr<KZMavericksButtonTheme>& lastTheme();
};
