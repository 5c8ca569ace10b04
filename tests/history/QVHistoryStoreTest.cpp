#include "history/QVHistoryStore.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <cmath>
#include <thread>

namespace {

QVSnapshot fullSnapshot(double date)
{
    QVSnapshot s;
    s.date = date;
    s.chargeLevel = 57.5;
    s.currentCharge = 3100;
    s.maxCharge = 5400;
    s.maxCapacity = 6000;
    s.cycles = 120;
    s.isCharging = false;
    s.isConnectedToPowerSource = false;
    s.isFullyCharged = false;
    s.osxHealth = QStringLiteral("Good");
    s.powerUsageWatts = 9.25;
    s.temperature = 31.5;
    s.timeRemainingEstimate = -1;
    return s;
}

QByteArray fileHash(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

void execSql(const QString& path, const char* sql)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    char* error = nullptr;
    ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    sqlite3_close(db);
}

// Runs the event loop until `condition` holds or `ms` have passed.
bool waitUntil(const std::function<bool()>& condition, int ms = 10000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return condition();
}

std::vector<double> datesOf(const std::vector<QVSnapshot>& rows)
{
    std::vector<double> dates;
    for (const auto& r : rows)
        dates.push_back(r.date.value_or(NAN));
    return dates;
}

class HistoryStoreTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath("Voltara.sqlite"); }
};

} // namespace

TEST_F(HistoryStoreTest, SavedRowsComeBackWithEveryAttributeOldestFirst)
{
    QVHistoryStore store;
    ASSERT_TRUE(store.openAtPath(path()));
    QVSnapshot& later = store.createSnapshot();
    later = fullSnapshot(2000.5);
    store.save();
    QVSnapshot sparse;   // only a date: every other attribute stays absent
    sparse.date = 1000.25;
    sparse.osxHealth = QString();   // the empty string is a value, not an absent one
    store.saveSnapshot(sparse);

    const auto rows = store.fetchSnapshots({});
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], sparse);
    EXPECT_TRUE(rows[0].osxHealth.has_value());
    EXPECT_EQ(rows[1], fullSnapshot(2000.5));
    EXPECT_FALSE(rows[0].chargeLevel.has_value());

    const auto values = store.fetchValues({}, {"date", "chargeLevel", "isCharging"});
    ASSERT_EQ(values.size(), 6u);
    EXPECT_EQ(values[0], 1000.25);
    EXPECT_TRUE(std::isnan(values[1]));
    EXPECT_EQ(values[3], 2000.5);
    EXPECT_EQ(values[4], 57.5);
    EXPECT_EQ(values[5], 0.0);
    EXPECT_TRUE(store.fetchValues({}, {"osxHealth"}).empty());
}

