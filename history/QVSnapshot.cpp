#include "history/QVSnapshot.h"

#include <QMetaType>
#include <QTimeZone>

#include <cmath>

const QStringList& QVSnapshot::attributeNames()
{
    static const QStringList names{
        "date", "chargeLevel", "currentCharge", "maxCharge", "maxCapacity", "cycles", "isCharging",
        "isConnectedToPowerSource", "isFullyCharged", "osxHealth", "powerUsageWatts", "temperature",
        "timeRemainingEstimate"};
    return names;
}

QDateTime QVSnapshot::dateTime() const
{
    if (!date)
        return {};
    return QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(std::llround(*date * 1000.0)), Qt::UTC);
}

void QVSnapshot::setDateTime(const QDateTime& dateTime)
{
    if (dateTime.isValid())
        date = static_cast<double>(dateTime.toMSecsSinceEpoch()) / 1000.0;
    else
        date.reset();
}

bool QVSnapshot::isComplete() const
{
    return date && chargeLevel && currentCharge && maxCharge && maxCapacity && cycles && isCharging
        && isConnectedToPowerSource && isFullyCharged && osxHealth && powerUsageWatts && temperature
        && timeRemainingEstimate;
}

namespace {

template <typename T>
void put(QVariantMap& map, const char* key, const std::optional<T>& value)
{
    if (value)
        map.insert(QString::fromLatin1(key), QVariant::fromValue(*value));
}

std::optional<double> toDouble(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return std::nullopt;
    if (v.metaType().id() == QMetaType::QDateTime) {
        const QDateTime dt = v.toDateTime();
        if (!dt.isValid())
            return std::nullopt;
        return static_cast<double>(dt.toMSecsSinceEpoch()) / 1000.0;
    }
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (!ok || !std::isfinite(d))
        return std::nullopt;
    return d;
}

std::optional<std::uint64_t> toUnsigned(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return std::nullopt;
    bool ok = false;
    const qulonglong u = v.toULongLong(&ok);
    if (ok)
        return u;
    const double d = v.toDouble(&ok);
    if (ok && std::isfinite(d) && d >= 0 && d < 1.8e19)
        return static_cast<std::uint64_t>(d);
    return std::nullopt;
}

std::optional<bool> toBool(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return std::nullopt;
    if (v.metaType().id() == QMetaType::Bool)
        return v.toBool();
    bool ok = false;
    const qlonglong i = v.toLongLong(&ok);
    if (ok)
        return i != 0;
    return std::nullopt;
}

std::optional<QString> toString(const QVariant& v)
{
    if (!v.isValid() || v.isNull() || !v.canConvert<QString>())
        return std::nullopt;
    return v.toString();
}

} // namespace

QVariantMap QVSnapshot::dictionaryRepresentation() const
{
    QVariantMap map;
    if (date)
        map.insert("date", dateTime());
    put(map, "chargeLevel", chargeLevel);
    if (currentCharge)
        map.insert("currentCharge", QVariant::fromValue<qulonglong>(*currentCharge));
    if (maxCharge)
        map.insert("maxCharge", QVariant::fromValue<qulonglong>(*maxCharge));
    if (maxCapacity)
        map.insert("maxCapacity", QVariant::fromValue<qulonglong>(*maxCapacity));
    if (cycles)
        map.insert("cycles", QVariant::fromValue<qulonglong>(*cycles));
    put(map, "isCharging", isCharging);
    put(map, "isConnectedToPowerSource", isConnectedToPowerSource);
    put(map, "isFullyCharged", isFullyCharged);
    put(map, "osxHealth", osxHealth);
    put(map, "powerUsageWatts", powerUsageWatts);
    put(map, "temperature", temperature);
    put(map, "timeRemainingEstimate", timeRemainingEstimate);
    return map;
}

QVSnapshot QVSnapshot::snapshotWithDictionary(const QVariantMap& d)
{
    QVSnapshot s;
    s.date = toDouble(d.value("date"));
    s.chargeLevel = toDouble(d.value("chargeLevel"));
    s.currentCharge = toUnsigned(d.value("currentCharge"));
    s.maxCharge = toUnsigned(d.value("maxCharge"));
    s.maxCapacity = toUnsigned(d.value("maxCapacity"));
    s.cycles = toUnsigned(d.value("cycles"));
    s.isCharging = toBool(d.value("isCharging"));
    s.isConnectedToPowerSource = toBool(d.value("isConnectedToPowerSource"));
    s.isFullyCharged = toBool(d.value("isFullyCharged"));
    s.osxHealth = toString(d.value("osxHealth"));
    s.powerUsageWatts = toDouble(d.value("powerUsageWatts"));
    s.temperature = toDouble(d.value("temperature"));
    s.timeRemainingEstimate = toDouble(d.value("timeRemainingEstimate"));
    return s;
}

QVariantMap QVCycleAverage::dictionaryRepresentation() const
{
    return {{"cycles", QVariant::fromValue<qulonglong>(cycles)},
            {"maxCapacity", QVariant::fromValue<qulonglong>(maxCapacity)},
            {"result", result}};
}
