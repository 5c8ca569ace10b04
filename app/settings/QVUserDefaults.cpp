#include "app/settings/QVUserDefaults.h"

#include "app/settings/QVLoginItem.h"
#include "platform/log/Log.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <cmath>
#include <mutex>

namespace {

std::mutex g_sharedLock;
QVUserDefaults* g_shared = nullptr;

// Integers stay integers; booleans become 0 or 1; whole doubles become integers.
QVariant integerValue(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return qint64(value.toBool() ? 1 : 0);
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return value.toLongLong();
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = value.toDouble();
        if (std::isfinite(d))
            return qint64(std::llround(d));
        return value;
    }
    default:
        return value;
    }
}

// INI values come back as text; numbers and the words true/false are turned back into numbers.
QVariant numberFromStored(const QVariant& value)
{
    if (value.typeId() != QMetaType::QString)
        return integerValue(value);
    const QString text = value.toString().trimmed();
    bool ok = false;
    const qint64 i = text.toLongLong(&ok);
    if (ok)
        return i;
    const double d = text.toDouble(&ok);
    if (ok)
        return d;
    if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return qint64(1);
    if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return qint64(0);
    return value;
}

} // namespace

QVUserDefaults& QVUserDefaults::standardUserDefaults()
{
    std::lock_guard<std::mutex> lock(g_sharedLock);
    if (!g_shared)
        g_shared = new QVUserDefaults(standardFilePath());
    return *g_shared;
}

void QVUserDefaults::resetStandardUserDefaults()
{
    std::lock_guard<std::mutex> lock(g_sharedLock);
    if (g_shared)
        g_shared->m_settings->sync();
    g_shared = nullptr;   // the old object is kept alive on purpose (see the header)
}

QString QVUserDefaults::standardFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/Voltara/Voltara.conf");
}

QVUserDefaults::QVUserDefaults(const QString& filePath)
    : QVUserDefaults(filePath, QStringLiteral(":/defaults/defaults-notifications.json"))
{
}

QVUserDefaults::QVUserDefaults(const QString& filePath, const QString& defaultsResourcePath)
    : m_settings(std::make_unique<QSettings>(filePath, QSettings::IniFormat))
    , m_defaultsResourcePath(defaultsResourcePath)
{
    m_registeredDefaults = setupDefaults();
    m_startAtLogin = boolForKey(QLatin1String(kStartAtLogin));
}

QVariantMap QVUserDefaults::loadDefaultsResource(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll());
    if (!doc.isObject())
        return {};
    return doc.object().toVariantMap();
}

QVariantMap QVUserDefaults::upgradedNotifications(const QVariantMap& stored, const QVariantMap& resourceNotifications)
{
    QVariantMap result = stored;
    for (auto it = resourceNotifications.cbegin(); it != resourceNotifications.cend(); ++it) {
        const QString& section = it.key();
        if (!result.contains(section)) {
            result.insert(section, it.value());
            continue;
        }
        const QVariant storedSection = result.value(section);
        if (it.value().typeId() == QMetaType::QVariantMap && storedSection.typeId() == QMetaType::QVariantMap) {
            QVariantMap merged = storedSection.toMap();
            const QVariantMap defaults = it.value().toMap();
            for (auto entry = defaults.cbegin(); entry != defaults.cend(); ++entry) {
                if (!merged.contains(entry.key()))
                    merged.insert(entry.key(), entry.value());
            }
            result.insert(section, merged);
        }
    }
    return result;
}

QVariantMap QVUserDefaults::setupDefaults()
{
    // 1. Base defaults.
    QVariantMap defaults;
    defaults.insert(QLatin1String(kRefreshInterval), 30.0);
    defaults.insert(QLatin1String(kMenuBarShowInfo), true);
    defaults.insert(QLatin1String(kMenuBarDisplay), qint64(0));
    defaults.insert(QLatin1String(kMenuBarColor), qint64(1));
    defaults.insert(QLatin1String(kSoundName), defaultSoundName());

    // 2. The alert defaults.
    const QVariantMap resource = loadDefaultsResource(m_defaultsResourcePath);

    // 3. Upgrade a stored "notifications" dictionary; it is written back even when unchanged.
    if (m_settings->childGroups().contains(QLatin1String(kNotifications))
        || m_settings->contains(QLatin1String(kNotifications))) {
        const QVariantMap resourceNotifications = resource.value(QLatin1String(kNotifications)).toMap();
        writeNotifications(upgradedNotifications(readNotifications(), resourceNotifications));
        m_settings->sync();
    }

    // 4. The resource wins on keys present in both.
    for (auto it = resource.cbegin(); it != resource.cend(); ++it)
        defaults.insert(it.key(), it.value());
    return defaults;
}

