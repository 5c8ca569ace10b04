#pragma once

#include "history/QVPrivateContext.h"
#include "history/QVSnapshot.h"
#include "history/QVSnapshotFilter.h"

#include <QString>
#include <QStringList>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <type_traits>
#include <vector>

class QTemporaryDir;
struct sqlite3;
struct sqlite3_stmt;

// What a background save did, handed to its completion.
struct QVSaveResult {
    bool ok = false;                 // the transaction reached the file
    std::int64_t inserted = 0;       // rows written
    std::int64_t skippedDuplicates = 0;   // rows left out because a stored row has the same date
    QString error;
};

// The history store: one SQLite file ("Voltara.sqlite") with the QVSnapshot rows.
//
// Writes go to one writer thread with its own connection and are written in the order they were
// handed over; the calling thread returns at once. Reads (fetch..., averageMaxChargeByCycles, count)
// may run on any thread, each on a pooled read connection, and first wait until every row handed
// over before the call has reached the file, so they see them too.
//
// A file that cannot be opened, is corrupt, or is not a store of ours is logged and left untouched;
// the store then stays closed: saves keep nothing and fetches find no rows.
class QVHistoryStore {
public:
    static constexpr int schemaVersion = 2;          // PRAGMA user_version of the current layout
    static constexpr int applicationID = 0x51564C54; // PRAGMA application_id of our stores

    // The process-wide store (opened by the application at launch).
    static QVHistoryStore& sharedStore();

    QVHistoryStore();
    ~QVHistoryStore();   // drains the writer, then closes every connection
    QVHistoryStore(const QVHistoryStore&) = delete;
    QVHistoryStore& operator=(const QVHistoryStore&) = delete;

    // Where the store lives: $VOLTARA_STORE if set; else "Voltara.sqlite" in the documents folder if
    // that file exists; else $XDG_DATA_HOME/Voltara/Voltara.sqlite (the folder is created).
    static QString defaultStorePath();

    // S1: opens the store at defaultStorePath(). Once per instance; a failed open is not retried.
    bool open();
    // S1 on a given file (created when missing). Returns false (and logs) when it cannot be used.
    bool openAtPath(const QString& path);
    // Opens an existing store for reading only: no file is created, nothing is written to the store
    // or to the files beside it, no schema is created or migrated, and no writer runs. Returns false
    // when the store cannot be read; `error` then holds a short reason for a one-line message
    // ("no such file", "not a Voltara history store (not a SQLite database)", ...). Afterwards the
    // fetches work as usual and saves keep nothing.
    bool openReadOnlyAtPath(const QString& path, QString* error = nullptr);
    bool isOpen() const { return m_open; }
    bool isReadOnly() const { return m_readOnly; }
    QString path() const { return m_path; }

    // S2: a new snapshot with no values in the main context (main thread). The reference stays valid
    // until the next save().
    QVSnapshot& createSnapshot();
    // S3: hands the main context's new rows to the writer and returns at once. A failed write is
    // logged and the rows are lost.
    void save();
    // Hands one row to the writer (S2 + S3 in one step).
    void saveSnapshot(const QVSnapshot& snapshot);

    // S4: every row matching the filter, oldest first. Any thread. Empty on failure (logged).
    std::vector<QVSnapshot> fetchSnapshots(const QVSnapshotFilter& filter) const;
    // The fast path of S4: just the named attributes of the matching rows, oldest first, as doubles,
    // row after row (values[row * attributes.size() + column]); booleans are 0/1, an absent value is
    // NaN. `osxHealth` cannot be asked for. Empty on failure (logged).
    std::vector<double> fetchValues(const QVSnapshotFilter& filter, const QStringList& attributes) const;
    // fetchValues without the result list: calls `row(const double* values)` for each matching row,
    // oldest first, with the named attributes in their order (NaN = absent). The pointer is valid
    // during the call only. Returns false (logged) on failure; rows already visited stay visited.
    template <typename RowVisitor>
    bool visitValues(const QVSnapshotFilter& filter, const QStringList& attributes, RowVisitor&& row) const
    {
        using Visitor = std::remove_reference_t<RowVisitor>;
        return visitRows(
            filter, attributes,
            [](void* visitor, const double* values) { (*static_cast<Visitor*>(visitor))(values); },
            const_cast<void*>(static_cast<const void*>(&row)));
    }
    // Only the dates (seconds since 1970) of the matching rows, oldest first.
    std::vector<double> fetchDates(const QVSnapshotFilter& filter) const;
    std::int64_t count(const QVSnapshotFilter& filter = {}) const;

    // S5: the average of maxCharge over the rows matching healthRecords(), one entry per distinct
    // (cycles, maxCapacity), ordered by cycles, then maxCapacity.
    std::vector<QVCycleAverage> averageMaxChargeByCycles() const;

    // S8 (+ S9 in the work block): returns at once; runs `work` on a fresh background thread with a
    // fresh private context, then writes the context's rows to the file in one transaction on the
    // writer, then calls `completion` on the main thread. A row whose date equals a stored row's
    // date (or an earlier row's of the same save) is skipped and counted.
    using WorkBlock = std::function<void(QVPrivateContext&)>;
    using SaveCompletion = std::function<void(const QVSaveResult&)>;
    void saveInBackground(WorkBlock work, SaveCompletion completion);

    // Blocks until every write handed over so far (including background saves) has finished.
    void waitUntilWritten() const;

private:
    struct Job {
        std::vector<QVSnapshot> rows;
        bool skipDuplicates = false;
        SaveCompletion completion;   // called on the main thread when set
        std::uint64_t sequence = 0;
    };

    bool openFile(const QString& path);
    bool openForReading(const QString& path, bool inPlace, QString* error);
    sqlite3* openReader(QString* error) const;
    bool visitRows(const QVSnapshotFilter& filter, const QStringList& attributes,
                   void (*row)(void* visitor, const double* values), void* visitor) const;
    void enqueue(Job job);
    void writerLoop();
    QVSaveResult write(Job& job);
    void waitFor(std::uint64_t sequence) const;
    sqlite3* takeReader() const;
    void returnReader(sqlite3* db) const;

    QString m_path;
    bool m_open = false;
    bool m_openAttempted = false;
    bool m_readOnly = false;
    // Read-only stores: how the read connections open the file (a URI, and a VFS name or null).
    QByteArray m_readerUri;
    const char* m_readerVfs = nullptr;
    std::unique_ptr<QTemporaryDir> m_copyFolder;   // the private copy, when the file could not be read in place
    std::deque<QVSnapshot> m_mainContext;

    sqlite3* m_writer = nullptr;
    std::thread m_writerThread;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_queueChanged;
    mutable std::condition_variable m_written;
    std::deque<Job> m_queue;
    std::uint64_t m_handedOver = 0;   // sequence of the last job handed over (includes pending S8)
    std::uint64_t m_done = 0;         // jobs finished, in order
    std::uint64_t m_backgroundSaves = 0;   // S8 work blocks still running
    bool m_stopping = false;

    sqlite3_stmt* m_insert = nullptr;
    sqlite3_stmt* m_findDate = nullptr;

    mutable std::mutex m_readerMutex;
    mutable std::vector<sqlite3*> m_readers;
};
