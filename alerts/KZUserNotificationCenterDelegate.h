#pragma once

#include <memory>

class KZUserNotification;
class KZUserNotificationCenter;

// Told when the user activates or dismisses a notification. Both operations are optional: the
// defaults answer false ("not implemented"); an implementation does its work and answers true.
class KZUserNotificationCenterDelegate {
public:
    virtual ~KZUserNotificationCenterDelegate() = default;
    virtual bool kz_userNotificationCenterDidActivateNotification(KZUserNotificationCenter&,
                                                                  const std::shared_ptr<KZUserNotification>&)
    {
        return false;
    }
    virtual bool kz_userNotificationCenterDidDismissNotification(KZUserNotificationCenter&,
                                                                 const std::shared_ptr<KZUserNotification>&)
    {
        return false;
    }
};
