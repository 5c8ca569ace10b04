#include "battery/BatteryRounding.h"

#include <algorithm>
#include <array>
#include <cmath>

double kz_nearestBatteryValue(double value)
{
    static const std::array<double, 12> presets = {1, 5, 10, 20, 30, 40, 50, 60, 70, 80, 90, 99};
    // The first element that is not less than the value: an equal one, or the insertion index.
    auto index = static_cast<std::size_t>(std::lower_bound(presets.begin(), presets.end(), value) - presets.begin());
    index = std::min<std::size_t>(index, presets.size() - 1);
    if (index > 0 && std::fabs(presets[index - 1] - value) < std::fabs(presets[index] - value))
        --index;
    return presets[index];
}
