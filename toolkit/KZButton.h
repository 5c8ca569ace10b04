#pragma once

#include "toolkit/KZButtonCell.h"

#include <QPushButton>

// A button that shows the pointing-hand cursor while the mouse is over it.
class KZButton : public QPushButton {
    Q_OBJECT
public:
    explicit KZButton(QWidget* parent = nullptr);
    explicit KZButton(const QString& title, QWidget* parent = nullptr);

    KZButtonCell& cell() { return m_cell; }
    const KZButtonCell& cell() const { return m_cell; }

    // Starts reporting the mouse entering and leaving (once).
    void makeTrackingArea();
    bool hasTrackingArea() const { return m_trackingArea; }

    void mouseEntered();
    void mouseExited();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    KZButtonCell m_cell;
    bool m_trackingArea = false;
};
