#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

class KZCRatingWindow;

// The rating flow of the companion layer.
class KZCHappinessManager : public QObject {
    Q_OBJECT
public:
    static KZCHappinessManager& sharedInstance();

    // The application's main window: the rating prompt is placed over it when it is visible.
    QWidget* mainWindow() const { return m_mainWindow; }
    void setMainWindow(QWidget* mainWindow) { m_mainWindow = mainWindow; }

    // Shows the rating prompt (or brings it forward).
    void showRatingWindow();
    bool ratingWindowIsVisible() const;
    KZCRatingWindow* ratingWindow() const;

private:
    KZCHappinessManager() = default;

    QPointer<QWidget> m_mainWindow;
    QPointer<KZCRatingWindow> m_ratingWindow;
};
