#pragma once

#include "battery/QVBatteryData.h"

#include <QDateTime>
#include <QObject>

#include <memory>
#include <optional>

class PowerSourceMonitor;

// The one shared owner of the current battery reading. It makes a new reading on update() and
// whenever the power sources change, and remembers when the computer was last seen going off
// external power.
class QVBatteryManager : public QObject {
    Q_OBJECT
public:
    // The single instance, created on first use (registers for change events and updates once).
    static QVBatteryManager& sharedManager();

    // Makes a new reading (or none without any power source) and maintains lastChargeDate.
    void update();
    // What a power-source change event does: posts "QVNotificationPowerSourceDidChange", then updates.
    void powerSourceDidChange();

    // The newest reading; null when no power source is present.
    std::shared_ptr<QVBatteryData> data() const { return m_data; }
    void setData(std::shared_ptr<QVBatteryData> data) { m_data = std::move(data); }
    const std::optional<QDateTime>& lastChargeDate() const { return m_lastChargeDate; }
    void setLastChargeDate(const std::optional<QDateTime>& date) { m_lastChargeDate = date; }
    bool hasBatteryInstalled() const;
    // Seconds since lastChargeDate, or -1 when there is none.
    double timeSinceLastCharge() const;

private:
    QVBatteryManager();
    ~QVBatteryManager() override;

    std::shared_ptr<QVBatteryData> m_data;
    std::optional<QDateTime> m_lastChargeDate;
    PowerSourceMonitor* m_monitor = nullptr;
};
