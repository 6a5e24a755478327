#pragma once

#include "colorarith.h"

#include <QImage>

// Per-pixel composition of a picture onto a surface, over 24-bit rows (blue, green, red bytes per
// pixel, each row padded to a multiple of four bytes).
namespace PictureBlit {

struct Rules {
    int transparent = -1;    // colour key of source pixels that are not drawn; -1: every pixel is drawn
    int tint = -1;           // >= 0: every drawn pixel takes this colour (a silhouette); -1: none
    bool brightOnly = false; // with a tint: source pixels whose channel sum is over 384 are not drawn
    bool grey = false;       // without a tint: drawn in grey
    bool blend = false;      // without a tint or grey: two thirds source, one third destination
};

// Bytes per 24-bit row of `width` pixels.
constexpr qsizetype rowStride(int width)
{
    return (qsizetype(width) * 3 + 3) & ~qsizetype(3);
}

// Applies the rules to `height` rows of `width` pixels; `destination` is updated in place.
void composeRows(uchar *destination, const uchar *source, int width, int height, qsizetype stride,
                 const Rules &rules);

// The grey level of a pixel: round(round(red * 0.3) + green * 0.59 + blue * 0.11), halves to even.
int greyLevel(int red, int green, int blue);

// Composes the area (0, 0, w, h) of `source` onto `target` at (x, y). Source pixels beyond the source
// image are black; what falls outside the target is dropped. Nothing happens when w or h is 0.
void blit(QImage &target, int x, int y, int w, int h, const QImage &source, const Rules &rules);

// A picture that is not a plain bitmap (one with its own transparency, such as an icon) drawn at its
// own size over a w x h square of `background`, which gives the bitmap that `blit` composes.
QImage overSquare(const QImage &picture, int w, int h, TovaColor::ColorRef background);

} // namespace PictureBlit
