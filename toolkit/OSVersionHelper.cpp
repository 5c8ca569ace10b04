#include "toolkit/OSVersionHelper.h"

double kz_systemVersionNumber()
{
    // Every drawing path the version tests guard is available here.
    return 1953.1;
}

bool kz_isVersionNumberAtLeast(double systemNumber, double number)
{
    return systemNumber >= number;
}

bool kz_isOperatingSystemAtLeastVersion(double number)
{
    return kz_isVersionNumberAtLeast(kz_systemVersionNumber(), number);
}

bool kz_isOperatingSystemAtLeast10_9()
{
    return kz_isOperatingSystemAtLeastVersion(855.11);
}

bool kz_isOperatingSystemAtLeast10_10()
{
    return kz_isOperatingSystemAtLeastVersion(1151.16);
}

bool kz_isOperatingSystemAtLeast10_10_3()
{
    return kz_isOperatingSystemAtLeastVersion(1153.18);
}
