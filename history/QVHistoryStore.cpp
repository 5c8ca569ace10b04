#include "history/QVHistoryStore.h"

#include "history/QVStoreSchema.h"
#include "platform/dispatch/MainThread.h"
#include "platform/log/Log.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include <sqlite3.h>

#include <cmath>
#include <limits>
#include <mutex>

using namespace QVStoreSchema;

namespace {

constexpr int busyTimeoutMs = 10000;

void runOnMainThread(std::function<void()> block)
{
    if (QCoreApplication::instance())
        dispatchToMainThread(std::move(block));
    else
        block();
}

// Reads a big-endian 32-bit field of the SQLite file header.
quint32 headerField(const QByteArray& header, int offset)
{
    const auto* p = reinterpret_cast<const unsigned char*>(header.constData() + offset);
    return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | quint32(p[3]);
}

// Looks at the file's header without SQLite, so that a file of another kind is never opened for
// writing. Empty `reason` = the file may be ours (or is empty / missing).
QString inspectHeader(const QString& path)
{
    QFile file(path);
    if (!file.exists() || file.size() == 0)
        return {};
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot be read (%1)").arg(file.errorString());
    const QByteArray header = file.read(100);
    if (header.size() < 100 || !header.startsWith(QByteArray("SQLite format 3\0", 16)))
        return QStringLiteral("not a Voltara history store (not a SQLite database)");
    if (headerField(header, 68) != static_cast<quint32>(QVHistoryStore::applicationID))
        return QStringLiteral("not a Voltara history store");
    if (headerField(header, 60) > static_cast<quint32>(QVHistoryStore::schemaVersion))
        return QStringLiteral("written by a newer version of Voltara (store version %1)").arg(headerField(header, 60));
    return {};
}

sqlite3* openConnection(const QString& path, int flags, QString* error)
{
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        if (error)
            *error = lastError(db);
        sqlite3_close_v2(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, busyTimeoutMs);
    return db;
}

// The default file system of SQLite, except that it never creates or deletes a database, log or
// journal file. A read-only connection in write-ahead-log mode otherwise creates an empty -wal file
// beside a store that has none, and would delete a -wal beside an empty file.
constexpr const char* noCreateVfsName = "voltara-nocreate";
sqlite3_vfs* baseVfs = nullptr;

int noCreateOpen(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* outFlags)
{
    constexpr int besideTheStore = SQLITE_OPEN_MAIN_DB | SQLITE_OPEN_WAL | SQLITE_OPEN_MAIN_JOURNAL
                                   | SQLITE_OPEN_SUPER_JOURNAL;
    if (name && (flags & besideTheStore))
        flags &= ~SQLITE_OPEN_CREATE;   // temporary files (sorting) still go to the temporary folder
    return baseVfs->xOpen(baseVfs, name, file, flags, outFlags);
}

int noDelete(sqlite3_vfs*, const char*, int)
{
    return SQLITE_IOERR_DELETE;
}

const char* noCreateVfs()
{
    static std::once_flag registered;
    static sqlite3_vfs vfs;
    std::call_once(registered, [] {
        baseVfs = sqlite3_vfs_find(nullptr);
        vfs = *baseVfs;
        vfs.pNext = nullptr;
        vfs.zName = noCreateVfsName;
        vfs.xOpen = noCreateOpen;
        vfs.xDelete = noDelete;
        sqlite3_vfs_register(&vfs, 0);
    });
    return noCreateVfsName;
}

// "file:/path?mode=ro[&readonly_shm=1]": read-only; with readonly_shm the shared-memory file
// beside a write-ahead-logged store is only read, never created or written.
QByteArray readOnlyUri(const QString& path, bool readOnlySharedMemory)
{
    QByteArray uri = "file:" + QUrl::toPercentEncoding(QFileInfo(path).absoluteFilePath(), "/") + "?mode=ro";
    if (readOnlySharedMemory)
        uri += "&readonly_shm=1";
    return uri;
}

} // namespace

QVHistoryStore& QVHistoryStore::sharedStore()
{
    static QVHistoryStore* store = new QVHistoryStore;   // lives until the process ends
    return *store;
}

QVHistoryStore::QVHistoryStore() = default;

