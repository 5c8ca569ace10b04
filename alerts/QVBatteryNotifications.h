#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>

#include <array>
#include <functional>
#include <limits>
#include <memory>
#include <optional>

class KZTimer;
class KZUserNotificationCenter;
class QVUserDefaults;

// The alert engine: every 30 seconds it looks at the current battery reading and the alert
// settings ("notifications") and raises at most one alert: low battery, on-battery level reached
// (with step-down reminders), charge level reached, or fully charged. It remembers the kind of the
// last alert so the same alert does not come every 30 seconds.
class QVBatteryNotifications : public QObject {
    Q_OBJECT
public:
    // `nextAlert` when no reminder is due.
    static constexpr qint64 kNone = std::numeric_limits<qint64>::max();
    static constexpr double kCheckInterval = 30;
    // Alert kinds, as kept in lastNotification.
    static constexpr qint64 kFullyCharged = 0;
    static constexpr qint64 kChargeLevel = 1;
    static constexpr qint64 kOnBatteryLevel = 2;
    static constexpr qint64 kLowBattery = 3;
    // The levels at which on-battery alerts and reminders come, ascending.
    static constexpr std::array<qint64, 11> kReminderLevels{1, 5, 10, 20, 30, 40, 50, 60, 70, 80, 90};

    // What the rules look at in a battery reading.
    struct Reading {
        bool isCharging = false;
        bool isConnectedToPowerSource = false;
        bool isFullyCharged = false;
        double chargeLevel = 0;   // 0...1
    };
    // Supplies the reading for a check; none stands for "no battery installed".
    using ReadingSource = std::function<std::optional<Reading>()>;

    // The one alert engine of the process.
    static QVBatteryNotifications& sharedNotificationCenter();

    // An engine that delivers to `center` and reads `settings` (null: the process-wide ones).
    // It observes the "notifications" setting and the computer's sleep and wake.
    explicit QVBatteryNotifications(KZUserNotificationCenter* center = nullptr, QVUserDefaults* settings = nullptr,
                                    QObject* parent = nullptr);
    ~QVBatteryNotifications() override;

    // The battery manager's current reading; none without a battery.
    static std::optional<Reading> currentReading();
    // Where check() takes its reading from (default: currentReading).
    void setReadingSource(ReadingSource source) { m_readingSource = std::move(source); }

    void start();
    void cancel();
    void check();
    // One evaluation of the given reading.
    void check(const std::optional<Reading>& reading);

    void checkOnBatteryNotifications();
    bool checkLowBattery();
    void checkBatteryLevel();
    void checkChargingNotifications();
    void showFullyChargedNotificationIfNeeded();
    void showChargingLevelNotificationWithLevelIfNeeded(double level);
    QVariantMap notificationPreferencesForType(const QString& type) const;
    void checkNotificationNeededForNotification(qint64 notification, const std::function<void()>& neededBlock);
    // The first text becomes the notification's subtitle, the second its informative text.
    void showNotificationWithTitle(const QString& title, const std::optional<QString>& subtitle);

    void computerWillSleep();
    void computerDidWake();

    std::shared_ptr<KZTimer> updateTimer() const { return m_updateTimer; }
    qint64 lastNotification() const { return m_lastNotification; }
    qint64 nextAlert() const { return m_nextAlert; }

    // The percent text of the level rule: L rounded as "%0.0f" prints it (halves to even), never negative.
    static qint64 roundedLevel(double percent);

private:
    void notificationsDidChange();
    KZUserNotificationCenter& center() const;
    QVUserDefaults& settings() const;
    // L: the reading's charge level in percent, not rounded.
    double level() const { return m_reading.chargeLevel * 100.0; }

    KZUserNotificationCenter* m_center;
    QVUserDefaults* m_settings;
    ReadingSource m_readingSource;
    std::shared_ptr<KZTimer> m_updateTimer;
    qint64 m_lastNotification = -1;
    qint64 m_nextAlert = kNone;
    Reading m_reading;
    quint64 m_settingsObservation = 0;
};
