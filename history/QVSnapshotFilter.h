#pragma once

#include <QDateTime>
#include <QString>

#include <vector>

// A filter on QVSnapshot rows. Each named filter carries the predicate it stands for (format()) and
// its SQL form; filters combine with &&.
//
//   dateRange(start, end)   "date >= %@ AND date <= %@"         both ends included
//   onBattery()             "isConnectedToPowerSource = NO"
//   fullyCharged()          "(chargeLevel = 100 OR isFullyCharged = YES) AND isConnectedToPowerSource = YES"
//   charging()              "isCharging = YES AND (chargeLevel = NULL OR chargeLevel < 100)"
//   healthRecords()         "cycles != 0 AND maxCharge != 0"
//
// A comparison with an absent value never matches, except where the predicate asks for NULL.
class QVSnapshotFilter {
public:
    QVSnapshotFilter() = default;   // matches every row

    static QVSnapshotFilter dateRange(const QDateTime& start, const QDateTime& end);
    static QVSnapshotFilter dateRange(double start, double end);   // seconds since 1970
    static QVSnapshotFilter onBattery();
    static QVSnapshotFilter fullyCharged();
    static QVSnapshotFilter charging();
    static QVSnapshotFilter healthRecords();

    QVSnapshotFilter operator&&(const QVSnapshotFilter& other) const;

    QString format() const { return m_format; }          // the predicate, "" for all rows
    QString sqlWhere() const { return m_sql; }           // "" for all rows; '?' placeholders
    const std::vector<double>& arguments() const { return m_arguments; }

private:
    QVSnapshotFilter(QString format, QString sql, std::vector<double> arguments = {});

    QString m_format;
    QString m_sql;
    std::vector<double> m_arguments;
};
