#pragma once

#include "menubar/WQStatusItemDelegate.h"
#include "platform/notifications/NotificationCenter.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <optional>

class QVModuleListViewController;

// The application's delegate: the launch order of the subsystems, the taskbar mode, reopening,
// and the preferences, about and help actions. Main thread only.
//
// Until the main window exists the delegate holds the module list itself (which owns the status
// item and the refresh) and stands in as the status item's delegate with the main window's menu
// answer, so a left click opens the settings menu too.
class QVAppDelegate : public QObject, public WQStatusItemDelegate {
    Q_OBJECT
public:
    // The store identifier handed to the companion layer.
    static constexpr const char* kAppStoreID = "1084287491";

    explicit QVAppDelegate(QObject* parent = nullptr);
    ~QVAppDelegate() override;

    // Platform callbacks.
    void applicationWillFinishLaunching();
    void applicationDidFinishLaunching();
    bool applicationShouldHandleReopen(bool hasVisibleWindows);
    void applicationWillTerminate();

    // Actions.
    void openPreferences();
    void openAbout();
    void openHelp();

    // The main window's status-menu answer: the companion layer allows the main window.
    std::optional<bool> menuShouldShow() override;

    QVModuleListViewController* moduleListViewController() const { return m_moduleList.get(); }
    QWidget* window() const { return m_window; }

    // Taskbar mode: a normal window with a taskbar entry ("showDockIcon" on) or a tool window
    // without one (off). New top-level windows follow the mode when they are first shown.
    void showHideDockIcon();
    static void applyDockMode(QWidget* window, bool showDockIcon);
    // The help page (the VOLTARA_HELP_URL build setting).
    static QString helpAddress();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setupCoreData();
    void startSnapshotRecorder();
    void startAlertEngine();
    void addNotificationObservers();
    void addKZCNotificationObservers();
    void makeMainWindowController();
    void configureCompanion();
    void showOrHideMainWindowAtLaunch();
    void startHistoryImporter();
    void updateKZCRunAtLogin();
    void makePreferencesControllerIfNeeded();
    void welcomeWindowDidOpen();
    void welcomeWindowDidClose();
    void didToggleRunAtLogin(const Notification& notification);
    void showMainWindow(bool animated);
    void hideMainWindow(bool animated);

    std::shared_ptr<QVModuleListViewController> m_moduleList;
    QPointer<QWidget> m_window;
    NotificationCenter::Token m_welcomeDidCloseToken = 0;
    bool m_showDockIcon = false;
};