QVHistoryStore::~QVHistoryStore()
{
    {
        std::unique_lock lock(m_mutex);
        m_written.wait(lock, [this] { return m_backgroundSaves == 0; });
        m_stopping = true;
    }
    m_queueChanged.notify_all();
    if (m_writerThread.joinable())
        m_writerThread.join();
    // The readers go first, so that the writer is the last connection and checkpoints the log.
    for (sqlite3* reader : m_readers)
        sqlite3_close_v2(reader);
    sqlite3_finalize(m_insert);
    sqlite3_finalize(m_findDate);
    if (m_writer)
        sqlite3_close_v2(m_writer);
}

QString QVHistoryStore::defaultStorePath()
{
    const QString overridden = qEnvironmentVariable("VOLTARA_STORE");
    if (!overridden.isEmpty())
        return overridden;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty()) {
        const QString inDocuments = QDir(documents).filePath("Voltara.sqlite");
        if (QFileInfo(inDocuments).isFile())
            return inDocuments;
    }
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty())
        dataHome = QDir::homePath() + "/.local/share";
    const QString folder = QDir(dataHome).filePath("Voltara");
    QDir().mkpath(folder);
    return QDir(folder).filePath("Voltara.sqlite");
}

bool QVHistoryStore::open()
{
    if (m_openAttempted)
        return m_open;
    return openAtPath(defaultStorePath());
}

bool QVHistoryStore::openAtPath(const QString& path)
{
    if (m_openAttempted)
        return m_open;
    m_openAttempted = true;
    m_path = path;
    m_open = openFile(path);
    if (m_open)
        m_writerThread = std::thread([this] { writerLoop(); });
    return m_open;
}

bool QVHistoryStore::openFile(const QString& path)
{
    const auto fail = [&](const QString& reason) {
        QVLog(QStringLiteral("Could not open the history store %1: %2. The file was left as it is.").arg(path, reason));
        return false;
    };

    QString reason = inspectHeader(path);
    if (!reason.isEmpty())
        return fail(reason);
    if (!QFileInfo(path).dir().exists() && !QDir().mkpath(QFileInfo(path).absolutePath()))
        return fail(QStringLiteral("its folder cannot be created"));

    const bool existed = QFileInfo::exists(path);
    const bool isNew = !existed || QFileInfo(path).size() == 0;
    QString error;
    sqlite3* db = openConnection(path, SQLITE_OPEN_READWRITE | (isNew ? SQLITE_OPEN_CREATE : 0), &error);
    if (!db)
        return fail(error);
    // Until the file has proved to be a sound store of ours, closing must not write to it.
    sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    const bool hadLog = QFileInfo::exists(path + "-wal"), hadSharedMemory = QFileInfo::exists(path + "-shm");
    const auto refuse = [&](const QString& why) {
        sqlite3_close_v2(db);
        // Opening a write-ahead-logged file creates its (empty) side files; take away those we made.
        if (!hadLog)
            QFile::remove(path + "-wal");
        if (!hadSharedMemory)
            QFile::remove(path + "-shm");
        if (!existed)
            QFile::remove(path);
        return fail(why);
    };

    if (sqlite3_db_readonly(db, "main") == 1)
        return refuse(QStringLiteral("the file cannot be written"));

    if (isNew) {
        // The layout and the identifying header fields go straight into the file (not into a
        // write-ahead log), so that even a store killed right after its creation is recognised.
        if (!exec(db, "BEGIN IMMEDIATE", &error))
            return refuse(error);
        if (!create(db, &error)) {
            exec(db, "ROLLBACK");
            return refuse(error);
        }
        const QByteArray pragmas = QStringLiteral("PRAGMA application_id = %1; PRAGMA user_version = %2;")
                                       .arg(applicationID)
                                       .arg(schemaVersion)
                                       .toUtf8();
        if (!exec(db, pragmas.constData(), &error) || !exec(db, "COMMIT", &error)) {
            exec(db, "ROLLBACK");
            return refuse(error);
        }
    } else {
        if (queryInt(db, "SELECT count(*) FROM sqlite_master", -1) < 0)
            return refuse(lastError(db));
        if (queryInt(db, "PRAGMA application_id") != applicationID)
            return refuse(QStringLiteral("the file is not a Voltara history store"));
        const long long version = queryInt(db, "PRAGMA user_version");
        if (version < 1 || version > schemaVersion)
            return refuse(QStringLiteral("unknown store version %1").arg(version));
        sqlite3_stmt* check = nullptr;
        QString verdict;
        if (sqlite3_prepare_v2(db, "PRAGMA quick_check", -1, &check, nullptr) == SQLITE_OK
            && sqlite3_step(check) == SQLITE_ROW)
            verdict = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)));
        else
            verdict = lastError(db);
        sqlite3_finalize(check);
        if (verdict != QLatin1String("ok"))
            return refuse(QStringLiteral("the store is damaged (%1)").arg(verdict));
        if (version < schemaVersion) {
            const QByteArray setVersion = QStringLiteral("PRAGMA user_version = %1").arg(schemaVersion).toUtf8();
            if (!exec(db, "BEGIN IMMEDIATE", &error))
                return refuse(error);
            if (!migrate(db, static_cast<int>(version), &error) || !exec(db, setVersion.constData(), &error)
                || !exec(db, "COMMIT", &error)) {
                exec(db, "ROLLBACK");
                return refuse(QStringLiteral("the store cannot be migrated (%1)").arg(error));
            }
        }
    }

    if (!exec(db, "PRAGMA journal_mode = WAL", &error) || !exec(db, "PRAGMA synchronous = NORMAL", &error))
        return refuse(error);
    sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 0, nullptr);

    const QByteArray insert = QStringLiteral("INSERT INTO QVSnapshot (%1) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)")
                                  .arg(columnList())
                                  .toUtf8();
    if (sqlite3_prepare_v3(db, insert.constData(), -1, SQLITE_PREPARE_PERSISTENT, &m_insert, nullptr) != SQLITE_OK
        || sqlite3_prepare_v3(db, "SELECT 1 FROM QVSnapshot WHERE date = ? LIMIT 1", -1, SQLITE_PREPARE_PERSISTENT,
                              &m_findDate, nullptr) != SQLITE_OK) {
        error = lastError(db);
        sqlite3_finalize(m_insert);
        sqlite3_finalize(m_findDate);
        m_insert = m_findDate = nullptr;
        return refuse(error);
    }
    m_writer = db;
    return true;
}

