#pragma once

#include "menubar/StatusBarItem.h"
#include "menubar/WQStatusItemDelegate.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QString>

#include <memory>

class KZTimer;
class QPainter;

// The item in the desktop's status bar: an icon and an optional short text (the badge) beside it.
// It follows the light or dark look of the bar, can blink, sizes the bar item to its contents and
// turns clicks into calls on its delegate or into its context menu. The view draws into an image
// of its length and the bar's thickness, which becomes the tray icon; the badge is the tooltip.
//
// Rectangles are in the view's own coordinates with the origin at the bottom left.
class WQStatusItem : public QObject {
    Q_OBJECT
public:
    enum State : qint64 {
        WQStatusItemStateActive = 1,
        WQStatusItemStateBlinking = 4,
        WQStatusItemStateDark = 8,
        WQStatusItemStateBlinkOn = 16,
    };

    explicit WQStatusItem(QObject* parent = nullptr);
    ~WQStatusItem() override;

    StatusBarItem* statusItem() const { return m_statusItem; }
    QHash<QString, QImage>& iconCache() { return m_iconCache; }
    const std::shared_ptr<KZTimer>& blinkTimer() const { return m_blinkTimer; }
    const QImage& currentImage() const { return m_currentImage; }
    void setCurrentImage(const QImage& image) { m_currentImage = image; }
    // Not owned; the delegate clears itself before it goes.
    WQStatusItemDelegate* delegate() const { return m_delegate; }
    void setDelegate(WQStatusItemDelegate* delegate) { m_delegate = delegate; }
    QMenu* contextMenu() const { return m_contextMenu; }
    void setContextMenu(QMenu* menu) { m_contextMenu = menu; }

    bool iconVisible() const { return m_iconVisible; }
    void setIconVisible(bool iconVisible) { m_iconVisible = iconVisible; }
    qint64 iconColor() const { return m_iconColor; }
    void setIconColor(qint64 iconColor);
    qint64 iconState() const { return m_iconState; }
    void setIconState(qint64 iconState);
    bool active() const { return m_active; }
    void setActive(bool active);
    const QString& badge() const { return m_badge; }
    void setBadge(const QString& badge);
    const QColor& badgeColor() const { return m_badgeColor; }
    void setBadgeColor(const QColor& color) { m_badgeColor = color; }
    const QColor& badgeColorDark() const { return m_badgeColorDark; }
    void setBadgeColorDark(const QColor& color) { m_badgeColorDark = color; }
    const QFont& badgeFont() const { return m_badgeFont; }
    void setBadgeFont(const QFont& font) { m_badgeFont = font; }

    // The view's rectangle: origin (0, 0), the item's length wide and the bar's thickness high.
    QRectF bounds() const { return m_bounds; }

    void toggleActive();
    void startBlinking();
    void stopBlinking();
    void configureBlinkTimer();
    virtual bool isDarkMode() const;
    void updateDarkModeState();
    // "active", "normal", or a null string for none.
    QString colorKeyForCurrentState() const;
    QString iconImageName() const;
    virtual QImage iconImage();
    // Null rectangles when there is nothing to draw.
    QRectF imageDrawingRect() const;
    QRectF badgeDrawingRect() const;
    void recalculateLength();
    void showMenu();

    void mouseDown(Qt::KeyboardModifiers modifiers);
    void rightMouseDown();

    // Draws the view; `painter` paints on an image of bounds() with the origin at the top left.
    virtual void drawRect(QPainter& painter);
    // Marks the view for redrawing: display() runs once on a later turn of the event loop.
    void setNeedsDisplay();
    bool needsDisplay() const { return m_needsDisplay; }
    // Draws now and hands the picture and the badge to the status bar item.
    void display();
    // The view drawn into an image of its bounds (at the screen's pixel ratio).
    QImage renderImage();

    // An image of the application's icon resources (:/icons/<name>.svg); null when there is none.
    static QImage imageNamed(const QString& name);
    // Size of an image in points.
    static QSizeF imageSize(const QImage& image);

protected:
    // The rectangle in top-left coordinates of an image of bounds().
    QRectF flipped(const QRectF& rect) const;

private:
    StatusBarItem* m_statusItem = nullptr;
    QHash<QString, QImage> m_iconCache;
    std::shared_ptr<KZTimer> m_blinkTimer;
    QImage m_currentImage;
    WQStatusItemDelegate* m_delegate = nullptr;
    QPointer<QMenu> m_contextMenu;
    bool m_iconVisible = true;
    qint64 m_iconColor = 0;
    qint64 m_iconState = 0;
    bool m_active = false;
    QString m_badge;
    QColor m_badgeColor;
    QColor m_badgeColorDark;
    QFont m_badgeFont;
    QRectF m_bounds;
    bool m_needsDisplay = false;
    bool m_initialised = false;
};
