#pragma once

#include "app/companion/KZCConfig.h"

#include <QObject>
#include <QPointer>
#include <QString>

class KZCMailingListWindow;
class KZCWelcomeWindow;

// The companion layer: on the first launch it shows its welcome window (the main window must wait
// until it closes); it runs the rating flow and has a window of its own.
class KZCore : public QObject {
    Q_OBJECT
public:
    static KZCore& sharedInstance();

    // Takes the configuration; shows the welcome window when this is the first launch.
    void applicationDidLaunchWithConfig(KZCConfig* config);
    // The configuration handed over at launch (a default one before).
    KZCConfig* config() const { return m_config; }

    // False while the welcome window is up.
    bool canShowMainWindow() const;
    // Shows the layer's own window: the welcome window while it is up, otherwise the news window.
    void showWindow();
    // Brings the layer's visible windows to the front.
    void showAnyVisibleWindows();
    // Runs the rating flow.
    void rateApp();

    KZCWelcomeWindow* welcomeWindow() const;
    KZCMailingListWindow* mailingListWindow() const;

    // Where the layer remembers that the welcome window was shown.
    static QString statePath();
    bool hasShownWelcome() const;

private:
    KZCore();
    void showWelcomeWindow();
    static void bringForward(QWidget* window);

    QPointer<KZCConfig> m_config;
    QPointer<KZCWelcomeWindow> m_welcomeWindow;
    QPointer<KZCMailingListWindow> m_mailingListWindow;
};
