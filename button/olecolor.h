#pragma once

#include "tovabutton_global.h"

#include <QColor>
#include <QtGlobal>

// Colours of the button are OLE colours: an RGB value 0x00BBGGRR, or a reference to a system colour
// (top bit set, the system colour's index in the low byte).
namespace OleColor {

// Indices of the system colours the button uses.
enum SystemIndex : quint32 {
    Window = 5,
    WindowText = 8,
    Highlight = 13,
    ButtonFace = 15,
    ButtonShadow = 16,
    ButtonText = 18,
    ButtonHighlight = 20,
    DarkShadow3D = 21,
    Light3D = 22,
};

constexpr quint32 SystemFlag = 0x80000000u;

constexpr quint32 systemReference(SystemIndex index) { return SystemFlag | index; }
constexpr bool isSystemReference(quint32 colour) { return (colour & SystemFlag) != 0; }

// The RGB value of a system colour, taken from the application's palette; an unknown index is black.
TOVA_BUTTON_EXPORT quint32 systemColor(quint32 index);

// An OLE colour made an RGB value: system references resolved, any other high byte dropped.
TOVA_BUTTON_EXPORT quint32 translate(quint32 colour);

TOVA_BUTTON_EXPORT quint32 fromQColor(const QColor &colour);
TOVA_BUTTON_EXPORT QColor toQColor(quint32 rgb);

} // namespace OleColor
