#include "toolkit/WindowContentView.h"

#include <QPropertyAnimation>
#include <QWidget>

#include <cmath>

void kz_setContentSize(QWidget* window, const QSizeF& size, bool animated)
{
    if (!window)
        return;
    const QRect frame = window->geometry();
    const double dw = size.width() - frame.width();
    const double dh = size.height() - frame.height();
    const QRect target(int(std::lround(frame.x() - dw / 2)), frame.y(), int(std::lround(frame.width() + dw)),
                       int(std::lround(frame.height() + dh)));
    if (target == frame)
        return;
    // A resize already sliding gives way to this one.
    for (QPropertyAnimation* running : window->findChildren<QPropertyAnimation*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (running->propertyName() == "geometry")
            running->stop();
    }
    if (!animated) {
        window->setGeometry(target);
        window->update();
        return;
    }
    auto* animation = new QPropertyAnimation(window, "geometry", window);
    animation->setDuration(200);
    animation->setStartValue(frame);
    animation->setEndValue(target);
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}
