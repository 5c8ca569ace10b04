#include "app/companion/KZCHappinessManager.h"

#include "app/companion/KZCRatingWindow.h"

#include <QGuiApplication>
#include <QScreen>

KZCHappinessManager& KZCHappinessManager::sharedInstance()
{
    static KZCHappinessManager* manager = new KZCHappinessManager;
    return *manager;
}

void KZCHappinessManager::showRatingWindow()
{
    if (!m_ratingWindow) {
        m_ratingWindow = new KZCRatingWindow;
        m_ratingWindow->setAttribute(Qt::WA_DeleteOnClose);
        m_ratingWindow->adjustSize();
        const QWidget* over = m_mainWindow && m_mainWindow->isVisible() ? m_mainWindow.data() : nullptr;
        const QRect area = over ? over->frameGeometry()
                                : (QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                                    : QRect());
        if (area.isValid())
            m_ratingWindow->move(area.center() - m_ratingWindow->rect().center());
    }
    m_ratingWindow->show();
    m_ratingWindow->raise();
    m_ratingWindow->activateWindow();
}

KZCRatingWindow* KZCHappinessManager::ratingWindow() const
{
    return m_ratingWindow;
}

bool KZCHappinessManager::ratingWindowIsVisible() const
{
    return m_ratingWindow && m_ratingWindow->isVisible();
}
