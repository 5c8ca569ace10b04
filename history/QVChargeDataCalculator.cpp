#include "history/QVChargeDataCalculator.h"

#include "history/KZDateUtilities.h"
#include "history/QVBucketKeyFormatter.h"
#include "history/QVCalculationQueue.h"
#include "history/QVDateEnumerator.h"
#include "history/QVHistoryStore.h"
#include "history/QVSnapshotCalculator.h"

#include <algorithm>
#include <atomic>
#include <cmath>

namespace {

std::atomic<int> inFlight{0};

} // namespace

// Everything one calculation reads and writes. A request works on its own copy.
class QVChargeDataCalculator::Calculation
{
public:
    Calculation(QVHistoryStore* store, const QVDateRange& range, int unit)
        : store(store), dateRange(range), snapshotInterval(unit)
    {
    }

    QList<QVChartItem> calculateData()
    {
        keyDict.clear();
        QHash<QString, float> levels;

        const std::vector<double> rows =
            store ? store->fetchValues(predicateWithDateRange(dateRange), {QStringLiteral("date"), QStringLiteral("chargeLevel")})
                  : std::vector<double>();
        const size_t count = rows.size() / 2;
        auto dateOf = [&](size_t i) { return QDateTime::fromMSecsSinceEpoch(qint64(std::llround(rows[2 * i] * 1000.0)), Qt::UTC); };

        if (count == 1) {
            // A lone row counts as it is, a level of 0 included; a row without a level is no data.
            if (!std::isnan(rows[1]))
                levels.insert(keyForDate(dateOf(0), QVSnapshotCalculator::Hour), float(rows[1]));
        } else if (count > 1) {
            float sum = 0;
            int rowsInHour = 0;
            bool havePrevious = false;
            QDateTime previousDate;
            int previousHour = 0;
            auto closeHour = [&] {
                if (rowsInHour != 0 && sum != 0)
                    levels.insert(keyForDate(previousDate, QVSnapshotCalculator::Hour), sum / float(rowsInHour));
                sum = 0;
                rowsInHour = 0;
            };
            for (size_t i = 0; i < count; ++i) {
                const QDateTime date = dateOf(i);
                const int hour = kz_hour(date);
                if (havePrevious && previousHour != hour)
                    closeHour();
                const float level = std::isnan(rows[2 * i + 1]) ? 0.0f : float(rows[2 * i + 1]);
                if (level != 0) {
                    sum += level;
                    ++rowsInHour;
                }
                previousDate = date;
                previousHour = hour;
                havePrevious = true;
            }
            closeHour();
        }

        QVDateEnumerator::enumerateWithDateRange(dateRange, 3600, [&](const QDateTime& step, bool&) {
            const QString key = keyForDate(step, QVSnapshotCalculator::Hour);
            if (!levels.contains(key))
                levels.insert(key, noData);
        });

        QList<QVChartItem> result;
        result.reserve(levels.size());
        for (auto it = levels.cbegin(); it != levels.cend(); ++it) {
            QVChartItem item;
            item.setDate(dateForKey(it.key()));
            item.addValue(double(it.value() / 100.0f), QString());
            result.append(item);
        }
        std::stable_sort(result.begin(), result.end(),
                         [](const QVChartItem& a, const QVChartItem& b) { return a.date() < b.date(); });
        return result;
    }

    QString keyForDate(const QDateTime& date, int interval)
    {
        const QString pattern = keyPatternForInterval(interval);
        if (formatter.pattern() != pattern)
            formatter.setPattern(pattern);
        const QString key = formatter.keyForMSecs(double(date.toMSecsSinceEpoch()));
        if (!keyDict.contains(key))
            keyDict.insert(key, date);
        return key;
    }

    QDateTime dateForKey(const QString& key) const { return keyDict.value(key); }

    QVHistoryStore* store;
    QVDateRange dateRange;
    int snapshotInterval;
    QVBucketKeyFormatter formatter{keyPatternForInterval(QVSnapshotCalculator::Hour)};
    QHash<QString, QDateTime> keyDict;
};

QVChargeDataCalculator::QVChargeDataCalculator(QVHistoryStore* store)
    : m_store(store ? store : &QVHistoryStore::sharedStore()),
      m_state(std::make_unique<Calculation>(m_store, QVDateRange(), QVSnapshotCalculator::Minute)),
      m_alive(std::make_shared<bool>(true))
{
}

QVChargeDataCalculator::~QVChargeDataCalculator()
{
    *m_alive = false;
}

void QVChargeDataCalculator::calculateWithDateRange(const QVDateRange& range, int interval,
                                                    Completion withCompletionHandler)
{
    setDateRange(range);
    setSnapshotInterval(interval);
    auto calculation = std::make_shared<Calculation>(m_store, range, interval);
    runCalculationOnQueue(QStringLiteral("com.orlent.graphcalc2"), inFlight, m_alive,
                          [calculation] { return calculation->calculateData(); },
                          std::move(withCompletionHandler));
}

int QVChargeDataCalculator::requestsInFlight()
{
    return inFlight;
}

QList<QVChartItem> QVChargeDataCalculator::calculateData()
{
    return m_state->calculateData();
}

QVSnapshotFilter QVChargeDataCalculator::predicateWithDateRange(const QVDateRange& range)
{
    return QVSnapshotFilter::dateRange(range.startDate(), range.endDate());
}

QString QVChargeDataCalculator::keyForDate(const QDateTime& date, int interval)
{
    return m_state->keyForDate(date, interval);
}

QDateTime QVChargeDataCalculator::dateForKey(const QString& key) const
{
    return m_state->dateForKey(key);
}

QString QVChargeDataCalculator::keyPatternForInterval(int interval)
{
    if (interval == QVSnapshotCalculator::Minute)
        return QStringLiteral("yyyy-MM-dd HH:mm");
    return QVSnapshotCalculator::keyPatternForInterval(interval);
}

QVDateRange QVChargeDataCalculator::dateRange() const
{
    return m_state->dateRange;
}

void QVChargeDataCalculator::setDateRange(const QVDateRange& range)
{
    m_state->dateRange = range;
}

int QVChargeDataCalculator::snapshotInterval() const
{
    return m_state->snapshotInterval;
}

void QVChargeDataCalculator::setSnapshotInterval(int interval)
{
    m_state->snapshotInterval = interval;
}

QHash<QString, QDateTime> QVChargeDataCalculator::keyDict() const
{
    return m_state->keyDict;
}
