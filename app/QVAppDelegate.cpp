#include "app/QVAppDelegate.h"

#include "alerts/QVBatteryNotifications.h"
#include "app/companion/KZCConfig.h"
#include "app/companion/KZCHappinessManager.h"
#include "app/companion/KZCWelcomeNotifications.h"
#include "app/companion/KZCore.h"
#include "app/settings/QVUserDefaults.h"
#include "history/QVHistoryDataImporter.h"
#include "history/QVHistoryStore.h"
#include "history/QVSnapshotRecorder.h"
#include "menubar/RWStatusItemController.h"
#include "platform/dispatch/MainThread.h"
#include "platform/log/Log.h"
#include "window/QVModuleListViewController.h"

#include <QApplication>
#include <QDesktopServices>
#include <QEvent>
#include <QUrl>

namespace {

bool isApplicationWindow(const QWidget* widget)
{
    if (!widget || !widget->isWindow() || widget->parentWidget())
        return false;
    // Windows outside the window manager's care (such as the tray icon's own) keep their kind.
    if (widget->windowFlags() & Qt::BypassWindowManagerHint)
        return false;
    const Qt::WindowType type = widget->windowType();
    return type == Qt::Window || type == Qt::Tool;
}

} // namespace

QVAppDelegate::QVAppDelegate(QObject* parent)
    : QObject(parent)
{
}

QVAppDelegate::~QVAppDelegate()
{
    if (qApp)
        qApp->removeEventFilter(this);
    if (m_moduleList && m_moduleList->statusItemController())
        m_moduleList->statusItemController()->statusItem()->setDelegate(nullptr);
    QVUserDefaults::standardUserDefaults().removeObserver(this);
    NotificationCenter::defaultCenter().removeObserver(this);
}

// Launch

void QVAppDelegate::applicationWillFinishLaunching()
{
    // The taskbar mode is set before any window shows; windows made later follow it when shown.
    qApp->installEventFilter(this);
    showHideDockIcon();
}

void QVAppDelegate::applicationDidFinishLaunching()
{
    setupCoreData();
    startSnapshotRecorder();
    startAlertEngine();
    addNotificationObservers();
    addKZCNotificationObservers();
    makeMainWindowController();
    configureCompanion();
    if (KZCore::sharedInstance().canShowMainWindow()) {
        showOrHideMainWindowAtLaunch();
        startHistoryImporter();
    }
    // Otherwise the companion's welcome window is up: the main window shows when it closes, and
    // the importer waits for the next launch.
}

void QVAppDelegate::setupCoreData()
{
    // A store that cannot be opened is logged by the store; Voltara runs on without history.
    QVHistoryStore::sharedStore().open();
}

void QVAppDelegate::startSnapshotRecorder()
{
    QVSnapshotRecorder::sharedInstance().start();
}

void QVAppDelegate::startAlertEngine()
{
    QVBatteryNotifications::sharedNotificationCenter().start();
}

void QVAppDelegate::addNotificationObservers()
{
    QVUserDefaults& defaults = QVUserDefaults::standardUserDefaults();
    QPointer<QVAppDelegate> self(this);
    defaults.addObserver(
        QLatin1String(QVUserDefaults::kShowDockIcon),
        [self](const QVariant&) {
            dispatchToMainThread([self] {
                if (self)
                    self->showHideDockIcon();
            });
        },
        this);
    defaults.addObserver(
        QLatin1String(QVUserDefaults::kStartAtLogin),
        [self](const QVariant&) {
            dispatchToMainThread([self] {
                if (self)
                    self->updateKZCRunAtLogin();
            });
        },
        this);
    NotificationCenter::defaultCenter().addObserver(
        QStringLiteral("Notification.openPreferences"), nullptr, [this](const Notification&) { openPreferences(); },
        this);
}

void QVAppDelegate::addKZCNotificationObservers()
{
    NotificationCenter& center = NotificationCenter::defaultCenter();
    const KZCWelcomeNotificationNames& names = KZCWelcomeNotifications();
    center.addObserver(names.didOpen, nullptr, [this](const Notification&) { welcomeWindowDidOpen(); }, this);
    m_welcomeDidCloseToken =
        center.addObserver(names.didClose, nullptr, [this](const Notification&) { welcomeWindowDidClose(); }, this);
    center.addObserver(names.didToggleRunAtLogin, nullptr,
                       [this](const Notification& note) { didToggleRunAtLogin(note); }, this);
}

void QVAppDelegate::makeMainWindowController()
{
    // The module list with the status item and the refresh. The dockable main window will own it
    // and become the status item's delegate; until then the application delegate answers.
    m_moduleList = KZViewController::controller<QVModuleListViewController>();
    m_moduleList->statusItemController()->statusItem()->setDelegate(this);
}

