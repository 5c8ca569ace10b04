#include "battery/KZTimeFormatter.h"

#include <QStringList>

#include <cmath>

QString KZTimeFormatter::timeStringWithValue(double value, const QString& suffix)
{
    return QString::asprintf("%0.0f", std::floor(value)) + suffix;
}

QString KZTimeFormatter::stringFromTimeInterval(double seconds) const
{
    if (seconds <= 0)
        return timeStringWithValue(0, QStringLiteral("s"));

    struct Field {
        double length;
        const char* suffix;
        bool usesBudget;
    };
    static constexpr Field fields[] = {
        {31557600, "year", false}, {86400, "d", true}, {3600, "h", true}, {60, "m", true}};

    double r = std::round(seconds);
    qint64 budget = m_maxFields;
    QStringList parts;
    for (const Field& field : fields) {
        if (r >= field.length && (!field.usesBudget || budget != 0)) {
            parts << timeStringWithValue(r / field.length, QString::fromLatin1(field.suffix));
            r = std::fmod(static_cast<float>(r), static_cast<float>(field.length));
            --budget;
        }
    }
    if (r > 0 && budget != 0 && m_showsSeconds)
        parts << timeStringWithValue(r, QStringLiteral("s"));
    if (parts.isEmpty())
        return timeStringWithValue(0, QStringLiteral("s"));
    return parts.join(QLatin1Char(' '));
}
