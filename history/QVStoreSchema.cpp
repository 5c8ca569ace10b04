#include "history/QVStoreSchema.h"

#include <sqlite3.h>

#include <limits>

namespace QVStoreSchema {

QString columnList()
{
    return QVSnapshot::attributeNames().join(", ");
}

QString lastError(sqlite3* db)
{
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
}

bool exec(sqlite3* db, const char* sql, QString* error)
{
    char* message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    if (error)
        *error = message ? QString::fromUtf8(message) : lastError(db);
    sqlite3_free(message);
    return false;
}

long long queryInt(sqlite3* db, const char* sql, long long fallback)
{
    sqlite3_stmt* statement = nullptr;
    long long result = fallback;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK && sqlite3_step(statement) == SQLITE_ROW)
        result = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    return result;
}

bool create(sqlite3* db, QString* error)
{
    return exec(db,
                "CREATE TABLE QVSnapshot ("
                " id INTEGER PRIMARY KEY,"
                " date REAL, chargeLevel REAL, currentCharge INTEGER, maxCharge INTEGER, maxCapacity INTEGER,"
                " cycles INTEGER, isCharging INTEGER, isConnectedToPowerSource INTEGER, isFullyCharged INTEGER,"
                " osxHealth TEXT, powerUsageWatts REAL, temperature REAL, timeRemainingEstimate REAL);"
                "CREATE INDEX QVSnapshot_date ON QVSnapshot(date);"
                "CREATE TABLE QVDailySnapshot ("
                " id INTEGER PRIMARY KEY, date REAL,"
                " secondsCharging REAL, secondsOnBattery REAL, secondsFullyCharged REAL);",
                error);
}

bool migrate(sqlite3* db, int from, QString* error)
{
    if (from < 2) {
        if (!exec(db,
                  "ALTER TABLE QVSnapshot ADD COLUMN timeRemainingEstimate REAL;"
                  "CREATE INDEX IF NOT EXISTS QVSnapshot_date ON QVSnapshot(date);"
                  "CREATE TABLE IF NOT EXISTS QVDailySnapshot ("
                  " id INTEGER PRIMARY KEY, date REAL,"
                  " secondsCharging REAL, secondsOnBattery REAL, secondsFullyCharged REAL);",
                  error))
            return false;
    }
    return true;
}

namespace {

void bindDouble(sqlite3_stmt* s, int i, const std::optional<double>& v)
{
    if (v)
        sqlite3_bind_double(s, i, *v);
    else
        sqlite3_bind_null(s, i);
}

void bindUnsigned(sqlite3_stmt* s, int i, const std::optional<std::uint64_t>& v)
{
    constexpr auto max = static_cast<std::uint64_t>(std::numeric_limits<sqlite3_int64>::max());
    if (v)
        sqlite3_bind_int64(s, i, static_cast<sqlite3_int64>(*v > max ? max : *v));
    else
        sqlite3_bind_null(s, i);
}

void bindBool(sqlite3_stmt* s, int i, const std::optional<bool>& v)
{
    if (v)
        sqlite3_bind_int(s, i, *v ? 1 : 0);
    else
        sqlite3_bind_null(s, i);
}

bool isNull(sqlite3_stmt* s, int i)
{
    return sqlite3_column_type(s, i) == SQLITE_NULL;
}

std::optional<double> readDouble(sqlite3_stmt* s, int i)
{
    if (isNull(s, i))
        return std::nullopt;
    return sqlite3_column_double(s, i);
}

std::optional<std::uint64_t> readUnsigned(sqlite3_stmt* s, int i)
{
    if (isNull(s, i))
        return std::nullopt;
    const sqlite3_int64 v = sqlite3_column_int64(s, i);
    return static_cast<std::uint64_t>(v < 0 ? 0 : v);
}

std::optional<bool> readBool(sqlite3_stmt* s, int i)
{
    if (isNull(s, i))
        return std::nullopt;
    return sqlite3_column_int64(s, i) != 0;
}

std::optional<QString> readString(sqlite3_stmt* s, int i)
{
    if (isNull(s, i))
        return std::nullopt;
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, i));
    return QString::fromUtf8(text, sqlite3_column_bytes(s, i));
}

} // namespace

void bind(sqlite3_stmt* s, int first, const QVSnapshot& r)
{
    int i = first;
    bindDouble(s, i++, r.date);
    bindDouble(s, i++, r.chargeLevel);
    bindUnsigned(s, i++, r.currentCharge);
    bindUnsigned(s, i++, r.maxCharge);
    bindUnsigned(s, i++, r.maxCapacity);
    bindUnsigned(s, i++, r.cycles);
    bindBool(s, i++, r.isCharging);
    bindBool(s, i++, r.isConnectedToPowerSource);
    bindBool(s, i++, r.isFullyCharged);
    if (r.osxHealth) {
        const QByteArray utf8 = r.osxHealth->toUtf8();
        sqlite3_bind_text(s, i++, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
    } else {
        sqlite3_bind_null(s, i++);
    }
    bindDouble(s, i++, r.powerUsageWatts);
    bindDouble(s, i++, r.temperature);
    bindDouble(s, i++, r.timeRemainingEstimate);
}

QVSnapshot read(sqlite3_stmt* s, int first)
{
    QVSnapshot r;
    int i = first;
    r.date = readDouble(s, i++);
    r.chargeLevel = readDouble(s, i++);
    r.currentCharge = readUnsigned(s, i++);
    r.maxCharge = readUnsigned(s, i++);
    r.maxCapacity = readUnsigned(s, i++);
    r.cycles = readUnsigned(s, i++);
    r.isCharging = readBool(s, i++);
    r.isConnectedToPowerSource = readBool(s, i++);
    r.isFullyCharged = readBool(s, i++);
    r.osxHealth = readString(s, i++);
    r.powerUsageWatts = readDouble(s, i++);
    r.temperature = readDouble(s, i++);
    r.timeRemainingEstimate = readDouble(s, i++);
    return r;
}

} // namespace QVStoreSchema
