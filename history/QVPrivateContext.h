#pragma once

#include "history/QVSnapshot.h"

#include <QVariantMap>

#include <vector>

// The private context of a background save (QVHistoryStore::saveInBackground): rows inserted here
// are written to the store file, in order, once the work block returns.
class QVPrivateContext {
public:
    // S9: inserts a new QVSnapshot whose attributes take the dictionary's values under their names.
    void importObject(const QVariantMap& dictionary);
    void insertSnapshot(const QVSnapshot& snapshot);

    const std::vector<QVSnapshot>& insertedObjects() const { return m_inserted; }

private:
    std::vector<QVSnapshot> m_inserted;
};
