#pragma once

#include "toolkit/KZMavericksButtonTheme.h"

#include <QPushButton>

#include <memory>

// A push button that draws its bezel and title with a theme chosen by its bezel style: the
// textured rounded style gets the textured theme, the rounded push style the push theme; any
// other style has no theme and looks like a standard button.
class KZMavericksButtonCell : public QPushButton {
    Q_OBJECT
    Q_PROPERTY(BezelStyle bezelStyle READ bezelStyle WRITE setBezelStyle)
public:
    enum BezelStyle { RoundedBezelStyle, TexturedRoundedBezelStyle, RegularSquareBezelStyle, RecessedBezelStyle };
    Q_ENUM(BezelStyle)

    explicit KZMavericksButtonCell(QWidget* parent = nullptr);
    explicit KZMavericksButtonCell(const QString& title, QWidget* parent = nullptr);

    BezelStyle bezelStyle() const { return m_bezelStyle; }
    void setBezelStyle(BezelStyle style);

    // The theme of this button, or none.
    virtual std::shared_ptr<KZMavericksButtonTheme> buttonTheme() const;

    // Fills the theme's outline with its gradient (turned over while pressed) and strokes it.
    void drawBezelWithFrame(QPainter& painter, const QRectF& frame) const;
    // Draws the title with the theme's attributes (foreground at alpha 0.6 when disabled); returns
    // the frame it was drawn in.
    QRectF drawTitle(QPainter& painter, const QString& title, const QRectF& frame) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    BezelStyle m_bezelStyle = RoundedBezelStyle;
};
