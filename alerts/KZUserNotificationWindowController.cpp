#include "alerts/KZUserNotificationWindowController.h"

#include "alerts/KZNBackgroundView.h"
#include "platform/dispatch/MainThread.h"
#include "platform/notifications/NotificationCenter.h"
#include "platform/notify/SystemSound.h"

#include "ui_KZUserNotificationWindowController.h"

#include <QApplication>
#include <QFontMetrics>
#include <QIcon>
#include <QLabel>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QWidget>

#include <algorithm>
#include <climits>

namespace {

constexpr int kTextInset = 4;
// Room left and right of a button's title.
constexpr int kButtonTitlePadding = 12;
constexpr int kFadeInMilliseconds = 200;
constexpr int kFadeOutMilliseconds = 300;
// The other windows start moving while this one still fades.
constexpr double kCloseCompletionDelay = 90000007e-9;

} // namespace

KZUserNotificationWindowController::KZUserNotificationWindowController() = default;

KZUserNotificationWindowController::~KZUserNotificationWindowController()
{
    delete m_window.data();
}

std::shared_ptr<KZUserNotificationWindowController> KZUserNotificationWindowController::controller()
{
    return std::shared_ptr<KZUserNotificationWindowController>(new KZUserNotificationWindowController);
}

std::shared_ptr<KZUserNotificationWindowController>
KZUserNotificationWindowController::controllerWithUserNotification(const std::shared_ptr<KZUserNotification>& notification)
{
    auto controller = KZUserNotificationWindowController::controller();
    controller->setNotification(notification);
    return controller;
}

QWidget* KZUserNotificationWindowController::window()
{
    if (!m_window)
        loadWindow();
    return m_window;
}

KZNBackgroundView* KZUserNotificationWindowController::contentView()
{
    window();
    return m_backgroundView;
}

void KZUserNotificationWindowController::loadWindow()
{
    auto* window = new QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                                            | Qt::WindowDoesNotAcceptFocus | Qt::X11BypassWindowManagerHint);
    m_ui = std::make_unique<Ui::KZUserNotificationWindowController>();
    m_ui->setupUi(window);
    m_window = window;
    m_backgroundView = m_ui->backgroundView;
    m_containerView = m_ui->containerView;
    m_imageView = m_ui->imageView;
    m_titleLabel = m_ui->titleLabel;
    m_subtitleLabel = m_ui->subtitleLabel;
    m_informativeTextLabel = m_ui->informativeTextLabel;
    m_otherButton = m_ui->otherButton;
    m_actionButton = m_ui->actionButton;
    m_actionButtonDesignWidth = m_actionButton->width();
    connect(m_actionButton, &QPushButton::clicked, this, &KZUserNotificationWindowController::showAction);
    connect(m_otherButton, &QPushButton::clicked, this, &KZUserNotificationWindowController::otherAction);
    windowDidLoad();
}

void KZUserNotificationWindowController::windowDidLoad()
{
    m_window->setWindowOpacity(0.0);
    configureWindow();
    updateUI();
}

void KZUserNotificationWindowController::configureWindow()
{
    // A borderless, see-through window that floats above other windows without taking the focus.
    m_window->setAttribute(Qt::WA_TranslucentBackground);
    m_window->setAttribute(Qt::WA_ShowWithoutActivating);
    m_window->setAutoFillBackground(false);
    // The background is white whatever the desktop's colours are, so the texts stay dark.
    QPalette palette = m_window->palette();
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text}) {
        palette.setColor(role, QColor(0x22, 0x22, 0x22));
    }
    m_containerView->setPalette(palette);
    // The picture defaults to the application's icon, else the desktop theme's battery icon.
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull())
        icon = QIcon::fromTheme(QStringLiteral("battery"));
    if (!icon.isNull())
        m_imageView->setPixmap(icon.pixmap(m_imageView->size()));
}

QString KZUserNotificationWindowController::truncatedInformativeText(const QString& text)
{
    if (text.size() <= kMaximumInformativeTextLength)
        return text;
    qsizetype length = kMaximumInformativeTextLength;
    // Never split a character that needs two UTF-16 units.
    if (text.at(length - 1).isHighSurrogate())
        --length;
    return text.left(length).trimmed() + QStringLiteral("...");
}

void KZUserNotificationWindowController::updateUI()
{
    const KZUserNotification empty;
    const KZUserNotification& n = m_notification ? *m_notification : empty;

    const QString informativeText = truncatedInformativeText(n.informativeText());

    if (!n.title().isEmpty())
        m_titleLabel->setText(n.title());

    if (!n.subtitle().isEmpty())
        m_subtitleLabel->setText(n.subtitle());
    else
        m_subtitleLabel->setHidden(true);

    if (!informativeText.isEmpty()) {
        m_informativeTextLabel->setText(informativeText);
        if (n.subtitle().isEmpty())
            m_informativeTextLabel->move(m_subtitleLabel->pos());
        adjustInformativeTextFrame();
    } else {
        m_informativeTextLabel->setHidden(true);
    }

    if (!n.actionButtonTitle().isEmpty())
        m_actionButton->setText(n.actionButtonTitle());
    if (!n.otherButtonTitle().isEmpty())
        m_otherButton->setText(n.otherButtonTitle());
    adjustButtonFrames();

    if (!n.contentImage().isNull())
        m_imageView->setPixmap(QPixmap::fromImage(n.contentImage()));

    m_actionButton->setHidden(!n.hasActionButton());
}

