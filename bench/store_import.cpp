// The history import: rows imported per second from a first-generation store (read, checked,
// de-duplicated against the history and written), with a progress report per row on the main thread.
#include "history/QVHistoryDataImporter.h"
#include "history/QVHistoryStore.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>

namespace {

QString makeFirstGenerationStore(const QString& path, int rows)
{
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    sqlite3_exec(db,
                 "CREATE TABLE ZQVSNAPSHOT (Z_PK INTEGER PRIMARY KEY, Z_ENT INTEGER, Z_OPT INTEGER,"
                 " ZCYCLES INTEGER, ZISCHARGING INTEGER, ZISCONNECTEDTOPOWERSOURCE INTEGER, ZISFULLYCHARGED INTEGER,"
                 " ZCURRENTCHARGE INTEGER, ZMAXCAPACITY INTEGER, ZMAXCHARGE INTEGER, ZCHARGELEVEL FLOAT, ZDATE TIMESTAMP,"
                 " ZPOWERUSAGEWATTS FLOAT, ZTEMPERATURE FLOAT, ZTIMEREMAININGESTIMATE FLOAT, ZOSXHEALTH VARCHAR);"
                 "BEGIN;",
                 nullptr, nullptr, nullptr);
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO ZQVSNAPSHOT (Z_ENT, Z_OPT, ZCYCLES, ZISCHARGING, ZISCONNECTEDTOPOWERSOURCE,"
                       " ZISFULLYCHARGED, ZCURRENTCHARGE, ZMAXCAPACITY, ZMAXCHARGE, ZCHARGELEVEL, ZDATE,"
                       " ZPOWERUSAGEWATTS, ZTEMPERATURE, ZTIMEREMAININGESTIMATE, ZOSXHEALTH)"
                       " VALUES (1, 1, 312, ?, ?, 0, ?, 6330, 5800, ?, ?, 11.5, 30.25, -1, 'Good')",
                       -1, &s, nullptr);
    for (int i = 0; i < rows; ++i) {
        sqlite3_bind_int(s, 1, i % 2);
        sqlite3_bind_int(s, 2, i % 2);
        sqlite3_bind_int(s, 3, 3000 + i % 500);
        sqlite3_bind_double(s, 4, 50.0 + (i % 50));
        sqlite3_bind_double(s, 5, 400000000.0 + i * 60.0);
        sqlite3_step(s);
        sqlite3_reset(s);
    }
    sqlite3_finalize(s);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return path;
}

void BM_ImportFirstGenerationStore(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    QTemporaryDir dir;
    const QString oldStore = makeFirstGenerationStore(dir.filePath("old.sqlite"), rows);
    QVHistoryDataImporter& importer = QVHistoryDataImporter::sharedInstance();
    importer.setUrl(oldStore);
    int run = 0;
    std::int64_t imported = 0;
    for (auto _ : state) {
        QVHistoryStore store;
        store.openAtPath(dir.filePath(QStringLiteral("history%1.sqlite").arg(run++)));
        importer.setStore(&store);
        QEventLoop loop;
        std::int64_t reports = 0;
        importer.importWithProgressBlock([&reports](std::int64_t) { ++reports; },
                                         [&](const QVImportResult& result) {
                                             imported += result.imported;
                                             loop.quit();
                                         });
        loop.exec();
        QCoreApplication::processEvents();
        if (reports != rows)
            state.SkipWithError("progress was not reported for every row");
        importer.setStore(nullptr);
    }
    state.counters["rows/s"] = benchmark::Counter(static_cast<double>(imported), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ImportFirstGenerationStore)->Arg(100'000)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
