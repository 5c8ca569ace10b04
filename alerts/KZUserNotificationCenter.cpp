#include "alerts/KZUserNotificationCenter.h"

#include "alerts/KZUserNotificationWindowController.h"
#include "battery/KZTimer.h"
#include "platform/log/Log.h"
#include "platform/notifications/NotificationCenter.h"
#include "platform/notify/SystemSound.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <QScreen>
#include <QWidget>

#include <algorithm>

Q_DECLARE_METATYPE(std::shared_ptr<KZUserNotification>)

namespace {
const QString kDidActivate = QStringLiteral("KZUserNotificationDidActivate");
const QString kCloseWindow = QStringLiteral("KZUserNotificationCloseWindow");
} // namespace

KZUserNotificationCenter& KZUserNotificationCenter::defaultNotificationCenter()
{
    static KZUserNotificationCenter* center =
        new KZUserNotificationCenter(&DesktopNotificationService::defaultUserNotificationCenter());
    return *center;
}

KZUserNotificationCenter::KZUserNotificationCenter(DesktopNotificationService* service, QObject* parent)
    : QObject(parent), m_service(service)
{
    m_supportsNotificationCenter = service && service->isAvailable();
    if (m_supportsNotificationCenter)
        service->setDelegate(this);
}

KZUserNotificationCenter::~KZUserNotificationCenter()
{
    if (m_service && m_service->delegate() == this)
        m_service->setDelegate(nullptr);
}

void KZUserNotificationCenter::deliverNotification(const std::shared_ptr<KZUserNotification>& notification)
{
    if (!notification)
        return;
    if (m_supportsNotificationCenter && m_service) {
        const std::shared_ptr<DesktopNotification> platformNotification = notification->nsUserNotification();
        m_notificationDict[platformNotification] = notification;
        m_service->deliverNotification(platformNotification);
        return;
    }
    const std::optional<QDateTime> date = notification->deliveryDate();
    if (date && *date > QDateTime::currentDateTimeUtc()) {
        scheduleNotification(notification);
        return;
    }
    actuallyDeliverNotification(notification);
}

void KZUserNotificationCenter::scheduleNotification(const std::shared_ptr<KZUserNotification>& notification)
{
    const double interval = std::max<qint64>(0, QDateTime::currentDateTimeUtc().msecsTo(*notification->deliveryDate())) / 1000.0;
    QPointer<KZUserNotificationCenter> self(this);
    auto timer = KZTimer::timerWithInterval(
        interval, false, QVariantMap{{QStringLiteral("notification"), QVariant::fromValue(notification)}},
        [self](KZTimer& timer) {
            if (self)
                self->deliverNotificationWithTimer(timer);
            else
                timer.invalidate();
        });
    timer->run();
}

void KZUserNotificationCenter::deliverNotificationWithTimer(KZTimer& timer)
{
    const auto notification = timer.userInfo().toMap().value(QStringLiteral("notification"))
                                  .value<std::shared_ptr<KZUserNotification>>();
    if (notification)
        actuallyDeliverNotification(notification);
    timer.invalidate();
}

void KZUserNotificationCenter::actuallyDeliverNotification(const std::shared_ptr<KZUserNotification>& notification)
{
    addNotificationWindowController(KZUserNotificationWindowController::controllerWithUserNotification(notification));
}

QRect KZUserNotificationCenter::screenFrameWithWindowFrame(const QRect& frame, qsizetype index) const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const int w = frame.width();
    const int h = frame.height();
    const int x = available.x() + available.width() - w - kRightMargin;
    const int y = available.y() + kSpacing + int(index) * (h + kSpacing);
    return QRect(x, y, w, h);
}

void KZUserNotificationCenter::addNotificationWindowController(
    const std::shared_ptr<KZUserNotificationWindowController>& controller)
{
    if (!controller)
        return;
    QWidget* window = controller->window();
    if (!window)
        return;
    window->setGeometry(screenFrameWithWindowFrame(window->geometry(), 0));
    m_windowControllers.insert(m_windowControllers.begin(), controller);
    std::weak_ptr<KZUserNotificationWindowController> weak = controller;
    repositionWindowsWithCompletionHandler([weak] {
        if (auto shown = weak.lock())
            shown->showWindow();
    });
    addNotificationObserversForController(controller);
}

void KZUserNotificationCenter::finishRunningReposition()
{
    if (m_reposition) {
        QAbstractAnimation* running = m_reposition;
        m_reposition = nullptr;
        running->disconnect(this);
        running->stop();
    }
    if (auto completion = std::exchange(m_repositionCompletion, nullptr))
        completion();
}

