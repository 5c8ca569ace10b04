#include "platform/power/PowerSources.h"

namespace PowerSources {
QString rootPath()
{
    const QByteArray env = qgetenv("VOLTARA_POWER_SUPPLY_ROOT");
    return env.isEmpty() ? QStringLiteral("/sys/class/power_supply") : QString::fromLocal8Bit(env);
}
QVariantList copyPowerSourcesList() { return {}; }
double getTimeRemainingEstimate() { return -1; }
std::optional<QVariantMap> copyExternalPowerAdapterDetails() { return std::nullopt; }
std::optional<QVariantMap> copySmartBatteryProperties() { return std::nullopt; }
} // namespace PowerSources
