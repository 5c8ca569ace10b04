#include "platform/power/PowerSourceMonitor.h"

PowerSourceMonitor::PowerSourceMonitor(QObject* parent) : QObject(parent) {}
PowerSourceMonitor::~PowerSourceMonitor() = default;
void PowerSourceMonitor::readEvents() {}
