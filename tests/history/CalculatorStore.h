#pragma once

#include "history/QVHistoryStore.h"
#include "history/QVSnapshot.h"

#include <QDateTime>
#include <QTemporaryDir>

#include <optional>

// A fresh history store in a temporary folder, filled through the store's own operations.
class CalculatorStore
{
public:
    enum State {
        OnBattery,      // not connected
        Charging,       // connected, charging, below 100 %
        FullyCharged,   // connected, full flag set, 100 %
        HeldOnAC,       // connected, neither charging nor full (held below full)
    };

    CalculatorStore() { m_open = store.openAtPath(m_dir.filePath(QStringLiteral("Voltara.sqlite"))); }
    bool isOpen() const { return m_open; }
    QString path() const { return store.path(); }

    // A complete snapshot in the state; the level defaults to 100 % when full and 50 % otherwise.
    static QVSnapshot make(const QDateTime& date, State state, std::optional<double> chargeLevel = std::nullopt)
    {
        QVSnapshot s;
        s.setDateTime(date);
        s.isConnectedToPowerSource = state != OnBattery;
        s.isCharging = state == Charging;
        s.isFullyCharged = state == FullyCharged;
        s.chargeLevel = chargeLevel ? chargeLevel : std::optional<double>(state == FullyCharged ? 100.0 : 50.0);
        s.currentCharge = 2500;
        s.maxCharge = 4700;
        s.maxCapacity = 5000;
        s.cycles = 120;
        s.osxHealth = QString();
        s.powerUsageWatts = 7.5;
        s.temperature = 31.5;
        s.timeRemainingEstimate = state == OnBattery ? 9000.0 : -2.0;
        return s;
    }
    void add(const QDateTime& date, State state, std::optional<double> chargeLevel = std::nullopt)
    {
        store.saveSnapshot(make(date, state, chargeLevel));
    }
    void add(const QVSnapshot& snapshot) { store.saveSnapshot(snapshot); }

    QVHistoryStore store;

private:
    QTemporaryDir m_dir;
    bool m_open = false;
};
