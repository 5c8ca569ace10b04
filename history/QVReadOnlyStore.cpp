#include "history/QVReadOnlyStore.h"

#include "history/QVStoreSchema.h"
#include "platform/log/Log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

#include <sqlite3.h>

using namespace QVStoreSchema;

namespace {

// Seconds between 1970-01-01 and 2001-01-01 (UTC), the first generation's reference date.
constexpr double referenceDateOffset = 978307200.0;

QSet<QString> columnsOf(sqlite3* db, const QString& table)
{
    QSet<QString> columns;
    sqlite3_stmt* s = nullptr;
    const QByteArray sql = QStringLiteral("PRAGMA table_info(%1)").arg(table).toUtf8();
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &s, nullptr) == SQLITE_OK) {
        while (sqlite3_step(s) == SQLITE_ROW)
            columns.insert(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 1))).toUpper());
    }
    sqlite3_finalize(s);
    return columns;
}

} // namespace

struct QVReadOnlyStore::Private {
    QTemporaryDir folder;
    sqlite3* db = nullptr;
    QString select;   // the 13 attributes in QVSnapshot's order
    QString table;

    ~Private() { sqlite3_close_v2(db); }
};

std::unique_ptr<QVReadOnlyStore> QVReadOnlyStore::openStore(const QString& path, QString* error)
{
    const auto fail = [error](const QString& message) -> std::unique_ptr<QVReadOnlyStore> {
        if (error)
            *error = message;
        return nullptr;
    };
    if (!QFileInfo(path).isFile())
        return fail(QStringLiteral("%1 does not exist").arg(path));

    std::unique_ptr<QVReadOnlyStore> store(new QVReadOnlyStore);
    store->d = std::make_unique<Private>();
    Private& d = *store->d;
    if (!d.folder.isValid())
        return fail(QStringLiteral("no temporary folder"));
    // Work on a copy: even a read-only SQLite connection may create or recover the -shm and -wal
    // files beside a write-ahead-logged database. The copy includes the log, so rows that were
    // never checkpointed are read as well.
    const QString copy = d.folder.filePath("store.sqlite");
    if (!QFile::copy(path, copy))
        return fail(QStringLiteral("%1 cannot be read").arg(path));
    if (QFileInfo(path + "-wal").isFile() && !QFile::copy(path + "-wal", copy + "-wal"))
        return fail(QStringLiteral("%1-wal cannot be read").arg(path));

    if (sqlite3_open_v2(QFile::encodeName(copy).constData(), &d.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                        nullptr)
        != SQLITE_OK)
        return fail(lastError(d.db));
    if (queryInt(d.db, "SELECT count(*) FROM sqlite_master", -1) < 0)
        return fail(lastError(d.db));

    const QStringList& names = QVSnapshot::attributeNames();
    QStringList select;
    const QSet<QString> firstGeneration = columnsOf(d.db, "ZQVSNAPSHOT");
    const QSet<QString> ours = columnsOf(d.db, "QVSnapshot");
    if (firstGeneration.contains("ZDATE")) {
        store->m_layout = Layout::FirstGeneration;
        d.table = QStringLiteral("ZQVSNAPSHOT");
        for (const QString& name : names) {
            const QString column = "Z" + name.toUpper();
            if (!firstGeneration.contains(column))
                select << QStringLiteral("NULL");
            else if (name == QLatin1String("date"))
                select << QStringLiteral("ZDATE + %1").arg(referenceDateOffset, 0, 'f', 1);
            else
                select << column;
        }
    } else if (ours.contains("DATE")) {
        store->m_layout = Layout::Voltara;
        d.table = QStringLiteral("QVSnapshot");
        for (const QString& name : names)
            select << (ours.contains(name.toUpper()) ? name : QStringLiteral("NULL"));
    } else {
        return fail(QStringLiteral("%1 holds no snapshots").arg(path));
    }
    d.select = select.join(", ");
    return store;
}

QVReadOnlyStore::~QVReadOnlyStore() = default;

std::int64_t QVReadOnlyStore::count() const
{
    const QByteArray sql = QStringLiteral("SELECT count(*) FROM %1").arg(d->table).toUtf8();
    return std::max<long long>(0, queryInt(d->db, sql.constData(), 0));
}

std::vector<QVSnapshot> QVReadOnlyStore::fetchAll() const
{
    std::vector<QVSnapshot> rows;
    const QByteArray sql = QStringLiteral("SELECT %1 FROM %2").arg(d->select, d->table).toUtf8();
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(d->db, sql.constData(), -1, &s, nullptr) != SQLITE_OK) {
        QVLog(QStringLiteral("Could not fetch the old snapshots: %1").arg(lastError(d->db)));
        return rows;
    }
    int rc;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW)
        rows.push_back(read(s, 0));
    if (rc != SQLITE_DONE) {
        QVLog(QStringLiteral("Could not fetch the old snapshots: %1").arg(lastError(d->db)));
        rows.clear();
    }
    sqlite3_finalize(s);
    return rows;
}
