#include "alerts/QVBatteryNotifications.h"

#include "alerts/KZUserNotification.h"
#include "alerts/KZUserNotificationCenter.h"
#include "app/settings/QVUserDefaults.h"
#include "battery/BatteryRounding.h"
#include "battery/KZTimer.h"
#include "battery/QVBatteryData.h"
#include "battery/QVBatteryManager.h"
#include "platform/log/Log.h"
#include "platform/notify/SystemSound.h"
#include "platform/sleep/SleepWatcher.h"

#include <QPointer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {
const QString kBattery = QStringLiteral("Battery");
const QString kCharging = QStringLiteral("Charging");
} // namespace

QVBatteryNotifications& QVBatteryNotifications::sharedNotificationCenter()
{
    // A function-local static is created once, also under concurrent first use.
    static QVBatteryNotifications* shared = new QVBatteryNotifications;
    return *shared;
}

QVBatteryNotifications::QVBatteryNotifications(KZUserNotificationCenter* center, QVUserDefaults* settings,
                                               QObject* parent)
    : QObject(parent), m_center(center), m_settings(settings)
{
    QPointer<QVBatteryNotifications> self(this);
    m_settingsObservation = this->settings().addObserver(
        QString::fromLatin1(QVUserDefaults::kNotifications),
        [self](const QVariant&) {
            if (self)
                self->notificationsDidChange();
        },
        this);
    connect(&SleepWatcher::shared(), &SleepWatcher::willSleep, this, &QVBatteryNotifications::computerWillSleep);
    connect(&SleepWatcher::shared(), &SleepWatcher::didWake, this, &QVBatteryNotifications::computerDidWake);
}

QVBatteryNotifications::~QVBatteryNotifications()
{
    if (m_updateTimer)
        m_updateTimer->invalidate();
}

KZUserNotificationCenter& QVBatteryNotifications::center() const
{
    return m_center ? *m_center : KZUserNotificationCenter::defaultNotificationCenter();
}

QVUserDefaults& QVBatteryNotifications::settings() const
{
    return m_settings ? *m_settings : QVUserDefaults::standardUserDefaults();
}

std::optional<QVBatteryNotifications::Reading> QVBatteryNotifications::currentReading()
{
    QVBatteryManager& manager = QVBatteryManager::sharedManager();
    if (!manager.hasBatteryInstalled())
        return std::nullopt;
    const std::shared_ptr<QVBatteryData> data = manager.data();
    if (!data)
        return std::nullopt;
    Reading reading;
    reading.isCharging = data->isCharging();
    reading.isConnectedToPowerSource = data->isConnectedToPowerSource();
    reading.isFullyCharged = data->isFullyCharged();
    reading.chargeLevel = data->chargeLevel();
    return reading;
}

void QVBatteryNotifications::start()
{
    cancel();
    QPointer<QVBatteryNotifications> self(this);
    m_updateTimer = KZTimer::timerWithInterval(kCheckInterval, true, [self](KZTimer& timer) {
        if (self)
            self->check();
        else
            timer.invalidate();
    });
    m_updateTimer->run();
    check();
}

void QVBatteryNotifications::cancel()
{
    m_lastNotification = -1;
    m_nextAlert = kNone;
    if (m_updateTimer) {
        m_updateTimer->invalidate();
        m_updateTimer.reset();
    }
}

void QVBatteryNotifications::check()
{
    check(m_readingSource ? m_readingSource() : currentReading());
}

void QVBatteryNotifications::check(const std::optional<Reading>& reading)
{
    if (!reading)
        return;
    m_reading = *reading;
    const bool charging = m_reading.isCharging;
    const bool connected = m_reading.isConnectedToPowerSource;
    if (charging || connected)
        m_nextAlert = kNone;
    if (charging) {
        // Battery alerts may come again after this charge.
        if (m_lastNotification == kOnBatteryLevel || m_lastNotification == kLowBattery)
            m_lastNotification = -1;
        checkChargingNotifications();
    } else if (!connected) {
        checkOnBatteryNotifications();
    }
}

QVariantMap QVBatteryNotifications::notificationPreferencesForType(const QString& type) const
{
    return settings().notifications().value(type).toMap();
}

void QVBatteryNotifications::checkChargingNotifications()
{
    const QVariantMap preferences = notificationPreferencesForType(kCharging);
    const double l = level();
    if (preferences.value(QStringLiteral("fully-charged-enabled")).toBool() && (l >= 100 || m_reading.isFullyCharged)) {
        showFullyChargedNotificationIfNeeded();
        return;
    }
    if (preferences.value(QStringLiteral("level-enabled")).toBool()
        && l >= preferences.value(QStringLiteral("level-amount")).toDouble())
        showChargingLevelNotificationWithLevelIfNeeded(l);
}

