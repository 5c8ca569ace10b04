#include "app/companion/KZCore.h"

#include "app/companion/KZCHappinessManager.h"
#include "app/companion/KZCMailingListWindow.h"
#include "app/companion/KZCRatingWindow.h"
#include "app/companion/KZCWelcomeWindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>

namespace {
const char* const kWelcomeShownKey = "welcomeWindowShown";

void centre(QWidget* window)
{
    window->adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window->move(screen->availableGeometry().center() - window->rect().center());
}
} // namespace

KZCore& KZCore::sharedInstance()
{
    static KZCore* core = new KZCore;
    return *core;
}

KZCore::KZCore()
    : m_config(new KZCConfig(this))
{
}

KZCWelcomeWindow* KZCore::welcomeWindow() const
{
    return m_welcomeWindow;
}

KZCMailingListWindow* KZCore::mailingListWindow() const
{
    return m_mailingListWindow;
}

QString KZCore::statePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/Voltara/Companion.conf");
}

bool KZCore::hasShownWelcome() const
{
    return QSettings(statePath(), QSettings::IniFormat).value(QLatin1String(kWelcomeShownKey), false).toBool();
}

void KZCore::applicationDidLaunchWithConfig(KZCConfig* config)
{
    if (config && config != m_config) {
        if (m_config && m_config->parent() == this)
            m_config->deleteLater();
        m_config = config;
    }
    if (!hasShownWelcome())
        showWelcomeWindow();
}

void KZCore::showWelcomeWindow()
{
    if (!m_welcomeWindow) {
        m_welcomeWindow = new KZCWelcomeWindow(m_config);
        m_welcomeWindow->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_welcomeWindow, &KZCWelcomeWindow::closed, this, [] {
            // Remembered once the user has seen it through; a run that ends earlier shows it again.
            QSettings state(statePath(), QSettings::IniFormat);
            state.setValue(QLatin1String(kWelcomeShownKey), true);
            state.sync();
        });
        centre(m_welcomeWindow);
    }
    bringForward(m_welcomeWindow);
}

bool KZCore::canShowMainWindow() const
{
    return !(m_welcomeWindow && m_welcomeWindow->isVisible());
}

void KZCore::showWindow()
{
    if (m_welcomeWindow && m_welcomeWindow->isVisible()) {
        bringForward(m_welcomeWindow);
        return;
    }
    if (!m_mailingListWindow) {
        m_mailingListWindow = new KZCMailingListWindow;
        m_mailingListWindow->setAttribute(Qt::WA_DeleteOnClose);
        centre(m_mailingListWindow);
    }
    bringForward(m_mailingListWindow);
}

void KZCore::showAnyVisibleWindows()
{
    for (QWidget* window : {static_cast<QWidget*>(m_welcomeWindow.data()),
                            static_cast<QWidget*>(m_mailingListWindow.data()),
                            static_cast<QWidget*>(KZCHappinessManager::sharedInstance().ratingWindow())}) {
        if (window && window->isVisible())
            bringForward(window);
    }
}

void KZCore::rateApp()
{
    KZCHappinessManager::sharedInstance().showRatingWindow();
}

void KZCore::bringForward(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
}
