#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <memory>
#include <vector>

// One posted notification: its name, the object that posted it (may be null) and extra data.
struct Notification {
    QString name;
    QObject* object = nullptr;
    QVariantMap userInfo;
};

// The default notification centre: named notifications posted by any component and delivered,
// synchronously and in registration order, to every observer of that name. An observer listens
// either to one object or, with a null object, to every poster.
class NotificationCenter {
public:
    using Block = std::function<void(const Notification&)>;
    using Token = quint64;

    static NotificationCenter& defaultCenter();

    NotificationCenter() = default;
    ~NotificationCenter();
    NotificationCenter(const NotificationCenter&) = delete;
    NotificationCenter& operator=(const NotificationCenter&) = delete;

    // Observe `name` posted by `object` (nullptr = any object). When `owner` is given the
    // observation ends by itself when that object is destroyed.
    Token addObserver(const QString& name, const QObject* object, Block block, const QObject* owner = nullptr);
    void removeObserver(Token token);
    // Ends every observation registered with `owner`.
    void removeObserver(const QObject* owner);

    void post(const QString& name, QObject* object = nullptr, const QVariantMap& userInfo = {});

private:
    struct Entry {
        Token token;
        QString name;
        const QObject* object;   // compared by identity only
        bool anyObject;
        QPointer<const QObject> owner;
        bool hasOwner;
        Block block;
        bool removed = false;
        QMetaObject::Connection ownerDestroyed;
    };
    void forget(Entry& entry);
    std::vector<std::shared_ptr<Entry>> m_entries;
    Token m_next = 1;
};
