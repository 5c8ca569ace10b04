#include "toolkit/KZShadow.h"

#include <QPainter>

#include <algorithm>
#include <vector>

namespace {

// One box-blur pass over a premultiplied ARGB image, along rows (horizontal) or columns.
void boxBlurPass(QImage& image, int radius, bool horizontal)
{
    const int width = image.width();
    const int height = image.height();
    const int lines = horizontal ? height : width;
    const int length = horizontal ? width : height;
    std::vector<QRgb> line(length);
    for (int l = 0; l < lines; ++l) {
        for (int i = 0; i < length; ++i)
            line[i] = horizontal ? image.pixel(i, l) : image.pixel(l, i);
        for (int i = 0; i < length; ++i) {
            int a = 0, r = 0, g = 0, b = 0, count = 0;
            for (int k = std::max(0, i - radius); k <= std::min(length - 1, i + radius); ++k) {
                a += qAlpha(line[k]);
                r += qRed(line[k]);
                g += qGreen(line[k]);
                b += qBlue(line[k]);
                ++count;
            }
            const QRgb value = qRgba(r / count, g / count, b / count, a / count);
            if (horizontal)
                image.setPixel(i, l, value);
            else
                image.setPixel(l, i, value);
        }
    }
}

} // namespace

QImage KZShadow::shadowImageForLayer(const QImage& layer) const
{
    QImage shadow = layer.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    {
        QPainter painter(&shadow);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(shadow.rect(), color);
    }
    const int radius = qRound(blurRadius * layer.devicePixelRatio() / 2);
    if (radius > 0) {
        // Three box passes come close to a Gaussian blur.
        for (int pass = 0; pass < 3; ++pass) {
            boxBlurPass(shadow, radius, true);
            boxBlurPass(shadow, radius, false);
        }
    }
    return shadow;
}
