#pragma once

#include <QDateTime>
#include <QString>

#include <unicode/uversion.h>

#include <memory>

U_NAMESPACE_BEGIN
class SimpleDateFormat;
U_NAMESPACE_END

// Formats instants with a Unicode date pattern ("yyyy-MM-dd", "EEE, MMM d, ''yy", "ha") in the local
// time zone as it is when the formatter is made, in the user's locale. One formatter must not be used
// from two threads at once.
class KZDateFormatter
{
public:
    explicit KZDateFormatter(const QString& dateFormat = QString());
    KZDateFormatter(const KZDateFormatter& other);
    KZDateFormatter& operator=(const KZDateFormatter& other);
    ~KZDateFormatter();

    // ISO 8601 with the local offset, independent of the user's locale: "2026-03-29T03:15:00+02:00".
    static KZDateFormatter iso8601Formatter();

    void setDateFormat(const QString& pattern);
    QString dateFormat() const;

    QString stringFromDate(const QDateTime& date) const;
    // The same for an instant given as milliseconds since 1970.
    QString stringFromMSecs(double msecsSinceEpoch) const;

    // The formatter's own ICU formatter (its calendar and zone), for code that needs more.
    const icu::SimpleDateFormat& icuFormat() const { return *m_format; }

private:
    struct PosixLocale {};
    KZDateFormatter(const QString& dateFormat, PosixLocale);

    std::unique_ptr<icu::SimpleDateFormat> m_format;
};
