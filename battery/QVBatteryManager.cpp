#include "battery/QVBatteryManager.h"

#include "battery/QVBatteryClock.h"
#include "platform/notifications/NotificationCenter.h"
#include "platform/power/PowerSourceMonitor.h"
#include "platform/power/PowerSources.h"

QVBatteryManager& QVBatteryManager::sharedManager()
{
    // Created once, also under concurrent first use; it lives as long as the process.
    static QVBatteryManager* manager = new QVBatteryManager;
    return *manager;
}

QVBatteryManager::QVBatteryManager()
{
    m_monitor = new PowerSourceMonitor(this);
    connect(m_monitor, &PowerSourceMonitor::powerSourcesChanged, this, &QVBatteryManager::powerSourceDidChange);
    update();
}

QVBatteryManager::~QVBatteryManager() = default;

void QVBatteryManager::powerSourceDidChange()
{
    NotificationCenter::defaultCenter().post(QStringLiteral("QVNotificationPowerSourceDidChange"));
    update();
}

void QVBatteryManager::update()
{
    // One update sees the power sources as they were at one moment.
    const PowerSources::SharedReadScope sharedRead;
    if (!hasBatteryInstalled()) {
        m_data.reset();
        return;
    }
    // The new reading announces itself while m_data still holds the previous one.
    auto reading = std::make_shared<QVBatteryData>();
    m_data = reading;
    if (reading->isConnectedToPowerSource()) {
        m_lastChargeDate.reset();
    } else if (!m_lastChargeDate) {
        m_lastChargeDate = QVBatteryClock::now();
    }
}

bool QVBatteryManager::hasBatteryInstalled() const
{
    return !PowerSources::copyPowerSourcesList().isEmpty();
}

double QVBatteryManager::timeSinceLastCharge() const
{
    if (!m_lastChargeDate)
        return -1;
    return static_cast<double>(m_lastChargeDate->msecsTo(QVBatteryClock::now())) / 1000.0;
}
