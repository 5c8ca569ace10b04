#include "cli/Commands.h"

#include <cstdio>

int runStatusCommand(const QStringList&)
{
    std::fprintf(stderr, "voltara: this command is not built yet\n");
    return 2;
}