QVariant QVUserDefaults::objectForKey(const QString& key) const
{
    if (key == QLatin1String(kNotifications)) {
        if (m_settings->childGroups().contains(key))
            return readNotifications();
        if (m_settings->contains(key))
            return QVariantMap();   // an empty dictionary was stored: every alert is off
    } else if (m_settings->contains(key)) {
        return m_settings->value(key);
    }
    return m_registeredDefaults.value(key);
}

bool QVUserDefaults::boolForKey(const QString& key) const
{
    const QVariant v = objectForKey(key);
    if (v.typeId() == QMetaType::QString) {
        const QString text = v.toString().trimmed();
        bool ok = false;
        const double d = text.toDouble(&ok);
        if (ok)
            return d != 0;
        return text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0
            || text.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0;
    }
    return v.toBool();
}

void QVUserDefaults::setObject(const QVariant& value, const QString& key)
{
    store(key, value);
    notify(key, objectForKey(key));
}

void QVUserDefaults::store(const QString& key, const QVariant& value)
{
    if (key == QLatin1String(kNotifications))
        writeNotifications(value.toMap());
    else if (!value.isValid())
        m_settings->remove(key);
    else
        m_settings->setValue(key, value);
    m_settings->sync();
}

QVariantMap QVUserDefaults::readNotifications() const
{
    QVariantMap result;
    m_settings->beginGroup(QLatin1String(kNotifications));
    for (const QString& section : m_settings->childGroups()) {
        m_settings->beginGroup(section);
        QVariantMap entries;
        for (const QString& entry : m_settings->childKeys())
            entries.insert(entry, numberFromStored(m_settings->value(entry)));
        m_settings->endGroup();
        result.insert(section, entries);
    }
    for (const QString& key : m_settings->childKeys())
        result.insert(key, numberFromStored(m_settings->value(key)));
    m_settings->endGroup();
    return result;
}

void QVUserDefaults::writeNotifications(const QVariantMap& notifications)
{
    m_settings->remove(QLatin1String(kNotifications));
    if (notifications.isEmpty()) {
        // An INI group cannot be empty; an empty value under the key stands for the empty dictionary.
        m_settings->setValue(QLatin1String(kNotifications), QString());
        return;
    }
    m_settings->beginGroup(QLatin1String(kNotifications));
    for (auto it = notifications.cbegin(); it != notifications.cend(); ++it) {
        if (it.value().typeId() == QMetaType::QVariantMap) {
            m_settings->beginGroup(it.key());
            const QVariantMap entries = it.value().toMap();
            for (auto entry = entries.cbegin(); entry != entries.cend(); ++entry)
                m_settings->setValue(entry.key(), integerValue(entry.value()));
            m_settings->endGroup();
        } else {
            m_settings->setValue(it.key(), integerValue(it.value()));
        }
    }
    m_settings->endGroup();
}

// Observation

QVUserDefaults::Token QVUserDefaults::addObserver(const QString& key, Observer observer, const QObject* owner)
{
    return m_observers.addObserver(
        key, nullptr, [observer = std::move(observer)](const Notification& n) { observer(n.userInfo.value("value")); },
        owner);
}

void QVUserDefaults::removeObserver(Token token)
{
    m_observers.removeObserver(token);
}

void QVUserDefaults::removeObserver(const QObject* owner)
{
    m_observers.removeObserver(owner);
}

void QVUserDefaults::notify(const QString& key, const QVariant& value)
{
    m_observers.post(key, nullptr, {{QStringLiteral("value"), value}});
}

// Properties

double QVUserDefaults::refreshInterval() const
{
    return objectForKey(QLatin1String(kRefreshInterval)).toDouble();
}

void QVUserDefaults::setRefreshInterval(double refreshInterval)
{
    setObject(refreshInterval, QLatin1String(kRefreshInterval));
}

bool QVUserDefaults::hideWindowAtStartup() const
{
    return boolForKey(QLatin1String(kHideWindowAtStartup));
}

void QVUserDefaults::setHideWindowAtStartup(bool hideWindowAtStartup)
{
    setObject(hideWindowAtStartup, QLatin1String(kHideWindowAtStartup));
}

