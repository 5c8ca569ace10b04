#include "menubar/QVColorStateManager.h"

#include "app/settings/QVUserDefaults.h"
#include "battery/QVBatteryManager.h"

namespace {
// The low threshold is the single-precision 0.1, so exactly 0.1 grades low.
const double kLowFraction = static_cast<double>(0.1f);
}

long long QVColorStateManager::colorStateWithValue(double value) const
{
    if (value >= 0.75)
        return 0;
    if (value > kLowFraction && value < 0.75)
        return 1;
    return 2;
}

long long QVColorStateManager::colorState() const
{
    const auto data = QVBatteryManager::sharedManager().data();
    if (QVUserDefaults::standardUserDefaults().menuBarDisplay() == 0)
        return colorStateWithValue(data ? data->chargeLevel() : 0.0);

    const double estimate = data ? data->timeRemainingEstimate() : -1.0;
    const bool connected = data && data->isConnectedToPowerSource();
    if (estimate >= 3600 || estimate == -1 || estimate == -2 || connected)
        return 0;
    if (estimate > 300 && estimate < 3600)
        return 1;
    return 2;
}
