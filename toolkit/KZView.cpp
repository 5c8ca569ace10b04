#include "toolkit/KZView.h"

#include "toolkit/KZViewController.h"

#include <QPainter>
#include <QPainterPath>

KZView::KZView(QWidget* parent)
    : QWidget(parent)
{
}

void KZView::setViewController(KZViewController* viewController)
{
    // Qt's event delivery needs no responder chain: the controller is only remembered.
    m_viewController = viewController;
}

void KZView::setBackgroundColor(const QColor& color)
{
    if (color == m_backgroundColor)
        return;
    m_backgroundColor = color;
    update();
}

void KZView::setBackgroundImage(const QImage& image)
{
    m_backgroundImage = image;
    update();
}

void KZView::setBorderColor(const QColor& color)
{
    m_borderColor = color;
    update();
}

void KZView::setBorderWidth(double width)
{
    m_borderWidth = width;
    update();
}

void KZView::setCornerRadius(double radius)
{
    m_cornerRadius = radius;
    update();
}

void KZView::setAlphaValue(double alpha)
{
    m_alphaValue = alpha;
    update();
}

void KZView::setShadow(const std::optional<KZShadow>& shadow)
{
    m_shadow = shadow;
    update();
}

void KZView::drawBackground(QPainter& painter) const
{
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), m_cornerRadius, m_cornerRadius);
    painter.setRenderHint(QPainter::Antialiasing, true);
    if (m_backgroundColor.isValid()) {
        QColor fill = m_backgroundColor;
        fill.setAlphaF(float(m_backgroundColor.alphaF() * m_alphaValue));
        painter.fillPath(path, fill);
    }
    if (m_borderColor.isValid() && m_borderWidth != 0)
        painter.strokePath(path, QPen(m_borderColor, m_borderWidth));
}

void KZView::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    if (m_shadow) {
        // The shadow falls under the fill and the border, not under the image.
        const qreal ratio = devicePixelRatioF();
        QImage layer((QSizeF(size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
        layer.setDevicePixelRatio(ratio);
        layer.fill(Qt::transparent);
        {
            QPainter layerPainter(&layer);
            drawBackground(layerPainter);
        }
        painter.drawImage(m_shadow->offset, m_shadow->shadowImageForLayer(layer));
        painter.drawImage(QPointF(0, 0), layer);
    } else {
        drawBackground(painter);
    }
    if (!m_backgroundImage.isNull()) {
        painter.save();
        painter.setOpacity(m_alphaValue);
        painter.drawImage(QRectF(rect()), m_backgroundImage);
        painter.restore();
    }
}
