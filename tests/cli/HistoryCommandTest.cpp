#include "history/KZDateUtilities.h"
#include "history/LocalZone.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <optional>

namespace {

struct CommandRun {
    int exitCode = -1;
    QByteArray out, err;
};

CommandRun runVoltara(const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TZ", "Europe/Berlin");
    environment.insert("LC_ALL", "C.UTF-8");
    environment.remove("VOLTARA_STORE");
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(VOLTARA_BINARY), QStringList{"history"} + arguments);
    process.waitForFinished(60'000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

// The bytes of the files in a folder, with their names.
QByteArray folderFingerprint(const QString& folder)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QString& name : QDir(folder).entryList(QDir::Files, QDir::Name)) {
        QFile file(QDir(folder).filePath(name));
        file.open(QIODevice::ReadOnly);
        hash.addData(name.toUtf8());
        hash.addData(file.readAll());
    }
    return hash.result();
}

// A store made with plain SQL in the store's layout, not through the store's code. The connection
// stays open in write-ahead-log mode, so the rows are still in the log while the command reads.
class IndependentStore
{
public:
    IndependentStore()
    {
        path = dir.filePath("Voltara.sqlite");
        sqlite3_open(QFile::encodeName(path).constData(), &db);
        exec("PRAGMA application_id = 1364610132; PRAGMA user_version = 2;"
             "CREATE TABLE QVSnapshot (id INTEGER PRIMARY KEY, date REAL, chargeLevel REAL, currentCharge INTEGER,"
             " maxCharge INTEGER, maxCapacity INTEGER, cycles INTEGER, isCharging INTEGER,"
             " isConnectedToPowerSource INTEGER, isFullyCharged INTEGER, osxHealth TEXT, powerUsageWatts REAL,"
             " temperature REAL, timeRemainingEstimate REAL);"
             "CREATE INDEX QVSnapshot_date ON QVSnapshot(date);"
             "CREATE TABLE QVDailySnapshot (id INTEGER PRIMARY KEY, date REAL, secondsCharging REAL,"
             " secondsOnBattery REAL, secondsFullyCharged REAL);"
             "PRAGMA journal_mode = WAL; PRAGMA wal_autocheckpoint = 0;");
    }
    ~IndependentStore() { close(); }

    // The last connection closes: the log goes into the file, and the -wal and -shm files away.
    void close()
    {
        sqlite3_close(db);
        db = nullptr;
    }

    void add(const QDateTime& date, double level, bool connected, bool charging, bool full, int cycles, int maxCharge)
    {
        const QString sql = QStringLiteral(
            "INSERT INTO QVSnapshot (date, chargeLevel, currentCharge, maxCharge, maxCapacity, cycles, isCharging,"
            " isConnectedToPowerSource, isFullyCharged, osxHealth, powerUsageWatts, temperature, timeRemainingEstimate)"
            " VALUES (%1, %2, 2000, %3, 5000, %4, %5, %6, %7, '', 6.5, 30.0, 7200);")
            .arg(double(date.toMSecsSinceEpoch()) / 1000.0, 0, 'f', 3).arg(level).arg(maxCharge).arg(cycles)
            .arg(int(charging)).arg(int(connected)).arg(int(full));
        exec(sql.toUtf8().constData());
    }

    // The bytes of the store and the names of the files beside it.
    QByteArray fingerprint() const { return folderFingerprint(dir.path()); }

    QTemporaryDir dir;
    QString path;

private:
    void exec(const char* sql) { ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql; }
    sqlite3* db = nullptr;
};

QString iso(const QDateTime& t, const LocalZone& zone)
{
    return t.toTimeZone(zone.zone()).toString(Qt::ISODate);
}

class HistoryCommandTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Yesterday in Berlin, as the command will see it.
        yesterday = kz_dateByRemovingDays(QDateTime::currentDateTimeUtc(), 1);
        const QDate day = yesterday.toTimeZone(zone.zone()).date();
        auto at = [&](int h, int m) { return QDateTime(day, QTime(h, m), zone.zone()).toUTC(); };
        t1000 = at(10, 0);
        t1001 = at(10, 1);
        t1105 = at(11, 5);
        store.add(t1000, 80, false, false, false, 100, 4700);
        store.add(t1001, 82, false, false, false, 100, 4726);
        store.add(t1105, 84, true, true, false, 101, 4600);
        store.add(yesterday.addDays(-3), 50, false, false, false, 0, 4000);   // no cycle count: not in health
        hours = int(std::min<qint64>(24, yesterday.secsTo(kz_endOfDay(yesterday).addSecs(1)) / 3600));
    }

    LocalZone zone{"Europe/Berlin"};
    IndependentStore store;
    QDateTime yesterday, t1000, t1001, t1105;
    int hours = 24;
};

TEST_F(HistoryCommandTest, powerDayPageAsJson)
{
    const QByteArray before = store.fingerprint();
    const CommandRun run = runVoltara({"power", "--range", "day", "--page", "1", "--json", "--store", store.path});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const QJsonArray items = QJsonDocument::fromJson(run.out).array();
    ASSERT_EQ(items.size(), hours);
    EXPECT_EQ(items[0].toObject()["date"].toString(), iso(yesterday, zone));
    for (const QJsonValue& v : items) {
        const QJsonObject item = v.toObject();
        EXPECT_EQ(item["titles"].toArray(), (QJsonArray{"Battery", "Charging", "Fully Charged"}));
        const bool tenOClock = item["date"].toString() == iso(t1000, zone);
        EXPECT_EQ(item["values"].toArray(), tenOClock ? (QJsonArray{60, 0, 0}) : (QJsonArray{0, 0, 0}))
            << item["date"].toString().toStdString();
        EXPECT_EQ(item["total"].toDouble(), tenOClock ? 60 : 0);
    }
    EXPECT_EQ(store.fingerprint(), before) << "the store and the files beside it are unchanged";
}

// The other states the store's files can be in when the command reads them (the test above reads a
// store whose writer is still running): the log and shared memory left by a writer that ended
// without closing, the log alone, and a cleanly closed store without side files.
TEST_F(HistoryCommandTest, everyStateOfTheLogIsReadWithoutChangingAFile)
{
    const struct {
        const char* name;
        QStringList sideFiles;   // copied with the store while its writer is running
        bool closed;
    } cases[] = {
        {"log and shared memory, no writer", {"-wal", "-shm"}, false},
        {"log without shared memory", {"-wal"}, false},
        {"closed, no side files", {}, true},   // last: closes the writer
    };
    for (const auto& c : cases) {
        if (c.closed)
            store.close();
        QTemporaryDir folder;
        const QString path = folder.filePath("Voltara.sqlite");
        for (const QString& suffix : QStringList{""} + c.sideFiles)
            ASSERT_TRUE(QFile::copy(store.path + suffix, path + suffix)) << c.name;
        ASSERT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), c.sideFiles.size() + 1) << c.name;
        const QByteArray before = folderFingerprint(folder.path());

        const CommandRun run = runVoltara({"power", "--range", "day", "--page", "1", "--json", "--store", path});
        ASSERT_EQ(run.exitCode, 0) << c.name << ": " << run.err.constData();
        double battery = 0;
        for (const QJsonValue& v : QJsonDocument::fromJson(run.out).array())
            battery += v.toObject()["values"].toArray()[0].toDouble();
        EXPECT_EQ(battery, 60) << c.name;
        EXPECT_EQ(folderFingerprint(folder.path()), before) << c.name << ": the store and the files beside it";
    }
}

