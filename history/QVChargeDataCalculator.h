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

// Charge history: for every hour of a date range, the average charge level as a fraction (one value
// under the empty title), or -0.01 for an hour without data.
//
// calculateWithDateRange() runs each request on its own worker thread ("com.orlent.graphcalc2") with
// its own copy of the range, the key map and the level map, and hands the items to the completion on
// the main thread. calculateData() runs the same steps synchronously on this object (main thread only).
class QVChargeDataCalculator
{
public:
    using Completion = std::function<void(const QList<QVChartItem>& items)>;

    // The marker of an hour without data, before it is turned into a fraction.
    static constexpr float noData = -1.0f;

    // Reads `store`, or the application's shared store when none is given. The store must outlive
    // every request.
    explicit QVChargeDataCalculator(QVHistoryStore* store = nullptr);
    ~QVChargeDataCalculator();
    QVChargeDataCalculator(const QVChargeDataCalculator&) = delete;
    QVChargeDataCalculator& operator=(const QVChargeDataCalculator&) = delete;

    // Stores the range and the unit (which does not change the calculation: it is always hourly),
    // calculates on a new worker, then calls the completion on the main thread (not when this
    // calculator has been destroyed in the meantime). Returns at once.
    void calculateWithDateRange(const QVDateRange& range, int interval, Completion withCompletionHandler);

    // How many requests of this class are still running on their workers (for orderly shutdowns
    // and tests: a store must outlive the requests that read it).
    static int requestsInFlight();

    // One item per hour bucket of dateRange(), by date.
    QList<QVChartItem> calculateData();

    // "date >= start AND date <= end"
    static QVSnapshotFilter predicateWithDateRange(const QVDateRange& range);
    // The bucket key of `date` for a unit code; records `date` as the bucket's date when the key has
    // none yet.
    QString keyForDate(const QDateTime& date, int interval);
    QDateTime dateForKey(const QString& key) const;
    // The key pattern of a unit code ("yyyy-MM-dd HH:mm" for minutes); empty for an unknown code.
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
