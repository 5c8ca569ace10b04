#include "battery/QVBatteryManager.h"

#include <benchmark/benchmark.h>

// One refresh as the application makes it: a new reading from the power_supply tree, then the
// twelve value rows built from it.
static void BM_UpdateAndValuesArray(benchmark::State& state, const char* fixture)
{
    qputenv("VOLTARA_POWER_SUPPLY_ROOT", QByteArray(VOLTARA_FIXTURES "/power_supply/") + fixture);
    QVBatteryManager& manager = QVBatteryManager::sharedManager();
    for (auto _ : state) {
        manager.update();
        auto rows = manager.data()->valuesArray();
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK_CAPTURE(BM_UpdateAndValuesArray, charge_discharging, "charge_discharging")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_UpdateAndValuesArray, two_batteries, "two_batteries")->Unit(benchmark::kMicrosecond);
