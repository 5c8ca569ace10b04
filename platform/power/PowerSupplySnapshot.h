#pragma once

#include <QString>

#include <optional>
#include <vector>

// One reading of a power_supply folder tree (/sys/class/power_supply or a stand-in): the
// supplies sorted by folder name, each with the values the power-source services need.
// Every value is checked: a file that is missing, empty, unreadable, not a plain number or out
// of the plausible range reads as absent. Units are the kernel's (micro-units, tenths of a degree).
class PowerSupplySnapshot {
public:
    enum class Kind { Battery, LinePower, Ups, Other };

    struct Supply {
        QString name;
        Kind kind = Kind::Other;
        std::optional<QString> status;   // "Charging", "Discharging", "Full", "Not charging", ...
        std::optional<bool> online;      // line power, UPS
        std::optional<QString> health;   // absent when missing or "Unknown"
        std::optional<qint64> capacity;  // percent 0..100
        std::optional<qint64> cycleCount;
        std::optional<qint64> chargeFullDesign, chargeFull, chargeNow;   // µAh
        std::optional<qint64> energyFullDesign, energyFull, energyNow;   // µWh
        std::optional<qint64> voltageNow, voltageMaxDesign, voltageMinDesign;   // µV
        std::optional<qint64> currentNow;   // µA, sign as the driver reports it
        std::optional<qint64> powerNow;     // µW, sign as the driver reports it
        std::optional<qint64> temp;         // tenths of a degree Celsius
        std::optional<qint64> timeToFullAvg, timeToFullNow, timeToEmptyNow, timeToEmptyAvg;   // s
        std::optional<qint64> manufactureYear, manufactureMonth, manufactureDay;
        std::optional<qint64> voltageMax, currentMax;   // µV, µA of a line-power supply
    };

    // Reads every supply below `root`. Batteries that are not installed (`present` 0) and
    // peripheral supplies (`scope` "Device") are left out.
    static PowerSupplySnapshot read(const QString& root);

    const std::vector<Supply>& batteries() const { return m_batteries; }
    const std::vector<Supply>& linePower() const { return m_linePower; }
    const std::vector<Supply>& upses() const { return m_upses; }

    // The text of one attribute file with surrounding white space removed; absent when the file
    // is missing, unreadable or empty.
    static std::optional<QString> readString(const QString& path);
    // One attribute file as a whole decimal integer within [min, max]; anything else is absent.
    static std::optional<qint64> readInteger(const QString& path, qint64 min, qint64 max);

private:
    std::vector<Supply> m_batteries;
    std::vector<Supply> m_linePower;
    std::vector<Supply> m_upses;
};
