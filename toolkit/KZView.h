#pragma once

#include "toolkit/KZShadow.h"
#include "toolkit/KZViewController.h"

#include <QColor>
#include <QImage>
#include <QPointer>
#include <QWidget>

#include <optional>


// A general background view: a rounded rectangle filled with a colour and stroked with a border,
// an optional shadow under both, and an optional image over the whole bounds. `alphaValue` is the
// view's own opacity: the fill is drawn at (colour alpha x alphaValue), the image at alphaValue.
class KZView : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor backgroundColor READ backgroundColor WRITE setBackgroundColor)
    Q_PROPERTY(QColor borderColor READ borderColor WRITE setBorderColor)
    Q_PROPERTY(double borderWidth READ borderWidth WRITE setBorderWidth)
    Q_PROPERTY(double cornerRadius READ cornerRadius WRITE setCornerRadius)
    Q_PROPERTY(double alphaValue READ alphaValue WRITE setAlphaValue)
public:
    explicit KZView(QWidget* parent = nullptr);

    KZViewController* viewController() const { return m_viewController; }
    void setViewController(KZViewController* viewController);

    // An invalid colour means none: no fill, no border.
    QColor backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(const QColor& color);
    QImage backgroundImage() const { return m_backgroundImage; }
    void setBackgroundImage(const QImage& image);
    QColor borderColor() const { return m_borderColor; }
    void setBorderColor(const QColor& color);
    double borderWidth() const { return m_borderWidth; }
    void setBorderWidth(double width);
    double cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(double radius);
    double alphaValue() const { return m_alphaValue; }
    void setAlphaValue(double alpha);
    std::optional<KZShadow> shadow() const { return m_shadow; }
    void setShadow(const std::optional<KZShadow>& shadow);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Fills and strokes the rounded rectangle.
    void drawBackground(QPainter& painter) const;

    QPointer<KZViewController> m_viewController;
    QColor m_backgroundColor;
    QImage m_backgroundImage;
    QColor m_borderColor;
    double m_borderWidth = 0;
    double m_cornerRadius = 0;
    double m_alphaValue = 1;
    std::optional<KZShadow> m_shadow;
};
