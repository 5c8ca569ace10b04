#pragma once

// Version tests that guard the modern drawing paths. The running system's version number is a
// fixed stand-in above every threshold, so on Linux each of these answers true.
double kz_systemVersionNumber();

// True when `systemNumber` is at least `number`.
bool kz_isVersionNumberAtLeast(double systemNumber, double number);

bool kz_isOperatingSystemAtLeast10_9();     // 855.11
bool kz_isOperatingSystemAtLeast10_10();    // 1151.16
bool kz_isOperatingSystemAtLeast10_10_3();  // 1153.18
bool kz_isOperatingSystemAtLeastVersion(double number);
