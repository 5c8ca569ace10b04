#pragma once

// The preset battery level (1, 5, 10, 20, ..., 90, 99) nearest to `value`; a tie goes to the
// higher preset.
double kz_nearestBatteryValue(double value);
