#pragma once

#include <QString>

// The names the welcome window posts on the default notification centre (object none): the first
// when it opens, the second when it closes, the third when it turns a page, the fourth when its
// run-at-login switch changes (user info "enabled", a boolean).
struct KZCWelcomeNotificationNames {
    QString didOpen;
    QString didClose;
    QString didChangePage;
    QString didToggleRunAtLogin;
};

inline const KZCWelcomeNotificationNames& KZCWelcomeNotifications()
{
    static const KZCWelcomeNotificationNames names{
        QStringLiteral("KZCWelcomeWindowDidOpenNotification"),
        QStringLiteral("KZCWelcomeWindowDidCloseNotification"),
        QStringLiteral("KZCWelcomeWindowDidChangePageNotification"),
        QStringLiteral("KZCWelcomeWindowDidToggleRunAtLoginNotification"),
    };
    return names;
}
