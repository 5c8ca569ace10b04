#pragma once

#include <QString>

// Duration texts such as "1d 1h 1m".
class KZTimeFormatter {
public:
    KZTimeFormatter() = default;

    QString stringFromTimeInterval(double seconds) const;
    static QString timeStringWithValue(double value, const QString& suffix);

    bool showsSeconds() const { return m_showsSeconds; }
    void setShowsSeconds(bool v) { m_showsSeconds = v; }
    qint64 maxFields() const { return m_maxFields; }
    void setMaxFields(qint64 v) { m_maxFields = v; }

private:
    bool m_showsSeconds = false;
    qint64 m_maxFields = 5;
};
