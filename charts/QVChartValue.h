#pragma once

#include <QString>

// One titled amount of a chart item (for the power history: "Battery", "Charging" or "Fully Charged").
// Kept inline: the calculators in history/ make these too, below the charts library.
class QVChartValue
{
public:
    QVChartValue() = default;
    QVChartValue(const QString& title, double value) : m_title(title), m_value(value) {}

    static QVChartValue valueWithTitle(const QString& title, double value) { return QVChartValue(title, value); }

    QString title() const { return m_title; }
    void setTitle(const QString& title) { m_title = title; }
    double value() const { return m_value; }
    void setValue(double value) { m_value = value; }

    bool operator==(const QVChartValue&) const = default;

private:
    QString m_title;
    double m_value = 0;
};
