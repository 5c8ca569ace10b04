#include "battery/QVBatteryData.h"

#include "battery/QVBatteryClock.h"
#include "platform/notifications/NotificationCenter.h"
#include "platform/power/PowerSources.h"

#include <QLocale>
#include <QTimeZone>

#include <unicode/calendar.h>
#include <unicode/datefmt.h>
#include <unicode/numfmt.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

#include <cmath>
#include <memory>

namespace {

const QString kInternalBattery = QStringLiteral("InternalBattery");

// The user's locale as ICU names it; the C locale is ICU's POSIX English.
icu::Locale currentLocale()
{
    const QString name = QLocale::system().name();
    if (name == QLatin1String("C"))
        return icu::Locale("en_US_POSIX");
    return icu::Locale(name.toLatin1().constData());
}

// The local time zone, read again at each use (the TZ variable may change).
icu::TimeZone* createLocalTimeZone()
{
    const QByteArray id = QTimeZone::systemTimeZoneId();
    icu::TimeZone* zone = icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(id.constData()));
    if (*zone == icu::TimeZone::getUnknown()) {
        delete zone;
        zone = icu::TimeZone::detectHostTimeZone();
    }
    return zone;
}

QString toQString(const icu::UnicodeString& text)
{
    return QString(reinterpret_cast<const QChar*>(text.getBuffer()), text.length());
}

// Row 10's formatter: medium date style, no time; made once per locale and reused.
QString mediumDateString(const QDateTime& date)
{
    thread_local std::unique_ptr<icu::DateFormat> formatter;
    thread_local std::string formatterLocale;
    const icu::Locale locale = currentLocale();
    if (!formatter || formatterLocale != locale.getName()) {
        formatter.reset(icu::DateFormat::createDateInstance(icu::DateFormat::kMedium, locale));
        formatterLocale = locale.getName();
    }
    if (!formatter)
        return date.date().toString(Qt::ISODate);
    formatter->adoptTimeZone(createLocalTimeZone());
    icu::UnicodeString text;
    formatter->format(static_cast<UDate>(date.toMSecsSinceEpoch()), text);
    return toQString(text);
}

// The temperature numbers: no grouping, at least one integer digit, at most one fraction digit.
QString temperatureNumberString(double value)
{
    thread_local std::unique_ptr<icu::NumberFormat> formatter;
    thread_local std::string formatterLocale;
    const icu::Locale locale = currentLocale();
    if (!formatter || formatterLocale != locale.getName()) {
        UErrorCode status = U_ZERO_ERROR;
        formatter.reset(icu::NumberFormat::createInstance(locale, status));
        if (U_FAILURE(status))
            formatter.reset();
        if (formatter) {
            formatter->setGroupingUsed(false);
            formatter->setMinimumIntegerDigits(1);
            formatter->setMinimumFractionDigits(0);
            formatter->setMaximumFractionDigits(1);
        }
        formatterLocale = locale.getName();
    }
    if (!formatter)
        return QString::number(value, 'f', 1);
    icu::UnicodeString text;
    formatter->format(value, text);
    return toQString(text);
}

bool boolValue(const std::optional<QVariantMap>& dict, const QString& key)
{
    return dict && dict->value(key).toBool();
}

quint64 unsignedValue(const std::optional<QVariantMap>& dict, const QString& key)
{
    return dict ? dict->value(key).toULongLong() : 0;
}

qint64 integerValue(const std::optional<QVariantMap>& dict, const QString& key)
{
    return dict ? dict->value(key).toLongLong() : 0;
}

// A registry number read in single precision, as the reading's arithmetic expects.
double floatValue(const std::optional<QVariantMap>& dict, const QString& key)
{
    return dict ? static_cast<double>(dict->value(key).toFloat()) : 0.0;
}

} // namespace

QVBatteryData::QVBatteryData(QObject* parent) : QObject(parent)
{
    updateBatteryProperties();
}

QVBatteryData::QVBatteryData(Blank) : QObject(nullptr) {}

QVBatteryData::~QVBatteryData() = default;

