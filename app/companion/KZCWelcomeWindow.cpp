#include "app/companion/KZCWelcomeWindow.h"

#include "app/companion/KZCConfig.h"
#include "app/companion/KZCWelcomeNotifications.h"
#include "platform/notifications/NotificationCenter.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

KZCWelcomeWindow::KZCWelcomeWindow(KZCConfig* config, QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setWindowTitle(tr("Welcome to Voltara"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 20);
    layout->setSpacing(12);

    auto* title = new QLabel(tr("Welcome to Voltara"), this);
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    titleFont.setBold(true);
    title->setFont(titleFont);
    layout->addWidget(title);

    auto* text = new QLabel(tr("Voltara lives in the system tray and shows your battery's charge. Click the battery "
                               "for the details and the history; right-click it for the settings menu."),
                            this);
    text->setWordWrap(true);
    layout->addWidget(text);

    m_runAtLogin = new QCheckBox(tr("Start Voltara at login"), this);
    m_runAtLogin->setObjectName(QStringLiteral("runAtLoginSwitch"));
    m_runAtLogin->setChecked(config->appRunsAtLogin());
    m_runAtLogin->setVisible(config->showsRunAtLoginButton());
    layout->addWidget(m_runAtLogin);
    connect(m_runAtLogin, &QCheckBox::toggled, this, [](bool enabled) {
        NotificationCenter::defaultCenter().post(KZCWelcomeNotifications().didToggleRunAtLogin, nullptr,
                                                 {{QStringLiteral("enabled"), enabled}});
    });
    // The switch shows what the application says, without announcing it back.
    connect(config, &KZCConfig::appRunsAtLoginChanged, this, [this](bool runs) {
        const QSignalBlocker blocker(m_runAtLogin);
        m_runAtLogin->setChecked(runs);
    });

    m_done = new QPushButton(tr("Get Started"), this);
    m_done->setDefault(true);
    layout->addWidget(m_done, 0, Qt::AlignRight);
    connect(m_done, &QPushButton::clicked, this, &QWidget::close);

    setFixedWidth(380);
}

void KZCWelcomeWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_announcedOpen) {
        m_announcedOpen = true;
        NotificationCenter::defaultCenter().post(KZCWelcomeNotifications().didOpen);
    }
}

void KZCWelcomeWindow::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (!event->isAccepted())
        return;
    // Hidden before it says so, so that listeners already see the window gone.
    hide();
    if (m_announcedOpen) {
        m_announcedOpen = false;
        NotificationCenter::defaultCenter().post(KZCWelcomeNotifications().didClose);
    }
    emit closed();
}
