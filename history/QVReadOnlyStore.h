#pragma once

#include "history/QVSnapshot.h"

#include <QString>

#include <memory>
#include <vector>

struct sqlite3;

// S6/S7: another store file, opened read-only and never changed. Two layouts are understood:
// a store of ours, and the first generation's object-store layout (table ZQVSNAPSHOT, attribute
// columns Z + name in upper case, ZDATE in seconds since 2001-01-01 UTC). Attributes that the
// file does not have read as absent.
//
// The file (and its -wal file, if there is one) is copied into a private temporary folder and the
// copy is opened, so nothing SQLite does on opening can touch the original.
class QVReadOnlyStore {
public:
    enum class Layout { Voltara, FirstGeneration };

    // S6: nullptr (with `error` set) when the file cannot be read as either layout.
    static std::unique_ptr<QVReadOnlyStore> openStore(const QString& path, QString* error = nullptr);
    ~QVReadOnlyStore();

    Layout layout() const { return m_layout; }
    std::int64_t count() const;
    // S7: every QVSnapshot row, in no defined order (in practice: the file's row order).
    std::vector<QVSnapshot> fetchAll() const;

private:
    QVReadOnlyStore() = default;

    struct Private;
    std::unique_ptr<Private> d;
    Layout m_layout = Layout::Voltara;
};
