#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

// Windows icon files (.ico) with several images, each stored as a device-independent bitmap with
// its transparency mask.
struct IconImage {
    QImage image;     // any format; alpha below 128 becomes transparent in 8 and 24 bits per pixel
    int bitsPerPixel; // 8, 24 or 32
};

QByteArray iconFile(const QList<IconImage> &images);
