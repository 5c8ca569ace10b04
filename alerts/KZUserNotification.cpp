#include "alerts/KZUserNotification.h"

std::shared_ptr<DesktopNotification> KZUserNotification::nsUserNotification() const
{
    auto notification = std::make_shared<DesktopNotification>();
    notification->title = m_title;
    notification->subtitle = m_subtitle;
    notification->informativeText = m_informativeText;
    notification->soundName = m_soundName;
    notification->hasActionButton = m_hasActionButton;
    notification->userInfo = m_userInfo;
    if (!m_actionButtonTitle.isEmpty())
        notification->actionButtonTitle = m_actionButtonTitle;
    if (!m_otherButtonTitle.isEmpty())
        notification->otherButtonTitle = m_otherButtonTitle;
    return notification;
}
