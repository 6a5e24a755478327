#pragma once

#include <QRgb>
#include <QtGlobal>

// Colour arithmetic of the button's drawing code, on RGB values 0x00BBGGRR (red in the low byte), the
// layout of OLE colours and of the 24-bit picture pixels' colour key.
namespace TovaColor {

using ColorRef = quint32;

constexpr ColorRef rgb(int r, int g, int b)
{
    return quint32(r) | quint32(g) << 8 | quint32(b) << 16;
}
constexpr int red(ColorRef c)
{
    return int(c & 0xFF);
}
constexpr int green(ColorRef c)
{
    return int(c >> 8 & 0xFF);
}
constexpr int blue(ColorRef c)
{
    return int(c >> 16 & 0xFF);
}

// Opaque QRgb (0xFFRRGGBB) for a colour value, and back.
constexpr QRgb toQRgb(ColorRef c)
{
    return qRgb(red(c), green(c), blue(c));
}
constexpr ColorRef fromQRgb(QRgb q)
{
    return rgb(qRed(q), qGreen(q), qBlue(q));
}

// Red and green moved by n; blue by n, or by blue * n / 192 when scaleBlue. softBevel halves n first.
// Channels are clamped to 255 when lightening, to 0 when darkening, not at all when n is 0.
ColorRef shiftColor(ColorRef c, int n, bool scaleBlue, bool softBevel);

// Each channel moved toward white: k + channel * (255 - k) / 255.
ColorRef blendToWhite(ColorRef c, int k);

// Nearest integer, halves to even.
int roundHalfEven(double v);

} // namespace TovaColor