std::shared_ptr<QVBatteryData> QVBatteryData::blankReading()
{
    return std::shared_ptr<QVBatteryData>(new QVBatteryData(Blank{}));
}

// MARK: - Reading the battery

void QVBatteryData::refreshBatteryInfoDict() const
{
    const QVariantList list = PowerSources::copyPowerSourcesList();
    for (const QVariant& entry : list) {
        if (entry.typeId() != QMetaType::QVariantMap)
            continue;
        const QVariantMap description = entry.toMap();
        if (description.value(QStringLiteral("Type")).toString() == kInternalBattery)
            m_batteryInfoDict = description;
    }
}

std::optional<QVariantMap> QVBatteryData::readRegistry() const
{
    refreshBatteryInfoDict();
    return PowerSources::copySmartBatteryProperties();
}

void QVBatteryData::updateBatteryInfoDict()
{
    refreshBatteryInfoDict();
}

std::optional<QVariantMap> QVBatteryData::getBatteryData()
{
    return readRegistry();
}

std::optional<QVariantMap> QVBatteryData::getAdapterData() const
{
    return PowerSources::copyExternalPowerAdapterDetails();
}

void QVBatteryData::updateAdapterProperties()
{
    const auto adapter = getAdapterData();
    const QVariant serial = adapter ? adapter->value(QStringLiteral("SerialNumber")) : QVariant();
    m_adapterSerialNumber = serial.isValid() ? std::optional<QString>(serial.toString()) : std::nullopt;
    m_adapterWatts = floatValue(adapter, QStringLiteral("Watts"));
}

void QVBatteryData::updateBatteryProperties()
{
    // Every value of the reading comes from the same moment.
    const PowerSources::SharedReadScope sharedRead;
    const std::optional<QVariantMap> properties = getBatteryData();

    m_isCharging = boolValue(properties, QStringLiteral("IsCharging"));
    m_isFullyCharged = boolValue(properties, QStringLiteral("FullyCharged"));

    m_timeRemainingEstimate = PowerSources::getTimeRemainingEstimate();
    m_isConnectedToPowerSource = m_timeRemainingEstimate == -2.0;
    if (properties && properties->contains(QStringLiteral("ExternalConnected")))
        m_isConnectedToPowerSource = properties->value(QStringLiteral("ExternalConnected")).toBool();

    m_cycles = unsignedValue(properties, QStringLiteral("CycleCount"));
    m_maxCapacity = unsignedValue(properties, QStringLiteral("DesignCapacity"));
    m_maxCharge = unsignedValue(properties, QStringLiteral("MaxCapacity"));
    m_currentCharge = unsignedValue(properties, QStringLiteral("CurrentCapacity"));

    m_timeTilChargedEstimate = static_cast<double>(integerValue(properties, QStringLiteral("AvgTimeToFull")));
    if (m_timeTilChargedEstimate != 65535.0)
        m_timeTilChargedEstimate *= 60.0;

    if (properties && properties->contains(QStringLiteral("Temperature"))) {
        m_temperatureCelsius = properties->value(QStringLiteral("Temperature")).toDouble() / 100.0;
        m_temperatureFahrenheit = m_temperatureCelsius * static_cast<double>(1.8f) + 32.0;
        m_hasTemperature = true;
    } else {
        m_temperatureCelsius = 0;
        m_temperatureFahrenheit = 0;
        m_hasTemperature = false;
    }

    m_manufactureDate = manufactureDateFromInteger(unsignedValue(properties, QStringLiteral("ManufactureDate")));
    m_ageTimeString = timeStringFromDate(m_manufactureDate);

    m_powerUsageWatts = std::fabs((floatValue(properties, QStringLiteral("Amperage")) / 1000.0) *
                                  (floatValue(properties, QStringLiteral("Voltage")) / 1000.0));

    m_voltage = integerValue(properties, QStringLiteral("Voltage"));

    const QVariantList sources = PowerSources::copyPowerSourcesList();
    if (!sources.isEmpty()) {
        const QVariant verdict = sources.first().toMap().value(QStringLiteral("Voltara"));
        m_osxHealth = verdict.isValid() ? std::optional<QString>(verdict.toString()) : std::nullopt;
    }

    NotificationCenter::defaultCenter().post(QStringLiteral("QVValuesDidChangeNotification"), this);
}

