#pragma once

#include "charts/QVChartItem.h"
#include "history/QVDateRange.h"
#include "history/QVSnapshotFilter.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

class QVHistoryStore;

// Power history: for every bucket (hour, day or month) of a date range, the seconds spent on battery,
// charging, and fully charged on external power. Two snapshots of the same state less than 100 seconds
// apart add the time between them to the bucket of the later one.
//
// calculateWithDateRange() runs each request on its own worker thread ("com.orlent.graphcalc") with
// its own copy of the range, the unit, the key map and the formatter, so requests never disturb each
// other, and hands the items to the completion on the main thread. The other operations run the same
// steps synchronously on this object's own state (main thread only).
class QVSnapshotCalculator
{
public:
    // Bucket unit codes, shared with the charge data calculator.
    enum Unit { Hour = 0, Minute = 1, Day = 2, Week = 3, Month = 4, Year = 5 };

    using Completion = std::function<void(const QList<QVChartItem>& items)>;
    using SecondsByKey = QHash<QString, double>;

    // Reads `store`, or the application's shared store when none is given. The store must outlive
    // every request.
    explicit QVSnapshotCalculator(QVHistoryStore* store = nullptr);
    ~QVSnapshotCalculator();
    QVSnapshotCalculator(const QVSnapshotCalculator&) = delete;
    QVSnapshotCalculator& operator=(const QVSnapshotCalculator&) = delete;

    // Stores the range and the unit, calculates on a new worker, then calls the completion on the main
    // thread with the items (not when this calculator has been destroyed in the meantime). Returns at once.
    void calculateWithDateRange(const QVDateRange& range, int interval, Completion withCompletionHandler);

    // How many requests of this class are still running on their workers (for orderly shutdowns
    // and tests: a store must outlive the requests that read it).
    static int requestsInFlight();

    // The whole calculation for dateRange() and snapshotInterval(), synchronously: one item per bucket,
    // by date, each with the values "Battery", "Charging" and "Fully Charged" in seconds.
    QList<QVChartItem> calculateData();

    SecondsByKey batteryData();
    SecondsByKey chargingData();
    SecondsByKey fullyChargedData();
    // Seconds per bucket key of the rows in the range that match `predicate`; every bucket of the
    // range has an entry.
    SecondsByKey calculateDateWithPredicate(const QVSnapshotFilter& predicate);
    // "date >= start AND date <= end"
    static QVSnapshotFilter predicateWithDateRange(const QVDateRange& range);
    // The bucket key of `date`; records `date` as the bucket's date when the key has none yet.
    QString keyForDate(const QDateTime& date);
    QDateTime dateForKey(const QString& key) const;
    // The enumeration step of the unit in seconds; 0 for an unknown unit.
    double enumerationInterval() const;
    // The key pattern of a unit; empty for an unknown unit.
    static QString keyPatternForInterval(int interval);

    QVDateRange dateRange() const;
    void setDateRange(const QVDateRange& range);
    int snapshotInterval() const;
    void setSnapshotInterval(int interval);
    QHash<QString, QDateTime> keyDict() const;

    class Calculation;

private:
    QVHistoryStore* m_store;
    std::unique_ptr<Calculation> m_state;
    std::shared_ptr<bool> m_alive;
};
