#pragma once

#include <QScrollArea>

// A scroll area whose content never scrolls by wheel or gesture; such events go on to the parent.
class KZNoScrollView : public QScrollArea {
    Q_OBJECT
public:
    explicit KZNoScrollView(QWidget* parent = nullptr);

protected:
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
};
