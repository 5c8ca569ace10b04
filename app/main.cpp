#include "cli/Commands.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstring>

int runApplication(int argc, char** argv);

int main(int argc, char** argv)
{
    const char* command = argc > 1 ? argv[1] : "";
    using Runner = int (*)(const QStringList&);
    Runner runner = nullptr;
    if (std::strcmp(command, "status") == 0)
        runner = runStatusCommand;
    else if (std::strcmp(command, "history") == 0)
        runner = runHistoryCommand;
    else if (std::strcmp(command, "import") == 0)
        runner = runImportCommand;

    if (runner) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName("voltara");
        QCoreApplication::setApplicationVersion(VOLTARA_VERSION);
        QStringList args = QCoreApplication::arguments();
        args.removeFirst();   // the subcommand's name stands in for the program name
        args[0] = QStringLiteral("voltara ") + args[0];
        return runner(args);
    }
    if (std::strcmp(command, "help") == 0) {
        char helpOption[] = "--help";
        char* helpArgs[] = {argv[0], helpOption, nullptr};
        return runApplication(2, helpArgs);
    }
    return runApplication(argc, argv);
}
