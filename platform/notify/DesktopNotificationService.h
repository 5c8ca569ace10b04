#pragma once

#include "platform/notify/DesktopNotification.h"

#include <QDBusConnection>
#include <QObject>
#include <QStringList>

#include <map>
#include <memory>

class DesktopNotificationService;

// Callbacks of the notification service, all on the main thread; every one is optional.
class DesktopNotificationServiceDelegate {
public:
    virtual ~DesktopNotificationServiceDelegate() = default;
    // Asked before a notification is handed to the server; false keeps it back.
    virtual bool userNotificationCenterShouldPresentNotification(DesktopNotificationService&,
                                                                 const std::shared_ptr<DesktopNotification>&)
    {
        return true;
    }
    // The server accepted the notification (its identifier is set).
    virtual void userNotificationCenterDidDeliverNotification(DesktopNotificationService&,
                                                              const std::shared_ptr<DesktopNotification>&)
    {
    }
    // The user clicked the notification or its action button.
    virtual void userNotificationCenterDidActivateNotification(DesktopNotificationService&,
                                                               const std::shared_ptr<DesktopNotification>&)
    {
    }
    // The server closed the notification (expired, dismissed, closed); it cannot be activated any more.
    virtual void userNotificationCenterDidCloseNotification(DesktopNotificationService&,
                                                            const std::shared_ptr<DesktopNotification>&)
    {
    }
    // The notification could not be handed over (no server, the server went away, a D-Bus error).
    virtual void userNotificationCenterDidFailToDeliverNotification(DesktopNotificationService&,
                                                                    const std::shared_ptr<DesktopNotification>&,
                                                                    const QString& /*error*/)
    {
    }
};

// The desktop's notification service: the freedesktop Notifications interface
// (org.freedesktop.Notifications on the session bus). Delivery is asynchronous: the server's
// capabilities are asked first (to know whether the body is read as markup), then Notify is called;
// the delegate hears of the outcome. The service "exists" when its bus name has an owner or can be
// started by the bus.
class DesktopNotificationService : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kServiceName = "org.freedesktop.Notifications";
    static constexpr const char* kObjectPath = "/org/freedesktop/Notifications";
    static constexpr const char* kDefaultActionKey = "default";
    static constexpr const char* kActionButtonKey = "action";

    // The service on the session bus.
    static DesktopNotificationService& defaultUserNotificationCenter();

    explicit DesktopNotificationService(const QDBusConnection& bus, QObject* parent = nullptr);
    ~DesktopNotificationService() override;

    bool isAvailable() const;
    QDBusConnection bus() const { return m_bus; }

    DesktopNotificationServiceDelegate* delegate() const { return m_delegate; }
    void setDelegate(DesktopNotificationServiceDelegate* delegate) { m_delegate = delegate; }

    void deliverNotification(const std::shared_ptr<DesktopNotification>& notification);
    // Notifications the server accepted and has not closed yet, by identifier.
    const std::map<quint32, std::shared_ptr<DesktopNotification>>& deliveredNotifications() const
    {
        return m_delivered;
    }

    // What the server is told for a notification: summary, body and actions.
    static QString summaryForNotification(const DesktopNotification& notification);
    static QString bodyForNotification(const DesktopNotification& notification, bool bodyMarkup);
    static QStringList actionsForNotification(const DesktopNotification& notification);
    // Escapes the characters that body markup would interpret.
    static QString escapedMarkup(const QString& text);

private Q_SLOTS:
    void actionInvoked(uint identifier, const QString& actionKey);
    void notificationClosed(uint identifier, uint reason);

private:
    void notify(const std::shared_ptr<DesktopNotification>& notification, const QStringList& capabilities);
    void fail(const std::shared_ptr<DesktopNotification>& notification, const QString& error);

    QDBusConnection m_bus;
    DesktopNotificationServiceDelegate* m_delegate = nullptr;
    std::map<quint32, std::shared_ptr<DesktopNotification>> m_delivered;
};
