// The history calculators over a year of snapshots (one a minute, 525,600 rows), next to a bare SQLite
// scan of the columns the power history reads over the same rows.
#include "history/QVChargeDataCalculator.h"
#include "history/QVDateRange.h"
#include "history/QVHistoryStore.h"
#include "history/QVPrivateContext.h"
#include "history/QVSnapshotCalculator.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unicode/timezone.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>

#include <cstdio>
#include <limits>
#include <memory>
#include <random>

namespace {

constexpr int rowCount = 525'600;

struct Fixture {
    QTemporaryDir dir;
    QVHistoryStore store;
    QDateTime now;   // noon on the last day of the year
    QDateTime firstRow;
};

Fixture* fixture = nullptr;

// A laptop's year: stretches on battery, charging back to full, hours on external power at 100 %,
// now and then held below full on external power.
void fillStore(Fixture& f)
{
    const QTimeZone berlin("Europe/Berlin");
    f.firstRow = QDateTime(QDate(2025, 1, 1), QTime(0, 0), berlin).toUTC();
    f.now = QDateTime(QDate(2025, 12, 31), QTime(12, 0), berlin).toUTC();
    const double start = double(f.firstRow.toSecsSinceEpoch());
    f.store.saveInBackground(
        [start](QVPrivateContext& context) {
            std::mt19937 random(42);
            std::uniform_real_distribution<double> uniform(0.0, 1.0);
            enum { Battery, Charging, Full, Held } state = Full;
            long long counts[4] = {};
            double level = 100;
            int left = 300;
            for (int i = 0; i < rowCount; ++i) {
                switch (state) {
                case Battery:
                    level -= 0.15 + 0.35 * uniform(random);
                    if (--left <= 0 || level < 8) {
                        state = Charging;
                    }
                    break;
                case Charging:
                    level = std::min(100.0, level + 0.5 + 0.7 * uniform(random));
                    if (level >= 100) {
                        state = Full;
                        left = 30 + int(870 * uniform(random));
                    }
                    break;
                case Full:
                case Held:
                    if (--left <= 0) {
                        state = Battery;
                        left = 30 + int(270 * uniform(random));
                    } else if (state == Full && uniform(random) < 0.0005) {
                        state = Held;
                        level = 80;
                    }
                    break;
                }
                ++counts[state];
                QVSnapshot s;
                s.date = start + 60.0 * i + uniform(random) * 0.5;
                s.chargeLevel = level;
                s.currentCharge = std::uint64_t(level * 47);
                s.maxCharge = 4700;
                s.maxCapacity = 5000;
                s.cycles = 100 + i / 2000;
                s.isConnectedToPowerSource = state != Battery;
                s.isCharging = state == Charging;
                s.isFullyCharged = state == Full;
                s.osxHealth = QString();
                s.powerUsageWatts = state == Battery ? 6 + 4 * uniform(random) : 0;
                s.temperature = 30 + 5 * uniform(random);
                s.timeRemainingEstimate = state == Battery ? level * 90 : -2;
                context.insertSnapshot(s);
            }
            std::fprintf(stderr, "rows on battery %lld, charging %lld, full %lld, held on AC %lld\n", counts[Battery],
                         counts[Charging], counts[Full], counts[Held]);
        },
        {});
    f.store.waitUntilWritten();
}

void bareScan(benchmark::State& state)
{
    const QVDateRange year = QVDateRange::dateRangeForYearWithOffset(0, fixture->now);
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(fixture->store.path()).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT date, isConnectedToPowerSource, isCharging, chargeLevel, isFullyCharged "
                       "FROM QVSnapshot WHERE date >= ? AND date <= ? ORDER BY date",
                       -1, &statement, nullptr);
    std::int64_t rows = 0;
    for (auto _ : state) {
        sqlite3_reset(statement);
        sqlite3_bind_double(statement, 1, double(year.startDate().toMSecsSinceEpoch()) / 1000.0);
        sqlite3_bind_double(statement, 2, double(year.endDate().toMSecsSinceEpoch()) / 1000.0);
        double sum = 0;
        rows = 0;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            for (int c = 0; c < 5; ++c)
                sum += sqlite3_column_double(statement, c);
            ++rows;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.counters["rows"] = double(rows);
    sqlite3_finalize(statement);
    sqlite3_close(db);
}

// The same scan, keeping every value with its absence (NaN) in one flat vector, as a fetch into
// memory must.
void bareScanIntoMemory(benchmark::State& state)
{
    const QVDateRange year = QVDateRange::dateRangeForYearWithOffset(0, fixture->now);
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(fixture->store.path()).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT date, isConnectedToPowerSource, isCharging, chargeLevel, isFullyCharged "
                       "FROM QVSnapshot WHERE date >= ? AND date <= ? ORDER BY date",
                       -1, &statement, nullptr);
    for (auto _ : state) {
        sqlite3_reset(statement);
        sqlite3_bind_double(statement, 1, double(year.startDate().toMSecsSinceEpoch()) / 1000.0);
        sqlite3_bind_double(statement, 2, double(year.endDate().toMSecsSinceEpoch()) / 1000.0);
        std::vector<double> values;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            for (int c = 0; c < 5; ++c) {
                values.push_back(sqlite3_column_type(statement, c) == SQLITE_NULL
                                     ? std::numeric_limits<double>::quiet_NaN()
                                     : sqlite3_column_double(statement, c));
            }
        }
        benchmark::DoNotOptimize(values.data());
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
}

