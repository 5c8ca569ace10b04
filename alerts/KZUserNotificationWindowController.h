#pragma once

#include "alerts/KZUserNotification.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class KZNBackgroundView;
class QLabel;
class QPushButton;
class QWidget;

namespace Ui {
class KZUserNotificationWindowController;
}

// One notification in a small borderless window of Voltara's own, for desktops without a
// notification service. The window comes from the interface file named after this class and is
// loaded on first use of window(); it fades in when shown and out when closed. Its buttons post
// "KZUserNotificationDidActivate" (action) and "KZUserNotificationCloseWindow" (other) with the
// window as object.
class KZUserNotificationWindowController : public QObject,
                                           public std::enable_shared_from_this<KZUserNotificationWindowController> {
    Q_OBJECT
public:
    // Longer informative texts are cut to this many characters.
    static constexpr int kMaximumInformativeTextLength = 60;
    // Buttons grow to fit their titles up to this width.
    static constexpr int kMaximumButtonWidth = 104;

    static std::shared_ptr<KZUserNotificationWindowController> controller();
    static std::shared_ptr<KZUserNotificationWindowController>
    controllerWithUserNotification(const std::shared_ptr<KZUserNotification>& notification);
    ~KZUserNotificationWindowController() override;

    std::shared_ptr<KZUserNotification> notification() const { return m_notification; }
    void setNotification(const std::shared_ptr<KZUserNotification>& notification) { m_notification = notification; }

    // The window, loaded (and prepared from the notification) on first use.
    QWidget* window();
    bool isWindowLoaded() const { return m_window != nullptr; }
    KZNBackgroundView* contentView();
    QWidget* containerView() const { return m_containerView; }
    QLabel* imageView() const { return m_imageView; }
    QLabel* titleLabel() const { return m_titleLabel; }
    QLabel* subtitleLabel() const { return m_subtitleLabel; }
    QLabel* informativeTextLabel() const { return m_informativeTextLabel; }
    QPushButton* otherButton() const { return m_otherButton; }
    QPushButton* actionButton() const { return m_actionButton; }

    void windowDidLoad();
    void configureWindow();
    void updateUI();
    void adjustInformativeTextFrame();
    void adjustButtonFrames();

    // Shows the window and fades it in over 0.2 s, then plays the notification's sound.
    void showWindow();
    // Fades the window out over 0.3 s and closes it.
    void close();
    // As close(); the block runs on the main thread about 0.09 s after the fade starts.
    void closeWithCompletionHandler(std::function<void()> completionHandler);

    void showAction();
    void otherAction();
    void playSound();

    // The text shown for an informative text: at most 60 characters, else its first 60 trimmed
    // and followed by "...".
    static QString truncatedInformativeText(const QString& text);

private:
    KZUserNotificationWindowController();
    void loadWindow();
    // Height the label's text needs at the label's width, with an inset of `padding`.
    static int neededTextHeight(const QLabel* label, int padding);
    // Width that fits the button's title.
    static int fittedButtonWidth(const QPushButton* button);

    std::shared_ptr<KZUserNotification> m_notification;
    std::unique_ptr<Ui::KZUserNotificationWindowController> m_ui;
    QPointer<QWidget> m_window;
    KZNBackgroundView* m_backgroundView = nullptr;
    QWidget* m_containerView = nullptr;
    QLabel* m_imageView = nullptr;
    QLabel* m_titleLabel = nullptr;
    QLabel* m_subtitleLabel = nullptr;
    QLabel* m_informativeTextLabel = nullptr;
    QPushButton* m_otherButton = nullptr;
    QPushButton* m_actionButton = nullptr;
    int m_actionButtonDesignWidth = 0;
};
