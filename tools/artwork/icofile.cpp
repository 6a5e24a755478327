#include "icofile.h"

#include <QDataStream>
#include <QIODevice>

namespace {

int rowBytes(int width, int bits)
{
    return ((width * bits + 31) / 32) * 4;
}

// Partly transparent edge pixels are blended over a neutral light grey for the formats without
// an alpha channel.
QImage flattened(const QImage &source)
{
    QImage out(source.size(), QImage::Format_RGB32);
    const QImage argb = source.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb p = argb.pixel(x, y);
            const int a = qAlpha(p);
            auto mix = [a](int c) { return (c * a + 0xE8 * (255 - a)) / 255; };
            out.setPixel(x, y, qRgb(mix(qRed(p)), mix(qGreen(p)), mix(qBlue(p))));
        }
    }
    return out;
}

QByteArray bitmap(const IconImage &entry)
{
    const QImage argb = entry.image.convertToFormat(QImage::Format_ARGB32);
    const int w = argb.width();
    const int h = argb.height();
    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s.setByteOrder(QDataStream::LittleEndian);
    // BITMAPINFOHEADER: the height counts the colour rows and the mask rows.
    s << quint32(40) << qint32(w) << qint32(2 * h) << quint16(1) << quint16(entry.bitsPerPixel) << quint32(0)
      << quint32(0) << qint32(0) << qint32(0) << quint32(entry.bitsPerPixel == 8 ? 256 : 0) << quint32(0);

    const int colourRow = rowBytes(w, entry.bitsPerPixel);
    QByteArray colours(colourRow * h, '\0');
    if (entry.bitsPerPixel == 8) {
        const QImage indexed =
            flattened(argb).convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
        QList<QRgb> table = indexed.colorTable();
        table.resize(256, qRgb(0, 0, 0));
        for (const QRgb c : table)
            s << quint8(qBlue(c)) << quint8(qGreen(c)) << quint8(qRed(c)) << quint8(0);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                colours[(h - 1 - y) * colourRow + x] = char(indexed.pixelIndex(x, y));
    } else {
        const QImage rgb = entry.bitsPerPixel == 24 ? flattened(argb) : argb;
        const int step = entry.bitsPerPixel / 8;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const QRgb p = rgb.pixel(x, y);
                char *d = colours.data() + (h - 1 - y) * colourRow + x * step;
                d[0] = char(qBlue(p));
                d[1] = char(qGreen(p));
                d[2] = char(qRed(p));
                if (step == 4)
                    d[3] = char(qAlpha(p));
            }
        }
    }
    out += colours;

    // The AND mask: a set bit is a transparent pixel.
    const int maskRow = rowBytes(w, 1);
    QByteArray mask(maskRow * h, '\0');
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (qAlpha(argb.pixel(x, y)) < 128)
                mask[(h - 1 - y) * maskRow + x / 8] =
                    char(mask[(h - 1 - y) * maskRow + x / 8] | (0x80 >> (x % 8)));
    out += mask;
    return out;
}

} // namespace

QByteArray iconFile(const QList<IconImage> &images)
{
    QList<QByteArray> bitmaps;
    for (const IconImage &entry : images)
        bitmaps << bitmap(entry);

    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s.setByteOrder(QDataStream::LittleEndian);
    s << quint16(0) << quint16(1) << quint16(images.size());
    quint32 offset = 6 + 16 * images.size();
    for (qsizetype i = 0; i < images.size(); ++i) {
        const QImage &img = images[i].image;
        s << quint8(img.width() >= 256 ? 0 : img.width()) << quint8(img.height() >= 256 ? 0 : img.height())
          << quint8(0) << quint8(0) << quint16(1) << quint16(images[i].bitsPerPixel)
          << quint32(bitmaps[i].size()) << quint32(offset);
        offset += bitmaps[i].size();
    }
    for (const QByteArray &b : bitmaps)
        out += b;
    return out;
}