TEST_F(HistoryCommandTest, chargeDayPageAsJsonAndCsv)
{
    const CommandRun run = runVoltara({"charge", "--page", "1", "--json", "--store", store.path});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const QJsonArray items = QJsonDocument::fromJson(run.out).array();
    ASSERT_EQ(items.size(), hours);
    int withData = 0;
    for (const QJsonValue& v : items) {
        const QJsonObject item = v.toObject();
        EXPECT_EQ(item["titles"].toArray(), QJsonArray{""});
        const QString date = item["date"].toString();
        const double value = date == iso(t1001, zone) ? 0.81 : date == iso(t1105, zone) ? 0.84 : -0.01;
        withData += value > 0;
        EXPECT_EQ(item["values"].toArray(), QJsonArray{value}) << date.toStdString();
        EXPECT_EQ(item["total"].toDouble(), value);
    }
    EXPECT_EQ(withData, 2);

    const CommandRun csv = runVoltara({"charge", "--page", "1", "--csv", "--store", store.path});
    ASSERT_EQ(csv.exitCode, 0) << csv.err.constData();
    const QList<QByteArray> lines = csv.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), hours + 1);
    EXPECT_EQ(lines[0], "date,value,total");
    EXPECT_TRUE(lines.contains((iso(t1001, zone) + ",0.81,0.81").toUtf8())) << csv.out.constData();
}

TEST_F(HistoryCommandTest, weekMonthYearAndHealth)
{
    // The page that holds yesterday: the current week always does; the month or year before when
    // today began a new one.
    const QDate today = QDateTime::currentDateTimeUtc().toTimeZone(zone.zone()).date();
    const QDate day = yesterday.toTimeZone(zone.zone()).date();
    const struct {
        const char* range;
        bool previous;
    } pages[] = {{"week", false}, {"month", day.month() != today.month()}, {"year", day.year() != today.year()}};
    for (const auto& page : pages) {
        const CommandRun run = runVoltara({"power", "--range", page.range, "--page", page.previous ? "1" : "0",
                                           "--json", "--store", store.path});
        ASSERT_EQ(run.exitCode, 0) << run.err.constData();
        double battery = 0;
        for (const QJsonValue& v : QJsonDocument::fromJson(run.out).array())
            battery += v.toObject()["values"].toArray()[0].toDouble();
        EXPECT_EQ(battery, 60) << page.range;
    }

    const CommandRun health = runVoltara({"health", "--json", "--store", store.path});
    ASSERT_EQ(health.exitCode, 0) << health.err.constData();
    const QJsonArray rows = QJsonDocument::fromJson(health.out).array();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].toObject(), (QJsonObject{{"cycles", 100}, {"maxCapacity", 5000}, {"result", 4713}}));
    EXPECT_EQ(rows[1].toObject(), (QJsonObject{{"cycles", 101}, {"maxCapacity", 5000}, {"result", 4600}}));
}

TEST(HistoryCommand, badArgumentsAndStoresAreClearErrors)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath("missing/Voltara.sqlite");
    const QString text = dir.filePath("notes.sqlite");
    {
        QFile file(text);
        file.open(QIODevice::WriteOnly);
        file.write("these are not the rows you are looking for\n");
    }
    const QString empty = dir.filePath("empty.sqlite");
    QFile(empty).open(QIODevice::WriteOnly);
    const struct {
        QStringList arguments;
        const char* message;
    } cases[] = {
        {{"power", "--store", missing}, "no history store"},
        {{"power", "--store", text}, "not a Voltara history store"},
        {{"charge", "--store", empty}, "not a Voltara history store"},
        {{"power", "--range", "decade", "--store", text}, "unknown range"},
        {{"power", "--page", "-1", "--store", text}, "page"},
        {{"power", "--page", "two", "--store", text}, "page"},
        {{"power", "--page", "1.5", "--store", text}, "page"},
        {{"charge", "--range", "week", "--store", text}, "--range"},
        {{"health", "--page", "1", "--store", text}, "--page"},
        {{"power", "--json", "--csv", "--store", text}, "--json and --csv"},
        {{"energy", "--store", text}, "unknown history"},
        {{}, "power, charge or health"},
    };
    for (const auto& c : cases) {
        const CommandRun run = runVoltara(c.arguments);
        EXPECT_NE(run.exitCode, 0) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(c.message)) << c.arguments.join(' ').toStdString() << ": " << run.err.constData();
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("missing"))) << "nothing is created for a missing store";
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2) << "no files appear beside the others";
}

} // namespace
