#include "menubar/StatusBarItem.h"

#include <QCursor>
#include <QGuiApplication>
#include <QIcon>
#include <QMenu>
#include <QPixmap>
#include <QScreen>
#include <QSystemTrayIcon>

namespace {
// The usual height of a panel's tray area, used when the tray does not report one.
constexpr double kDefaultThickness = 22;
}

StatusBarItem::StatusBarItem(QObject* parent)
    : QObject(parent)
    , m_tray(new QSystemTrayIcon(this))
{
    connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        switch (reason) {
        case QSystemTrayIcon::Trigger:
        case QSystemTrayIcon::DoubleClick:
            emit clicked(QGuiApplication::queryKeyboardModifiers());
            break;
        case QSystemTrayIcon::Context:
            emit rightClicked();
            break;
        default:
            break;
        }
    });
}

StatusBarItem::~StatusBarItem() = default;

double StatusBarItem::thickness()
{
    return kDefaultThickness;
}

void StatusBarItem::setImage(const QImage& image)
{
    if (image == m_image && !m_image.isNull())
        return;
    m_image = image;
    m_tray->setIcon(QIcon(QPixmap::fromImage(image)));
    // The item goes into the tray once it has a picture; a tray host that starts later still gets it.
    if (!m_tray->isVisible())
        m_tray->show();
}

void StatusBarItem::setToolTip(const QString& toolTip)
{
    if (m_tray->toolTip() != toolTip)
        m_tray->setToolTip(toolTip);
}

bool StatusBarItem::isAvailable()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

QRect StatusBarItem::geometry() const
{
    return m_tray->geometry();
}

void StatusBarItem::popUpStatusItemMenu(QMenu* menu)
{
    if (!menu)
        return;
    const QRect place = geometry();
    QPoint at = QCursor::pos();
    if (place.isValid()) {
        // Under the item, or above it when the bar is at the bottom of the screen.
        at = place.bottomLeft() + QPoint(0, 1);
        if (const QScreen* screen = QGuiApplication::screenAt(place.center())) {
            const QSize wanted = menu->sizeHint();
            if (at.y() + wanted.height() > screen->availableGeometry().bottom())
                at = place.topLeft() - QPoint(0, wanted.height());
        }
    }
    menu->popup(at);
}
