#pragma once

// A throw-away /sys/class/power_supply tree for tests of the status item and the shell: one system
// battery and one mains adapter, pointed at through VOLTARA_POWER_SUPPLY_ROOT, and the shared battery
// manager brought up to date with it.

#include "battery/QVBatteryManager.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

struct PowerSupplyState {
    bool battery = true;
    int capacity = 42;                   // percent
    const char* status = "Discharging";  // "Charging", "Full", "Not charging"
    bool acOnline = false;
    int timeToEmpty = -1;                // seconds; -1 leaves the file out and reports no current
};

class PowerSupplyTree {
public:
    PowerSupplyTree() { qputenv("VOLTARA_POWER_SUPPLY_ROOT", m_dir.path().toUtf8()); }
    ~PowerSupplyTree() { qunsetenv("VOLTARA_POWER_SUPPLY_ROOT"); }

    QString path() const { return m_dir.path(); }

    // Writes the tree for `state` and makes a new reading from it.
    void apply(const PowerSupplyState& state)
    {
        QDir(m_dir.path() + "/BAT0").removeRecursively();
        QDir(m_dir.path() + "/AC").removeRecursively();
        write("AC/type", "Mains");
        write("AC/online", state.acOnline ? "1" : "0");
        if (state.battery) {
            write("BAT0/type", "Battery");
            write("BAT0/present", "1");
            write("BAT0/status", state.status);
            write("BAT0/capacity", QByteArray::number(state.capacity));
            write("BAT0/charge_full_design", "4000000");
            write("BAT0/charge_full", "4000000");
            write("BAT0/charge_now", QByteArray::number(state.capacity * 40000));
            // Without a time to empty and without a current no estimate is known yet.
            const bool rate = !state.acOnline && state.timeToEmpty != -1;
            write("BAT0/current_now", rate ? "1000000" : "0");
            write("BAT0/voltage_now", "11000000");
            if (state.timeToEmpty >= 0)
                write("BAT0/time_to_empty_now", QByteArray::number(state.timeToEmpty));
        }
        QVBatteryManager::sharedManager().update();
    }

private:
    void write(const QString& relative, const QByteArray& value)
    {
        const QString file = m_dir.path() + "/" + relative;
        QDir().mkpath(file.section('/', 0, -2));
        QFile f(file);
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(value + "\n");
    }

    QTemporaryDir m_dir;
};