std::optional<QDateTime> QVBatteryData::manufactureDateFromInteger(quint64 value)
{
    if (value == 0)
        return std::nullopt;
    const int day = static_cast<int>(value & 0x1F);
    const int month = static_cast<int>((value >> 5) & 0xF);
    const quint64 yearOffset = value >> 9;
    if (yearOffset > 100000)
        return std::nullopt;
    const QDate date(1980 + static_cast<int>(yearOffset), month, day);
    if (!date.isValid())
        return std::nullopt;
    const QDateTime start = date.startOfDay();
    if (!start.isValid())
        return std::nullopt;
    return start;
}

std::optional<QString> QVBatteryData::timeStringFromDate(const std::optional<QDateTime>& date)
{
    if (!date || !date->isValid())
        return std::nullopt;

    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Calendar> calendar(icu::Calendar::createInstance(createLocalTimeZone(), currentLocale(), status));
    if (U_FAILURE(status) || !calendar)
        return std::nullopt;
    calendar->setTime(static_cast<UDate>(date->toMSecsSinceEpoch()), status);
    const UDate now = static_cast<UDate>(QVBatteryClock::now().toMSecsSinceEpoch());
    const long years = calendar->fieldDifference(now, UCAL_YEAR, status);
    const long months = calendar->fieldDifference(now, UCAL_MONTH, status);
    const long days = calendar->fieldDifference(now, UCAL_DATE, status);
    const long hours = calendar->fieldDifference(now, UCAL_HOUR_OF_DAY, status);
    if (U_FAILURE(status))
        return std::nullopt;

    long whole;
    double tenths;
    const char* unit;
    if (years > 0) {
        whole = years;
        tenths = months / 12.0 * 10.0;
        unit = "year";
    } else if (months > 0) {
        whole = months;
        tenths = days / 30.0 * 10.0;
        unit = "month";
    } else if (days > 0) {
        whole = days;
        tenths = hours / 24.0 * 10.0;
        unit = "day";
    } else {
        if (hours > 0)
            return QStringLiteral("Brand new");
        return std::nullopt;
    }
    const QString number = QString::asprintf("%ld.%0.0f", whole, tenths);
    return QStringLiteral("%1 %2s").arg(number, QLatin1String(unit));
}

// MARK: - Computed values

double QVBatteryData::chargeLevel() const
{
    if (m_batteryInfoDict && m_batteryInfoDict->contains(QStringLiteral("Current Capacity")))
        return static_cast<double>(m_batteryInfoDict->value(QStringLiteral("Current Capacity")).toLongLong()) / 100.0;
    if (m_currentCharge == 0 || m_maxCharge == 0)
        return 0;
    const double x = static_cast<double>(m_currentCharge) / static_cast<double>(m_maxCharge);
    if (x == 1.0)
        return m_isCharging ? static_cast<double>(0.99f) : 1.0;
    return x;
}

double QVBatteryData::health() const
{
    if (m_maxCharge == 0 || m_maxCapacity == 0)
        return 0;
    return static_cast<double>(m_maxCharge) / static_cast<double>(m_maxCapacity);
}

double QVBatteryData::powerUsageRealtime() const
{
    const PowerSources::SharedReadScope sharedRead;
    const auto properties = readRegistry();
    if (!properties || !properties->contains(QStringLiteral("InstantAmperage")))
        return 0;
    const qint64 a = properties->value(QStringLiteral("InstantAmperage")).toLongLong();
    return static_cast<double>(a <= 60000 ? a : 65535 - a);
}

// MARK: - Value rows and texts

QVariantMap QVBatteryData::valueDictWithTitle(const QString& title, const std::optional<QString>& value,
                                              const QString& key)
{
    return {{QStringLiteral("title"), title},
            {QStringLiteral("value"), value.value_or(QString())},
            {QStringLiteral("key"), key}};
}

