#include "cli/Commands.h"

#include "charts/QVChartItem.h"
#include "cli/CommonOptions.h"
#include "history/KZDateFormatter.h"
#include "history/QVChargeDataCalculator.h"
#include "history/QVDateRange.h"
#include "history/QVHistoryStore.h"
#include "history/QVSnapshotCalculator.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

enum class Format { Text, Json, Csv };

void fail(const QString& message)
{
    std::fprintf(stderr, "voltara history: %s\n", qPrintable(message));
}

// Where the store is, without creating anything: --store / VOLTARA_STORE, else the documents
// folder's file if there is one, else the data folder's.
QString storePath()
{
    const QString overridden = qEnvironmentVariable("VOLTARA_STORE");
    if (!overridden.isEmpty())
        return overridden;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(QDir(documents).filePath("Voltara.sqlite")).isFile())
        return QDir(documents).filePath("Voltara.sqlite");
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty())
        dataHome = QDir::homePath() + "/.local/share";
    return QDir(dataHome).filePath("Voltara/Voltara.sqlite");
}

// A value that was computed in single precision, written with the fewest digits that give it back
// (0.81 rather than 0.8100000023841858).
double shortestFloat(double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer - 1, static_cast<float>(value));
    *result.ptr = '\0';
    return std::strtod(buffer, nullptr);
}

QString csvField(const QString& text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n')))
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1String("\""), QLatin1String("\"\"")) + QLatin1Char('"');
}

QString number(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

void printItems(const QList<QVChartItem>& items, Format format, bool singlePrecision)
{
    const KZDateFormatter iso = KZDateFormatter::iso8601Formatter();
    auto value = [&](double v) { return singlePrecision ? shortestFloat(v) : v; };
    if (format == Format::Json) {
        QJsonArray array;
        for (const QVChartItem& item : items) {
            QJsonArray titles, values;
            for (const QVChartValue& v : item.valuesArray()) {
                titles.append(v.title());
                values.append(value(v.value()));
            }
            QJsonObject object;
            object["date"] = iso.stringFromDate(item.date());
            object["titles"] = titles;
            object["values"] = values;
            object["total"] = value(item.total());
            array.append(object);
        }
        std::fputs(QJsonDocument(array).toJson(QJsonDocument::Indented).constData(), stdout);
        return;
    }
    const QString separator = format == Format::Csv ? QStringLiteral(",") : QStringLiteral("\t");
    QStringList header{QStringLiteral("date")};
    if (!items.isEmpty()) {
        for (const QVChartValue& v : items.first().valuesArray())
            header << (v.title().isEmpty() ? QStringLiteral("value") : v.title());
    }
    header << QStringLiteral("total");
    auto line = [&](QStringList fields) {
        if (format == Format::Csv) {
            for (QString& field : fields)
                field = csvField(field);
        }
        std::fputs(qPrintable(fields.join(separator) + QLatin1Char('\n')), stdout);
    };
    line(header);
    for (const QVChartItem& item : items) {
        QStringList fields{iso.stringFromDate(item.date())};
        for (const QVChartValue& v : item.valuesArray())
            fields << number(value(v.value()));
        fields << number(value(item.total()));
        line(fields);
    }
}

void printHealth(const std::vector<QVCycleAverage>& rows, Format format)
{
    if (format == Format::Json) {
        QJsonArray array;
        for (const QVCycleAverage& row : rows) {
            QJsonObject object;
            object["cycles"] = static_cast<qint64>(row.cycles);
            object["maxCapacity"] = static_cast<qint64>(row.maxCapacity);
            object["result"] = row.result;
            array.append(object);
        }
        std::fputs(QJsonDocument(array).toJson(QJsonDocument::Indented).constData(), stdout);
        return;
    }
    const char* separator = format == Format::Csv ? "," : "\t";
    std::printf("cycles%smaxCapacity%sresult\n", separator, separator);
    for (const QVCycleAverage& row : rows) {
        std::printf("%llu%s%llu%s%s\n", static_cast<unsigned long long>(row.cycles), separator,
                    static_cast<unsigned long long>(row.maxCapacity), separator, qPrintable(number(row.result)));
    }
}

} // namespace