int KZUserNotificationWindowController::neededTextHeight(const QLabel* label, int padding)
{
    const QFontMetrics metrics(label->font());
    const QRect used = metrics.boundingRect(QRect(0, 0, label->width(), INT_MAX / 2),
                                            Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, label->text());
    return used.height() + padding;
}

void KZUserNotificationWindowController::adjustInformativeTextFrame()
{
    if (m_informativeTextLabel->text().isEmpty())
        return;
    const int needed = neededTextHeight(m_informativeTextLabel, kTextInset);
    const int d = needed - m_informativeTextLabel->height();
    if (d <= 0)
        return;
    // The label grows downwards; the window (and the container with it) grows by as much, less
    // the subtitle's room when the text has taken the subtitle's place.
    m_informativeTextLabel->resize(m_informativeTextLabel->width(), needed);
    const int grow = d + kTextInset - (m_subtitleLabel->isHidden() ? m_subtitleLabel->height() : 0);
    m_containerView->resize(m_containerView->width(), m_containerView->height() + grow);
    const QPoint origin = m_window->pos();
    m_window->resize(m_window->width(), m_window->height() + grow);
    m_window->move(origin);
    m_window->update();
}

int KZUserNotificationWindowController::fittedButtonWidth(const QPushButton* button)
{
    return QFontMetrics(button->font()).horizontalAdvance(button->text()) + 2 * kButtonTitlePadding;
}

void KZUserNotificationWindowController::adjustButtonFrames()
{
    const int w0 = m_actionButtonDesignWidth;
    const int fitted = std::max(fittedButtonWidth(m_actionButton), fittedButtonWidth(m_otherButton));
    const int w = std::max(w0, std::min(kMaximumButtonWidth, fitted));
    const int shift = w - w0;
    for (QPushButton* button : {m_actionButton, m_otherButton}) {
        const int right = button->x() + button->width();
        button->setGeometry(right - w, button->y(), w, button->height());
    }
    if (shift == 0)
        return;
    // The texts narrow with their container.
    m_containerView->resize(m_containerView->width() - shift, m_containerView->height());
    for (QLabel* label : {m_titleLabel, m_subtitleLabel, m_informativeTextLabel})
        label->resize(label->width() - shift, label->height());
    // A narrower text may need more lines than it was measured for.
    if (!m_informativeTextLabel->isHidden() && !m_informativeTextLabel->text().isEmpty()) {
        const int extra = neededTextHeight(m_informativeTextLabel, kTextInset) - m_informativeTextLabel->height();
        if (extra > 0) {
            m_informativeTextLabel->resize(m_informativeTextLabel->width(), m_informativeTextLabel->height() + extra);
            m_containerView->resize(m_containerView->width(), m_containerView->height() + extra);
            const QPoint origin = m_window->pos();
            m_window->resize(m_window->width(), m_window->height() + extra);
            m_window->move(origin);
        }
    }
}

void KZUserNotificationWindowController::showWindow()
{
    QWidget* win = window();
    if (!win)
        return;
    win->show();
    auto* fade = new QPropertyAnimation(win, "windowOpacity", win);
    fade->setDuration(kFadeInMilliseconds);
    fade->setEndValue(1.0);
    std::weak_ptr<KZUserNotificationWindowController> weak = weak_from_this();
    connect(fade, &QAbstractAnimation::finished, win, [weak] {
        if (auto self = weak.lock())
            self->playSound();
    });
    fade->start(QAbstractAnimation::DeleteWhenStopped);
}

void KZUserNotificationWindowController::close()
{
    closeWithCompletionHandler(nullptr);
}

void KZUserNotificationWindowController::closeWithCompletionHandler(std::function<void()> completionHandler)
{
    QWidget* win = m_window;
    if (win) {
        // Not a child of the window: the controller (and with it the window) may go when the
        // animation lets go of it.
        auto* fade = new QPropertyAnimation(win, "windowOpacity");
        fade->setDuration(kFadeOutMilliseconds);
        fade->setEndValue(0.0);
        // The controller stays alive until its window has faded out. Hiding, not closing, so the
        // last notification window never counts as the application's last window.
        std::shared_ptr<KZUserNotificationWindowController> self = shared_from_this();
        connect(fade, &QAbstractAnimation::finished, fade, [self] {
            if (self->m_window)
                self->m_window->hide();
        });
        fade->start(QAbstractAnimation::DeleteWhenStopped);
    }
    if (completionHandler)
        dispatchAfter(kCloseCompletionDelay, std::move(completionHandler));
}

void KZUserNotificationWindowController::showAction()
{
    NotificationCenter::defaultCenter().post(QStringLiteral("KZUserNotificationDidActivate"), window());
}

void KZUserNotificationWindowController::otherAction()
{
    NotificationCenter::defaultCenter().post(QStringLiteral("KZUserNotificationCloseWindow"), window());
}

void KZUserNotificationWindowController::playSound()
{
    if (!m_notification || m_notification->soundName().isEmpty())
        return;
    if (auto sound = SystemSound::soundNamed(m_notification->soundName()))
        sound->play();
}