TEST_F(HistoryStoreTest, FiltersSelectTheRowsTheirPredicatesName)
{
    QVHistoryStore store;
    ASSERT_TRUE(store.openAtPath(path()));
    struct Row {
        double date;
        std::optional<double> chargeLevel;
        std::optional<bool> charging, connected, full;
        std::optional<std::uint64_t> cycles, maxCharge;
    };
    const std::vector<Row> rows = {
        {100, 50, false, false, false, 10, 5000},          // on battery
        {200, std::nullopt, true, true, false, 10, 5000},  // charging, no level: charging
        {300, 100, true, true, false, 0, 5000},            // level 100 on AC: full, not charging
        {400, 99.9, false, true, false, 10, 0},            // 99.9 on AC without the flag: nothing
        {500, 80, false, true, true, 10, 5000},            // flag set on AC: full
        {600, 100, false, false, false, 10, 5000},         // 100 on battery: on battery, not full
        {700, 40, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt},   // flags absent
    };
    for (const Row& r : rows) {
        QVSnapshot s;
        s.date = r.date;
        s.chargeLevel = r.chargeLevel;
        s.isCharging = r.charging;
        s.isConnectedToPowerSource = r.connected;
        s.isFullyCharged = r.full;
        s.cycles = r.cycles;
        s.maxCharge = r.maxCharge;
        store.saveSnapshot(s);
    }

    struct Case {
        const char* name;
        QVSnapshotFilter filter;
        std::vector<double> dates;
    };
    const std::vector<Case> cases = {
        {"all", {}, {100, 200, 300, 400, 500, 600, 700}},
        {"range, both ends in", QVSnapshotFilter::dateRange(200, 500), {200, 300, 400, 500}},
        {"range as QDateTime", QVSnapshotFilter::dateRange(QDateTime::fromSecsSinceEpoch(300, Qt::UTC),
                                                           QDateTime::fromSecsSinceEpoch(300, Qt::UTC)), {300}},
        {"on battery", QVSnapshotFilter::onBattery(), {100, 600}},
        {"fully charged", QVSnapshotFilter::fullyCharged(), {300, 500}},
        {"charging", QVSnapshotFilter::charging(), {200}},
        {"health records", QVSnapshotFilter::healthRecords(), {100, 200, 500, 600}},
        {"range and state", QVSnapshotFilter::dateRange(0, 550) && QVSnapshotFilter::fullyCharged(), {300, 500}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(datesOf(store.fetchSnapshots(c.filter)), c.dates) << c.name;
        EXPECT_EQ(store.fetchDates(c.filter), c.dates) << c.name;
        EXPECT_EQ(store.count(c.filter), static_cast<std::int64_t>(c.dates.size())) << c.name;
    }
    EXPECT_EQ(QVSnapshotFilter::charging().format(), "isCharging = YES AND (chargeLevel = NULL OR chargeLevel < 100)");
}

TEST_F(HistoryStoreTest, GroupedAverageByCyclesThenCapacity)
{
    QVHistoryStore store;
    ASSERT_TRUE(store.openAtPath(path()));
    EXPECT_TRUE(store.averageMaxChargeByCycles().empty());

    const auto add = [&](std::uint64_t cycles, std::uint64_t maxCapacity, std::uint64_t maxCharge) {
        QVSnapshot s = fullSnapshot(store.count() + 1);
        s.cycles = cycles;
        s.maxCapacity = maxCapacity;
        s.maxCharge = maxCharge;
        store.saveSnapshot(s);
    };
    add(0, 6000, 5000);     // no cycle count: left out
    add(12, 6000, 0);       // no full-charge capacity: left out
    EXPECT_TRUE(store.averageMaxChargeByCycles().empty());
    add(12, 6000, 5000);
    add(3, 6000, 5900);
    add(12, 5800, 4000);
    add(12, 6000, 5100);
    add(3, 6000, 5800);

    const std::vector<QVCycleAverage> expected = {{3, 6000, 5850}, {12, 5800, 4000}, {12, 6000, 5050}};
    EXPECT_EQ(store.averageMaxChargeByCycles(), expected);
    EXPECT_EQ(expected[2].dictionaryRepresentation().value("result").toDouble(), 5050.0);
}

TEST_F(HistoryStoreTest, FetchOnAnotherThreadSeesRowsHandedOverJustBefore)
{
    QVHistoryStore store;
    ASSERT_TRUE(store.openAtPath(path()));
    for (int round = 1; round <= 50; ++round) {
        for (int i = 0; i < 20; ++i)
            store.saveSnapshot(fullSnapshot(round * 100 + i));
        std::int64_t seen = -1;
        std::thread reader([&] { seen = static_cast<std::int64_t>(store.fetchDates({}).size()); });
        reader.join();
        ASSERT_EQ(seen, round * 20);
    }
}

TEST_F(HistoryStoreTest, BackgroundSaveSkipsRowsWithAStoredDateAndCompletesOnTheMainThread)
{
    QVHistoryStore store;
    ASSERT_TRUE(store.openAtPath(path()));
    store.saveSnapshot(fullSnapshot(10));

    const auto runSave = [&](std::vector<double> dates) {
        QVSaveResult result;
        bool workOnMain = true, completionOnMain = false;
        QEventLoop loop;
        store.saveInBackground(
            [&](QVPrivateContext& context) {
                workOnMain = QThread::currentThread() == QCoreApplication::instance()->thread();
                for (double d : dates)
                    context.importObject(fullSnapshot(d).dictionaryRepresentation());
            },
            [&](const QVSaveResult& r) {
                completionOnMain = QThread::currentThread() == QCoreApplication::instance()->thread();
                result = r;
                loop.quit();
            });
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        loop.exec();
        EXPECT_FALSE(workOnMain);
        EXPECT_TRUE(completionOnMain);
        return result;
    };

    QVSaveResult first = runSave({20, 10, 30, 20});
    EXPECT_TRUE(first.ok);
    EXPECT_EQ(first.inserted, 2);
    EXPECT_EQ(first.skippedDuplicates, 2);
    QVSaveResult second = runSave({10, 20, 30});
    EXPECT_EQ(second.inserted, 0);
    EXPECT_EQ(second.skippedDuplicates, 3);
    EXPECT_EQ(store.fetchDates({}), (std::vector<double>{10, 20, 30}));
    EXPECT_EQ(store.fetchSnapshots({}).back(), fullSnapshot(30));
}

TEST_F(HistoryStoreTest, OlderLayoutIsMigratedInPlaceKeepingEveryRow)
{
    // The first layout of our store: no timeRemainingEstimate, no date index, no daily table.
    execSql(path(),
            "CREATE TABLE QVSnapshot (id INTEGER PRIMARY KEY, date REAL, chargeLevel REAL, currentCharge INTEGER,"
            " maxCharge INTEGER, maxCapacity INTEGER, cycles INTEGER, isCharging INTEGER,"
            " isConnectedToPowerSource INTEGER, isFullyCharged INTEGER, osxHealth TEXT, powerUsageWatts REAL,"
            " temperature REAL);"
            "INSERT INTO QVSnapshot (date, chargeLevel, cycles, osxHealth) VALUES (300, 42.5, 7, 'Good'), (100, 90, 7, '');"
            "PRAGMA application_id = 1364610132; PRAGMA user_version = 1;");
    {
        QVHistoryStore store;
        ASSERT_TRUE(store.openAtPath(path()));
        const auto rows = store.fetchSnapshots({});
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[0].date, 100.0);
        EXPECT_EQ(rows[1].chargeLevel, 42.5);
        EXPECT_EQ(rows[1].osxHealth, QString("Good"));
        EXPECT_FALSE(rows[1].timeRemainingEstimate.has_value());
        store.saveSnapshot(fullSnapshot(400));
    }
    QVHistoryStore reopened;
    ASSERT_TRUE(reopened.openAtPath(path()));
    EXPECT_EQ(reopened.count(), 3);
    EXPECT_EQ(reopened.fetchSnapshots(QVSnapshotFilter::dateRange(400, 400)).at(0), fullSnapshot(400));
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(path()).constData(), &db);
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, "SELECT (SELECT user_version FROM pragma_user_version),"
                           " (SELECT count(*) FROM sqlite_master WHERE name IN ('QVSnapshot_date', 'QVDailySnapshot'))",
                       -1, &s, nullptr);
    ASSERT_EQ(sqlite3_step(s), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(s, 0), QVHistoryStore::schemaVersion);
    EXPECT_EQ(sqlite3_column_int(s, 1), 2);
    sqlite3_finalize(s);
    sqlite3_close(db);
}