bool QVHistoryStore::openReadOnlyAtPath(const QString& path, QString* error)
{
    QString reason;
    if (m_openAttempted) {
        if (!m_open && error)
            *error = QStringLiteral("the store could not be opened before");
        return m_open;
    }
    m_openAttempted = true;
    m_path = path;
    m_readOnly = true;

    const QFileInfo info(path);
    if (!info.exists())
        reason = QStringLiteral("no such file");
    else if (!info.isFile())
        reason = QStringLiteral("not a file");
    else if (info.size() == 0)
        reason = QStringLiteral("not a Voltara history store (empty file)");
    else
        reason = inspectHeader(path);
    // In place first. SQLite cannot read a write-ahead-logged store without its -wal and -shm
    // files unless it may create them; then a private copy of the store and its log is read.
    if (reason.isEmpty() && !openForReading(path, true, &reason) && reason.isEmpty())
        openForReading(path, false, &reason);
    m_open = reason.isEmpty();
    if (!m_open && error)
        *error = reason;
    return m_open;
}

// One attempt of openReadOnlyAtPath. An empty `error` after a failed in-place attempt means: try a copy.
bool QVHistoryStore::openForReading(const QString& path, bool inPlace, QString* error)
{
    error->clear();
    if (inPlace) {
        m_readerUri = readOnlyUri(path, true);
        m_readerVfs = noCreateVfs();
    } else {
        m_copyFolder = std::make_unique<QTemporaryDir>();
        const QString copy = m_copyFolder->filePath(QStringLiteral("Voltara.sqlite"));
        if (!m_copyFolder->isValid() || !QFile::copy(path, copy)
            || (QFileInfo::exists(path + "-wal") && !QFile::copy(path + "-wal", copy + "-wal"))) {
            *error = QStringLiteral("cannot be copied to a temporary folder for reading");
            return false;
        }
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
        m_readerUri = readOnlyUri(copy, false);
        m_readerVfs = nullptr;
    }
    sqlite3* db = openReader(error);
    const auto refuse = [&](const QString& why) {
        sqlite3_close_v2(db);
        *error = why;
        return false;
    };
    if (!db)
        return false;
    if (queryInt(db, "SELECT count(*) FROM sqlite_master", -1) < 0) {
        const int code = sqlite3_extended_errcode(db);
        if (inPlace && ((code & 0xff) == SQLITE_CANTOPEN || code == SQLITE_READONLY_CANTINIT))
            return refuse(QString());
        if ((code & 0xff) == SQLITE_NOTADB)
            return refuse(QStringLiteral("not a Voltara history store (not a SQLite database)"));
        return refuse(lastError(db));
    }
    if (queryInt(db, "PRAGMA application_id") != applicationID)
        return refuse(QStringLiteral("not a Voltara history store"));
    const long long version = queryInt(db, "PRAGMA user_version");
    if (version > schemaVersion)
        return refuse(QStringLiteral("written by a newer version of Voltara (store version %1)").arg(version));
    if (version < 1 || queryInt(db, "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'QVSnapshot'") != 1)
        return refuse(QStringLiteral("not a Voltara history store (unknown store version %1)").arg(version));
    m_readers.push_back(db);
    return true;
}

