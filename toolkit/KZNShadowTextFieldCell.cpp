#include "toolkit/KZNShadowTextFieldCell.h"

#include <QPainter>
#include <QStyle>

KZNShadowTextFieldCell::KZNShadowTextFieldCell(QWidget* parent)
    : QLabel(parent)
{
}

KZNShadowTextFieldCell::KZNShadowTextFieldCell(const QString& text, QWidget* parent)
    : QLabel(text, parent)
{
}

const KZShadow& KZNShadowTextFieldCell::sharedShadow()
{
    static const KZShadow shadow {Qt::white, QPointF(0, 1), 0};
    return shadow;
}

void KZNShadowTextFieldCell::paintEvent(QPaintEvent* event)
{
    if (!text().isEmpty() && textFormat() != Qt::RichText) {
        QPainter painter(this);
        const QRect box = contentsRect().adjusted(margin(), margin(), -margin(), -margin())
                              .translated(sharedShadow().offset.toPoint());
        int flags = int(alignment());
        if (wordWrap())
            flags |= Qt::TextWordWrap;
        painter.setPen(sharedShadow().color);
        painter.setFont(font());
        painter.drawText(box, flags, text());
    }
    QLabel::paintEvent(event);
}