QString QVBatteryData::timeStringWithMinutes(double minutes)
{
    if (minutes == 0)
        return QStringLiteral("0");
    const long days = static_cast<long>(minutes / 1440.0);
    const long totalHours = static_cast<long>(minutes / 60.0);
    // The whole minutes' remainder by 60, as the 32-bit truncation gives it, without overflowing it.
    const long mins = static_cast<long>(std::fmod(std::trunc(minutes), 60.0));
    if (days > 0)
        return QString::asprintf("%ldd %ldh %ldm", days, totalHours % 24, mins);
    return QString::asprintf("%ldh %ldm", totalHours, mins);
}

QString QVBatteryData::timeRemainingString() const
{
    if (m_currentCharge == 0 || m_isCharging || m_timeRemainingEstimate == -2.0)
        return QStringLiteral("---");
    if (m_timeRemainingEstimate == -1.0)
        return QStringLiteral("Calculating...");
    return timeStringWithMinutes(m_timeRemainingEstimate / 60.0);
}

QString QVBatteryData::temperatureCelsiusString() const
{
    if (!m_hasTemperature)
        return QStringLiteral("Unknown");
    return temperatureNumberString(m_temperatureCelsius) + QStringLiteral("°C");
}

QString QVBatteryData::temperatureFahrenheitString() const
{
    if (!m_hasTemperature)
        return QStringLiteral("Unknown");
    return temperatureNumberString(m_temperatureFahrenheit) + QStringLiteral("°F");
}

QList<QVariantMap> QVBatteryData::valuesArray() const
{
    const auto mah = [](quint64 v) { return QString::number(static_cast<qint64>(v)); };
    // A battery without a temperature sensor shows "Unknown" rather than a made-up 0°C.
    const QString temperature = m_hasTemperature
        ? QStringLiteral("%1 / %2").arg(temperatureCelsiusString(), temperatureFahrenheitString())
        : QStringLiteral("Unknown");
    return {
        valueDictWithTitle(QStringLiteral("Capacity"),
                           QStringLiteral("%1 / %2 mAh").arg(mah(m_currentCharge), mah(m_maxCharge)),
                           QStringLiteral("capacity")),
        valueDictWithTitle(QStringLiteral("Current Charge"), QString::asprintf("%0.0f%%", chargeLevel() * 100.0),
                           QStringLiteral("currentcharge")),
        valueDictWithTitle(QStringLiteral("Current Max"), QStringLiteral("%1 mAh").arg(mah(m_maxCharge)),
                           QStringLiteral("currentmax")),
        valueDictWithTitle(QStringLiteral("Original Max"), QStringLiteral("%1 mAh").arg(mah(m_maxCapacity)),
                           QStringLiteral("originalmax")),
        valueDictWithTitle(QStringLiteral("Health"), QString::asprintf("%0.0f%%", health() * 100.0),
                           QStringLiteral("health")),
        // A reading without a verdict says so instead of showing an empty placeholder.
        valueDictWithTitle(QStringLiteral("OS X Health Status"), m_osxHealth.value_or(QStringLiteral("Unknown")),
                           QStringLiteral("osxstatus")),
        valueDictWithTitle(QStringLiteral("Time Remaining"), timeRemainingString(), QStringLiteral("timeremaining")),
        valueDictWithTitle(QStringLiteral("Cycles"), mah(m_cycles), QStringLiteral("cycles")),
        valueDictWithTitle(QStringLiteral("Age"), m_ageTimeString, QStringLiteral("age")),
        valueDictWithTitle(QStringLiteral("Manufacture Date"),
                           m_manufactureDate ? mediumDateString(*m_manufactureDate) : QStringLiteral("Unknown"),
                           QStringLiteral("manufacturedate")),
        valueDictWithTitle(QStringLiteral("Temperature"), temperature, QStringLiteral("temperature")),
        valueDictWithTitle(m_isConnectedToPowerSource ? QStringLiteral("Charging With") : QStringLiteral("Power Usage"),
                           QString::asprintf("%0.1f Watts", m_powerUsageWatts), QStringLiteral("power")),
    };
}
