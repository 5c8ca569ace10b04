#pragma once

#include "toolkit/KZViewController.h"

#include <QMenu>
#include <QPointer>

#include <memory>

class KZTimer;
class QAbstractScrollArea;
class QTableWidget;
class RWStatusItemController;
namespace Ui {
class QVModuleListViewController;
}

// The list of modules in the main window. It owns the status item controller, drives the one
// periodic refresh of the battery display (every "refreshInterval" seconds, at least 1) and carries
// the settings menu that the status item shows on a right click.
class QVModuleListViewController : public KZViewController {
    Q_OBJECT
    Q_CLASSINFO("KZInterface", "QVModuleListViewController")
public:
    explicit QVModuleListViewController(QObject* parent = nullptr);
    ~QVModuleListViewController() override;

    // True while the window is hidden: the modules are then not refreshed.
    bool isBackground() const { return m_isBackground; }
    void setIsBackground(bool isBackground);
    // The table encloses and scrolls its rows itself.
    QAbstractScrollArea* scrollView() const;
    QTableWidget* tableView() const;
    RWStatusItemController* statusItemController() const { return m_statusItemController.get(); }
    QMenu* settingsMenu() const { return m_settingsMenu.get(); }
    const std::shared_ptr<KZTimer>& updateTimer() const { return m_updateTimer; }

    void kz_viewDidLoad() override;

    void setupTimer();
    void updateModules();
    void updateStatusItems();
    void autoAdjustHeight();
    void stopUpdating();
    void startUpdating();

    // The settings menu's actions.
    void openPreferences();
    void openCustomerSupport();
    void rateApp();
    void openMailingList();
    void quit();
    void resetAppWindow();

    // The customer-support address (the VOLTARA_SUPPORT_URL build setting).
    static QString customerSupportAddress();

protected:
    void setupUi(QWidget* view) override;

private:
    void makeSettingsMenu();

    std::unique_ptr<Ui::QVModuleListViewController> ui;
    bool m_uiReady = false;
    bool m_isBackground = false;
    std::shared_ptr<RWStatusItemController> m_statusItemController;
    std::unique_ptr<QMenu> m_settingsMenu;
    std::shared_ptr<KZTimer> m_updateTimer;
};
