#pragma once

#include <QCommandLineParser>

// The options every command accepts: --store FILE and --power-supply-root DIR (plus --help and
// --version). applyCommonOptions() hands them to the platform stand-ins before anything reads
// the battery or the store.
void addCommonOptions(QCommandLineParser& parser);
void applyCommonOptions(const QCommandLineParser& parser);

// Process-wide overrides, also settable from the environment (VOLTARA_POWER_SUPPLY_ROOT).
QString storePathOverride();
