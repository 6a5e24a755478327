#include "modskin.h"

namespace modSkin {

QRegion RegionDepuisImage(const QImage &picture)
{
    if (picture.isNull())
        return {};
    // Scan lines of one known 32-bit format; the alpha byte is forced opaque so that only the three
    // colour channels take part in the comparison.
    const QImage pixels = picture.convertToFormat(QImage::Format_RGB32);
    const int width = pixels.width();
    const int height = pixels.height();
    const QRgb key = pixels.pixel(0, 0);

    QRegion result;
    for (int y = 0; y < height; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(pixels.constScanLine(y));
        bool open = false;
        int start = 0;
        for (int x = 0; x < width; ++x) {
            const bool opaque = line[x] != key;
            if (opaque && !open) {
                open = true;
                start = x;
            } else if (!opaque && open) {
                open = false;
                result += QRect(start, y, x - start, 1);
            }
        }
        if (open)
            result += QRect(start, y, width - start, 1);
    }
    return result;
}

} // namespace modSkin
