#pragma once

#include <QString>
#include <QVariantList>
#include <QVariantMap>

#include <optional>

// The power-source services of the system, served from /sys/class/power_supply (or the folder in
// VOLTARA_POWER_SUPPLY_ROOT, read again on every call). Every call reads the tree afresh.
//
// Power sources are the installed system batteries (shown as one composite battery, "Type"
// "InternalBattery") and UPS units ("Type" "UPS"); line power and peripheral batteries are not
// power sources.
namespace PowerSources {

// The folder that holds the supplies.
QString rootPath();

// While one of these lives, every call on this thread shares one read of the tree, so the values of
// one reading come from one moment (and the folder is read once instead of once per call). Scopes
// nest; the shared read ends with the outermost one.
class SharedReadScope {
public:
    SharedReadScope();
    ~SharedReadScope();
    SharedReadScope(const SharedReadScope&) = delete;
    SharedReadScope& operator=(const SharedReadScope&) = delete;
};

// One description dictionary per power source, the internal battery first. Keys: "Type", "Name",
// "Current Capacity" (percent), "Voltara" (the health verdict), "Is Charging", "Is Charged",
// "Power Source State" ("AC Power" or "Battery Power").
QVariantList copyPowerSourcesList();

// Seconds of battery time left; -2 on external power, -1 while no estimate is known.
double getTimeRemainingEstimate();

// The external adapter: "Watts" when an online line-power supply reports its maximum voltage and
// current; none when nothing is known about it.
std::optional<QVariantMap> copyExternalPowerAdapterDetails();

// The smart-battery registry properties of the internal battery, or none without an installed
// system battery. Keys: "IsCharging", "FullyCharged", "ExternalConnected", "CycleCount",
// "DesignCapacity", "MaxCapacity", "CurrentCapacity" (mAh), "Voltage" (mV), "Amperage",
// "InstantAmperage" (mA, negative while discharging), "AvgTimeToFull" (minutes, 65535 = none),
// "Temperature" (hundredths of a degree Celsius), "ManufactureDate" (packed day). A value the
// battery does not report is absent.
std::optional<QVariantMap> copySmartBatteryProperties();

} // namespace PowerSources
