#include "history/KZDateFormatter.h"
#include "history/LocalZone.h"
#include "history/QVBucketKeyFormatter.h"

#include <gtest/gtest.h>

namespace {

// The remembered span of a key must never reach past a wall-clock boundary or a change of offset:
// every key equals what a plain formatter gives, in zones with odd offsets and clock changes.
TEST(QVBucketKeyFormatter, givesTheSameKeysAsFormattingEveryInstant)
{
    const char* zones[] = {"Europe/Berlin", "America/New_York", "Australia/Lord_Howe", "Asia/Kathmandu",
                           "America/Santiago", "Pacific/Apia", "UTC"};
    const char* patterns[] = {"yyyy-MM-dd HH", "yyyy-MM-dd HH:mm", "yyyy-MM-dd", "ww", "yyyy-MM", "yyyy", "'x'"};
    // Around Apia's skipped day (2011-12-30) and through the year 2026, in uneven steps.
    const double starts[] = {1'317'000'000'000.0, 1'767'000'000'000.0};
    for (const char* zoneId : zones) {
        LocalZone zone(zoneId);
        for (const char* pattern : patterns) {
            QVBucketKeyFormatter keys{QString::fromLatin1(pattern)};
            const KZDateFormatter plain{QString::fromLatin1(pattern)};
            int reused = 0;
            for (double start : starts) {
                for (double t = start; t < start + 300.0 * 86'400'000; t += 2'693'123) {
                    bool formatted = true;
                    const QString key = keys.keyForMSecs(t, &formatted);
                    reused += !formatted;
                    ASSERT_EQ(key, plain.stringFromMSecs(t)) << zoneId << " " << pattern << " at " << qint64(t);
                }
            }
            if (pattern[0] != '\'' && QByteArray(pattern) != "yyyy-MM-dd HH:mm") {
                EXPECT_GT(reused, 0) << zoneId << " " << pattern;
            }
        }
    }
}

TEST(QVBucketKeyFormatter, patternsWithSecondsFormatEveryInstant)
{
    LocalZone zone("Europe/Berlin");
    QVBucketKeyFormatter keys{QStringLiteral("HH:mm:ss")};
    bool formatted = false;
    keys.keyForMSecs(1'767'000'000'000.0, &formatted);
    EXPECT_TRUE(formatted);
    EXPECT_EQ(keys.keyForMSecs(1'767'000'001'000.0, &formatted), "10:20:01");
    EXPECT_TRUE(formatted);
}

} // namespace
