#include "toolkit/StringSize.h"

#include <QGuiApplication>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>
#include <cmath>

namespace {

// Text layout works in fixed point; widths beyond this are as good as unlimited.
constexpr qreal kLargestLayoutWidth = 1.0e6;

// The used rectangle of `text` wrapped at `width`: the widest line and the total height.
QSizeF usedSize(const QString& text, qreal width, const QFont& font)
{
    const qreal boxWidth = std::clamp(width, qreal(0), kLargestLayoutWidth);
    qreal usedWidth = 0;
    qreal usedHeight = 0;
    const QStringList paragraphs = text.split(QLatin1Char('\n'));
    for (const QString& paragraph : paragraphs) {
        QTextLayout layout(paragraph, font);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        while (true) {
            QTextLine line = layout.createLine();
            if (!line.isValid())
                break;
            line.setLineWidth(boxWidth);
            line.setPosition(QPointF(0, usedHeight));
            usedWidth = std::max(usedWidth, line.naturalTextWidth());
            usedHeight += line.height();
        }
        layout.endLayout();
    }
    return {usedWidth, usedHeight};
}

} // namespace

QSizeF kz_sizeWithWidth(const QString& text, qreal width, const QFont& font, qreal padding)
{
    const QSizeF used = usedSize(text, width, font);
    return {std::round(used.width() + padding), std::round(used.height() + padding)};
}

QSizeF kzn_sizeWithWidth(const QString& text, float width, const std::optional<QFont>& font, qreal padding)
{
    const QSizeF used = usedSize(text, width, font ? *font : QGuiApplication::font());
    return {qreal(width), used.height() + padding};
}
