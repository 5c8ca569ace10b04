#include "history/KZDateFormatter.h"

#include <unicode/gregocal.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

namespace {

icu::UnicodeString toUnicode(const QString& text)
{
    return icu::UnicodeString(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<int32_t>(text.size()));
}

QString fromUnicode(const icu::UnicodeString& text)
{
    return QString(reinterpret_cast<const QChar*>(text.getBuffer()), text.length());
}

std::unique_ptr<icu::SimpleDateFormat> makeFormat(const QString& pattern, const icu::Locale& locale)
{
    UErrorCode status = U_ZERO_ERROR;
    auto format = std::make_unique<icu::SimpleDateFormat>(toUnicode(pattern), locale, status);
    if (U_FAILURE(status)) {
        // An invalid pattern formats as nothing rather than failing every caller.
        status = U_ZERO_ERROR;
        format = std::make_unique<icu::SimpleDateFormat>(icu::UnicodeString(), locale, status);
    }
    format->adoptTimeZone(icu::TimeZone::createDefault());
    return format;
}

} // namespace

KZDateFormatter::KZDateFormatter(const QString& dateFormat)
    : m_format(makeFormat(dateFormat, icu::Locale::getDefault()))
{
}

KZDateFormatter::KZDateFormatter(const QString& dateFormat, PosixLocale)
    : m_format(makeFormat(dateFormat, icu::Locale("en_US_POSIX")))
{
    UErrorCode status = U_ZERO_ERROR;
    m_format->adoptCalendar(new icu::GregorianCalendar(icu::TimeZone::createDefault(), status));
}

KZDateFormatter::KZDateFormatter(const KZDateFormatter& other)
    : m_format(other.m_format->clone())
{
}

KZDateFormatter& KZDateFormatter::operator=(const KZDateFormatter& other)
{
    if (this != &other)
        m_format.reset(other.m_format->clone());
    return *this;
}

KZDateFormatter::~KZDateFormatter() = default;

KZDateFormatter KZDateFormatter::iso8601Formatter()
{
    return KZDateFormatter(QStringLiteral("yyyy-MM-dd'T'HH:mm:ssxxx"), PosixLocale{});
}

void KZDateFormatter::setDateFormat(const QString& pattern)
{
    m_format->applyPattern(toUnicode(pattern));
}

QString KZDateFormatter::dateFormat() const
{
    icu::UnicodeString pattern;
    m_format->toPattern(pattern);
    return fromUnicode(pattern);
}

QString KZDateFormatter::stringFromDate(const QDateTime& date) const
{
    if (!date.isValid())
        return QString();
    return stringFromMSecs(static_cast<double>(date.toMSecsSinceEpoch()));
}

QString KZDateFormatter::stringFromMSecs(double msecsSinceEpoch) const
{
    icu::UnicodeString text;
    m_format->format(msecsSinceEpoch, text);
    return fromUnicode(text);
}
