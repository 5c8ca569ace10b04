#include "platform/notifications/NotificationCenter.h"

#include <algorithm>

NotificationCenter& NotificationCenter::defaultCenter()
{
    static NotificationCenter center;
    return center;
}

NotificationCenter::~NotificationCenter()
{
    for (const auto& e : m_entries)
        forget(*e);
}

void NotificationCenter::forget(Entry& entry)
{
    entry.removed = true;
    QObject::disconnect(entry.ownerDestroyed);
}

NotificationCenter::Token NotificationCenter::addObserver(const QString& name, const QObject* object, Block block,
                                                          const QObject* owner)
{
    auto entry = std::make_shared<Entry>(Entry{m_next++, name, object, object == nullptr, owner, owner != nullptr,
                                               std::move(block), false, {}});
    m_entries.push_back(entry);
    if (owner) {
        const Token token = entry->token;
        entry->ownerDestroyed = QObject::connect(owner, &QObject::destroyed, [this, token] { removeObserver(token); });
    }
    return entry->token;
}

void NotificationCenter::removeObserver(Token token)
{
    auto it = std::find_if(m_entries.begin(), m_entries.end(), [token](const auto& e) { return e->token == token; });
    if (it == m_entries.end())
        return;
    forget(**it);
    m_entries.erase(it);
}

void NotificationCenter::removeObserver(const QObject* owner)
{
    std::erase_if(m_entries, [this, owner](const auto& e) {
        if (e->hasOwner && e->owner == owner) {
            forget(*e);
            return true;
        }
        return false;
    });
}

void NotificationCenter::post(const QString& name, QObject* object, const QVariantMap& userInfo)
{
    const Notification note{name, object, userInfo};
    // Observers may add or remove observers while being told; work on a snapshot and skip the
    // ones removed in the meantime.
    const auto snapshot = m_entries;
    for (const auto& e : snapshot) {
        if (e->removed || e->name != name)
            continue;
        if (e->hasOwner && e->owner.isNull())
            continue;
        if (!e->anyObject && e->object != object)
            continue;
        e->block(note);
    }
}
