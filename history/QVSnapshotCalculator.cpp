#include "history/QVSnapshotCalculator.h"

#include "history/QVBucketKeyFormatter.h"
#include "history/QVCalculationQueue.h"
#include "history/QVDateEnumerator.h"
#include "history/QVHistoryStore.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <unordered_map>

namespace {

const QString batteryTitle = QStringLiteral("Battery");
const QString chargingTitle = QStringLiteral("Charging");
const QString fullyChargedTitle = QStringLiteral("Fully Charged");

// Two snapshots closer than this (seconds) are one stretch of the same state.
constexpr double maximumGap = 100;

std::atomic<int> inFlight{0};

} // namespace

// Everything one calculation reads and writes. A request works on its own copy.
class QVSnapshotCalculator::Calculation
{
public:
    Calculation(QVHistoryStore* store, const QVDateRange& range, int unit)
        : store(store), dateRange(range), snapshotInterval(unit), formatter(keyPatternForInterval(unit))
    {
    }

    void setUnit(int unit)
    {
        snapshotInterval = unit;
        formatter.setPattern(keyPatternForInterval(unit));
    }

    QList<QVChartItem> calculateData()
    {
        keyDict.clear();
        formatter.invalidate();   // every key is recorded again in the new key map

        // One fetch of the range with the columns the three state filters read, sorted into the
        // three states here, instead of three fetches over the same rows.
        std::vector<double> battery, charging, fullyCharged;
        fetchStates(battery, charging, fullyCharged);
        const SecondsByKey batterySeconds = secondsForDates(battery);
        const SecondsByKey chargingSeconds = secondsForDates(charging);
        const SecondsByKey fullyChargedSeconds = secondsForDates(fullyCharged);

        QHash<QString, QVChartItem> items;
        auto add = [&](const SecondsByKey& seconds, const QString& title) {
            for (auto it = seconds.cbegin(); it != seconds.cend(); ++it) {
                auto item = items.find(it.key());
                if (item == items.end()) {
                    item = items.insert(it.key(), QVChartItem());
                    item->setDate(dateForKey(it.key()));
                }
                item->addValue(it.value(), title);
            }
        };
        add(batterySeconds, batteryTitle);
        add(chargingSeconds, chargingTitle);
        add(fullyChargedSeconds, fullyChargedTitle);

        QList<QVChartItem> result = items.values();
        std::stable_sort(result.begin(), result.end(),
                         [](const QVChartItem& a, const QVChartItem& b) { return a.date() < b.date(); });
        return result;
    }

    // The dates of the range's rows of each state, oldest first. The tests match these with the
    // store's own filters:
    //   on battery      isConnectedToPowerSource = NO
    //   charging        isCharging = YES AND (chargeLevel = NULL OR chargeLevel < 100)
    //   fully charged   (chargeLevel = 100 OR isFullyCharged = YES) AND isConnectedToPowerSource = YES
    // An absent value is NaN here, and every comparison with NaN is false, as with NULL in the store.
    void fetchStates(std::vector<double>& battery, std::vector<double>& charging, std::vector<double>& fullyCharged)
    {
        if (!store)
            return;
        // The rows are visited as they are read: no list of all their values is built.
        const bool ok = store->visitValues(predicateWithDateRange(dateRange),
                           {QStringLiteral("date"), QStringLiteral("isConnectedToPowerSource"),
                            QStringLiteral("isCharging"), QStringLiteral("chargeLevel"), QStringLiteral("isFullyCharged")},
                           [&](const double* row) {
                               const double date = row[0];
                               const double connected = row[1];
                               const double isCharging = row[2];
                               const double level = row[3];
                               const double full = row[4];
                               if (connected == 0)
                                   battery.push_back(date);
                               if (isCharging == 1 && (std::isnan(level) || level < 100))
                                   charging.push_back(date);
                               if ((level == 100 || full == 1) && connected == 1)
                                   fullyCharged.push_back(date);
                           });
        if (!ok) {   // a failed read shows no data, not part of it
            battery.clear();
            charging.clear();
            fullyCharged.clear();
        }
    }

    SecondsByKey calculateDateWithPredicate(const QVSnapshotFilter& predicate)
    {
        return secondsForDates(store ? store->fetchDates(predicateWithDateRange(dateRange) && predicate)
                                     : std::vector<double>());
    }

    // One pass over the dates of one state (oldest first), then every step of the range.
    SecondsByKey secondsForDates(const std::vector<double>& dates)
    {
        // Keys change only at bucket boundaries, so the entry of the current bucket is kept at hand.
        std::unordered_map<QString, double> seconds;
        double* entry = nullptr;
        bool havePrevious = false;
        double previous = 0;
        for (const double date : dates) {
            bool formatted = true;
            const QString& key = keyForMSecs(date * 1000.0, &formatted);
            if (formatted || !entry)
                entry = &seconds.try_emplace(key, 0.0).first->second;
            if (havePrevious) {
                const double gap = date - previous;
                if (gap < maximumGap)
                    *entry = double(float(*entry)) + gap;
            }
            previous = date;
            havePrevious = true;
        }

        QVDateEnumerator::enumerateWithDateRange(dateRange, enumerationInterval(), [&](const QDateTime& step, bool&) {
            seconds.try_emplace(keyForMSecs(double(step.toMSecsSinceEpoch()), nullptr), 0.0);
        });

        SecondsByKey result;
        result.reserve(qsizetype(seconds.size()));
        for (const auto& [key, value] : seconds)
            result.insert(key, value);
        return result;
    }

