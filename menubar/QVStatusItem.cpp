#include "menubar/QVStatusItem.h"

#include "battery/QVBatteryManager.h"
#include "menubar/MenuBarColors.h"
#include "menubar/QVColorStateManager.h"
#include "menubar/ThemeColors.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {
// The inner area of the outline that the charge bar fills, in points, origin bottom left.
constexpr double kBarX = 2;
constexpr double kBarY = 2;
constexpr double kBarWidth = 16;
constexpr double kBarHeight = 8;
} // namespace

QVStatusItem::QVStatusItem(QObject* parent)
    : WQStatusItem(parent)
{
    // The base view chose its image before this class's icons were in reach.
    updateDarkModeState();
    setCurrentImage(iconImage());
    recalculateLength();
}

QColor QVStatusItem::alertRedColor()
{
    return QColor::fromRgbF(1.0f, 0.2863f, 0.4f, 1.0f);
}

void QVStatusItem::loadImagesIfNeeded()
{
    if (m_imagesLoaded)
        return;
    m_imagesLoaded = true;
    m_baseImage = imageNamed(QStringLiteral("icon-normal")).copy();
    m_chargingImage = imageNamed(QStringLiteral("icon-charging")).copy();
    m_noBatteryImage = imageNamed(QStringLiteral("icon-no-battery-menu")).copy();
}

QImage QVStatusItem::iconImage()
{
    loadImagesIfNeeded();
    QVBatteryManager& manager = QVBatteryManager::sharedManager();
    const auto data = manager.data();
    if (!data || data->isCharging() || data->isConnectedToPowerSource() || !manager.hasBatteryInstalled())
        return currentChargingImage();

    QColor border = kz_menuBarDarkColor();
    QColor fill = border;
    if (iconState() & WQStatusItemStateActive) {
        switch (QVColorStateManager().colorState()) {
        case 0:
            fill = rw_greenColor();
            break;
        case 1:
            fill = rw_orangeColor();
            break;
        default:
            fill = rw_redColor();
            break;
        }
    }
    if (iconState() & WQStatusItemStateDark) {
        border = Qt::white;
        if (!(iconState() & WQStatusItemStateActive))
            fill = Qt::white;
    }
    if (m_goRed)
        border = fill = alertRedColor();
    return batteryImage(m_baseImage.copy(), data->chargeLevel(), border, fill);
}

QImage QVStatusItem::currentChargingImage()
{
    loadImagesIfNeeded();
    const QImage& image = QVBatteryManager::sharedManager().hasBatteryInstalled() ? m_chargingImage : m_noBatteryImage;
    QColor tint = kz_menuBarDarkColor();
    if (iconState() & WQStatusItemStateDark)
        tint = Qt::white;
    if (iconState() & WQStatusItemStateActive)
        tint = rw_blueColor();
    return batteryImage(image, tint);
}

QImage QVStatusItem::batteryImage(const QImage& image, const QColor& withTintColor) const
{
    QImage copy = image.copy();
    if (copy.isNull())
        return copy;
    QPainter painter(&copy);
    if (!painter.isActive())
        return copy;
    painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    painter.fillRect(QRectF(QPointF(0, 0), bounds().size().expandedTo(imageSize(copy))), withTintColor);
    return copy;
}

QImage QVStatusItem::batteryImage(const QImage& image, double withPercentFilled, const QColor& borderColor,
                                  const QColor& fillColor) const
{
    QImage result = batteryImage(image, borderColor);
    if (withPercentFilled > 0 && !result.isNull()) {
        // A reading above full still fills only the inner area.
        const double width = std::min(kBarWidth, std::ceil(withPercentFilled * kBarWidth));
        const double height = imageSize(result).height();
        QPainter painter(&result);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(QRectF(kBarX, height - kBarY - kBarHeight, width, kBarHeight), fillColor);
    }
    return result;
}
