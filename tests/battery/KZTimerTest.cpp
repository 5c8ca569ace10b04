#include "battery/KZTimer.h"

#include <QElapsedTimer>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Spins the event loop until `done` or the deadline.
template <typename Pred>
bool waitFor(Pred done, int ms = 2000)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QTest::qWait(5);
    return done();
}

} // namespace

TEST(KZTimer, RepeatingTimerCallsWithItselfUntilInvalidatedInsideTheCallback)
{
    int calls = 0;
    KZTimer* seen = nullptr;
    std::weak_ptr<KZTimer> weak;
    {
        auto timer = KZTimer::timerWithInterval(0.01, true, [&](KZTimer& t) {
            seen = &t;
            if (++calls == 3)
                t.invalidate();
        });
        weak = timer;
        EXPECT_TRUE(timer->isScheduled());
    }
    // The owner let go; the scheduled timer keeps itself alive until invalidated.
    ASSERT_TRUE(waitFor([&] { return calls == 3; }));
    QTest::qWait(60);
    EXPECT_EQ(calls, 3);
    EXPECT_TRUE(weak.expired());
    EXPECT_NE(seen, nullptr);
}

TEST(KZTimer, RunRestartsTheCountdownAndInvalidateTimerOnlyKeepsTheBlock)
{
    int calls = 0;
    auto timer = KZTimer::timerWithInterval(0.15, false, [&](KZTimer&) { ++calls; });
    QTest::qWait(100);
    timer->run();   // restart: the firing comes a full interval after this call
    QTest::qWait(100);
    EXPECT_EQ(calls, 0);
    ASSERT_TRUE(waitFor([&] { return calls == 1; }));
    EXPECT_NE(timer->timer(), nullptr);   // a fired one-shot still refers to its platform timer
    EXPECT_FALSE(timer->isScheduled());

    timer->setInterval(0.01);
    timer->run();
    timer->invalidateTimerOnly();
    QTest::qWait(40);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(timer->timer(), nullptr);
    timer->run();
    ASSERT_TRUE(waitFor([&] { return calls == 2; }));

    timer->invalidate();
    EXPECT_FALSE(timer->didFinishBlock());
    timer->run();
    QTest::qWait(40);
    EXPECT_EQ(calls, 2);
}

TEST(KZTimer, DescriptionAndDestructionInvalidates)
{
    int calls = 0;
    auto timer = KZTimer::timerWithInterval(5, true, QVariant(QStringLiteral("info")), [&](KZTimer&) { ++calls; });
    const QString text = timer->description();
    EXPECT_TRUE(text.startsWith("<KZTimer 0x")) << text.toStdString();
    EXPECT_TRUE(text.endsWith(", interval=5.000000, repeats=YES, userInfo=info>")) << text.toStdString();
    timer->invalidate();
    timer.reset();
    auto plain = KZTimer::timerWithInterval(1, false, [](KZTimer&) {});
    EXPECT_TRUE(plain->description().endsWith("repeats=NO, userInfo=(null)>"));
    plain->invalidate();
}
