#pragma once

#include "toolkit/KZShadow.h"

#include <QLabel>

// A text label with an engraved look: its text is drawn over a shared white shadow one point
// below it (no blur).
class KZNShadowTextFieldCell : public QLabel {
    Q_OBJECT
public:
    explicit KZNShadowTextFieldCell(QWidget* parent = nullptr);
    explicit KZNShadowTextFieldCell(const QString& text, QWidget* parent = nullptr);

    static const KZShadow& sharedShadow();

protected:
    void paintEvent(QPaintEvent* event) override;
};
