#include "cli/Commands.h"

#include <cstdio>

int runImportCommand(const QStringList&)
{
    std::fprintf(stderr, "voltara: this command is not built yet\n");
    return 2;
}
