#include "history/QVSnapshotFilter.h"

QVSnapshotFilter::QVSnapshotFilter(QString format, QString sql, std::vector<double> arguments)
    : m_format(std::move(format)), m_sql(std::move(sql)), m_arguments(std::move(arguments))
{
}

QVSnapshotFilter QVSnapshotFilter::dateRange(const QDateTime& start, const QDateTime& end)
{
    return dateRange(static_cast<double>(start.toMSecsSinceEpoch()) / 1000.0,
                     static_cast<double>(end.toMSecsSinceEpoch()) / 1000.0);
}

QVSnapshotFilter QVSnapshotFilter::dateRange(double start, double end)
{
    return {"date >= %@ AND date <= %@", "date >= ? AND date <= ?", {start, end}};
}

QVSnapshotFilter QVSnapshotFilter::onBattery()
{
    return {"isConnectedToPowerSource = NO", "isConnectedToPowerSource = 0"};
}

QVSnapshotFilter QVSnapshotFilter::fullyCharged()
{
    return {"(chargeLevel = 100 OR isFullyCharged = YES) AND isConnectedToPowerSource = YES",
            "(chargeLevel = 100 OR isFullyCharged = 1) AND isConnectedToPowerSource = 1"};
}

QVSnapshotFilter QVSnapshotFilter::charging()
{
    return {"isCharging = YES AND (chargeLevel = NULL OR chargeLevel < 100)",
            "isCharging = 1 AND (chargeLevel IS NULL OR chargeLevel < 100)"};
}

QVSnapshotFilter QVSnapshotFilter::healthRecords()
{
    return {"cycles != 0 AND maxCharge != 0", "cycles <> 0 AND maxCharge <> 0"};
}

QVSnapshotFilter QVSnapshotFilter::operator&&(const QVSnapshotFilter& other) const
{
    if (m_sql.isEmpty())
        return other;
    if (other.m_sql.isEmpty())
        return *this;
    std::vector<double> arguments = m_arguments;
    arguments.insert(arguments.end(), other.m_arguments.begin(), other.m_arguments.end());
    return {"(" + m_format + ") AND (" + other.m_format + ")", "(" + m_sql + ") AND (" + other.m_sql + ")",
            std::move(arguments)};
}
