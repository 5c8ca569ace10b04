#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

const QString kFixtures = QStringLiteral(VOLTARA_FIXTURES "/power_supply/");

struct CommandRun {
    int exitCode = -1;
    QString out;
    QString err;
};

CommandRun status(QStringList arguments)
{
    QProcess process;
    process.start(QStringLiteral(VOLTARA_BINARY), QStringList{"status"} + arguments);
    process.waitForFinished(30000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QJsonObject statusJson(const char* fixture)
{
    const CommandRun run = status({"--json", "--power-supply-root", kFixtures + fixture});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    return QJsonDocument::fromJson(run.out.toUtf8()).object();
}

} // namespace

TEST(StatusCommand, PrintsTheRowsAsTitleAndValueLines)
{
    const CommandRun run = status({"--power-supply-root", kFixtures + "charge_discharging"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 12);
    EXPECT_TRUE(lines[8].startsWith("Age: 9.")) << lines[8].toStdString();   // depends on today
    lines.removeAt(8);
    EXPECT_EQ(lines, (QStringList{"Capacity: 2565 / 4500 mAh", "Current Charge: 57%", "Current Max: 4500 mAh",
                                  "Original Max: 5000 mAh", "Health: 90%", "OS X Health Status: Good",
                                  "Time Remaining: 1h 42m", "Cycles: 321", "Manufacture Date: Mar 14, 2017",
                                  "Temperature: 30.5°C / 86.9°F", "Power Usage: 17.1 Watts"}));

    for (const char* fixture : {"desktop_mains", "peripheral_only"}) {
        const CommandRun none = status({"--power-supply-root", kFixtures + fixture});
        EXPECT_EQ(none.exitCode, 0);
        EXPECT_EQ(none.out, "No Battery Installed\n") << fixture;
    }
}

TEST(StatusCommand, JsonHoldsRowsAndTheWholeReading)
{
    QJsonObject o = statusJson("two_batteries");
    EXPECT_TRUE(o["hasBattery"].toBool());
    const QJsonArray rows = o["rows"].toArray();
    ASSERT_EQ(rows.size(), 12);
    EXPECT_EQ(rows[1].toObject(), (QJsonObject{{"title", "Current Charge"}, {"value", "77%"}, {"key", "currentcharge"}}));
    QJsonObject reading = o["reading"].toObject();
    const QStringList properties = {
        "isCharging",       "isFullyCharged",     "isConnectedToPowerSource", "timeRemainingEstimate",
        "timeTilChargedEstimate", "adapterSerialNumber", "adapterWatts",      "cycles",
        "maxCapacity",      "maxCharge",          "currentCharge",            "ageTimeString",
        "manufactureDate",  "powerUsageWatts",    "powerUsageRealtime",       "osxHealth",
        "voltage",          "temperatureCelsius", "temperatureFahrenheit",    "batteryInfoDict",
        "chargeLevel",      "health"};
    for (const QString& p : properties)
        EXPECT_TRUE(reading.contains(p)) << p.toStdString();
    EXPECT_TRUE(reading["manufactureDate"].toString().startsWith("2019-06-01T00:00:00"));
    EXPECT_EQ(reading["maxCharge"].toInteger(), 5400);
    EXPECT_DOUBLE_EQ(reading["chargeLevel"].toDouble(), 0.77);
    EXPECT_DOUBLE_EQ(reading["timeRemainingEstimate"].toDouble(), 14904);
    EXPECT_EQ(reading["batteryInfoDict"].toObject()["Type"].toString(), "InternalBattery");

    reading = statusJson("energy_charging")["reading"].toObject();
    for (const char* absent : {"manufactureDate", "ageTimeString", "osxHealth", "adapterSerialNumber"})
        EXPECT_TRUE(reading[absent].isNull()) << absent;
    EXPECT_FALSE(reading["hasTemperature"].toBool());
    EXPECT_DOUBLE_EQ(reading["adapterWatts"].toDouble(), 65);

    o = statusJson("desktop_mains");
    EXPECT_FALSE(o["hasBattery"].toBool());
    EXPECT_TRUE(o["rows"].toArray().isEmpty());
    EXPECT_TRUE(o["reading"].isNull());
}

TEST(StatusCommand, HelpAndErrors)
{
    const CommandRun help = status({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* option : {"--json", "--power-supply-root", "--store", "--version"})
        EXPECT_TRUE(help.out.contains(option)) << option;

    for (const QStringList& args : {QStringList{"--no-such-option"}, QStringList{"extra"},
                                    QStringList{"--power-supply-root", kFixtures + "no-such-tree"}}) {
        const CommandRun bad = status(args);
        EXPECT_NE(bad.exitCode, 0) << args.join(' ').toStdString();
        EXPECT_FALSE(bad.err.isEmpty());
        EXPECT_TRUE(bad.out.isEmpty());
    }
}
