#include "toolkit/ImageTintColor.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

std::optional<QImage> kz_imageNamed(const QString& name)
{
    if (name.isEmpty())
        return std::nullopt;
    const QString svgPath = QStringLiteral(":/icons/%1.svg").arg(name);
    if (QFile::exists(svgPath)) {
        QSvgRenderer renderer(svgPath);
        if (!renderer.isValid())
            return std::nullopt;
        QSize size = renderer.defaultSize();
        if (size.isEmpty())
            size = QSize(16, 16);
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        return image;
    }
    const QString pngPath = QStringLiteral(":/icons/%1.png").arg(name);
    QImage image(pngPath);
    if (image.isNull())
        return std::nullopt;
    return image;
}

std::optional<QImage> kz_imageWithName(const QString& name, const QColor& withTintColor)
{
    const std::optional<QImage> image = kz_imageNamed(name);
    if (!image)
        return std::nullopt;
    return kz_imageWithTintColor(*image, withTintColor);
}

QImage kz_imageWithTintColor(const QImage& image, const QColor& tintColor)
{
    QImage tinted(image.size(), QImage::Format_ARGB32_Premultiplied);
    tinted.setDevicePixelRatio(image.devicePixelRatio());
    tinted.fill(Qt::transparent);
    QPainter painter(&tinted);
    const QRectF rect(QPointF(0, 0), image.deviceIndependentSize());
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(rect, image);
    painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    painter.fillRect(rect, tintColor);
    painter.end();
    return tinted;
}
