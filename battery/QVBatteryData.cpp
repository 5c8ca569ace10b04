#include "battery/QVBatteryData.h"

QVBatteryData::QVBatteryData(QObject* parent) : QObject(parent) { updateBatteryProperties(); }
QVBatteryData::QVBatteryData(Blank) : QObject(nullptr) {}
QVBatteryData::~QVBatteryData() = default;
std::shared_ptr<QVBatteryData> QVBatteryData::blankReading() { return std::shared_ptr<QVBatteryData>(new QVBatteryData(Blank{})); }
void QVBatteryData::updateBatteryProperties() {}
std::optional<QVariantMap> QVBatteryData::getBatteryData() { return std::nullopt; }
void QVBatteryData::updateBatteryInfoDict() {}
std::optional<QVariantMap> QVBatteryData::getAdapterData() const { return std::nullopt; }
void QVBatteryData::updateAdapterProperties() {}
std::optional<QDateTime> QVBatteryData::manufactureDateFromInteger(quint64) { return std::nullopt; }
std::optional<QString> QVBatteryData::timeStringFromDate(const std::optional<QDateTime>&) { return std::nullopt; }
QList<QVariantMap> QVBatteryData::valuesArray() const { return {}; }
QVariantMap QVBatteryData::valueDictWithTitle(const QString& title, const std::optional<QString>& value, const QString& key)
{
    return {{"title", title}, {"value", value.value_or(QString())}, {"key", key}};
}
QString QVBatteryData::timeRemainingString() const { return {}; }
QString QVBatteryData::timeStringWithMinutes(double) { return {}; }
QString QVBatteryData::temperatureCelsiusString() const { return {}; }
QString QVBatteryData::temperatureFahrenheitString() const { return {}; }
double QVBatteryData::chargeLevel() const { return 0; }
double QVBatteryData::health() const { return 0; }
double QVBatteryData::powerUsageRealtime() const { return 0; }