// MARK: - Writing

QVSnapshot& QVHistoryStore::createSnapshot()
{
    m_mainContext.emplace_back();
    return m_mainContext.back();
}

void QVHistoryStore::save()
{
    if (m_mainContext.empty())
        return;
    Job job;
    job.rows.assign(m_mainContext.begin(), m_mainContext.end());
    m_mainContext.clear();
    if (m_writer)
        enqueue(std::move(job));
}

void QVHistoryStore::saveSnapshot(const QVSnapshot& snapshot)
{
    if (!m_writer)
        return;
    Job job;
    job.rows.push_back(snapshot);
    enqueue(std::move(job));
}

void QVHistoryStore::enqueue(Job job)
{
    {
        std::lock_guard lock(m_mutex);
        job.sequence = ++m_handedOver;
        m_queue.push_back(std::move(job));
    }
    m_queueChanged.notify_one();
}

void QVHistoryStore::saveInBackground(WorkBlock work, SaveCompletion completion)
{
    {
        std::lock_guard lock(m_mutex);
        ++m_backgroundSaves;
    }
    std::thread([this, work = std::move(work), completion = std::move(completion)]() mutable {
        QVPrivateContext context;
        if (work)
            work(context);
        if (m_writer) {
            Job job;
            job.rows = context.insertedObjects();
            job.skipDuplicates = true;
            job.completion = completion ? std::move(completion) : [](const QVSaveResult&) {};
            enqueue(std::move(job));
        } else if (completion) {
            QVSaveResult result;
            result.error = m_readOnly ? QStringLiteral("the history store is open for reading only")
                                      : QStringLiteral("the history store is not open");
            runOnMainThread([completion = std::move(completion), result] { completion(result); });
        }
        std::lock_guard lock(m_mutex);
        --m_backgroundSaves;
        m_written.notify_all();
    }).detach();
}

void QVHistoryStore::writerLoop()
{
    for (;;) {
        Job job;
        {
            std::unique_lock lock(m_mutex);
            m_queueChanged.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
            if (m_queue.empty())
                return;   // stopping, and everything handed over is written
            job = std::move(m_queue.front());
            m_queue.pop_front();
        }
        const QVSaveResult result = write(job);
        if (!result.ok)
            QVLog(QStringLiteral("Could not save to the history store %1: %2").arg(m_path, result.error));
        if (job.completion)
            runOnMainThread([completion = std::move(job.completion), result] { completion(result); });
        {
            std::lock_guard lock(m_mutex);
            m_done = job.sequence;
        }
        m_written.notify_all();
    }
}

