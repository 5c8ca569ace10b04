#include "platform/dispatch/MainThread.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

void dispatchToMainThread(std::function<void()> block)
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(block), Qt::QueuedConnection);
}

void dispatchAfter(double seconds, std::function<void()> block)
{
    auto* app = QCoreApplication::instance();
    QMetaObject::invokeMethod(app, [app, seconds, block = std::move(block)] {
        QTimer::singleShot(static_cast<int>(seconds * 1000.0), app, block);
    }, Qt::QueuedConnection);
}

bool isMainThread()
{
    return QCoreApplication::instance() && QThread::currentThread() == QCoreApplication::instance()->thread();
}
