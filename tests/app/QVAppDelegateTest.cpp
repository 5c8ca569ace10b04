#include "../menubar/PowerSupplyTree.h"

#include "app/QVAppDelegate.h"
#include "app/companion/KZCConfig.h"
#include "app/companion/KZCMailingListWindow.h"
#include "app/companion/KZCWelcomeNotifications.h"
#include "app/companion/KZCWelcomeWindow.h"
#include "app/companion/KZCore.h"
#include "app/settings/QVLoginItem.h"
#include "app/settings/QVUserDefaults.h"
#include "history/QVHistoryStore.h"
#include "menubar/RWStatusItemController.h"
#include "window/QVModuleListViewController.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <QUrlQuery>
#include <gtest/gtest.h>

namespace {

const QString kHelper = QString::fromLatin1(QVUserDefaults::kLoginHelperIdentifier);

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

void settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

// The whole launch shares the process-wide objects (store, companion layer, settings), so the
// launch is one test that walks through first start, welcome window and later actions in order.
TEST(QVAppDelegateTest, FirstLaunchWelcomeAndRunAtLogin)
{
    QFile::remove(KZCore::statePath());
    QFile::remove(QVUserDefaults::standardFilePath());
    QVUserDefaults::resetStandardUserDefaults();
    PowerSupplyTree tree;
    tree.apply({true, 42, "Discharging", false, 7200});

    QList<QString> posted;
    const KZCWelcomeNotificationNames& names = KZCWelcomeNotifications();
    QObject observations;   // ends the observations with the test
    for (const QString& name : {names.didOpen, names.didClose})
        NotificationCenter::defaultCenter().addObserver(
            name, nullptr, [&posted](const Notification& n) { posted << n.name; }, &observations);

    QVAppDelegate delegate;
    delegate.applicationWillFinishLaunching();
    delegate.applicationDidFinishLaunching();

    // The store is open, the module list runs the status item, the delegate answers its clicks.
    EXPECT_TRUE(QVHistoryStore::sharedStore().isOpen());
    ASSERT_TRUE(delegate.moduleListViewController());
    QVStatusItem* item = delegate.moduleListViewController()->statusItemController()->statusItem();
    EXPECT_EQ(item->delegate(), &delegate);
    EXPECT_EQ(item->badge(), "42%");
    EXPECT_TRUE(delegate.moduleListViewController()->updateTimer());

    // First launch: the welcome window is up and the main window (and the menu) must wait.
    KZCore& core = KZCore::sharedInstance();
    ASSERT_TRUE(core.welcomeWindow());
    EXPECT_TRUE(core.welcomeWindow()->isVisible());
    EXPECT_EQ(posted, QList<QString>{names.didOpen});
    EXPECT_FALSE(core.canShowMainWindow());
    EXPECT_EQ(delegate.menuShouldShow(), std::optional<bool>(false));
    EXPECT_EQ(core.config()->appStoreID(), QVAppDelegate::kAppStoreID);
    EXPECT_TRUE(core.config()->showsRunAtLoginButton());

    // Reopening while it is up brings the welcome window, not the news window.
    EXPECT_FALSE(delegate.applicationShouldHandleReopen(true));
    EXPECT_FALSE(core.mailingListWindow());

    // The run-at-login switch turns "startAtLogin" on, which writes the autostart entry and is fed
    // back into the companion's configuration.
    QCheckBox* runAtLogin = core.welcomeWindow()->runAtLoginSwitch();
    EXPECT_FALSE(runAtLogin->isHidden());
    runAtLogin->click();
    settle();
    EXPECT_TRUE(QVUserDefaults::standardUserDefaults().startAtLogin());
    EXPECT_TRUE(QFileInfo::exists(QVLoginItem::entryPath(kHelper)));
    EXPECT_TRUE(core.config()->appRunsAtLogin());

    // A login item that cannot be removed leaves the setting on, and the switch turns back.
    const QString entry = QVLoginItem::entryPath(kHelper);
    ASSERT_TRUE(QFile::remove(entry));
    ASSERT_TRUE(QDir().mkpath(entry + "/blocked"));
    ::testing::internal::CaptureStderr();
    runAtLogin->click();
    settle();
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("DEBUG: Could not remove com.orlent.qv2loginhelper to the login items"), std::string::npos);
    EXPECT_TRUE(QVUserDefaults::standardUserDefaults().startAtLogin());
    EXPECT_TRUE(runAtLogin->isChecked());
    QDir(entry).removeRecursively();

    // Closing the welcome window lets the main window and the menu show, and it is remembered.
    core.welcomeWindow()->doneButton()->click();
    settle();
    EXPECT_EQ(posted, (QList<QString>{names.didOpen, names.didClose}));
    EXPECT_TRUE(core.canShowMainWindow());
    EXPECT_EQ(delegate.menuShouldShow(), std::optional<bool>(true));
    EXPECT_TRUE(core.hasShownWelcome());
    core.applicationDidLaunchWithConfig(core.config());   // a later launch: no welcome window
    EXPECT_TRUE(core.canShowMainWindow());

    // Reopen without the welcome window: nothing of the companion's own opens.
    EXPECT_FALSE(delegate.applicationShouldHandleReopen(false));
    EXPECT_FALSE(core.mailingListWindow());

    delegate.applicationWillTerminate();
}

TEST(QVAppDelegateTest, TaskbarModeFollowsShowDockIcon)
{
    QVAppDelegate delegate;
    delegate.applicationWillFinishLaunching();
    delegate.applicationDidFinishLaunching();
    QWidget window;
    window.show();
    settle();
    EXPECT_EQ(window.windowType(), Qt::Tool);   // the default: no taskbar entry

    QVUserDefaults::standardUserDefaults().setShowDockIcon(true);
    settle();
    EXPECT_EQ(window.windowType(), Qt::Window);
    EXPECT_TRUE(window.isVisible());

    QWidget later;
    later.show();
    settle();
    EXPECT_EQ(later.windowType(), Qt::Window);

    QVUserDefaults::standardUserDefaults().setShowDockIcon(false);
    settle();
    EXPECT_EQ(window.windowType(), Qt::Tool);
    EXPECT_EQ(later.windowType(), Qt::Tool);
    EXPECT_TRUE(later.isVisible());
}

TEST(QVAppDelegateTest, HelpSupportAndNewsOpenTheConfiguredAddresses)
{
    UrlCatcher catcher;
    for (const char* scheme : {"https", "http", "mailto"})
        QDesktopServices::setUrlHandler(scheme, &catcher, "open");
    QVAppDelegate delegate;
    delegate.openHelp();
    ASSERT_EQ(catcher.urls.size(), 1);
    EXPECT_EQ(catcher.urls[0], QUrl(VOLTARA_HELP_URL));

    const QUrl subscribe = KZCMailingListWindow::subscriptionUrl("me@example.org");
    if (QString(VOLTARA_SUPPORT_URL).startsWith("mailto:")) {
        EXPECT_EQ(subscribe.scheme(), "mailto");
        EXPECT_EQ("mailto:" + subscribe.path(), QString(VOLTARA_SUPPORT_URL));
        EXPECT_TRUE(QUrlQuery(subscribe).queryItemValue("body").contains("me@example.org"));
    }
    for (const char* scheme : {"https", "http", "mailto"})
        QDesktopServices::unsetUrlHandler(scheme);
}

} // namespace

#include "QVAppDelegateTest.moc"
