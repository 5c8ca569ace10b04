#include "toolkit/KZNoScrollView.h"

#include <QEvent>
#include <QWheelEvent>

namespace {

bool isScrollGesture(const QEvent* event)
{
    switch (event->type()) {
    case QEvent::Wheel:
    case QEvent::NativeGesture:
    case QEvent::Gesture:
    case QEvent::GestureOverride:
        return true;
    default:
        return false;
    }
}

} // namespace

KZNoScrollView::KZNoScrollView(QWidget* parent)
    : QScrollArea(parent)
{
}

bool KZNoScrollView::event(QEvent* event)
{
    if (isScrollGesture(event)) {
        event->ignore();
        return false;
    }
    return QScrollArea::event(event);
}

bool KZNoScrollView::viewportEvent(QEvent* event)
{
    if (isScrollGesture(event)) {
        event->ignore();
        return false;
    }
    return QScrollArea::viewportEvent(event);
}

void KZNoScrollView::wheelEvent(QWheelEvent* event)
{
    event->ignore();
}
