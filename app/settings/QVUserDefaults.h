#pragma once

#include "platform/notifications/NotificationCenter.h"

#include <QObject>
#include <QSettings>
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <functional>
#include <memory>

// The typed settings object of the application. Every property is stored under the key that
// equals its name, in $XDG_CONFIG_HOME/Voltara/Voltara.conf (INI; the "notifications" dictionary
// as nested groups). Reading a property reads the file's current value each time, falling back on
// the registered defaults. Clients observe a key and are told once after every write made through
// this object, with the new value; writes that bypass it (straight into the file or through
// settings()) notify nobody.
class QVUserDefaults {
public:
    using Observer = std::function<void(const QVariant& newValue)>;
    using Token = NotificationCenter::Token;

    // The one settings object of the process, created on first use (thread-safe).
    static QVUserDefaults& standardUserDefaults();
    // Test support: the next standardUserDefaults() builds a new object that reads the file again.
    // The previous object stays alive, so references to it never dangle.
    static void resetStandardUserDefaults();
    // Where the standard object keeps its settings.
    static QString standardFilePath();

    // A settings object on its own file (the standard object uses standardFilePath()).
    explicit QVUserDefaults(const QString& filePath);
    QVUserDefaults(const QVUserDefaults&) = delete;
    QVUserDefaults& operator=(const QVUserDefaults&) = delete;

    // Keys, in declaration order.
    static constexpr const char* kRefreshInterval = "refreshInterval";
    static constexpr const char* kHideWindowAtStartup = "hideWindowAtStartup";
    static constexpr const char* kShowDockIcon = "showDockIcon";
    static constexpr const char* kStartAtLogin = "startAtLogin";
    static constexpr const char* kIsDocked = "isDocked";
    static constexpr const char* kUndockedFrame = "undockedFrame";
    static constexpr const char* kIsBackgroundApp = "isBackgroundApp";
    static constexpr const char* kShouldKeepAbove = "shouldKeepAbove";
    static constexpr const char* kSoundName = "soundName";
    static constexpr const char* kNotifications = "notifications";
    static constexpr const char* kMenuBarShowInfo = "menuBarShowInfo";
    static constexpr const char* kMenuBarDisplay = "menuBarDisplay";
    static constexpr const char* kMenuBarColor = "menuBarColor";
    static constexpr const char* kAskedToImportHistory = "askedToImportHistory";

    // The bundle identifier of the login helper; names the autostart entry.
    static constexpr const char* kLoginHelperIdentifier = "com.orlent.qv2loginhelper";

    double refreshInterval() const;
    void setRefreshInterval(double refreshInterval);
    bool hideWindowAtStartup() const;
    void setHideWindowAtStartup(bool hideWindowAtStartup);
    bool showDockIcon() const;
    void setShowDockIcon(bool showDockIcon);
    // Held in the object: read from the file once at creation.
    bool startAtLogin() const;
    void setStartAtLogin(bool startAtLogin);
    bool isDocked() const;
    void setIsDocked(bool isDocked);
    // Null QString when none is stored.
    QString undockedFrame() const;
    void setUndockedFrame(const QString& undockedFrame);   // a null string removes it
    bool isBackgroundApp() const;
    void setIsBackgroundApp(bool isBackgroundApp);
    bool shouldKeepAbove() const;
    void setShouldKeepAbove(bool shouldKeepAbove);
    QString soundName() const;
    void setSoundName(const QString& soundName);
    // Sections ("Battery", "Charging") of entries; every value an integer (booleans 0 or 1).
    QVariantMap notifications() const;
    void setNotifications(const QVariantMap& notifications);
    bool menuBarShowInfo() const;
    void setMenuBarShowInfo(bool menuBarShowInfo);
    qint64 menuBarDisplay() const;
    void setMenuBarDisplay(qint64 menuBarDisplay);
    qint64 menuBarColor() const;
    void setMenuBarColor(qint64 menuBarColor);
    bool askedToImportHistory() const;
    void setAskedToImportHistory(bool askedToImportHistory);

    QString defaultSoundName() const { return QStringLiteral("Submarine"); }

    // The registered defaults (base values with the "defaults-notifications" resource laid over).
    QVariantMap setupDefaults();
    const QVariantMap& registeredDefaults() const { return m_registeredDefaults; }

    // Any key: the stored value, else the registered default, else an invalid QVariant.
    QVariant objectForKey(const QString& key) const;
    bool boolForKey(const QString& key) const;
    // Writes a key through this object (observers of the key are told). An invalid value removes it.
    void setObject(const QVariant& value, const QString& key);

    // Observation by key. With an owner the observation ends when the owner is destroyed.
    Token addObserver(const QString& key, Observer observer, const QObject* owner = nullptr);
    void removeObserver(Token token);
    void removeObserver(const QObject* owner);

    // The underlying store; writes through it bypass the observers.
    QSettings& settings() { return *m_settings; }
    QString filePath() const { return m_settings->fileName(); }

    // The "defaults-notifications" resource as a dictionary (empty when missing or not a dictionary).
    static QVariantMap loadDefaultsResource(const QString& path = QStringLiteral(":/defaults/defaults-notifications.json"));
    // Lays the resource's sections over a stored "notifications" dictionary: missing sections are
    // added whole, dictionary sections gain missing entries, stored entries win.
    static QVariantMap upgradedNotifications(const QVariantMap& stored, const QVariantMap& resourceNotifications);

    // Used by the constructor; a test may build an object on a different resource.
    QVUserDefaults(const QString& filePath, const QString& defaultsResourcePath);

private:
    void store(const QString& key, const QVariant& value);
    void notify(const QString& key, const QVariant& value);
    QVariantMap readNotifications() const;
    void writeNotifications(const QVariantMap& notifications);

    std::unique_ptr<QSettings> m_settings;
    QString m_defaultsResourcePath;
    QVariantMap m_registeredDefaults;
    bool m_startAtLogin = false;
    // Observers by key: the key is the notification's name, the new value its "value".
    NotificationCenter m_observers;
};