void QVBatteryNotifications::checkOnBatteryNotifications()
{
    if (checkLowBattery())
        return;
    checkBatteryLevel();
}

bool QVBatteryNotifications::checkLowBattery()
{
    const QVariantMap preferences = notificationPreferencesForType(kBattery);
    if (!preferences.value(QStringLiteral("low-battery-enabled")).toBool() || !(level() <= 5))
        return false;
    checkNotificationNeededForNotification(kLowBattery, [this] {
        QVLog(QStringLiteral("Showing low battery notification"));
        showNotificationWithTitle(QString(""),
                                  QStringLiteral("Your Mac will sleep soon unless plugged into a power outlet."));
    });
    return true;
}

qint64 QVBatteryNotifications::roundedLevel(double percent)
{
    char text[512];
    std::snprintf(text, sizeof text, "%0.0f", std::max(0.0, percent));
    return std::strtoll(text, nullptr, 10);
}

void QVBatteryNotifications::checkBatteryLevel()
{
    const QVariantMap preferences = notificationPreferencesForType(kBattery);
    if (!preferences.value(QStringLiteral("level-enabled")).toBool())
        return;
    const qint64 p = roundedLevel(level());
    const qint64 t = m_nextAlert != kNone
        ? m_nextAlert
        : qint64(kz_nearestBatteryValue(preferences.value(QStringLiteral("level-amount")).toDouble()));
    if (p > t)
        return;
    const auto found = std::find(kReminderLevels.begin(), kReminderLevels.end(), p);
    if (found == kReminderLevels.end())
        return;
    qint64 next = kNone;
    if (preferences.value(QStringLiteral("reminder-enabled")).toBool() && found != kReminderLevels.begin()) {
        next = *(found - 1);
        m_nextAlert = next;
    }
    checkNotificationNeededForNotification(kOnBatteryLevel, [this, p, next] {
        QVLog(QStringLiteral("[DEBUG] Showing on battery notification current: %1, next: %2").arg(p).arg(next));
        const QString title = QStringLiteral("Your battery has reached %1%").arg(p);
        std::optional<QString> subtitle;
        if (next != kNone) {
            subtitle = QStringLiteral("Next reminder at %1%").arg(next);
            // The reminder at the next level must not be taken for a repeat.
            m_lastNotification = -1;
        }
        showNotificationWithTitle(title, subtitle);
    });
}

void QVBatteryNotifications::showFullyChargedNotificationIfNeeded()
{
    checkNotificationNeededForNotification(kFullyCharged, [this] {
        QVLog(QStringLiteral("[DEBUG] Showing fully charged notification"));
        showNotificationWithTitle(QStringLiteral("Your battery is now fully charged."), std::nullopt);
    });
}

void QVBatteryNotifications::showChargingLevelNotificationWithLevelIfNeeded(double level)
{
    checkNotificationNeededForNotification(kChargeLevel, [this, level] {
        QVLog(QStringLiteral("[DEBUG] Showing charging notification"));
        showNotificationWithTitle(QStringLiteral("Your battery has reached %1%").arg(qint64(level)), std::nullopt);
    });
}

void QVBatteryNotifications::checkNotificationNeededForNotification(qint64 notification,
                                                                    const std::function<void()>& neededBlock)
{
    const qint64 previous = m_lastNotification;
    m_lastNotification = notification;
    if (notification != previous && neededBlock)
        neededBlock();
}

void QVBatteryNotifications::showNotificationWithTitle(const QString& title, const std::optional<QString>& subtitle)
{
    auto notification = std::make_shared<KZUserNotification>();
    notification->setTitle(QStringLiteral("Voltara"));
    notification->setSubtitle(title);
    notification->setHasActionButton(false);
    if (subtitle && !subtitle->isEmpty())
        notification->setInformativeText(*subtitle);

    const QString soundName = settings().soundName();
    if (!soundName.isNull()) {
        if (auto sound = SystemSound::soundNamed(soundName))
            sound->play();
    }

    center().deliverNotification(notification);
}

void QVBatteryNotifications::notificationsDidChange()
{
    m_lastNotification = -1;
    m_nextAlert = kNone;
}

void QVBatteryNotifications::computerWillSleep()
{
    cancel();
}

void QVBatteryNotifications::computerDidWake()
{
    start();
}
