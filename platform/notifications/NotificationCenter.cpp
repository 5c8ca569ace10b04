#include "platform/notifications/NotificationCenter.h"

#include <algorithm>

NotificationCenter& NotificationCenter::defaultCenter()
{
    static NotificationCenter center;
    return center;
}

NotificationCenter::Token NotificationCenter::addObserver(const QString& name, const QObject* object, Block block,
                                                          const QObject* owner)
{
    auto entry = std::make_shared<Entry>(Entry{m_next++, name, object, object == nullptr, owner, owner != nullptr,
                                               std::move(block)});
    m_entries.push_back(entry);
    if (owner) {
        const Token token = entry->token;
        QObject::connect(owner, &QObject::destroyed, [this, token] { removeObserver(token); });
    }
    return entry->token;
}

void NotificationCenter::removeObserver(Token token)
{
    auto it = std::find_if(m_entries.begin(), m_entries.end(), [token](const auto& e) { return e->token == token; });
    if (it == m_entries.end())
        return;
    (*it)->removed = true;
    m_entries.erase(it);
}

void NotificationCenter::removeObserver(const QObject* owner)
{
    std::erase_if(m_entries, [owner](const auto& e) {
        if (e->hasOwner && e->owner == owner) {
            e->removed = true;
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
