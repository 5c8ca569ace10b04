#include "toolkit/KZButton.h"

KZButton::KZButton(QWidget* parent)
    : QPushButton(parent)
{
    makeTrackingArea();
}

KZButton::KZButton(const QString& title, QWidget* parent)
    : QPushButton(title, parent)
{
    makeTrackingArea();
}

void KZButton::makeTrackingArea()
{
    if (m_trackingArea)
        return;
    m_trackingArea = true;
    setAttribute(Qt::WA_Hover, true);
}

void KZButton::mouseEntered()
{
    m_cell.setHovered(true);
    update();
    setCursor(Qt::PointingHandCursor);
}

void KZButton::mouseExited()
{
    m_cell.setHovered(false);
    update();
    setCursor(Qt::ArrowCursor);
}

void KZButton::enterEvent(QEnterEvent* event)
{
    QPushButton::enterEvent(event);
    mouseEntered();
}

void KZButton::leaveEvent(QEvent* event)
{
    QPushButton::leaveEvent(event);
    mouseExited();
}
