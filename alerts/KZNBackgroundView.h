#pragma once

#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QWidget>

class QAbstractAnimation;

// The background of an own notification window: a white rounded rectangle (opaque while the
// pointer is over it) that lets the user click the notification to activate it, or swipe it to
// the right to dismiss it. Both are posted on the default notification centre with the window as
// object ("KZUserNotificationDidActivate", "KZUserNotificationCloseWindow").
class KZNBackgroundView : public QWidget {
    Q_OBJECT
public:
    // A drag that ends with a last step of at least this many points is a flick.
    static constexpr int kFlickDistance = 50;
    // A window moved further than this is dismissed where it is.
    static constexpr int kDismissDistance = 200;

    explicit KZNBackgroundView(QWidget* parent = nullptr);

    bool isHovered() const { return m_isHovered; }
    bool didDrag() const { return m_didDrag; }
    QPoint startPoint() const { return m_startPoint; }
    QPoint currentPoint() const { return m_currentPoint; }
    QRect originalFrame() const { return m_originalFrame; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setHovered(bool hovered);
    // The pointer's location in the window's coordinates.
    QPoint locationInWindow(const QMouseEvent* event) const;
    void animateWindow(const QPoint& position, double opacity, bool dismiss);

    bool m_isHovered = false;
    bool m_tracking = false;
    bool m_didDrag = false;
    QPoint m_startPoint;
    QPoint m_currentPoint;
    QRect m_originalFrame;
    QPointer<QAbstractAnimation> m_animation;
};