TEST_F(HistoryStoreTest, UnusableFilesAreLeftByteForByteAndTheStoreStaysEmpty)
{
    // A sound store of ours, then damaged in its middle pages.
    const QString damaged = dir.filePath("damaged.sqlite");
    {
        QVHistoryStore store;
        ASSERT_TRUE(store.openAtPath(damaged));
        for (int i = 0; i < 3000; ++i)
            store.saveSnapshot(fullSnapshot(i));
    }
    {
        QFile f(damaged);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_GT(f.size(), 40000);
        f.seek(4096 * 3);
        f.write(QByteArray(4096 * 4, '\x5a'));
    }
    const QString text = dir.filePath("text.sqlite");
    {
        QFile f(text);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("These are my notes, not a database.\n");
    }
    const QString foreign = dir.filePath("foreign.sqlite");
    execSql(foreign, "PRAGMA journal_mode = DELETE; CREATE TABLE notes (body TEXT); INSERT INTO notes VALUES ('x');");
    const QString newer = dir.filePath("newer.sqlite");
    execSql(newer, "CREATE TABLE QVSnapshot (id INTEGER PRIMARY KEY, date REAL);"
                   "PRAGMA application_id = 1364610132; PRAGMA user_version = 99;");

    for (const QString& file : {damaged, text, foreign, newer}) {
        const QByteArray before = fileHash(file);
        const QStringList sideFilesBefore = QDir(dir.path()).entryList(QDir::Files);
        {
            QVHistoryStore store;
            EXPECT_FALSE(store.openAtPath(file)) << file.toStdString();
            store.saveSnapshot(fullSnapshot(1));
            store.createSnapshot() = fullSnapshot(2);
            store.save();
            EXPECT_TRUE(store.fetchSnapshots({}).empty());
            EXPECT_EQ(store.count(), 0);
            EXPECT_TRUE(store.averageMaxChargeByCycles().empty());
            bool completed = false;
            store.saveInBackground([](QVPrivateContext& c) { c.insertSnapshot(fullSnapshot(3)); },
                                   [&](const QVSaveResult& r) { completed = !r.ok; });
            EXPECT_TRUE(waitUntil([&] { return completed; }));
        }
        EXPECT_EQ(fileHash(file), before) << file.toStdString();
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), sideFilesBefore) << file.toStdString();
    }
}

