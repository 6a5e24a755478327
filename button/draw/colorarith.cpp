#include "colorarith.h"

#include <QPalette>

#include <algorithm>
#include <cmath>

namespace TovaColor {

namespace {

QColor paletteColor(SystemColor index, const QPalette &p)
{
    switch (index) {
    case ButtonFace:
    case ActiveBorder:
    case InactiveBorder:
    case MenuBar:
        return p.color(QPalette::Active, QPalette::Button);
    case ButtonShadow:
        return p.color(QPalette::Active, QPalette::Dark);
    case ButtonHighlight:
        return p.color(QPalette::Active, QPalette::Light);
    case Light3D:
        return p.color(QPalette::Active, QPalette::Midlight);
    case DarkShadow3D:
    case WindowFrame:
        return p.color(QPalette::Active, QPalette::Shadow);
    case ButtonText:
        return p.color(QPalette::Active, QPalette::ButtonText);
    case GrayText:
        return p.color(QPalette::Disabled, QPalette::Text);
    case Window:
        return p.color(QPalette::Active, QPalette::Base);
    case WindowText:
    case MenuText:
        return p.color(QPalette::Active, QPalette::WindowText);
    case Menu:
    case Desktop:
    case ScrollBar:
        return p.color(QPalette::Active, QPalette::Window);
    case AppWorkspace:
        return p.color(QPalette::Active, QPalette::Mid);
    case Highlight:
    case ActiveCaption:
    case GradientActiveCaption:
    case MenuHighlight:
        return p.color(QPalette::Active, QPalette::Highlight);
    case HighlightText:
    case CaptionText:
        return p.color(QPalette::Active, QPalette::HighlightedText);
    case InactiveCaption:
    case GradientInactiveCaption:
        return p.color(QPalette::Inactive, QPalette::Highlight);
    case InactiveCaptionText:
        return p.color(QPalette::Inactive, QPalette::HighlightedText);
    case InfoText:
        return p.color(QPalette::Active, QPalette::ToolTipText);
    case InfoBackground:
        return p.color(QPalette::Active, QPalette::ToolTipBase);
    case HotLight:
        return p.color(QPalette::Active, QPalette::Link);
    }
    return Qt::black;
}

int clampShifted(int v, int n)
{
    if (n > 0)
        return std::min(v, 255);
    if (n < 0)
        return std::max(v, 0);
    return v;
}

} // namespace

ColorRef systemColor(SystemColor index, const QPalette &palette)
{
    return fromQRgb(paletteColor(index, palette).rgb());
}

ColorRef translateColor(quint32 oleColor, const QPalette &palette)
{
    switch (oleColor >> 24) {
    case 0x00:
    case 0x02:
        return oleColor & 0xFFFFFF;
    case 0x80: {
        const quint32 index = oleColor & 0xFFFFFF;
        if (index <= MenuBar && index != 25)
            return systemColor(SystemColor(index), palette);
        return 0;
    }
    default:
        return 0;
    }
}

ColorRef shiftColor(ColorRef c, int n, bool scaleBlue, bool softBevel)
{
    if (softBevel)
        n /= 2;
    const int r = clampShifted(red(c) + n, n);
    const int g = clampShifted(green(c) + n, n);
    const int b = clampShifted(blue(c) + (scaleBlue ? blue(c) * n / 192 : n), n);
    // Without clamping (n = 0) nothing moves, so every channel is already within a byte.
    return quint32(r) + quint32(g) * 256u + quint32(b) * 65536u;
}

ColorRef blendToWhite(ColorRef c, int k)
{
    auto channel = [k](int v) { return std::min(k + v * (255 - k) / 255, 255); };
    return rgb(channel(red(c)), channel(green(c)), channel(blue(c)));
}

int roundHalfEven(double v)
{
    // The default floating-point rounding mode is to nearest, ties to even.
    return int(std::nearbyint(v));
}

} // namespace TovaColor
