#include "window/QVModuleListViewController.h"

#include "ui_QVModuleListViewController.h"

#include "app/companion/KZCore.h"
#include "app/settings/QVUserDefaults.h"
#include "battery/KZTimer.h"
#include "battery/QVBatteryManager.h"
#include "menubar/RWStatusItemController.h"
#include "platform/notifications/NotificationCenter.h"

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QScreen>
#include <QTableWidget>
#include <QUrl>

#include <algorithm>

QVModuleListViewController::QVModuleListViewController(QObject* parent)
    : KZViewController(parent)
    , ui(std::make_unique<Ui::QVModuleListViewController>())
{
}

QVModuleListViewController::~QVModuleListViewController()
{
    if (m_updateTimer)
        m_updateTimer->invalidate();
    QVUserDefaults::standardUserDefaults().removeObserver(this);
    NotificationCenter::defaultCenter().removeObserver(this);
}

void QVModuleListViewController::setupUi(QWidget* view)
{
    ui->setupUi(view);
    m_uiReady = true;
    makeSettingsMenu();
}

void QVModuleListViewController::makeSettingsMenu()
{
    m_settingsMenu = std::make_unique<QMenu>();
    m_settingsMenu->setObjectName(QStringLiteral("settingsMenu"));
    const auto add = [this](const QString& title, const char* name, void (QVModuleListViewController::*action)()) {
        QAction* item = m_settingsMenu->addAction(title);
        item->setObjectName(QLatin1String(name));
        connect(item, &QAction::triggered, this, [this, action] { (this->*action)(); });
        return item;
    };
    add(tr("Preferences…"), "openPreferences", &QVModuleListViewController::openPreferences);
    add(tr("Reset Window Position"), "resetAppWindow", &QVModuleListViewController::resetAppWindow);
    m_settingsMenu->addSeparator();
    add(tr("Customer Support…"), "openCustomerSupport", &QVModuleListViewController::openCustomerSupport);
    add(tr("Rate Voltara…"), "rateApp", &QVModuleListViewController::rateApp);
    add(tr("Voltara News…"), "openMailingList", &QVModuleListViewController::openMailingList);
    m_settingsMenu->addSeparator();
    add(tr("Quit Voltara"), "quit", &QVModuleListViewController::quit);
}

QAbstractScrollArea* QVModuleListViewController::scrollView() const
{
    return m_uiReady ? ui->tableView : nullptr;
}

QTableWidget* QVModuleListViewController::tableView() const
{
    return m_uiReady ? ui->tableView : nullptr;
}

void QVModuleListViewController::kz_viewDidLoad()
{
    // 1. The status item, whose right click opens the settings menu.
    m_statusItemController = KZViewController::controller<RWStatusItemController>();
    m_statusItemController->setStatusMenu(m_settingsMenu.get());

    // 2. Observations.
    QVUserDefaults& defaults = QVUserDefaults::standardUserDefaults();
    defaults.addObserver(QLatin1String(QVUserDefaults::kRefreshInterval), [this](const QVariant&) { setupTimer(); },
                         this);
    defaults.addObserver(QLatin1String(QVUserDefaults::kMenuBarDisplay), [this](const QVariant&) { updateModules(); },
                         this);
    NotificationCenter::defaultCenter().addObserver(
        QStringLiteral("QVNotificationPowerSourceDidChange"), nullptr,
        [this](const Notification&) { updateModules(); }, this);

    // 3. A first refresh: the reading and the status item.
    updateModules();
    // 4. The modules join the list here once they exist; the list has no rows until then.
    // 5.
    autoAdjustHeight();
    // 6. The periodic refresh (which refreshes once more at once).
    setupTimer();
}

void QVModuleListViewController::setIsBackground(bool isBackground)
{
    m_isBackground = isBackground;
}

void QVModuleListViewController::stopUpdating()
{
    setIsBackground(true);
}

void QVModuleListViewController::startUpdating()
{
    const bool wasBackground = m_isBackground;
    setIsBackground(false);
    if (wasBackground)
        updateModules();
}

void QVModuleListViewController::setupTimer()
{
    if (!QVBatteryManager::sharedManager().hasBatteryInstalled())
        return;
    if (m_updateTimer)
        m_updateTimer->invalidate();
    const double interval = std::max(1.0, QVUserDefaults::standardUserDefaults().refreshInterval());
    QPointer<QVModuleListViewController> weakSelf(this);
    m_updateTimer = KZTimer::timerWithInterval(interval, true, [weakSelf](KZTimer&) {
        if (weakSelf)
            weakSelf->updateModules();
    });
    updateModules();
}

void QVModuleListViewController::updateModules()
{
    // 1. The one periodic reading of the battery.
    QVBatteryManager::sharedManager().update();
    // 2. The modules refresh here (not while the window is hidden) once the list has them.
    // 3.
    updateStatusItems();
}

void QVModuleListViewController::updateStatusItems()
{
    if (m_statusItemController)
        m_statusItemController->update();
}

void QVModuleListViewController::autoAdjustHeight()
{
    QWidget* list = view();
    QTableWidget* table = tableView();
    int height = 0;
    if (table) {
        for (int row = 0; row < table->rowCount(); ++row)
            height += table->rowHeight(row);
    }
    list->resize(list->width(), height);
}

void QVModuleListViewController::openPreferences()
{
    NotificationCenter::defaultCenter().post(QStringLiteral("Notification.openPreferences"));
}

QString QVModuleListViewController::customerSupportAddress()
{
    return QStringLiteral(VOLTARA_SUPPORT_URL);
}

void QVModuleListViewController::openCustomerSupport()
{
    QDesktopServices::openUrl(QUrl(customerSupportAddress()));
}

void QVModuleListViewController::rateApp()
{
    KZCore::sharedInstance().rateApp();
}

void QVModuleListViewController::openMailingList()
{
    KZCore::sharedInstance().showWindow();
}

void QVModuleListViewController::quit()
{
    // Ends the event loop; the application then finishes in order (aboutToQuit and the exit code 0).
    QCoreApplication::exit(0);
}

void QVModuleListViewController::resetAppWindow()
{
    QWidget* window = parentWindow();
    if (!window)
        return;
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}
