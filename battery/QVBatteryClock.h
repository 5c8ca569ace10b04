#pragma once

#include <QDateTime>

#include <functional>

// "Now" for the battery readings (age text, time since the last charge). Tests replace it.
class QVBatteryClock {
public:
    static QDateTime now();
    // Replaces the clock; an empty function restores the system clock.
    static void setNowProvider(std::function<QDateTime()> provider);
};