// The store's own fetch of the same columns, the part of the year page that is not the calculation.
void storeFetch(benchmark::State& state)
{
    const QVDateRange year = QVDateRange::dateRangeForYearWithOffset(0, fixture->now);
    size_t values = 0;
    for (auto _ : state) {
        values = fixture->store
                     .fetchValues(QVSnapshotFilter::dateRange(year.startDate(), year.endDate()),
                                  {"date", "isConnectedToPowerSource", "isCharging", "chargeLevel", "isFullyCharged"})
                     .size();
    }
    state.counters["rows"] = double(values / 5);
}

// The store's streaming fetch of the same columns: each row handed over as it is read.
void storeVisit(benchmark::State& state)
{
    const QVDateRange year = QVDateRange::dateRangeForYearWithOffset(0, fixture->now);
    std::int64_t rows = 0;
    for (auto _ : state) {
        double sum = 0;
        rows = 0;
        fixture->store.visitValues(QVSnapshotFilter::dateRange(year.startDate(), year.endDate()),
                                   {"date", "isConnectedToPowerSource", "isCharging", "chargeLevel", "isFullyCharged"},
                                   [&](const double* values) {
                                       for (int c = 0; c < 5; ++c)
                                           sum += values[c];
                                       ++rows;
                                   });
        benchmark::DoNotOptimize(sum);
    }
    state.counters["rows"] = double(rows);
}

void powerHistory(benchmark::State& state, QVDateRange (*page)(qint64, const QDateTime&), int unit)
{
    QVSnapshotCalculator calculator(&fixture->store);
    calculator.setDateRange(page(0, fixture->now));
    calculator.setSnapshotInterval(unit);
    qsizetype items = 0;
    for (auto _ : state)
        items = calculator.calculateData().size();
    state.counters["items"] = double(items);
}

void chargeHistoryDay(benchmark::State& state)
{
    QVChargeDataCalculator calculator(&fixture->store);
    calculator.setDateRange(QVDateRange::dateRangeForDayWithOffset(0, fixture->now));
    calculator.setSnapshotInterval(QVSnapshotCalculator::Minute);
    qsizetype items = 0;
    for (auto _ : state)
        items = calculator.calculateData().size();
    state.counters["items"] = double(items);
}

} // namespace

BENCHMARK(bareScan)->Name("BareScan/year")->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(bareScanIntoMemory)->Name("BareScanIntoMemory/year")->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(storeFetch)->Name("StoreFetch/year")->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(storeVisit)->Name("StoreVisit/year")->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK_CAPTURE(powerHistory, year, &QVDateRange::dateRangeForYearWithOffset, QVSnapshotCalculator::Month)
    ->Name("PowerHistory/year")->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK_CAPTURE(powerHistory, month, &QVDateRange::dateRangeForMonthWithOffset, QVSnapshotCalculator::Day)
    ->Name("PowerHistory/month")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(powerHistory, day, &QVDateRange::dateRangeForDayWithOffset, QVSnapshotCalculator::Hour)
    ->Name("PowerHistory/day")->Unit(benchmark::kMillisecond);
BENCHMARK(chargeHistoryDay)->Name("ChargeHistory/day")->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    icu::TimeZone::adoptDefault(icu::TimeZone::createTimeZone("Europe/Berlin"));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    auto f = std::make_unique<Fixture>();
    if (!f->dir.isValid() || !f->store.openAtPath(f->dir.filePath(QStringLiteral("Voltara.sqlite"))))
        return 1;
    QElapsedTimer timer;
    timer.start();
    fillStore(*f);
    std::fprintf(stderr, "store of %lld rows built in %.1f s\n", static_cast<long long>(f->store.count()),
                 double(timer.elapsed()) / 1000.0);
    fixture = f.get();

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fixture = nullptr;
    return 0;
}
