#include "battery/KZTimeFormatter.h"

#include <gtest/gtest.h>

TEST(KZTimeFormatter, StringFromTimeInterval)
{
    struct Case {
        double seconds;
        bool showsSeconds;
        qint64 maxFields;
        const char* expected;
    };
    const Case cases[] = {
        {0, false, 5, "0s"},
        {-5, false, 5, "0s"},
        {59, false, 5, "0s"},   // seconds are not shown by default
        {59.6, true, 5, "1m"},  // rounded to the whole second first
        {90, false, 5, "1m"},
        {3661, false, 5, "1h 1m"},
        {90061, false, 5, "1d 1h 1m"},
        {31557600, false, 5, "1year"},
        {31557600 + 86400 + 60, false, 5, "1year 1d 1m"},
        {61, true, 5, "1m 1s"},
        {59, true, 5, "59s"},
        {90061, false, 2, "1d 1h"},
        {90061, true, 3, "1d 1h 1m"},
        {3600, true, 5, "1h"},
    };
    for (const Case& c : cases) {
        KZTimeFormatter formatter;
        formatter.setShowsSeconds(c.showsSeconds);
        formatter.setMaxFields(c.maxFields);
        EXPECT_EQ(formatter.stringFromTimeInterval(c.seconds).toStdString(), c.expected) << c.seconds;
    }
    const KZTimeFormatter defaults;
    EXPECT_FALSE(defaults.showsSeconds());
    EXPECT_EQ(defaults.maxFields(), 5);
    EXPECT_EQ(KZTimeFormatter::timeStringWithValue(2.9, "h"), "2h");
}
