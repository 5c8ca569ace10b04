#pragma once

// Builds first-generation history stores (the object-store layout) for tests and benchmarks.
#include <QDir>
#include <QFile>
#include <QString>
#include <sqlite3.h>

// A first-generation store (object-store layout) with `rows` snapshots a minute apart; every
// `incompleteEvery`-th row lacks its health text. With `leaveInLog` the rows stay in the
// write-ahead log, as with a first generation that is still running.
inline QString makeFirstGenerationStore(const QString& container, int rows, int incompleteEvery = 0,
                                        bool leaveInLog = true)
{
    const QString folder = container + "/Data/Library/Application Support/Voltara";
    QDir().mkpath(folder);
    const QString path = folder + "/Voltara.sqlite";
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    sqlite3_exec(db,
                 "PRAGMA journal_mode = WAL;"
                 "CREATE TABLE ZQVSNAPSHOT (Z_PK INTEGER PRIMARY KEY, Z_ENT INTEGER, Z_OPT INTEGER,"
                 " ZCYCLES INTEGER, ZISCHARGING INTEGER, ZISCONNECTEDTOPOWERSOURCE INTEGER, ZISFULLYCHARGED INTEGER,"
                 " ZCURRENTCHARGE INTEGER, ZMAXCAPACITY INTEGER, ZMAXCHARGE INTEGER, ZCHARGELEVEL FLOAT, ZDATE TIMESTAMP,"
                 " ZPOWERUSAGEWATTS FLOAT, ZTEMPERATURE FLOAT, ZTIMEREMAININGESTIMATE FLOAT, ZOSXHEALTH VARCHAR);"
                 "CREATE TABLE Z_PRIMARYKEY (Z_ENT INTEGER PRIMARY KEY, Z_NAME VARCHAR, Z_SUPER INTEGER, Z_MAX INTEGER);"
                 "CREATE TABLE Z_METADATA (Z_VERSION INTEGER PRIMARY KEY, Z_UUID VARCHAR(255), Z_PLIST BLOB);"
                 "INSERT INTO Z_METADATA VALUES (1, 'D2B5F0A1', x'00');",
                 nullptr, nullptr, nullptr);
    sqlite3_exec(db, leaveInLog ? "PRAGMA wal_autocheckpoint = 0; BEGIN" : "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO ZQVSNAPSHOT (Z_ENT, Z_OPT, ZCYCLES, ZISCHARGING, ZISCONNECTEDTOPOWERSOURCE,"
                       " ZISFULLYCHARGED, ZCURRENTCHARGE, ZMAXCAPACITY, ZMAXCHARGE, ZCHARGELEVEL, ZDATE,"
                       " ZPOWERUSAGEWATTS, ZTEMPERATURE, ZTIMEREMAININGESTIMATE, ZOSXHEALTH)"
                       " VALUES (1, 1, 312, ?, ?, 0, ?, 6330, 5800, ?, ?, 11.5, 30.25, -1, ?)",
                       -1, &s, nullptr);
    for (int i = 0; i < rows; ++i) {
        sqlite3_bind_int(s, 1, i % 2);
        sqlite3_bind_int(s, 2, i % 2);
        sqlite3_bind_int(s, 3, 3000 + i % 500);
        sqlite3_bind_double(s, 4, 50.0 + (i % 50));
        sqlite3_bind_double(s, 5, 500000000.125 + i * 60.0);   // seconds since 2001
        if (incompleteEvery && i % incompleteEvery == 0)
            sqlite3_bind_null(s, 6);
        else
            sqlite3_bind_text(s, 6, "Good", -1, SQLITE_STATIC);
        sqlite3_step(s);
        sqlite3_reset(s);
    }
    sqlite3_finalize(s);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    if (leaveInLog)   // keep the log and its index in place
        sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    sqlite3_close(db);
    return path;
}