TEST_F(HistoryStoreTest, ReadOnlyOpenReadsRowsAndNeverWrites)
{
    {
        QVHistoryStore writer;
        ASSERT_TRUE(writer.openAtPath(path()));
        writer.saveSnapshot(fullSnapshot(20));
        writer.saveSnapshot(fullSnapshot(10));
    }
    const QByteArray before = fileHash(path());
    const QStringList filesBefore = QDir(dir.path()).entryList(QDir::Files);
    {
        QVHistoryStore store;
        QString error;
        ASSERT_TRUE(store.openReadOnlyAtPath(path(), &error)) << error.toStdString();
        EXPECT_TRUE(store.isReadOnly());
        EXPECT_EQ(store.fetchDates({}), (std::vector<double>{10, 20}));
        EXPECT_EQ(store.fetchSnapshots({}).back(), fullSnapshot(20));
        std::vector<double> visited;
        EXPECT_TRUE(store.visitValues({}, {"chargeLevel", "date"}, [&](const double* row) {
            visited.insert(visited.end(), row, row + 2);
        }));
        EXPECT_EQ(visited, (std::vector<double>{57.5, 10, 57.5, 20}));
        EXPECT_EQ(store.averageMaxChargeByCycles().size(), 1u);

        // Saves keep nothing; a background save completes as failed.
        store.saveSnapshot(fullSnapshot(30));
        store.createSnapshot() = fullSnapshot(40);
        store.save();
        bool failed = false;
        store.saveInBackground([](QVPrivateContext& c) { c.insertSnapshot(fullSnapshot(50)); },
                               [&](const QVSaveResult& r) { failed = !r.ok; });
        EXPECT_TRUE(waitUntil([&] { return failed; }));
        store.waitUntilWritten();
        EXPECT_EQ(store.count(), 2);
    }
    EXPECT_EQ(fileHash(path()), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), filesBefore);

    // A store of the first layout is read as it is, not migrated.
    const QString older = dir.filePath("older.sqlite");
    execSql(older, "CREATE TABLE QVSnapshot (id INTEGER PRIMARY KEY, date REAL, chargeLevel REAL, currentCharge INTEGER,"
                   " maxCharge INTEGER, maxCapacity INTEGER, cycles INTEGER, isCharging INTEGER,"
                   " isConnectedToPowerSource INTEGER, isFullyCharged INTEGER, osxHealth TEXT, powerUsageWatts REAL,"
                   " temperature REAL);"
                   "INSERT INTO QVSnapshot (date, chargeLevel) VALUES (300, 42.5);"
                   "PRAGMA application_id = 1364610132; PRAGMA user_version = 1;");
    const QByteArray olderBefore = fileHash(older);
    {
        QVHistoryStore store;
        ASSERT_TRUE(store.openReadOnlyAtPath(older));
        EXPECT_EQ(store.fetchValues({}, {"date", "chargeLevel"}), (std::vector<double>{300, 42.5}));
    }
    EXPECT_EQ(fileHash(older), olderBefore);
}

