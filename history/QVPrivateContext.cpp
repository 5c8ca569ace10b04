#include "history/QVPrivateContext.h"

void QVPrivateContext::importObject(const QVariantMap& dictionary)
{
    m_inserted.push_back(QVSnapshot::snapshotWithDictionary(dictionary));
}

void QVPrivateContext::insertSnapshot(const QVSnapshot& snapshot)
{
    m_inserted.push_back(snapshot);
}
