#include "platform/log/Log.h"

#include <cstdio>

void QVLog(const QString& line)
{
    const QByteArray bytes = line.toUtf8();
    std::fprintf(stderr, "%s\n", bytes.constData());
    std::fflush(stderr);
}