TEST_F(HistoryStoreTest, ReadOnlyOpenNamesWhyAFileCannotBeRead)
{
    QDir(dir.path()).mkdir("folder.sqlite");
    QFile(dir.filePath("empty.sqlite")).open(QIODevice::WriteOnly);
    {
        QFile f(dir.filePath("text.sqlite"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(200, 'x'));
    }
    execSql(dir.filePath("foreign.sqlite"), "CREATE TABLE notes (body TEXT);");
    execSql(dir.filePath("newer.sqlite"), "CREATE TABLE QVSnapshot (id INTEGER PRIMARY KEY, date REAL);"
                                          "PRAGMA application_id = 1364610132; PRAGMA user_version = 99;");
    // The newer version is only in the log, not yet in the file's header.
    const QString logged = dir.filePath("logged.sqlite");
    execSql(logged, "PRAGMA application_id = 1364610132; PRAGMA user_version = 2; PRAGMA journal_mode = WAL;"
                    "CREATE TABLE QVSnapshot (id INTEGER PRIMARY KEY, date REAL);");
    sqlite3* open = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(logged).constData(), &open), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(open, "PRAGMA wal_autocheckpoint = 0; PRAGMA user_version = 7;", nullptr, nullptr, nullptr),
              SQLITE_OK);
    const QString unreadable = dir.filePath("unreadable.sqlite");
    QFile::copy(dir.filePath("foreign.sqlite"), unreadable);
    QFile::setPermissions(unreadable, QFileDevice::Permissions());

    const struct {
        const char* file;
        const char* reason;
    } cases[] = {
        {"missing.sqlite", "no such file"},
        {"folder.sqlite", "not a file"},
        {"empty.sqlite", "not a Voltara history store (empty file)"},
        {"text.sqlite", "not a Voltara history store (not a SQLite database)"},
        {"foreign.sqlite", "not a Voltara history store"},
        {"newer.sqlite", "written by a newer version of Voltara (store version 99)"},
        {"logged.sqlite", "written by a newer version of Voltara (store version 7)"},
        {"unreadable.sqlite", "cannot be read"},
    };
    // (In one process the connections share the -shm file's memory, so only the log is compared;
    // the command's tests compare the -shm file from another process.)
    const QByteArray before = fileHash(logged + "-wal");
    const QStringList filesBefore = QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    for (const auto& c : cases) {
        if (QString(c.file) == "unreadable.sqlite" && QFile(unreadable).open(QIODevice::ReadOnly))
            continue;   // permissions do not hold for this user
        QVHistoryStore store;
        QString error;
        EXPECT_FALSE(store.openReadOnlyAtPath(dir.filePath(c.file), &error)) << c.file;
        EXPECT_TRUE(error.startsWith(c.reason)) << c.file << ": " << error.toStdString();
        EXPECT_FALSE(error.contains('\n')) << c.file;
        EXPECT_TRUE(store.fetchDates({}).empty()) << c.file;
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot), filesBefore);
    EXPECT_EQ(fileHash(logged + "-wal"), before);
    sqlite3_close(open);
}

