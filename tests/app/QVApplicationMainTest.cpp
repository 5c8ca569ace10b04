#include "app/QVSingleInstance.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>
#include <gtest/gtest.h>

namespace {

QProcessEnvironment trayEnvironment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("VOLTARA_POWER_SUPPLY_ROOT", QString(VOLTARA_FIXTURES) + "/power_supply/shell-battery-42");
    return env;
}

bool waitFor(const std::function<bool()>& condition, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > ms)
            return false;
        QThread::msleep(50);
    }
    return true;
}

// The built program: the first one stays, a second one hands over and exits at once, and the
// first one ends in order on SIGTERM.
TEST(QVApplicationMainTest, SecondStartHandsOverAndTheFirstEndsCleanly)
{
    QProcess first;
    first.setProcessEnvironment(trayEnvironment());
    first.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    first.start(VOLTARA_BINARY, {});
    ASSERT_TRUE(first.waitForStarted(10000));
    ASSERT_TRUE(waitFor([] { return QFileInfo::exists(QVSingleInstance::socketPath()); }, 20000));

    QProcess second;
    second.setProcessEnvironment(trayEnvironment());
    QElapsedTimer clock;
    clock.start();
    second.start(VOLTARA_BINARY, {});
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_EQ(first.state(), QProcess::Running);

    first.terminate();
    ASSERT_TRUE(first.waitForFinished(20000));
    EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first.exitCode(), 0);

    // The lock went with it: the next start is the first again.
    QVSingleInstance instance;
    EXPECT_TRUE(instance.becomePrimary());
}

TEST(QVSingleInstanceTest, OnlyOnePrimaryAndReopenReachesIt)
{
    QVSingleInstance primary;
    ASSERT_TRUE(primary.becomePrimary());
    int reopened = 0;
    QObject::connect(&primary, &QVSingleInstance::reopenRequested, [&] { ++reopened; });

    QVSingleInstance other;
    EXPECT_FALSE(other.becomePrimary());
    // The answer needs the primary's event loop: ask from another thread.
    bool answered = false;
    QThread* asker = QThread::create([&] { answered = QVSingleInstance().notifyPrimary(5000); });
    asker->start();
    ASSERT_TRUE(waitFor(
        [&] {
            QCoreApplication::processEvents();
            return asker->isFinished();
        },
        10000));
    delete asker;
    EXPECT_TRUE(answered);
    EXPECT_EQ(reopened, 1);
}

} // namespace
