#include "cli/Commands.h"

#include "battery/QVBatteryManager.h"
#include "cli/CommonOptions.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace {

QJsonValue optionalString(const std::optional<QString>& s)
{
    return s ? QJsonValue(*s) : QJsonValue(QJsonValue::Null);
}

QJsonValue isoDate(const std::optional<QDateTime>& date)
{
    if (!date || !date->isValid())
        return QJsonValue(QJsonValue::Null);
    // With the local offset written out, so the day stays the day it was made.
    return date->toOffsetFromUtc(date->offsetFromUtc()).toString(Qt::ISODate);
}

QJsonObject readingObject(QVBatteryData& data)
{
    QJsonObject o;
    o["isCharging"] = data.isCharging();
    o["isFullyCharged"] = data.isFullyCharged();
    o["isConnectedToPowerSource"] = data.isConnectedToPowerSource();
    o["timeRemainingEstimate"] = data.timeRemainingEstimate();
    o["timeTilChargedEstimate"] = data.timeTilChargedEstimate();
    o["adapterSerialNumber"] = optionalString(data.adapterSerialNumber());
    o["adapterWatts"] = data.adapterWatts();
    o["cycles"] = static_cast<qint64>(data.cycles());
    o["maxCapacity"] = static_cast<qint64>(data.maxCapacity());
    o["maxCharge"] = static_cast<qint64>(data.maxCharge());
    o["currentCharge"] = static_cast<qint64>(data.currentCharge());
    o["ageTimeString"] = optionalString(data.ageTimeString());
    o["manufactureDate"] = isoDate(data.manufactureDate());
    o["powerUsageWatts"] = data.powerUsageWatts();
    o["powerUsageRealtime"] = data.powerUsageRealtime();
    o["osxHealth"] = optionalString(data.osxHealth());
    o["voltage"] = data.voltage();
    o["temperatureCelsius"] = data.temperatureCelsius();
    o["temperatureFahrenheit"] = data.temperatureFahrenheit();
    o["hasTemperature"] = data.hasTemperature();
    const auto& info = data.batteryInfoDict();
    o["batteryInfoDict"] = info ? QJsonValue(QJsonObject::fromVariantMap(*info)) : QJsonValue(QJsonValue::Null);
    o["chargeLevel"] = data.chargeLevel();
    o["health"] = data.health();
    return o;
}

} // namespace

int runStatusCommand(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Prints the current battery reading as the twelve value rows (\"Title: value\" lines), "
        "or \"No Battery Installed\" on a computer without one.");
    parser.addOption({"json",
                      "Print one JSON object instead: hasBattery, the rows (title, value, key) and the raw "
                      "reading with every value under its own name (dates in ISO 8601, absent values null)."});
    addCommonOptions(parser);
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "voltara status: %s\n", qPrintable(parser.errorText()));
        return 2;
    }
    if (parser.isSet("help")) {
        // The usage line names the command, not the path the program was started from.
        QString help = parser.helpText();
        help.replace(0, help.indexOf(QLatin1Char('\n')), QStringLiteral("Usage: voltara status [options]"));
        std::fputs(qPrintable(help), stdout);
        return 0;
    }
    if (parser.isSet("version"))
        parser.showVersion();
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "voltara status: unexpected argument '%s'\n",
                     qPrintable(parser.positionalArguments().first()));
        return 2;
    }
    if (parser.isSet("power-supply-root") && !QFileInfo(parser.value("power-supply-root")).isDir()) {
        std::fprintf(stderr, "voltara status: no such folder: %s\n", qPrintable(parser.value("power-supply-root")));
        return 2;
    }
    applyCommonOptions(parser);

    QVBatteryManager& manager = QVBatteryManager::sharedManager();
    const std::shared_ptr<QVBatteryData> data = manager.data();
    if (data)
        data->updateAdapterProperties();
    const QList<QVariantMap> rows = data ? data->valuesArray() : QList<QVariantMap>();

    if (parser.isSet("json")) {
        QJsonArray jsonRows;
        for (const QVariantMap& row : rows)
            jsonRows.append(QJsonObject::fromVariantMap(row));
        QJsonObject out;
        out["hasBattery"] = data != nullptr;
        out["rows"] = jsonRows;
        out["reading"] = data ? QJsonValue(readingObject(*data)) : QJsonValue(QJsonValue::Null);
        std::fputs(QJsonDocument(out).toJson(QJsonDocument::Indented).constData(), stdout);
        return 0;
    }

    if (!data) {
        std::puts("No Battery Installed");
        return 0;
    }
    for (const QVariantMap& row : rows)
        std::printf("%s: %s\n", qPrintable(row.value("title").toString()), qPrintable(row.value("value").toString()));
    return 0;
}
