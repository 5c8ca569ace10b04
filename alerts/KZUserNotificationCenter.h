#pragma once

#include "alerts/KZUserNotification.h"
#include "alerts/KZUserNotificationCenterDelegate.h"
#include "platform/notify/DesktopNotificationService.h"

#include <QObject>
#include <QPointer>
#include <QRect>

#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <vector>

class KZTimer;
class KZUserNotificationWindowController;
class QAbstractAnimation;
struct Notification;

// Shows user notifications: through the desktop's notification service when the session has one,
// otherwise in Voltara's own windows, stacked at the top right of the primary screen (newest on
// top) until the user clicks, swipes or presses one of their buttons. A notification the service
// cannot take is shown in an own window instead, so none is lost.
class KZUserNotificationCenter : public QObject, public DesktopNotificationServiceDelegate {
    Q_OBJECT
public:
    // The index that stands for "no window".
    static constexpr qsizetype kNotFound = std::numeric_limits<qsizetype>::max();
    // Distance of the stack from the right edge, and between the windows (and from the top edge).
    static constexpr int kRightMargin = 14;
    static constexpr int kSpacing = 10;
    // Duration of moving the windows to their slots.
    static constexpr int kRepositionMilliseconds = 250;

    // The one centre of the process, on the session bus's notification service.
    static KZUserNotificationCenter& defaultNotificationCenter();

    // A centre on the given service (null: own windows only). Whether the service exists is
    // looked up once, here.
    explicit KZUserNotificationCenter(DesktopNotificationService* service, QObject* parent = nullptr);
    ~KZUserNotificationCenter() override;

    KZUserNotificationCenterDelegate* delegate() const { return m_delegate; }
    void setDelegate(KZUserNotificationCenterDelegate* delegate) { m_delegate = delegate; }
    bool supportsNotificationCenter() const { return m_supportsNotificationCenter; }
    // Own windows on screen, newest first.
    const std::vector<std::shared_ptr<KZUserNotificationWindowController>>& windowControllers() const
    {
        return m_windowControllers;
    }
    // Notifications handed to the service, by the service's notification.
    const std::map<std::shared_ptr<DesktopNotification>, std::shared_ptr<KZUserNotification>>& notificationDict() const
    {
        return m_notificationDict;
    }

    virtual void deliverNotification(const std::shared_ptr<KZUserNotification>& notification);

    // Own windows.
    void scheduleNotification(const std::shared_ptr<KZUserNotification>& notification);
    void deliverNotificationWithTimer(KZTimer& timer);
    void actuallyDeliverNotification(const std::shared_ptr<KZUserNotification>& notification);
    void addNotificationWindowController(const std::shared_ptr<KZUserNotificationWindowController>& controller);
    void removeNotificationWindowController(const std::shared_ptr<KZUserNotificationWindowController>& controller);
    void removeNotificationWindowControllerWithIndex(qsizetype index);
    void closeWindowController(const std::shared_ptr<KZUserNotificationWindowController>& controller);
    void repositionWindowsWithCompletionHandler(std::function<void()> completionHandler = nullptr);
    // The frame of a window of that size in slot `index` (0 = top) of the primary screen.
    QRect screenFrameWithWindowFrame(const QRect& frame, qsizetype index) const;
    void addNotificationObserversForController(const std::shared_ptr<KZUserNotificationWindowController>& controller);
    void windowWillClose(const Notification& notification);
    void notificationDidActivate(const Notification& notification);

    // Callbacks of the desktop's service.
    bool userNotificationCenterShouldPresentNotification(DesktopNotificationService&,
                                                         const std::shared_ptr<DesktopNotification>&) override;
    void userNotificationCenterDidDeliverNotification(DesktopNotificationService&,
                                                      const std::shared_ptr<DesktopNotification>& notification) override;
    void userNotificationCenterDidActivateNotification(DesktopNotificationService&,
                                                       const std::shared_ptr<DesktopNotification>& notification) override;
    void userNotificationCenterDidCloseNotification(DesktopNotificationService&,
                                                    const std::shared_ptr<DesktopNotification>& notification) override;
    void userNotificationCenterDidFailToDeliverNotification(DesktopNotificationService&,
                                                            const std::shared_ptr<DesktopNotification>& notification,
                                                            const QString& error) override;

private:
    std::shared_ptr<KZUserNotificationWindowController> controllerForWindow(const QObject* window) const;
    // Ends a reposition still under way, running its completion at once.
    void finishRunningReposition();

    QPointer<DesktopNotificationService> m_service;
    KZUserNotificationCenterDelegate* m_delegate = nullptr;
    bool m_supportsNotificationCenter = false;
    std::vector<std::shared_ptr<KZUserNotificationWindowController>> m_windowControllers;
    std::map<std::shared_ptr<DesktopNotification>, std::shared_ptr<KZUserNotification>> m_notificationDict;
    QPointer<QAbstractAnimation> m_reposition;
    std::function<void()> m_repositionCompletion;
};
