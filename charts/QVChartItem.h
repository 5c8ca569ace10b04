#pragma once

#include "charts/QVChartValue.h"

#include <QDateTime>
#include <QList>
#include <QString>

// One bar or one period of a chart: a date within the period and its titled values, in the order
// they were added, with their running total. Kept inline: the calculators in history/ make these too.
class QVChartItem
{
public:
    QVChartItem() = default;

    // Adds `value` to the total and appends it under `title`.
    void addValue(double value, const QString& withTitle)
    {
        m_total += value;
        m_valuesArray.append(QVChartValue::valueWithTitle(withTitle, value));
    }

    QString title() const { return m_title; }
    void setTitle(const QString& title) { m_title = title; }
    QDateTime date() const { return m_date; }
    void setDate(const QDateTime& date) { m_date = date; }
    double total() const { return m_total; }
    void setTotal(double total) { m_total = total; }
    const QList<QVChartValue>& valuesArray() const { return m_valuesArray; }
    QList<QVChartValue>& valuesArray() { return m_valuesArray; }

    // The amount of each value, in the order they were added (a new list on each call).
    QList<double> values() const
    {
        QList<double> result;
        result.reserve(m_valuesArray.size());
        for (const QVChartValue& value : m_valuesArray)
            result.append(value.value());
        return result;
    }

private:
    QString m_title;
    QDateTime m_date;
    double m_total = 0;
    QList<QVChartValue> m_valuesArray;
};
