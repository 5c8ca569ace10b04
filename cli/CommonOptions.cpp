#include "cli/CommonOptions.h"

#include <QDir>

void addCommonOptions(QCommandLineParser& parser)
{
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption({"store", "Use FILE as the history store instead of the default one.", "FILE"});
    parser.addOption({"power-supply-root", "Read the power supplies from DIR instead of /sys/class/power_supply.",
                      "DIR"});
}

void applyCommonOptions(const QCommandLineParser& parser)
{
    if (parser.isSet("power-supply-root"))
        qputenv("VOLTARA_POWER_SUPPLY_ROOT", QDir(parser.value("power-supply-root")).absolutePath().toUtf8());
    if (parser.isSet("store"))
        qputenv("VOLTARA_STORE", QDir::current().absoluteFilePath(parser.value("store")).toUtf8());
}
