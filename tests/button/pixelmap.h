#pragma once

#include <QHash>
#include <QImage>
#include <QStringList>

inline QRgb grey(int v)
{
    return qRgb(v, v, v);
}

inline int count(const QImage &image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == colour;
    return n;
}

// A w x h picture written as rows of characters separated by spaces, so that tests can state exactly
// which pixels are set.
template <typename CharAt> QString charRows(int w, int h, CharAt charAt)
{
    QStringList out;
    for (int y = 0; y < h; ++y) {
        QString line;
        for (int x = 0; x < w; ++x)
            line += charAt(x, y);
        out << line;
    }
    return out.join(' ');
}

// Each pixel as its character in the legend, '?' for a colour outside it.
inline QString pixelRows(const QImage &image, const QHash<QChar, QRgb> &legend)
{
    return charRows(image.width(), image.height(),
                    [&](int x, int y) { return legend.key(image.pixel(x, y) | 0xFF000000u, '?'); });
}

// The probes "x,y=RRGGBB ..." with the colours the image actually has at those points.
inline QString probed(const QImage &image, const QString &probes)
{
    QStringList actual;
    for (const QString &probe : probes.split(' ')) {
        const QString at = probe.section('=', 0, 0);
        const QRgb c = image.pixel(at.section(',', 0, 0).toInt(), at.section(',', 1, 1).toInt());
        actual << at + QString::asprintf("=%06X", c & 0xFFFFFFu);
    }
    return actual.join(' ');
}
