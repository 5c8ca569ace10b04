#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <cstdint>
#include <optional>

// One snapshot of the internal battery, as kept in the history store. Every attribute is nullable:
// the recorder sets all of them, rows imported from older stores may lack some.
// `date` is seconds since 1970-01-01 00:00:00 UTC (use dateTime() for a QDateTime).
struct QVSnapshot {
    std::optional<double> date;
    std::optional<double> chargeLevel;            // percent, 0 to 100, not rounded
    std::optional<std::uint64_t> currentCharge;   // mAh
    std::optional<std::uint64_t> maxCharge;       // mAh, full-charge capacity
    std::optional<std::uint64_t> maxCapacity;     // mAh, design capacity
    std::optional<std::uint64_t> cycles;
    std::optional<bool> isCharging;
    std::optional<bool> isConnectedToPowerSource;
    std::optional<bool> isFullyCharged;
    std::optional<QString> osxHealth;
    std::optional<double> powerUsageWatts;
    std::optional<double> temperature;            // degrees Celsius
    std::optional<double> timeRemainingEstimate;  // seconds; -1 and -2 are markers

    // The 13 attribute names, in the order of the store's columns.
    static const QStringList& attributeNames();

    QDateTime dateTime() const;   // invalid when `date` is absent
    void setDateTime(const QDateTime& dateTime);

    // True when all 13 attributes have a value.
    bool isComplete() const;

    // Attribute name -> value (absent attributes are left out), and back. Unknown keys are ignored;
    // a value that does not convert to the attribute's type leaves the attribute absent.
    QVariantMap dictionaryRepresentation() const;
    static QVSnapshot snapshotWithDictionary(const QVariantMap& dictionary);

    bool operator==(const QVSnapshot&) const = default;
};

// S5's result: one group of the grouped average of `maxCharge` over the health rows.
struct QVCycleAverage {
    std::uint64_t cycles = 0;
    std::uint64_t maxCapacity = 0;
    double result = 0;   // average of maxCharge over the rows with this cycles/maxCapacity pair

    // {"cycles", "maxCapacity", "result"}
    QVariantMap dictionaryRepresentation() const;
    bool operator==(const QVCycleAverage&) const = default;
};
