#pragma once

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>

class QMenu;
class QSystemTrayIcon;

// One item in the desktop's status bar: a system tray icon (StatusNotifierItem where the desktop
// has a watcher, XEmbed otherwise) that shows an image of the item's length and the bar's
// thickness. It turns the tray's activations into clicks and pops menus up under the item.
class StatusBarItem : public QObject {
    Q_OBJECT
public:
    // The length the item sizes itself to its contents with.
    static constexpr double kVariableLength = -1;

    explicit StatusBarItem(QObject* parent = nullptr);
    ~StatusBarItem() override;

    // Height of the status bar, in points.
    static double thickness();

    double length() const { return m_length; }
    void setLength(double length) { m_length = length; }

    // The picture the tray shows, and its tooltip. An unchanged image is not sent again.
    void setImage(const QImage& image);
    const QImage& image() const { return m_image; }
    void setToolTip(const QString& toolTip);

    // Shows the menu under the item (at the pointer when the tray does not report a place).
    void popUpStatusItemMenu(QMenu* menu);
    // Where the item is on the screen; empty when the tray does not say.
    QRect geometry() const;
    // Whether the desktop has a tray to show the item in.
    static bool isAvailable();

    QSystemTrayIcon* trayIcon() const { return m_tray; }

signals:
    // A left click, with the keyboard modifiers held at the time.
    void clicked(Qt::KeyboardModifiers modifiers);
    // A right click (or the tray's context request).
    void rightClicked();

private:
    QSystemTrayIcon* m_tray = nullptr;
    QImage m_image;
    double m_length = kVariableLength;
};