void QVAppDelegate::configureCompanion()
{
    auto* config = new KZCConfig(this);
    config->setAppStoreID(QString::fromLatin1(kAppStoreID));
    config->setShowsRunAtLoginButton(true);
    config->setAppRunsAtLogin(QVUserDefaults::standardUserDefaults().startAtLogin());
    KZCHappinessManager::sharedInstance().setMainWindow(m_window);
    KZCore::sharedInstance().applicationDidLaunchWithConfig(config);
}

void QVAppDelegate::showOrHideMainWindowAtLaunch()
{
    if (QVUserDefaults::standardUserDefaults().hideWindowAtStartup())
        hideMainWindow(false);
    else
        showMainWindow(true);
}

void QVAppDelegate::startHistoryImporter()
{
    QVHistoryDataImporter::sharedInstance().start();
}

void QVAppDelegate::showMainWindow(bool animated)
{
    // The dockable main window shows here once it exists.
    Q_UNUSED(animated);
    if (m_window) {
        m_window->show();
        m_window->raise();
        m_window->activateWindow();
    }
}

void QVAppDelegate::hideMainWindow(bool animated)
{
    // The dockable main window hides here once it exists.
    Q_UNUSED(animated);
    if (m_window)
        m_window->hide();
}

// Reopen and terminate

bool QVAppDelegate::applicationShouldHandleReopen(bool hasVisibleWindows)
{
    Q_UNUSED(hasVisibleWindows);
    KZCore& core = KZCore::sharedInstance();
    if (core.canShowMainWindow())
        showMainWindow(true);
    else
        core.showWindow();
    core.showAnyVisibleWindows();
    return false;
}

void QVAppDelegate::applicationWillTerminate()
{
    if (m_welcomeDidCloseToken) {
        NotificationCenter::defaultCenter().removeObserver(m_welcomeDidCloseToken);
        m_welcomeDidCloseToken = 0;
    }
}

// Companion notifications

void QVAppDelegate::welcomeWindowDidOpen()
{
    hideMainWindow(true);
}

void QVAppDelegate::welcomeWindowDidClose()
{
    showMainWindow(true);
}

void QVAppDelegate::didToggleRunAtLogin(const Notification& notification)
{
    QVUserDefaults::standardUserDefaults().setStartAtLogin(
        notification.userInfo.value(QStringLiteral("enabled")).toBool());
}

void QVAppDelegate::updateKZCRunAtLogin()
{
    if (KZCConfig* config = KZCore::sharedInstance().config())
        config->setAppRunsAtLogin(QVUserDefaults::standardUserDefaults().startAtLogin());
}

// Status item

std::optional<bool> QVAppDelegate::menuShouldShow()
{
    return KZCore::sharedInstance().canShowMainWindow();
}

// Taskbar mode

void QVAppDelegate::showHideDockIcon()
{
    m_showDockIcon = QVUserDefaults::standardUserDefaults().showDockIcon();
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (isApplicationWindow(widget))
            applyDockMode(widget, m_showDockIcon);
    }
    if (!m_showDockIcon) {
        // Turning windows into tool windows can cost them the focus: take it back shortly after.
        dispatchAfter(0.1, [] {
            QWidget* window = QApplication::activeWindow();
            if (!window) {
                for (QWidget* widget : QApplication::topLevelWidgets()) {
                    if (isApplicationWindow(widget) && widget->isVisible()) {
                        window = widget;
                        break;
                    }
                }
            }
            if (window) {
                window->raise();
                window->activateWindow();
            }
        });
    }
}

void QVAppDelegate::applyDockMode(QWidget* window, bool showDockIcon)
{
    const Qt::WindowType wanted = showDockIcon ? Qt::Window : Qt::Tool;
    if (!window || window->windowType() == wanted)
        return;
    const bool visible = window->isVisible();
    const QRect geometry = window->geometry();
    window->setWindowFlags((window->windowFlags() & ~Qt::WindowType_Mask) | wanted);
    if (visible) {
        window->setGeometry(geometry);
        window->show();
    }
}

bool QVAppDelegate::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        const Qt::WindowType wanted = m_showDockIcon ? Qt::Window : Qt::Tool;
        if (isApplicationWindow(widget) && widget->windowType() != wanted) {
            QPointer<QWidget> target(widget);
            const bool mode = m_showDockIcon;
            dispatchToMainThread([target, mode] {
                if (target)
                    applyDockMode(target, mode);
            });
        }
    }
    return QObject::eventFilter(watched, event);
}

// Actions

void QVAppDelegate::makePreferencesControllerIfNeeded()
{
    // The preferences window controller is made here once it exists.
}

void QVAppDelegate::openPreferences()
{
    makePreferencesControllerIfNeeded();
    QVLog(QStringLiteral("The preferences window is not available in this build"));
}

void QVAppDelegate::openAbout()
{
    makePreferencesControllerIfNeeded();
    QVLog(QStringLiteral("The about pane is not available in this build"));
}

QString QVAppDelegate::helpAddress()
{
    return QStringLiteral(VOLTARA_HELP_URL);
}

void QVAppDelegate::openHelp()
{
    QDesktopServices::openUrl(QUrl(helpAddress()));
}
