#pragma once

#include <QString>

// The system log: one plain line on standard error, worded exactly as the caller gives it.
void QVLog(const QString& line);
