#include "../menubar/PowerSupplyTree.h"

#include "app/companion/KZCHappinessManager.h"
#include "app/companion/KZCMailingListWindow.h"
#include "app/companion/KZCRatingWindow.h"
#include "app/companion/KZCore.h"
#include "app/settings/QVUserDefaults.h"
#include "battery/KZTimer.h"
#include "menubar/RWStatusItemController.h"
#include "platform/notifications/NotificationCenter.h"
#include "window/QVModuleListViewController.h"

#include <QAction>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class QVModuleListViewControllerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QFile::remove(QVUserDefaults::standardFilePath());
        QVUserDefaults::resetStandardUserDefaults();
        tree.apply({true, 42, "Discharging", false, 7200});
    }
    QVUserDefaults& defaults() { return QVUserDefaults::standardUserDefaults(); }
    QString badge(const QVModuleListViewController& list) const
    {
        return list.statusItemController()->statusItem()->badge();
    }
    QAction* action(const QVModuleListViewController& list, const char* name) const
    {
        return list.settingsMenu()->findChild<QAction*>(QLatin1String(name));
    }
    PowerSupplyTree tree;
};

TEST_F(QVModuleListViewControllerTest, LoadingBringsTheStatusItemAndTheTimer)
{
    auto list = KZViewController::controller<QVModuleListViewController>();
    ASSERT_TRUE(list->statusItemController());
    EXPECT_EQ(list->statusItemController()->statusMenu(), list->settingsMenu());
    EXPECT_EQ(list->statusItemController()->statusItem()->contextMenu(), list->settingsMenu());
    EXPECT_EQ(badge(*list), "42%");
    ASSERT_TRUE(list->updateTimer());
    EXPECT_TRUE(list->updateTimer()->isScheduled());
    EXPECT_TRUE(list->updateTimer()->repeats());
    EXPECT_EQ(list->updateTimer()->interval(), 30);

    // A tick reads the battery again and refreshes the status item, also in the background.
    list->stopUpdating();
    tree.apply({true, 55, "Discharging", false, 7200});
    list->updateTimer()->timerDidFinish(nullptr);
    EXPECT_EQ(badge(*list), "55%");
}

TEST_F(QVModuleListViewControllerTest, RefreshIntervalIsAtLeastOneSecondAndRestartsTheTimer)
{
    auto list = KZViewController::controller<QVModuleListViewController>();
    for (double interval : {0.0, 0.5, 2.5}) {
        const auto previous = list->updateTimer();
        tree.apply({true, int(10 + interval * 10), "Discharging", false, 7200});
        defaults().setRefreshInterval(interval);
        ASSERT_TRUE(list->updateTimer());
        EXPECT_NE(list->updateTimer(), previous);
        EXPECT_FALSE(previous->isScheduled());
        EXPECT_EQ(list->updateTimer()->interval(), std::max(1.0, interval));
        EXPECT_EQ(badge(*list), QString("%1%").arg(int(10 + interval * 10)));   // refreshed at once
    }
}

TEST_F(QVModuleListViewControllerTest, DisplayChangeAndPowerSourceChangeRefreshAtOnce)
{
    auto list = KZViewController::controller<QVModuleListViewController>();
    tree.apply({true, 30, "Discharging", false, 5400});
    defaults().setMenuBarDisplay(1);
    EXPECT_EQ(badge(*list), "01:30");

    // The power-source change runs the same refresh (the manager reads anew).
    QVUserDefaults::standardUserDefaults().settings().setValue("menuBarDisplay", 0);   // not observed
    EXPECT_EQ(badge(*list), "01:30");
    NotificationCenter::defaultCenter().post("QVNotificationPowerSourceDidChange");
    EXPECT_EQ(badge(*list), "30%");
}

TEST_F(QVModuleListViewControllerTest, WithoutBatteryThereIsNoTimer)
{
    tree.apply({false});
    auto list = KZViewController::controller<QVModuleListViewController>();
    EXPECT_FALSE(list->updateTimer());
    EXPECT_TRUE(badge(*list).isEmpty());
    defaults().setRefreshInterval(5);
    EXPECT_FALSE(list->updateTimer());

    // A battery that appears is shown on the next power-source change.
    tree.apply({true, 64, "Discharging", false, 7200});
    NotificationCenter::defaultCenter().post("QVNotificationPowerSourceDidChange");
    EXPECT_EQ(badge(*list), "64%");
}

TEST_F(QVModuleListViewControllerTest, SettingsMenuActions)
{
    auto list = KZViewController::controller<QVModuleListViewController>();
    QStringList names;
    for (QAction* item : list->settingsMenu()->actions())
        if (!item->isSeparator())
            names << item->objectName();
    EXPECT_EQ(names, (QStringList{"openPreferences", "resetAppWindow", "openCustomerSupport", "rateApp",
                                  "openMailingList", "quit"}));

    int preferences = 0;
    const auto token = NotificationCenter::defaultCenter().addObserver(
        "Notification.openPreferences", nullptr, [&](const Notification& n) {
            ++preferences;
            EXPECT_EQ(n.object, nullptr);
        });
    action(*list, "openPreferences")->trigger();
    EXPECT_EQ(preferences, 1);
    NotificationCenter::defaultCenter().removeObserver(token);

    action(*list, "rateApp")->trigger();
    EXPECT_TRUE(KZCHappinessManager::sharedInstance().ratingWindowIsVisible());
    KZCHappinessManager::sharedInstance().ratingWindow()->close();

    action(*list, "openMailingList")->trigger();
    ASSERT_TRUE(KZCore::sharedInstance().mailingListWindow());
    EXPECT_TRUE(KZCore::sharedInstance().mailingListWindow()->isVisible());
    KZCore::sharedInstance().mailingListWindow()->close();

    // Reset centres the window that shows the list.
    QWidget window;
    window.resize(200, 100);
    window.move(0, 0);
    list->setParentWindow(&window);
    action(*list, "resetAppWindow")->trigger();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((window.frameGeometry().center() - screen.center()).manhattanLength(), 2);

    // Quit ends the running event loop.
    QEventLoop loop;
    bool ended = false;
    QTimer::singleShot(0, [&] { action(*list, "quit")->trigger(); });
    QTimer::singleShot(5000, &loop, [&] { loop.exit(1); });
    ended = loop.exec() == 0;
    EXPECT_TRUE(ended);
}

TEST_F(QVModuleListViewControllerTest, SupportAddressIsTheBuildSetting)
{
    EXPECT_EQ(QVModuleListViewController::customerSupportAddress(), QString(VOLTARA_SUPPORT_URL));
    EXPECT_FALSE(QVModuleListViewController::customerSupportAddress().isEmpty());
}

} // namespace
