#include "platform/notify/DesktopNotificationService.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusReply>

namespace {

constexpr const char* kInterface = "org.freedesktop.Notifications";
constexpr int kCallTimeoutMs = 10000;

QDBusMessage methodCall(const char* method)
{
    return QDBusMessage::createMethodCall(QString::fromLatin1(DesktopNotificationService::kServiceName),
                                          QString::fromLatin1(DesktopNotificationService::kObjectPath),
                                          QString::fromLatin1(kInterface), QString::fromLatin1(method));
}

} // namespace

DesktopNotificationService& DesktopNotificationService::defaultUserNotificationCenter()
{
    static DesktopNotificationService* service = new DesktopNotificationService(QDBusConnection::sessionBus());
    return *service;
}

DesktopNotificationService::DesktopNotificationService(const QDBusConnection& bus, QObject* parent)
    : QObject(parent), m_bus(bus)
{
    if (m_bus.isConnected()) {
        m_bus.connect(QString::fromLatin1(kServiceName), QString::fromLatin1(kObjectPath),
                      QString::fromLatin1(kInterface), QStringLiteral("ActionInvoked"), this,
                      SLOT(actionInvoked(uint, QString)));
        m_bus.connect(QString::fromLatin1(kServiceName), QString::fromLatin1(kObjectPath),
                      QString::fromLatin1(kInterface), QStringLiteral("NotificationClosed"), this,
                      SLOT(notificationClosed(uint, uint)));
    }
}

DesktopNotificationService::~DesktopNotificationService()
{
    if (m_bus.isConnected()) {
        m_bus.disconnect(QString::fromLatin1(kServiceName), QString::fromLatin1(kObjectPath),
                         QString::fromLatin1(kInterface), QStringLiteral("ActionInvoked"), this,
                         SLOT(actionInvoked(uint, QString)));
        m_bus.disconnect(QString::fromLatin1(kServiceName), QString::fromLatin1(kObjectPath),
                         QString::fromLatin1(kInterface), QStringLiteral("NotificationClosed"), this,
                         SLOT(notificationClosed(uint, uint)));
    }
}

bool DesktopNotificationService::isAvailable() const
{
    if (!m_bus.isConnected() || !m_bus.interface())
        return false;
    const QString name = QString::fromLatin1(kServiceName);
    const QDBusReply<bool> registered = m_bus.interface()->isServiceRegistered(name);
    if (registered.isValid() && registered.value())
        return true;
    const QDBusReply<QStringList> activatable = m_bus.interface()->activatableServiceNames();
    return activatable.isValid() && activatable.value().contains(name);
}

QString DesktopNotificationService::summaryForNotification(const DesktopNotification& notification)
{
    return notification.subtitle.isEmpty() ? notification.informativeText : notification.subtitle;
}

QString DesktopNotificationService::bodyForNotification(const DesktopNotification& notification, bool bodyMarkup)
{
    // Without a subtitle the text already is the summary; saying it twice helps nobody.
    if (notification.subtitle.isEmpty())
        return {};
    return bodyMarkup ? escapedMarkup(notification.informativeText) : notification.informativeText;
}

QStringList DesktopNotificationService::actionsForNotification(const DesktopNotification& notification)
{
    QStringList actions{QString::fromLatin1(kDefaultActionKey), QString()};
    if (notification.hasActionButton) {
        actions << QString::fromLatin1(kActionButtonKey)
                << (notification.actionButtonTitle.isEmpty() ? QStringLiteral("Show") : notification.actionButtonTitle);
    }
    return actions;
}

QString DesktopNotificationService::escapedMarkup(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('&'))
            escaped += QLatin1String("&amp;");
        else if (c == QLatin1Char('<'))
            escaped += QLatin1String("&lt;");
        else if (c == QLatin1Char('>'))
            escaped += QLatin1String("&gt;");
        else
            escaped += c;
    }
    return escaped;
}

void DesktopNotificationService::deliverNotification(const std::shared_ptr<DesktopNotification>& notification)
{
    if (!notification)
        return;
    if (m_delegate && !m_delegate->userNotificationCenterShouldPresentNotification(*this, notification))
        return;
    if (!m_bus.isConnected()) {
        fail(notification, QStringLiteral("not connected to the session bus"));
        return;
    }
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(methodCall("GetCapabilities"), kCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, notification](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusPendingReply<QStringList> reply = *w;
        // A server that cannot list its capabilities may still show notifications: try anyway,
        // without markup.
        notify(notification, reply.isError() ? QStringList() : reply.value());
    });
}

void DesktopNotificationService::notify(const std::shared_ptr<DesktopNotification>& notification,
                                        const QStringList& capabilities)
{
    const bool bodyMarkup = capabilities.contains(QStringLiteral("body-markup"));
    QDBusMessage call = methodCall("Notify");
    call << notification->title << quint32(0) << QString() << summaryForNotification(*notification)
         << bodyForNotification(*notification, bodyMarkup) << actionsForNotification(*notification)
         << QVariantMap() << qint32(-1);
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, kCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, notification](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusPendingReply<quint32> reply = *w;
        if (reply.isError()) {
            fail(notification, reply.error().message());
            return;
        }
        notification->identifier = reply.value();
        m_delivered[notification->identifier] = notification;
        if (m_delegate)
            m_delegate->userNotificationCenterDidDeliverNotification(*this, notification);
    });
}

void DesktopNotificationService::fail(const std::shared_ptr<DesktopNotification>& notification, const QString& error)
{
    if (m_delegate)
        m_delegate->userNotificationCenterDidFailToDeliverNotification(*this, notification, error);
}

void DesktopNotificationService::actionInvoked(uint identifier, const QString& actionKey)
{
    if (actionKey != QLatin1String(kDefaultActionKey) && actionKey != QLatin1String(kActionButtonKey))
        return;
    const auto it = m_delivered.find(identifier);
    if (it == m_delivered.end())
        return;
    const std::shared_ptr<DesktopNotification> notification = it->second;
    if (m_delegate)
        m_delegate->userNotificationCenterDidActivateNotification(*this, notification);
}

void DesktopNotificationService::notificationClosed(uint identifier, uint /*reason*/)
{
    const auto it = m_delivered.find(identifier);
    if (it == m_delivered.end())
        return;
    const std::shared_ptr<DesktopNotification> notification = it->second;
    m_delivered.erase(it);
    if (m_delegate)
        m_delegate->userNotificationCenterDidCloseNotification(*this, notification);
}
