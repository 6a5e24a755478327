#pragma once

#include <QHash>
#include <QImage>
#include <QStringList>

// Pixel pictures written as rows of characters, each character standing for one colour, so that
// tests can state exactly which pixels a drawing produces.
namespace PixelMap {

inline QStringList rows(const QImage &image, const QHash<QRgb, QChar> &legend, QChar other = '?')
{
    QStringList out;
    for (int y = 0; y < image.height(); ++y) {
        QString line;
        for (int x = 0; x < image.width(); ++x)
            line += legend.value(image.pixel(x, y) | 0xFF000000u, other);
        out << line;
    }
    return out;
}

inline QStringList rows(const QImage &image, const QHash<QChar, QRgb> &legend, QChar other = '?')
{
    QHash<QRgb, QChar> inverse;
    for (auto it = legend.cbegin(); it != legend.cend(); ++it)
        inverse.insert(it.value() | 0xFF000000u, it.key());
    return rows(image, inverse, other);
}

} // namespace PixelMap
