#pragma once

#include <QStringList>

// The command-line subcommands. Each gets the arguments after the program name (its own name
// first, as QCommandLineParser expects) and returns the process exit code.
int runStatusCommand(const QStringList& arguments);
int runHistoryCommand(const QStringList& arguments);
int runImportCommand(const QStringList& arguments);
