#pragma once

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <memory>
#include <optional>

// One reading of the internal battery with every value derived from it. Constructing a reading
// reads the battery at once and posts "QVValuesDidChangeNotification" with the reading as object.
class QVBatteryData : public QObject {
    Q_OBJECT
public:
    // Reads the battery (updateBatteryProperties) before returning.
    explicit QVBatteryData(QObject* parent = nullptr);
    // A reading that has not touched the hardware and posted nothing: every value zero, false or
    // none. Tests and previews fill it through the setters.
    static std::shared_ptr<QVBatteryData> blankReading();
    ~QVBatteryData() override;

    // Reading the battery.
    void updateBatteryProperties();
    std::optional<QVariantMap> getBatteryData();
    void updateBatteryInfoDict();
    std::optional<QVariantMap> getAdapterData() const;
    void updateAdapterProperties();
    static std::optional<QDateTime> manufactureDateFromInteger(quint64 value);
    static std::optional<QString> timeStringFromDate(const std::optional<QDateTime>& date);

    // Value rows and texts.
    QList<QVariantMap> valuesArray() const;
    static QVariantMap valueDictWithTitle(const QString& title, const std::optional<QString>& value,
                                          const QString& key);
    QString timeRemainingString() const;
    static QString timeStringWithMinutes(double minutes);
    // The temperature as "30.6°C" and "87.1°F", or "Unknown" when the battery reports none.
    QString temperatureCelsiusString() const;
    QString temperatureFahrenheitString() const;

    // Computed values.
    double chargeLevel() const;
    double health() const;
    // Instantaneous current in mA, read from the battery afresh on every call.
    double powerUsageRealtime() const;

    // Properties, in declaration order.
    bool isCharging() const { return m_isCharging; }
    void setIsCharging(bool v) { m_isCharging = v; }
    bool isFullyCharged() const { return m_isFullyCharged; }
    void setIsFullyCharged(bool v) { m_isFullyCharged = v; }
    bool isConnectedToPowerSource() const { return m_isConnectedToPowerSource; }
    void setIsConnectedToPowerSource(bool v) { m_isConnectedToPowerSource = v; }
    double timeRemainingEstimate() const { return m_timeRemainingEstimate; }
    void setTimeRemainingEstimate(double v) { m_timeRemainingEstimate = v; }
    double timeTilChargedEstimate() const { return m_timeTilChargedEstimate; }
    void setTimeTilChargedEstimate(double v) { m_timeTilChargedEstimate = v; }
    const std::optional<QString>& adapterSerialNumber() const { return m_adapterSerialNumber; }
    void setAdapterSerialNumber(const std::optional<QString>& v) { m_adapterSerialNumber = v; }
    double adapterWatts() const { return m_adapterWatts; }
    void setAdapterWatts(double v) { m_adapterWatts = v; }
    quint64 cycles() const { return m_cycles; }
    void setCycles(quint64 v) { m_cycles = v; }
    // Design capacity, mAh.
    quint64 maxCapacity() const { return m_maxCapacity; }
    void setMaxCapacity(quint64 v) { m_maxCapacity = v; }
    // Present full-charge capacity, mAh.
    quint64 maxCharge() const { return m_maxCharge; }
    void setMaxCharge(quint64 v) { m_maxCharge = v; }
    quint64 currentCharge() const { return m_currentCharge; }
    void setCurrentCharge(quint64 v) { m_currentCharge = v; }
    const std::optional<QString>& ageTimeString() const { return m_ageTimeString; }
    void setAgeTimeString(const std::optional<QString>& v) { m_ageTimeString = v; }
    const std::optional<QDateTime>& manufactureDate() const { return m_manufactureDate; }
    void setManufactureDate(const std::optional<QDateTime>& v) { m_manufactureDate = v; }
    double powerUsageWatts() const { return m_powerUsageWatts; }
    void setPowerUsageWatts(double v) { m_powerUsageWatts = v; }
    const std::optional<QString>& osxHealth() const { return m_osxHealth; }
    void setOsxHealth(const std::optional<QString>& v) { m_osxHealth = v; }
    // mV.
    qint64 voltage() const { return m_voltage; }
    void setVoltage(qint64 v) { m_voltage = v; }
    double temperatureCelsius() const { return m_temperatureCelsius; }
    // Setting a temperature also marks it as reported (see hasTemperature).
    void setTemperatureCelsius(double v)
    {
        m_temperatureCelsius = v;
        m_hasTemperature = true;
    }
    double temperatureFahrenheit() const { return m_temperatureFahrenheit; }
    void setTemperatureFahrenheit(double v) { m_temperatureFahrenheit = v; }
    // False when the battery reported no temperature; both temperatures are then 0.
    bool hasTemperature() const { return m_hasTemperature; }
    void setHasTemperature(bool v) { m_hasTemperature = v; }
    const std::optional<QVariantMap>& batteryInfoDict() const { return m_batteryInfoDict; }
    void setBatteryInfoDict(const std::optional<QVariantMap>& v) { m_batteryInfoDict = v; }

private:
    struct Blank {};
    explicit QVBatteryData(Blank);

    bool m_isCharging = false;
    bool m_isFullyCharged = false;
    bool m_isConnectedToPowerSource = false;
    double m_timeRemainingEstimate = 0;
    double m_timeTilChargedEstimate = 0;
    std::optional<QString> m_adapterSerialNumber;
    double m_adapterWatts = 0;
    quint64 m_cycles = 0;
    quint64 m_maxCapacity = 0;
    quint64 m_maxCharge = 0;
    quint64 m_currentCharge = 0;
    std::optional<QString> m_ageTimeString;
    std::optional<QDateTime> m_manufactureDate;
    double m_powerUsageWatts = 0;
    std::optional<QString> m_osxHealth;
    qint64 m_voltage = 0;
    double m_temperatureCelsius = 0;
    double m_temperatureFahrenheit = 0;
    bool m_hasTemperature = false;
    // Refreshed by every registry read, including the one powerUsageRealtime makes.
    mutable std::optional<QVariantMap> m_batteryInfoDict;

    std::optional<QVariantMap> readRegistry() const;
    void refreshBatteryInfoDict() const;
};
