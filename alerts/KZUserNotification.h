#pragma once

#include "platform/notify/DesktopNotification.h"

#include <QDateTime>
#include <QImage>
#include <QString>
#include <QVariantMap>

#include <memory>
#include <optional>

// A user notification as the callers build it: texts, button titles, sound, picture and caller data.
// Shared by reference; the presenter reports activation and dismissal with the caller's object.
class KZUserNotification {
public:
    QString title() const { return m_title; }
    void setTitle(const QString& title) { m_title = title; }
    QString subtitle() const { return m_subtitle; }
    void setSubtitle(const QString& subtitle) { m_subtitle = subtitle; }
    QString informativeText() const { return m_informativeText; }
    void setInformativeText(const QString& informativeText) { m_informativeText = informativeText; }
    // Empty: the interface's default title.
    QString actionButtonTitle() const { return m_actionButtonTitle; }
    void setActionButtonTitle(const QString& title) { m_actionButtonTitle = title; }
    bool hasActionButton() const { return m_hasActionButton; }
    void setHasActionButton(bool hasActionButton) { m_hasActionButton = hasActionButton; }
    // Empty: the interface's default title.
    QString otherButtonTitle() const { return m_otherButtonTitle; }
    void setOtherButtonTitle(const QString& title) { m_otherButtonTitle = title; }
    QString soundName() const { return m_soundName; }
    void setSoundName(const QString& soundName) { m_soundName = soundName; }
    QImage contentImage() const { return m_contentImage; }
    void setContentImage(const QImage& image) { m_contentImage = image; }
    QVariantMap userInfo() const { return m_userInfo; }
    void setUserInfo(const QVariantMap& userInfo) { m_userInfo = userInfo; }
    // None: show at once.
    std::optional<QDateTime> deliveryDate() const { return m_deliveryDate; }
    void setDeliveryDate(const std::optional<QDateTime>& date) { m_deliveryDate = date; }

    // A new notification for the desktop's notification service with the texts, sound, action
    // flag and caller data copied, and the button titles copied only when set. The picture and
    // the delivery date are not carried over.
    std::shared_ptr<DesktopNotification> nsUserNotification() const;

private:
    QString m_title;
    QString m_subtitle;
    QString m_informativeText;
    QString m_actionButtonTitle;
    bool m_hasActionButton = true;
    QString m_otherButtonTitle;
    QString m_soundName;
    QImage m_contentImage;
    QVariantMap m_userInfo;
    std::optional<QDateTime> m_deliveryDate;
};
