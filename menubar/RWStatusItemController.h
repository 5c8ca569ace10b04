#pragma once

#include "menubar/QVStatusItem.h"
#include "toolkit/KZViewController.h"

#include <QMenu>
#include <QPointer>

// Owns the application's one status item and sets its text, text colours and red flag from the
// current reading and the settings "menuBarShowInfo", "menuBarDisplay" and "menuBarColor"; a
// change of any of the three shows at once.
class RWStatusItemController : public KZViewController {
    Q_OBJECT
public:
    explicit RWStatusItemController(QObject* parent = nullptr);
    ~RWStatusItemController() override;

    QVStatusItem* statusItem() const { return m_statusItem; }
    // Not owned. Becomes the status item's context menu.
    QMenu* statusMenu() const { return m_statusMenu; }
    void setStatusMenu(QMenu* statusMenu);

    void makeStatusItem();
    // Red flag, text colours and text (the badge) from the current reading and the settings.
    void update();
    // "hh:mm" of whole minutes; "0" for exactly 0.
    static QString timeStringWithSeconds(double seconds);

private:
    QVStatusItem* m_statusItem = nullptr;
    QPointer<QMenu> m_statusMenu;
};
