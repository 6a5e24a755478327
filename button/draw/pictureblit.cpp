#include "pictureblit.h"

#include <QPainter>

#include <cmath>

namespace PictureBlit {

namespace {

// A 32-bit image whose pixels can be read as blue, green, red bytes (alpha, if any, is not looked at).
QImage readable(const QImage &image)
{
    const auto f = image.format();
    if (f == QImage::Format_RGB32 || f == QImage::Format_ARGB32)
        return image;
    return image.convertToFormat(QImage::Format_ARGB32);
}

// A w x h 24-bit copy of the area at (x, y) of `image`; pixels beyond the image are black.
QImage rows24(const QImage &image, int x, int y, int w, int h)
{
    QImage out(w, h, QImage::Format_BGR888);
    out.fill(Qt::black);
    const QRect area = QRect(x, y, w, h).intersected(image.rect());
    if (area.isEmpty())
        return out;
    const QImage in = readable(image);
    for (int row = area.top(); row <= area.bottom(); ++row) {
        const QRgb *s = reinterpret_cast<const QRgb *>(in.constScanLine(row)) + area.left();
        uchar *d = out.scanLine(row - y) + 3 * (area.left() - x);
        for (int col = 0; col < area.width(); ++col, d += 3) {
            d[0] = uchar(qBlue(s[col]));
            d[1] = uchar(qGreen(s[col]));
            d[2] = uchar(qRed(s[col]));
        }
    }
    return out;
}

} // namespace

int greyLevel(int red, int green, int blue)
{
    return TovaColor::roundHalfEven(TovaColor::roundHalfEven(red * 0.3) + green * 0.59 + blue * 0.11);
}

void composeRows(uchar *destination, const uchar *source, int width, int height, qsizetype stride,
                 const Rules &rules)
{
    const uchar tintBlue = uchar(rules.tint >> 16 & 0xFF);
    const uchar tintGreen = uchar(rules.tint >> 8 & 0xFF);
    const uchar tintRed = uchar(rules.tint & 0xFF);
    for (int row = 0; row < height; ++row) {
        const uchar *s = source + row * stride;
        uchar *d = destination + row * stride;
        for (int col = 0; col < width; ++col, s += 3, d += 3) {
            const int b = s[0];
            const int g = s[1];
            const int r = s[2];
            if (b * 65536 + g * 256 + r == rules.transparent)
                continue;
            if (rules.tint >= 0) {
                if (rules.brightOnly && r + g + b > 384)
                    continue;
                d[0] = tintBlue;
                d[1] = tintGreen;
                d[2] = tintRed;
            } else if (rules.grey) {
                const uchar level = uchar(greyLevel(r, g, b));
                d[0] = d[1] = d[2] = level;
            } else if (rules.blend) {
                d[0] = uchar((2 * b + d[0]) / 3);
                d[1] = uchar((2 * g + d[1]) / 3);
                d[2] = uchar((2 * r + d[2]) / 3);
            } else {
                d[0] = uchar(b);
                d[1] = uchar(g);
                d[2] = uchar(r);
            }
        }
    }
}

void blit(QImage &target, int x, int y, int w, int h, const QImage &source, const Rules &rules)
{
    if (w <= 0 || h <= 0)
        return;
    QImage dst = rows24(target, x, y, w, h);
    const QImage src = rows24(source, 0, 0, w, h);
    Q_ASSERT(dst.bytesPerLine() == rowStride(w) && src.bytesPerLine() == rowStride(w));
    composeRows(dst.bits(), src.constBits(), w, h, rowStride(w), rules);

    // The surface is the control's RGB32 back buffer.
    Q_ASSERT(target.format() == QImage::Format_RGB32);
    const QRect area = QRect(x, y, w, h).intersected(target.rect());
    for (int row = area.top(); row <= area.bottom(); ++row) {
        const uchar *s = dst.constScanLine(row - y) + 3 * (area.left() - x);
        QRgb *d = reinterpret_cast<QRgb *>(target.scanLine(row)) + area.left();
        for (int col = 0; col < area.width(); ++col, s += 3)
            d[col] = qRgb(s[2], s[1], s[0]);
    }
}

QImage overSquare(const QImage &picture, int w, int h, TovaColor::ColorRef background)
{
    QImage out(std::max(w, 0), std::max(h, 0), QImage::Format_RGB32);
    out.fill(TovaColor::toQRgb(background));
    QPainter painter(&out);
    painter.drawImage(0, 0, picture);
    return out;
}

} // namespace PictureBlit
