#pragma once

#include "menubar/WQStatusItem.h"

// The battery in the status bar: the outline with a charge bar on battery, the plug on external
// power, the no-battery icon without a battery, tinted for the bar's look and the item's state.
class QVStatusItem : public WQStatusItem {
    Q_OBJECT
public:
    explicit QVStatusItem(QObject* parent = nullptr);

    // Draw the icon in the alert red. A plain store: the next drawing pass shows it.
    bool goRed() const { return m_goRed; }
    void setGoRed(bool goRed) { m_goRed = goRed; }
    const QImage& baseImage() const { return m_baseImage; }
    const QImage& chargingImage() const { return m_chargingImage; }
    const QImage& noBatteryImage() const { return m_noBatteryImage; }

    // The icon for the current reading and state; it does not use iconVisible, iconColor or the
    // icon cache of the base view.
    QImage iconImage() override;
    QImage currentChargingImage();
    // A copy of `image` whose opaque pixels take `color`.
    QImage batteryImage(const QImage& image, const QColor& withTintColor) const;
    // A copy tinted with `borderColor` with the charge bar (16 x 8 points at (2, 2)) drawn in.
    QImage batteryImage(const QImage& image, double withPercentFilled, const QColor& borderColor,
                        const QColor& fillColor) const;

    // The alert red of the text and the icon.
    static QColor alertRedColor();

private:
    void loadImagesIfNeeded();

    bool m_goRed = false;
    bool m_imagesLoaded = false;
    QImage m_baseImage;
    QImage m_chargingImage;
    QImage m_noBatteryImage;
};
