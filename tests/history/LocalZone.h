#pragma once

#include <QDateTime>
#include <QTimeZone>

#include <unicode/timezone.h>

#include <memory>

// Sets the local zone that the calendar code reads (ICU's default zone) for the life of the object,
// and builds and prints instants in that zone.
class LocalZone
{
public:
    explicit LocalZone(const char* id) : m_id(id), m_previous(icu::TimeZone::createDefault())
    {
        icu::TimeZone::adoptDefault(icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(id)));
    }
    ~LocalZone() { icu::TimeZone::adoptDefault(m_previous.release()); }
    LocalZone(const LocalZone&) = delete;
    LocalZone& operator=(const LocalZone&) = delete;

    QTimeZone zone() const { return QTimeZone(m_id); }

    // The instant of a local wall-clock time (the earlier one where the clocks go back).
    QDateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) const
    {
        return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms), zone()).toUTC();
    }
    QDateTime at(const QString& local) const
    {
        QDateTime t = QDateTime::fromString(local, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        t.setTimeZone(zone());
        return t.toUTC();
    }

    // "yyyy-MM-dd HH:mm:ss" in the zone.
    QString text(const QDateTime& t) const
    {
        return t.toTimeZone(zone()).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }

private:
    QByteArray m_id;
    std::unique_ptr<icu::TimeZone> m_previous;
};
