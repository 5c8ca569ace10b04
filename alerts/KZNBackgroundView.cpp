#include "alerts/KZNBackgroundView.h"

#include "platform/notifications/NotificationCenter.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <QScreen>

#include <algorithm>

KZNBackgroundView::KZNBackgroundView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_Hover);
    setMouseTracking(false);
}

void KZNBackgroundView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    QColor fill(Qt::white);
    fill.setAlphaF(m_isHovered ? 1.0 : 0.95);
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(rect()), 1, 1);
}

void KZNBackgroundView::setHovered(bool hovered)
{
    if (m_isHovered == hovered)
        return;
    m_isHovered = hovered;
    setCursor(hovered ? Qt::PointingHandCursor : Qt::ArrowCursor);
    update();
}

void KZNBackgroundView::enterEvent(QEnterEvent* event)
{
    setHovered(true);
    QWidget::enterEvent(event);
}

void KZNBackgroundView::leaveEvent(QEvent* event)
{
    setHovered(false);
    QWidget::leaveEvent(event);
}

QPoint KZNBackgroundView::locationInWindow(const QMouseEvent* event) const
{
    return window()->mapFromGlobal(event->globalPosition().toPoint());
}

void KZNBackgroundView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || m_animation) {
        event->ignore();
        return;
    }
    m_tracking = true;
    m_didDrag = false;
    m_startPoint = locationInWindow(event);
    m_currentPoint = m_startPoint;
    m_originalFrame = window()->geometry();
    event->accept();
}

void KZNBackgroundView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_tracking || !(event->buttons() & Qt::LeftButton))
        return;
    m_didDrag = true;
    QWidget* win = window();
    const QPoint location = locationInWindow(event);
    // The window follows the pointer sideways, never left of where it started.
    const int x = std::max(m_originalFrame.x(), win->x() + (location.x() - m_startPoint.x()));
    win->move(x, win->y());
    const double moved = x - m_originalFrame.x();
    win->setWindowOpacity(1.0 - moved / std::max(1, win->width()));
    m_currentPoint = location;
}

void KZNBackgroundView::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_tracking || event->button() != Qt::LeftButton)
        return;
    m_tracking = false;
    QWidget* win = window();
    if (!m_didDrag) {
        NotificationCenter::defaultCenter().post(QStringLiteral("KZUserNotificationDidActivate"), win);
        return;
    }
    const int moved = win->x() - m_originalFrame.x();
    if (m_currentPoint.x() - m_startPoint.x() >= kFlickDistance || moved > kDismissDistance) {
        QPoint target = win->pos();
        if (moved < kDismissDistance) {
            const QScreen* screen = QGuiApplication::primaryScreen();
            if (screen)
                target.setX(screen->geometry().x() + screen->geometry().width());
        }
        animateWindow(target, 0.0, true);
    } else {
        animateWindow(m_originalFrame.topLeft(), 1.0, false);
    }
}

void KZNBackgroundView::animateWindow(const QPoint& position, double opacity, bool dismiss)
{
    QWidget* win = window();
    auto* group = new QParallelAnimationGroup(this);
    auto* move = new QPropertyAnimation(win, "pos", group);
    move->setDuration(200);
    move->setEndValue(position);
    auto* fade = new QPropertyAnimation(win, "windowOpacity", group);
    fade->setDuration(200);
    fade->setEndValue(opacity);
    group->addAnimation(move);
    group->addAnimation(fade);
    QPointer<QWidget> target(win);
    connect(group, &QAbstractAnimation::finished, this, [target, dismiss] {
        if (dismiss && target)
            NotificationCenter::defaultCenter().post(QStringLiteral("KZUserNotificationCloseWindow"), target.data());
    });
    m_animation = group;
    group->start(QAbstractAnimation::DeleteWhenStopped);
}