QVSaveResult QVHistoryStore::write(Job& job)
{
    QVSaveResult result;
    if (!exec(m_writer, "BEGIN IMMEDIATE", &result.error))
        return result;
    for (const QVSnapshot& row : job.rows) {
        if (job.skipDuplicates && row.date) {
            sqlite3_bind_double(m_findDate, 1, *row.date);
            const int rc = sqlite3_step(m_findDate);
            sqlite3_reset(m_findDate);
            if (rc == SQLITE_ROW) {
                ++result.skippedDuplicates;
                continue;
            }
            if (rc != SQLITE_DONE) {
                result.error = lastError(m_writer);
                exec(m_writer, "ROLLBACK");
                result.inserted = result.skippedDuplicates = 0;
                return result;
            }
        }
        bind(m_insert, 1, row);
        const int rc = sqlite3_step(m_insert);
        sqlite3_reset(m_insert);
        sqlite3_clear_bindings(m_insert);
        if (rc != SQLITE_DONE) {
            result.error = lastError(m_writer);
            exec(m_writer, "ROLLBACK");
            result.inserted = result.skippedDuplicates = 0;
            return result;
        }
        ++result.inserted;
    }
    if (!exec(m_writer, "COMMIT", &result.error)) {
        exec(m_writer, "ROLLBACK");
        result.inserted = result.skippedDuplicates = 0;
        return result;
    }
    result.ok = true;
    return result;
}

void QVHistoryStore::waitFor(std::uint64_t sequence) const
{
    std::unique_lock lock(m_mutex);
    m_written.wait(lock, [&] { return m_done >= sequence; });
}

void QVHistoryStore::waitUntilWritten() const
{
    std::unique_lock lock(m_mutex);
    m_written.wait(lock, [&] { return m_backgroundSaves == 0 && m_done >= m_handedOver; });
}

// MARK: - Reading

sqlite3* QVHistoryStore::takeReader() const
{
    if (!m_open)
        return nullptr;
    std::uint64_t handedOver;
    {
        std::lock_guard lock(m_mutex);
        handedOver = m_handedOver;
    }
    waitFor(handedOver);
    {
        std::lock_guard lock(m_readerMutex);
        if (!m_readers.empty()) {
            sqlite3* db = m_readers.back();
            m_readers.pop_back();
            return db;
        }
    }
    QString error;
    sqlite3* db = openReader(&error);
    if (!db)
        QVLog(QStringLiteral("Could not read the history store %1: %2").arg(m_path, error));
    return db;
}

sqlite3* QVHistoryStore::openReader(QString* error) const
{
    if (!m_readOnly) {
        sqlite3* db = openConnection(m_path, SQLITE_OPEN_READWRITE, error);
        if (db)
            exec(db, "PRAGMA query_only = 1");
        return db;
    }
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(m_readerUri.constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX,
                        m_readerVfs)
        != SQLITE_OK) {
        if (error)
            *error = lastError(db);
        sqlite3_close_v2(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, busyTimeoutMs);
    return db;
}

void QVHistoryStore::returnReader(sqlite3* db) const
{
    if (!db)
        return;
    std::lock_guard lock(m_readerMutex);
    m_readers.push_back(db);
}

namespace {

// A prepared statement of a read connection that goes back to the pool when done.
class Query {
public:
    Query(sqlite3* db, const QString& sql, const QVSnapshotFilter& filter) : m_db(db)
    {
        if (!db)
            return;
        const QByteArray utf8 = sql.toUtf8();
        if (sqlite3_prepare_v2(db, utf8.constData(), -1, &m_statement, nullptr) != SQLITE_OK) {
            QVLog(QStringLiteral("Could not fetch from the history store: %1").arg(lastError(db)));
            m_statement = nullptr;
            return;
        }
        int i = 1;
        for (double argument : filter.arguments())
            sqlite3_bind_double(m_statement, i++, argument);
    }
    ~Query() { sqlite3_finalize(m_statement); }

    sqlite3_stmt* statement() const { return m_statement; }
    // Steps; false at the end or on an error (which is logged).
    bool next()
    {
        if (!m_statement)
            return false;
        const int rc = sqlite3_step(m_statement);
        if (rc == SQLITE_ROW)
            return true;
        if (rc != SQLITE_DONE) {
            QVLog(QStringLiteral("Could not fetch from the history store: %1").arg(lastError(m_db)));
            m_failed = true;
        }
        return false;
    }
    bool failed() const { return m_failed || !m_statement; }

private:
    sqlite3* m_db;
    sqlite3_stmt* m_statement = nullptr;
    bool m_failed = false;
};

QString whereClause(const QVSnapshotFilter& filter)
{
    return filter.sqlWhere().isEmpty() ? QString() : QStringLiteral(" WHERE ") + filter.sqlWhere();
}

} // namespace

