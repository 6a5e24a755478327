#pragma once

#include <QImage>
#include <QRegion>

// The window's shape, cut out of its skin picture.
namespace modSkin {

// The union of one-pixel-high rectangles, one per horizontal run of pixels that differ from the
// key colour (the colour of pixel (0, 0)), in the picture's pixel coordinates. Empty when every
// pixel has the key colour: the window then keeps its rectangle.
QRegion RegionDepuisImage(const QImage &picture);

} // namespace modSkin