bool QVUserDefaults::showDockIcon() const
{
    return boolForKey(QLatin1String(kShowDockIcon));
}

void QVUserDefaults::setShowDockIcon(bool showDockIcon)
{
    setObject(showDockIcon, QLatin1String(kShowDockIcon));
}

bool QVUserDefaults::startAtLogin() const
{
    return m_startAtLogin;
}

void QVUserDefaults::setStartAtLogin(bool startAtLogin)
{
    if (startAtLogin == m_startAtLogin)
        return;
    const QString identifier = QLatin1String(kLoginHelperIdentifier);
    if (!QVLoginItem::setEnabled(identifier, startAtLogin)) {
        // The login item did not change: keep the previous value, and tell the observers so
        // that a switch showing the new value turns back.
        QVLog(QStringLiteral("DEBUG: Could not %1 %2 to the login items")
                  .arg(startAtLogin ? QStringLiteral("add") : QStringLiteral("remove"), identifier));
        notify(QLatin1String(kStartAtLogin), m_startAtLogin);
        return;
    }
    m_startAtLogin = startAtLogin;
    store(QLatin1String(kStartAtLogin), startAtLogin);
    notify(QLatin1String(kStartAtLogin), startAtLogin);
}

bool QVUserDefaults::isDocked() const
{
    return boolForKey(QLatin1String(kIsDocked));
}

void QVUserDefaults::setIsDocked(bool isDocked)
{
    setObject(isDocked, QLatin1String(kIsDocked));
}

QString QVUserDefaults::undockedFrame() const
{
    const QVariant v = objectForKey(QLatin1String(kUndockedFrame));
    return v.isValid() ? v.toString() : QString();
}

void QVUserDefaults::setUndockedFrame(const QString& undockedFrame)
{
    setObject(undockedFrame.isNull() ? QVariant() : QVariant(undockedFrame), QLatin1String(kUndockedFrame));
}

bool QVUserDefaults::isBackgroundApp() const
{
    return boolForKey(QLatin1String(kIsBackgroundApp));
}

void QVUserDefaults::setIsBackgroundApp(bool isBackgroundApp)
{
    setObject(isBackgroundApp, QLatin1String(kIsBackgroundApp));
}

bool QVUserDefaults::shouldKeepAbove() const
{
    return boolForKey(QLatin1String(kShouldKeepAbove));
}

void QVUserDefaults::setShouldKeepAbove(bool shouldKeepAbove)
{
    setObject(shouldKeepAbove, QLatin1String(kShouldKeepAbove));
}

QString QVUserDefaults::soundName() const
{
    return objectForKey(QLatin1String(kSoundName)).toString();
}

void QVUserDefaults::setSoundName(const QString& soundName)
{
    setObject(soundName, QLatin1String(kSoundName));
}

QVariantMap QVUserDefaults::notifications() const
{
    return objectForKey(QLatin1String(kNotifications)).toMap();
}

void QVUserDefaults::setNotifications(const QVariantMap& notifications)
{
    setObject(notifications, QLatin1String(kNotifications));
}

bool QVUserDefaults::menuBarShowInfo() const
{
    return boolForKey(QLatin1String(kMenuBarShowInfo));
}

void QVUserDefaults::setMenuBarShowInfo(bool menuBarShowInfo)
{
    setObject(menuBarShowInfo, QLatin1String(kMenuBarShowInfo));
}

qint64 QVUserDefaults::menuBarDisplay() const
{
    return objectForKey(QLatin1String(kMenuBarDisplay)).toLongLong();
}

void QVUserDefaults::setMenuBarDisplay(qint64 menuBarDisplay)
{
    setObject(menuBarDisplay, QLatin1String(kMenuBarDisplay));
}

qint64 QVUserDefaults::menuBarColor() const
{
    return objectForKey(QLatin1String(kMenuBarColor)).toLongLong();
}

void QVUserDefaults::setMenuBarColor(qint64 menuBarColor)
{
    setObject(menuBarColor, QLatin1String(kMenuBarColor));
}

bool QVUserDefaults::askedToImportHistory() const
{
    return boolForKey(QLatin1String(kAskedToImportHistory));
}

void QVUserDefaults::setAskedToImportHistory(bool askedToImportHistory)
{
    setObject(askedToImportHistory, QLatin1String(kAskedToImportHistory));
}
