#pragma once

#include "history/QVSnapshot.h"

#include <QString>

struct sqlite3;
struct sqlite3_stmt;

// The SQL layout of our store files, shared by the store and the read-only reader.
//
// Version 1: table QVSnapshot (id, date, chargeLevel, currentCharge, maxCharge, maxCapacity, cycles,
//            isCharging, isConnectedToPowerSource, isFullyCharged, osxHealth, powerUsageWatts,
//            temperature).
// Version 2: adds QVSnapshot.timeRemainingEstimate, the index QVSnapshot_date on date and the table
//            QVDailySnapshot (id, date, secondsCharging, secondsOnBattery, secondsFullyCharged).
namespace QVStoreSchema {

// "date, chargeLevel, ..., timeRemainingEstimate": the 13 attribute columns in QVSnapshot's order.
QString columnList();

// Creates the current layout in an empty database (inside the caller's transaction).
bool create(sqlite3* db, QString* error);
// Brings a store of version `from` up to the current version (inside the caller's transaction).
bool migrate(sqlite3* db, int from, QString* error);

// Binds the 13 attributes to parameters first..first+12 (NULL for absent ones).
void bind(sqlite3_stmt* statement, int first, const QVSnapshot& snapshot);
// Reads the 13 attributes from columns first..first+12.
QVSnapshot read(sqlite3_stmt* statement, int first);

// Runs SQL without results; false (with the SQLite message in `error`) on failure.
bool exec(sqlite3* db, const char* sql, QString* error = nullptr);
// The single integer result of `sql`, or `fallback`.
long long queryInt(sqlite3* db, const char* sql, long long fallback = -1);
QString lastError(sqlite3* db);

} // namespace QVStoreSchema