    // The key of an instant; records the instant as the bucket's date when the key has none yet.
    const QString& keyForMSecs(double msecs, bool* formatted)
    {
        bool fresh = true;
        const QString& key = formatter.keyForMSecs(msecs, &fresh);
        // Within the span of the previous key the key is already recorded.
        if (fresh && !keyDict.contains(key))
            keyDict.insert(key, QDateTime::fromMSecsSinceEpoch(qint64(std::llround(msecs)), Qt::UTC));
        if (formatted)
            *formatted = fresh;
        return key;
    }

    QDateTime dateForKey(const QString& key) const { return keyDict.value(key); }

    double enumerationInterval() const
    {
        switch (snapshotInterval) {
        case Hour: return 3600;
        case Minute: return 60;
        case Day:
        case Week:
        case Month: return 86400;
        case Year: return 31556926;
        default: return 0;
        }
    }

    QVHistoryStore* store;
    QVDateRange dateRange;
    int snapshotInterval;
    QVBucketKeyFormatter formatter;
    QHash<QString, QDateTime> keyDict;
};

QVSnapshotCalculator::QVSnapshotCalculator(QVHistoryStore* store)
    : m_store(store ? store : &QVHistoryStore::sharedStore()),
      m_state(std::make_unique<Calculation>(m_store, QVDateRange(), Hour)),
      m_alive(std::make_shared<bool>(true))
{
}

QVSnapshotCalculator::~QVSnapshotCalculator()
{
    *m_alive = false;
}

void QVSnapshotCalculator::calculateWithDateRange(const QVDateRange& range, int interval,
                                                  Completion withCompletionHandler)
{
    setDateRange(range);
    setSnapshotInterval(interval);
    auto calculation = std::make_shared<Calculation>(m_store, range, interval);
    runCalculationOnQueue(QStringLiteral("com.orlent.graphcalc"), inFlight, m_alive,
                          [calculation] { return calculation->calculateData(); },
                          std::move(withCompletionHandler));
}

int QVSnapshotCalculator::requestsInFlight()
{
    return inFlight;
}

QList<QVChartItem> QVSnapshotCalculator::calculateData()
{
    return m_state->calculateData();
}

QVSnapshotCalculator::SecondsByKey QVSnapshotCalculator::batteryData()
{
    return m_state->calculateDateWithPredicate(QVSnapshotFilter::onBattery());
}

QVSnapshotCalculator::SecondsByKey QVSnapshotCalculator::chargingData()
{
    return m_state->calculateDateWithPredicate(QVSnapshotFilter::charging());
}

QVSnapshotCalculator::SecondsByKey QVSnapshotCalculator::fullyChargedData()
{
    return m_state->calculateDateWithPredicate(QVSnapshotFilter::fullyCharged());
}

QVSnapshotCalculator::SecondsByKey QVSnapshotCalculator::calculateDateWithPredicate(const QVSnapshotFilter& predicate)
{
    return m_state->calculateDateWithPredicate(predicate);
}

QVSnapshotFilter QVSnapshotCalculator::predicateWithDateRange(const QVDateRange& range)
{
    return QVSnapshotFilter::dateRange(range.startDate(), range.endDate());
}

QString QVSnapshotCalculator::keyForDate(const QDateTime& date)
{
    return m_state->keyForMSecs(double(date.toMSecsSinceEpoch()), nullptr);
}

QDateTime QVSnapshotCalculator::dateForKey(const QString& key) const
{
    return m_state->dateForKey(key);
}

double QVSnapshotCalculator::enumerationInterval() const
{
    return m_state->enumerationInterval();
}

QString QVSnapshotCalculator::keyPatternForInterval(int interval)
{
    switch (interval) {
    case Hour: return QStringLiteral("yyyy-MM-dd HH");
    case Minute: return QStringLiteral("yyyy-MM-dd");
    case Day: return QStringLiteral("yyyy-MM-dd");
    case Week: return QStringLiteral("ww");
    case Month: return QStringLiteral("yyyy-MM");
    case Year: return QStringLiteral("yyyy");
    default: return QString();
    }
}

QVDateRange QVSnapshotCalculator::dateRange() const
{
    return m_state->dateRange;
}

void QVSnapshotCalculator::setDateRange(const QVDateRange& range)
{
    m_state->dateRange = range;
}

int QVSnapshotCalculator::snapshotInterval() const
{
    return m_state->snapshotInterval;
}

void QVSnapshotCalculator::setSnapshotInterval(int interval)
{
    m_state->setUnit(interval);
}

QHash<QString, QDateTime> QVSnapshotCalculator::keyDict() const
{
    return m_state->keyDict;
}