TEST_F(HistoryStoreTest, StorePlaceFollowsOverrideThenDocumentsThenDataFolder)
{
    const QByteArray savedStore = qgetenv("VOLTARA_STORE");
    qunsetenv("VOLTARA_STORE");
    const QString dataCopy = qEnvironmentVariable("XDG_DATA_HOME") + "/Voltara/Voltara.sqlite";
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QDir().mkpath(documents);
    const QString documentsCopy = QDir(documents).filePath("Voltara.sqlite");
    QFile::remove(documentsCopy);
    QFile::remove(dataCopy);

    EXPECT_EQ(QVHistoryStore::defaultStorePath(), dataCopy);

    // A store in the documents folder is the store; the data-folder copy is never created.
    QFile::remove(dataCopy);
    {
        QVHistoryStore seed;
        ASSERT_TRUE(seed.openAtPath(documentsCopy));
        seed.saveSnapshot(fullSnapshot(1));
    }
    {
        QVHistoryStore store;
        ASSERT_TRUE(store.open());
        EXPECT_EQ(store.path(), documentsCopy);
        EXPECT_EQ(store.count(), 1);
    }
    EXPECT_FALSE(QFile::exists(dataCopy));

    qputenv("VOLTARA_STORE", path().toUtf8());
    EXPECT_EQ(QVHistoryStore::defaultStorePath(), path());
    QFile::remove(documentsCopy);
    if (savedStore.isNull())
        qunsetenv("VOLTARA_STORE");
    else
        qputenv("VOLTARA_STORE", savedStore);
}

// The child half of the kill test: records as fast as it can and reports, on standard output, the
// number of rows known to be written. Runs only when re-started by the test below.
TEST(HistoryStoreKillChild, Record)
{
    const QString file = qEnvironmentVariable("VOLTARA_KILL_CHILD_STORE");
    if (file.isEmpty())
        GTEST_SKIP() << "runs only as the child of the kill test";
    QVHistoryStore store;
    ASSERT_TRUE(store.openAtPath(file));
    for (int i = 1;; ++i) {
        QVSnapshot& s = store.createSnapshot();
        s = fullSnapshot(i);
        store.save();
        if (i % 25 == 0) {
            store.waitUntilWritten();
            std::printf("%d\n", i);
            std::fflush(stdout);
        }
    }
}

TEST_F(HistoryStoreTest, KillingTheRecordingProcessLosesAtMostTheRowsInFlight)
{
    for (int round = 0; round < 3; ++round) {
        const QString file = dir.filePath(QStringLiteral("killed%1.sqlite").arg(round));
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("VOLTARA_KILL_CHILD_STORE", file);
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=HistoryStoreKillChild.Record"});
        ASSERT_TRUE(child.waitForStarted());
        int acknowledged = 0;
        const int target = 500 + round * 1500;
        QElapsedTimer timer;
        timer.start();
        while (acknowledged < target && timer.elapsed() < 30000) {
            child.waitForReadyRead(100);
            while (child.canReadLine())
                acknowledged = child.readLine().trimmed().toInt();
        }
        ASSERT_GE(acknowledged, target);
        child.kill();   // SIGKILL
        ASSERT_TRUE(child.waitForFinished());

        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(file).constData(), &db), SQLITE_OK);
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &s, nullptr);
        ASSERT_EQ(sqlite3_step(s), SQLITE_ROW);
        EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)), "ok");
        sqlite3_finalize(s);
        sqlite3_close(db);

        QVHistoryStore store;
        ASSERT_TRUE(store.openAtPath(file));
        const std::vector<double> dates = store.fetchDates({});
        ASSERT_GE(dates.size(), static_cast<size_t>(acknowledged));
        for (size_t i = 0; i < dates.size(); ++i)
            ASSERT_EQ(dates[i], static_cast<double>(i + 1)) << "rows are whole and in order";
    }
}
