#include "cli/Commands.h"

#include <cstdio>

int runHistoryCommand(const QStringList&)
{
    std::fprintf(stderr, "voltara: this command is not built yet\n");
    return 2;
}
