#include "toolkit/KZWindowController.h"

#include "toolkit/KZNavigationController.h"

#include <QPalette>

namespace {

// The standard light appearance, whatever the desktop's colour scheme.
QPalette lightPalette()
{
    QPalette palette(QColor(0xEC, 0xEC, 0xEC), QColor(0xEC, 0xEC, 0xEC));
    palette.setColor(QPalette::WindowText, Qt::black);
    palette.setColor(QPalette::Text, Qt::black);
    palette.setColor(QPalette::ButtonText, Qt::black);
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::AlternateBase, QColor(0xF5, 0xF5, 0xF5));
    palette.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0xDC));
    palette.setColor(QPalette::ToolTipText, Qt::black);
    palette.setColor(QPalette::PlaceholderText, QColor(0, 0, 0, 0x7F));
    palette.setColor(QPalette::Highlight, QColor(0x30, 0x8C, 0xC6));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Link, QColor(0, 0x68, 0xDA));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0, 0, 0, 0x40));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0, 0, 0, 0x40));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0, 0, 0, 0x40));
    return palette;
}

} // namespace

KZWindowController::KZWindowController(QObject* parent)
    : QObject(parent)
{
}

KZWindowController::~KZWindowController()
{
    // The panes go before the window that shows them.
    m_navigationController.reset();
    delete m_window.data();
}

QWidget* KZWindowController::window()
{
    loadWindowIfNeeded();
    return m_window;
}

void KZWindowController::loadWindowIfNeeded()
{
    if (m_window || m_loading)
        return;
    m_loading = true;
    QWidget* window = makeWindow();
    if (!window)
        window = new QWidget;
    window->setObjectName(QString::fromUtf8(metaObject()->className()));
    // The light appearance comes first, so the colours the form or the subclass give stay.
    window->setPalette(lightPalette());
    m_window = window;
    setupUi(window);
    m_loading = false;
    awakeFromNib();
}

void KZWindowController::setWindow(QWidget* window)
{
    if (m_window == window)
        return;
    delete m_window.data();
    m_window = window;
}

void KZWindowController::showWindow()
{
    QWidget* w = window();
    w->show();
    w->raise();
    w->activateWindow();
}

void KZWindowController::close()
{
    if (m_window)
        m_window->close();
}

void KZWindowController::awakeFromNib()
{
    if (m_viewIsLoaded)
        return;
    m_viewIsLoaded = true;
    kz_viewDidLoad();
}

void KZWindowController::setNavigationController(std::unique_ptr<KZNavigationController> navigationController)
{
    m_navigationController = std::move(navigationController);
    if (m_navigationController)
        m_navigationController->setWindowController(this);
}

QWidget* KZWindowController::makeWindow()
{
    return new QWidget;
}
