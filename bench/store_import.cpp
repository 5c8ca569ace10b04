// The history import: rows imported per second from a first-generation store (read, checked,
// de-duplicated against the history and written), with a progress report per row on the main thread.
#include "history/QVHistoryDataImporter.h"
#include "history/QVHistoryStore.h"
#include "support/FirstGenerationStore.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>

namespace {

void BM_ImportFirstGenerationStore(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    QTemporaryDir dir;
    const QString oldStore = makeFirstGenerationStore(dir.filePath("old"), rows, 0, false);
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