std::vector<QVSnapshot> QVHistoryStore::fetchSnapshots(const QVSnapshotFilter& filter) const
{
    std::vector<QVSnapshot> rows;
    sqlite3* db = takeReader();
    {
        Query query(db, QStringLiteral("SELECT %1 FROM QVSnapshot%2 ORDER BY date").arg(columnList(), whereClause(filter)),
                    filter);
        while (query.next())
            rows.push_back(read(query.statement(), 0));
        if (query.failed())
            rows.clear();
    }
    returnReader(db);
    return rows;
}

bool QVHistoryStore::visitRows(const QVSnapshotFilter& filter, const QStringList& attributes,
                               void (*row)(void* visitor, const double* values), void* visitor) const
{
    for (const QString& attribute : attributes) {
        if (!QVSnapshot::attributeNames().contains(attribute) || attribute == QLatin1String("osxHealth")) {
            QVLog(QStringLiteral("Could not fetch from the history store: unknown attribute %1").arg(attribute));
            return false;
        }
    }
    if (attributes.isEmpty())
        return true;
    bool ok = false;
    sqlite3* db = takeReader();
    {
        Query query(db, QStringLiteral("SELECT %1 FROM QVSnapshot%2 ORDER BY date")
                            .arg(attributes.join(", "), whereClause(filter)),
                    filter);
        const int columns = static_cast<int>(attributes.size());
        constexpr double absent = std::numeric_limits<double>::quiet_NaN();
        std::vector<double> values(static_cast<size_t>(columns));
        while (query.next()) {
            sqlite3_stmt* s = query.statement();
            for (int c = 0; c < columns; ++c)
                values[c] = sqlite3_column_type(s, c) == SQLITE_NULL ? absent : sqlite3_column_double(s, c);
            row(visitor, values.data());
        }
        ok = db && !query.failed();
    }
    returnReader(db);
    return ok;
}

std::vector<double> QVHistoryStore::fetchValues(const QVSnapshotFilter& filter, const QStringList& attributes) const
{
    std::vector<double> values;
    const size_t columns = static_cast<size_t>(attributes.size());
    const bool ok = visitValues(filter, attributes, [&](const double* row) { values.insert(values.end(), row, row + columns); });
    if (!ok)
        values.clear();
    return values;
}

std::vector<double> QVHistoryStore::fetchDates(const QVSnapshotFilter& filter) const
{
    std::vector<double> dates = fetchValues(filter, {QStringLiteral("date")});
    return dates;
}

std::int64_t QVHistoryStore::count(const QVSnapshotFilter& filter) const
{
    std::int64_t result = 0;
    sqlite3* db = takeReader();
    {
        Query query(db, QStringLiteral("SELECT count(*) FROM QVSnapshot%1").arg(whereClause(filter)), filter);
        if (query.next())
            result = sqlite3_column_int64(query.statement(), 0);
    }
    returnReader(db);
    return result;
}

std::vector<QVCycleAverage> QVHistoryStore::averageMaxChargeByCycles() const
{
    std::vector<QVCycleAverage> groups;
    const QVSnapshotFilter filter = QVSnapshotFilter::healthRecords();
    sqlite3* db = takeReader();
    {
        Query query(db,
                    QStringLiteral("SELECT cycles, maxCapacity, avg(maxCharge) FROM QVSnapshot%1"
                                   " GROUP BY cycles, maxCapacity ORDER BY cycles, maxCapacity")
                        .arg(whereClause(filter)),
                    filter);
        while (query.next()) {
            sqlite3_stmt* s = query.statement();
            QVCycleAverage group;
            group.cycles = static_cast<std::uint64_t>(std::max<sqlite3_int64>(0, sqlite3_column_int64(s, 0)));
            group.maxCapacity = static_cast<std::uint64_t>(std::max<sqlite3_int64>(0, sqlite3_column_int64(s, 1)));
            group.result = sqlite3_column_double(s, 2);
            groups.push_back(group);
        }
        if (query.failed())
            groups.clear();
    }
    returnReader(db);
    return groups;
}
