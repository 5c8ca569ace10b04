#include "toolkit/KZMavericksButtonCell.h"

#include "toolkit/KZPushButtonTheme.h"
#include "toolkit/KZTexturedButtonTheme.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>

KZMavericksButtonCell::KZMavericksButtonCell(QWidget* parent)
    : QPushButton(parent)
{
}

KZMavericksButtonCell::KZMavericksButtonCell(const QString& title, QWidget* parent)
    : QPushButton(title, parent)
{
}

void KZMavericksButtonCell::setBezelStyle(BezelStyle style)
{
    m_bezelStyle = style;
    updateGeometry();
    update();
}

std::shared_ptr<KZMavericksButtonTheme> KZMavericksButtonCell::buttonTheme() const
{
    switch (m_bezelStyle) {
    case TexturedRoundedBezelStyle:
        return KZMavericksButtonTheme::theme<KZTexturedButtonTheme>();
    case RoundedBezelStyle:
        return KZMavericksButtonTheme::theme<KZPushButtonTheme>();
    default:
        return nullptr;
    }
}

void KZMavericksButtonCell::drawBezelWithFrame(QPainter& painter, const QRectF& frame) const
{
    const std::shared_ptr<KZMavericksButtonTheme> theme = buttonTheme();
    if (!theme)
        return;
    const QPainterPath path = theme->drawingPathForFrame(frame);
    const QRectF bounds = path.boundingRect();
    // The first colour at the bottom and the last at the top; the other way round while pressed.
    QLinearGradient gradient = isDown() ? QLinearGradient(bounds.topLeft(), bounds.bottomLeft())
                                        : QLinearGradient(bounds.bottomLeft(), bounds.topLeft());
    gradient.setStops(theme->backgroundGradient());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.fillPath(path, gradient);
    painter.strokePath(path, QPen(theme->strokeColor(), 1));
    painter.restore();
}

QRectF KZMavericksButtonCell::drawTitle(QPainter& painter, const QString& title, const QRectF& frame) const
{
    const std::shared_ptr<KZMavericksButtonTheme> theme = buttonTheme();
    const KZTitleAttributes attributes = theme ? theme->titleAttributes() : KZTitleAttributes {};
    QFont titleFont = font();
    if (attributes.kerning)
        titleFont.setLetterSpacing(QFont::AbsoluteSpacing, *attributes.kerning);
    QColor foreground = attributes.foregroundColor.value_or(palette().color(QPalette::ButtonText));
    if (!isEnabled())
        foreground.setAlphaF(0.6f * foreground.alphaF());

    QRectF titleFrame = frame;
    if (m_bezelStyle == TexturedRoundedBezelStyle) {
        const qreal titleHeight = QFontMetricsF(titleFont).height();
        titleFrame = QRectF(frame.x(), height() / 2.0 - titleHeight / 2.0 - 1, frame.width(), titleHeight);
    }

    painter.save();
    painter.setFont(titleFont);
    if (attributes.shadow) {
        painter.setPen(attributes.shadow->color);
        painter.drawText(titleFrame.translated(attributes.shadow->offset), Qt::AlignCenter | Qt::TextShowMnemonic, title);
    }
    painter.setPen(foreground);
    painter.drawText(titleFrame, Qt::AlignCenter | Qt::TextShowMnemonic, title);
    painter.restore();
    return titleFrame;
}

QSize KZMavericksButtonCell::sizeHint() const
{
    QSize hint = QPushButton::sizeHint();
    if (m_bezelStyle == RoundedBezelStyle && buttonTheme())
        hint += QSize(15, 12);   // the push bezel sits inset in its frame
    return hint;
}

void KZMavericksButtonCell::paintEvent(QPaintEvent* event)
{
    if (!buttonTheme()) {
        QPushButton::paintEvent(event);
        return;
    }
    QPainter painter(this);
    const QRectF frame(rect());
    drawBezelWithFrame(painter, frame);
    drawTitle(painter, text(), frame);
}