int runHistoryCommand(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Prints the chart data of the history, as the chart window shows it:\n"
        "  power   seconds on battery, charging and fully charged per hour (day page), day (week and\n"
        "          month pages) or month (year page)\n"
        "  charge  the average charge of every hour of a day, as a fraction (-0.01: no data)\n"
        "  health  the average full-charge capacity per cycle count and design capacity\n"
        "Pages count back from today: 0 is the current day, week, month or year, 1 the one before.\n"
        "The store is only read, never created or changed.");
    parser.addPositionalArgument("history", "power, charge or health", "power|charge|health");
    parser.addOption({"range", "The page of the power history: day, week, month or year (default: day).", "RANGE",
                      "day"});
    parser.addOption({"page", "How many pages back from the current one (default: 0).", "N", "0"});
    parser.addOption({"json", "Print JSON: a list of items in date order (date, titles, values, total); "
                              "for health a list of rows (cycles, maxCapacity, result)."});
    parser.addOption({"csv", "Print comma-separated values with a header line."});
    addCommonOptions(parser);
    if (!parser.parse(arguments)) {
        fail(parser.errorText());
        return 2;
    }
    if (parser.isSet("help")) {
        QString help = parser.helpText();
        help.replace(0, help.indexOf(QLatin1Char('\n')),
                     QStringLiteral("Usage: voltara history power|charge|health [options]"));
        std::fputs(qPrintable(help), stdout);
        return 0;
    }
    if (parser.isSet("version")) {
        std::printf("voltara %s\n", VOLTARA_VERSION);
        return 0;
    }

    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1) {
        fail(positional.isEmpty() ? QStringLiteral("name the history: power, charge or health")
                                  : QStringLiteral("unexpected argument \"%1\"").arg(positional.at(1)));
        return 2;
    }
    const QString kind = positional.first();
    if (kind != "power" && kind != "charge" && kind != "health") {
        fail(QStringLiteral("unknown history \"%1\" (expected power, charge or health)").arg(kind));
        return 2;
    }
    if (parser.isSet("json") && parser.isSet("csv")) {
        fail(QStringLiteral("--json and --csv cannot be used together"));
        return 2;
    }
    const Format format = parser.isSet("json") ? Format::Json : parser.isSet("csv") ? Format::Csv : Format::Text;

    const QString range = parser.value("range");
    if (parser.isSet("range") && kind != "power") {
        fail(QStringLiteral("--range applies to the power history only"));
        return 2;
    }
    if (range != "day" && range != "week" && range != "month" && range != "year") {
        fail(QStringLiteral("unknown range \"%1\" (expected day, week, month or year)").arg(range));
        return 2;
    }
    if (parser.isSet("page") && kind == "health") {
        fail(QStringLiteral("--page does not apply to the health history"));
        return 2;
    }
    bool numeric = false;
    const QString pageText = parser.value("page");
    const qint64 page = pageText.toLongLong(&numeric);
    if (!numeric || pageText.trimmed() != pageText || page < 0 || page > 100'000) {
        fail(QStringLiteral("the page must be a whole number from 0 to 100000, not \"%1\"").arg(pageText));
        return 2;
    }

    applyCommonOptions(parser);
    const QString path = storePath();
    QVHistoryStore store;
    QString error;
    if (!store.openReadOnlyAtPath(path, &error)) {
        fail(QFileInfo::exists(path) ? QStringLiteral("cannot read %1: %2").arg(path, error)
                                     : QStringLiteral("no history store at %1").arg(path));
        return 1;
    }

    const QDateTime now = QDateTime::currentDateTimeUtc();
    if (kind == "health") {
        printHealth(store.averageMaxChargeByCycles(), format);
    } else if (kind == "charge") {
        QVChargeDataCalculator calculator(&store);
        calculator.setDateRange(QVDateRange::dateRangeForDayWithOffset(page, now));
        calculator.setSnapshotInterval(QVSnapshotCalculator::Minute);
        printItems(calculator.calculateData(), format, true);
    } else {
        QVSnapshotCalculator calculator(&store);
        if (range == "day") {
            calculator.setDateRange(QVDateRange::dateRangeForDayWithOffset(page, now));
            calculator.setSnapshotInterval(QVSnapshotCalculator::Hour);
        } else if (range == "week") {
            calculator.setDateRange(QVDateRange::dateRangeForWeekWithOffset(page, now));
            calculator.setSnapshotInterval(QVSnapshotCalculator::Day);
        } else if (range == "month") {
            calculator.setDateRange(QVDateRange::dateRangeForMonthWithOffset(page, now));
            calculator.setSnapshotInterval(QVSnapshotCalculator::Day);
        } else {
            calculator.setDateRange(QVDateRange::dateRangeForYearWithOffset(page, now));
            calculator.setSnapshotInterval(QVSnapshotCalculator::Month);
        }
        printItems(calculator.calculateData(), format, false);
    }
    return 0;
}
