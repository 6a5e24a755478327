#pragma once

#include <QRgb>
#include <QtGlobal>

class QPalette;

// Colour values as the button's drawing code handles them: 0x00BBGGRR (red in the low byte), the layout
// of OLE colours and of the 24-bit picture pixels' colour key.
namespace TovaColor {

using ColorRef = quint32;

// Top bit of an OLE colour: the low byte names a system colour instead of giving red, green and blue.
inline constexpr quint32 SystemColorFlag = 0x80000000u;

// System colour indices as OLE colours carry them (0x80000000 | index).
enum SystemColor : quint32 {
    ScrollBar = 0, Desktop = 1, ActiveCaption = 2, InactiveCaption = 3, Menu = 4, Window = 5,
    WindowFrame = 6, MenuText = 7, WindowText = 8, CaptionText = 9, ActiveBorder = 10,
    InactiveBorder = 11, AppWorkspace = 12, Highlight = 13, HighlightText = 14, ButtonFace = 15,
    ButtonShadow = 16, GrayText = 17, ButtonText = 18, InactiveCaptionText = 19,
    ButtonHighlight = 20, DarkShadow3D = 21, Light3D = 22, InfoText = 23, InfoBackground = 24,
    HotLight = 26, GradientActiveCaption = 27, GradientInactiveCaption = 28, MenuHighlight = 29,
    MenuBar = 30
};

constexpr ColorRef rgb(int r, int g, int b) { return quint32(r) | quint32(g) << 8 | quint32(b) << 16; }
constexpr int red(ColorRef c) { return int(c & 0xFF); }
constexpr int green(ColorRef c) { return int(c >> 8 & 0xFF); }
constexpr int blue(ColorRef c) { return int(c >> 16 & 0xFF); }

// Opaque QRgb (0xFFRRGGBB) for a colour value, and back.
constexpr QRgb toQRgb(ColorRef c) { return qRgb(red(c), green(c), blue(c)); }
constexpr ColorRef fromQRgb(QRgb q) { return rgb(qRed(q), qGreen(q), qBlue(q)); }

// A system colour, taken from the palette (the application palette stands for the desktop's colours).
ColorRef systemColor(SystemColor index, const QPalette &palette);

// An OLE colour translated to a colour value: RGB values as they are (also the palette-relative form
// 0x02BBGGRR), system-colour references resolved through the palette. Anything else is not a colour
// this control can show and gives black.
ColorRef translateColor(quint32 oleColor, const QPalette &palette);

// Red and green moved by n; blue by n, or by blue * n / 192 when scaleBlue. softBevel halves n first.
// Channels are clamped to 255 when lightening, to 0 when darkening, not at all when n is 0.
ColorRef shiftColor(ColorRef c, int n, bool scaleBlue, bool softBevel);

// Each channel moved toward white: k + channel * (255 - k) / 255.
ColorRef blendToWhite(ColorRef c, int k);

// Nearest integer, halves to even.
int roundHalfEven(double v);

} // namespace TovaColor
