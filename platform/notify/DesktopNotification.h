#pragma once

#include <QString>
#include <QVariantMap>

// One notification for the desktop's notification service: what the service shows, plus the
// caller's data. The service fills `identifier` once the server has accepted it (0 before).
struct DesktopNotification {
    QString title;
    QString subtitle;
    QString informativeText;
    QString actionButtonTitle;   // empty: the service's default
    QString otherButtonTitle;    // empty: the service's default
    QString soundName;
    bool hasActionButton = true;
    QVariantMap userInfo;
    quint32 identifier = 0;
};
