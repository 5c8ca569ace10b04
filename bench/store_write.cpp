// The history store's writer: snapshots written per second (one transaction per save, as the recorder
// saves, and one per batch), and the bytes on disk per snapshot for a year of minutes (525,600 rows).
#include "history/QVHistoryStore.h"

#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QTemporaryDir>

namespace {

QVSnapshot snapshotAt(double date, int i)
{
    QVSnapshot s;
    s.date = date;
    s.chargeLevel = 20.0 + (i % 8000) / 100.0;
    s.currentCharge = 1000 + i % 4000;
    s.maxCharge = 5400;
    s.maxCapacity = 6000;
    s.cycles = 100 + i / 100000;
    s.isCharging = (i / 180) % 2 == 1;
    s.isConnectedToPowerSource = (i / 180) % 2 == 1;
    s.isFullyCharged = false;
    s.osxHealth = QStringLiteral("Good");
    s.powerUsageWatts = 7.5 + (i % 100) / 10.0;
    s.temperature = 30.0 + (i % 50) / 10.0;
    s.timeRemainingEstimate = (i / 180) % 2 == 1 ? -2.0 : 3600.0 + i % 7200;
    return s;
}

// One save at a time, each handed over and written before the next (the recorder's pattern, worst case).
void BM_SaveAndWaitEach(benchmark::State& state)
{
    QTemporaryDir dir;
    QVHistoryStore store;
    store.openAtPath(dir.filePath("Voltara.sqlite"));
    int i = 0;
    for (auto _ : state) {
        store.saveSnapshot(snapshotAt(1.7e9 + 60.0 * i, i));
        store.waitUntilWritten();
        ++i;
    }
    state.counters["snapshots/s"] = benchmark::Counter(static_cast<double>(i), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SaveAndWaitEach)->UseRealTime();

// Saves handed over back to back (one transaction each), waiting once per 1,000.
void BM_SaveBackToBack(benchmark::State& state)
{
    QTemporaryDir dir;
    QVHistoryStore store;
    store.openAtPath(dir.filePath("Voltara.sqlite"));
    int i = 0;
    for (auto _ : state) {
        for (int k = 0; k < 1000; ++k, ++i)
            store.saveSnapshot(snapshotAt(1.7e9 + 60.0 * i, i));
        store.waitUntilWritten();
    }
    state.counters["snapshots/s"] = benchmark::Counter(static_cast<double>(i), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SaveBackToBack)->UseRealTime()->Unit(benchmark::kMillisecond);

// A year of minutes written through the store, then the file's size once the store is closed.
void BM_YearOfMinutesOnDisk(benchmark::State& state)
{
    constexpr int rows = 525'600;
    for (auto _ : state) {
        QTemporaryDir dir;
        const QString path = dir.filePath("Voltara.sqlite");
        {
            QVHistoryStore store;
            store.openAtPath(path);
            for (int i = 0; i < rows; ++i)
                store.saveSnapshot(snapshotAt(1.7e9 + 60.0 * i, i));
            store.waitUntilWritten();
        }
        const double bytes = static_cast<double>(QFileInfo(path).size());
        state.counters["bytes"] = bytes;
        state.counters["bytes/snapshot"] = bytes / rows;
        state.counters["snapshots/s"] = benchmark::Counter(rows, benchmark::Counter::kIsRate);
    }
}
BENCHMARK(BM_YearOfMinutesOnDisk)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

} // namespace
