#include "toolkit/ImageHelpers.h"

#include <QStringList>

QIcon kz_notificationsSystemImage()
{
    static const QIcon icon = [] {
        const QStringList names {
            QStringLiteral("preferences-system-notifications"),
            QStringLiteral("preferences-desktop-notification"),
            QStringLiteral("notification-active"),
            QStringLiteral("notifications"),
        };
        for (const QString& name : names) {
            if (QIcon::hasThemeIcon(name))
                return QIcon::fromTheme(name);
        }
        return QIcon();
    }();
    return icon;
}
