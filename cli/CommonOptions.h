#pragma once

#include <QCommandLineParser>

// The options every command accepts: --store FILE and --power-supply-root DIR (plus --help and
// --version). applyCommonOptions() hands them to the platform stand-ins before anything reads
// the battery or the store.
void addCommonOptions(QCommandLineParser& parser);
void applyCommonOptions(const QCommandLineParser& parser);
// The stand-ins read the overrides from the environment: VOLTARA_POWER_SUPPLY_ROOT (also settable by
// the user) and VOLTARA_STORE.