void KZUserNotificationCenter::repositionWindowsWithCompletionHandler(std::function<void()> completionHandler)
{
    // Two moves of the same windows must not fight; the newer one takes over from where they are.
    finishRunningReposition();
    auto* group = new QParallelAnimationGroup(this);
    for (std::size_t i = 0; i < m_windowControllers.size(); ++i) {
        QWidget* window = m_windowControllers[i]->window();
        if (!window)
            continue;
        auto* move = new QPropertyAnimation(window, "pos", group);
        move->setDuration(kRepositionMilliseconds);
        move->setEndValue(screenFrameWithWindowFrame(window->geometry(), qsizetype(i)).topLeft());
        group->addAnimation(move);
    }
    m_repositionCompletion = std::move(completionHandler);
    m_reposition = group;
    connect(group, &QAbstractAnimation::finished, this, [this, group] {
        if (m_reposition == group) {
            m_reposition = nullptr;
            if (auto completion = std::exchange(m_repositionCompletion, nullptr))
                completion();
        }
    });
    group->start(QAbstractAnimation::DeleteWhenStopped);
}

void KZUserNotificationCenter::addNotificationObserversForController(
    const std::shared_ptr<KZUserNotificationWindowController>& controller)
{
    QWidget* window = controller->window();
    NotificationCenter& center = NotificationCenter::defaultCenter();
    // The observations end with this centre or with the window, whichever goes first.
    QPointer<KZUserNotificationCenter> self(this);
    center.addObserver(kCloseWindow, window, [self](const Notification& n) {
        if (self)
            self->windowWillClose(n);
    }, window);
    center.addObserver(kDidActivate, window, [self](const Notification& n) {
        if (self)
            self->notificationDidActivate(n);
    }, window);
}

std::shared_ptr<KZUserNotificationWindowController> KZUserNotificationCenter::controllerForWindow(const QObject* window) const
{
    for (const auto& controller : m_windowControllers) {
        if (controller->isWindowLoaded() && controller->window() == window)
            return controller;
    }
    return nullptr;
}

void KZUserNotificationCenter::windowWillClose(const Notification& notification)
{
    const auto controller = controllerForWindow(notification.object);
    if (!controller)
        return;
    if (m_delegate)
        m_delegate->kz_userNotificationCenterDidDismissNotification(*this, controller->notification());
    removeNotificationWindowController(controller);
}

void KZUserNotificationCenter::notificationDidActivate(const Notification& notification)
{
    const auto controller = controllerForWindow(notification.object);
    if (!controller)
        return;
    if (m_delegate)
        m_delegate->kz_userNotificationCenterDidActivateNotification(*this, controller->notification());
    removeNotificationWindowController(controller);
}

void KZUserNotificationCenter::removeNotificationWindowController(
    const std::shared_ptr<KZUserNotificationWindowController>& controller)
{
    const auto it = std::find(m_windowControllers.begin(), m_windowControllers.end(), controller);
    if (it == m_windowControllers.end())
        return;
    const std::shared_ptr<KZUserNotificationWindowController> removed = *it;
    m_windowControllers.erase(it);
    closeWindowController(removed);
}

void KZUserNotificationCenter::removeNotificationWindowControllerWithIndex(qsizetype index)
{
    if (index == kNotFound || index < 0 || index >= qsizetype(m_windowControllers.size()))
        return;
    removeNotificationWindowController(m_windowControllers[std::size_t(index)]);
}

void KZUserNotificationCenter::closeWindowController(const std::shared_ptr<KZUserNotificationWindowController>& controller)
{
    QPointer<KZUserNotificationCenter> self(this);
    controller->closeWithCompletionHandler([self] {
        if (self)
            self->repositionWindowsWithCompletionHandler();
    });
}

bool KZUserNotificationCenter::userNotificationCenterShouldPresentNotification(DesktopNotificationService&,
                                                                               const std::shared_ptr<DesktopNotification>&)
{
    return true;
}

void KZUserNotificationCenter::userNotificationCenterDidDeliverNotification(
    DesktopNotificationService&, const std::shared_ptr<DesktopNotification>& notification)
{
    if (!notification->soundName.isEmpty()) {
        if (auto sound = SystemSound::soundNamed(notification->soundName))
            sound->play();
    }
}

void KZUserNotificationCenter::userNotificationCenterDidActivateNotification(
    DesktopNotificationService&, const std::shared_ptr<DesktopNotification>& notification)
{
    const auto it = m_notificationDict.find(notification);
    if (it == m_notificationDict.end() || !m_delegate)
        return;
    const std::shared_ptr<KZUserNotification> activated = it->second;
    if (m_delegate->kz_userNotificationCenterDidActivateNotification(*this, activated))
        m_notificationDict.erase(notification);
}

void KZUserNotificationCenter::userNotificationCenterDidCloseNotification(
    DesktopNotificationService&, const std::shared_ptr<DesktopNotification>& notification)
{
    // A closed notification can no longer be activated.
    m_notificationDict.erase(notification);
}

void KZUserNotificationCenter::userNotificationCenterDidFailToDeliverNotification(
    DesktopNotificationService&, const std::shared_ptr<DesktopNotification>& notification, const QString& error)
{
    const auto it = m_notificationDict.find(notification);
    if (it == m_notificationDict.end())
        return;
    const std::shared_ptr<KZUserNotification> failed = it->second;
    m_notificationDict.erase(it);
    QVLog(QStringLiteral("Could not deliver the notification to the desktop (%1); showing it in a window").arg(error));
    actuallyDeliverNotification(failed);
}
