#include "colorarith.h"

#include <algorithm>
#include <cmath>

namespace TovaColor {

namespace {

int clampShifted(int v, int n)
{
    if (n > 0)
        return std::min(v, 255);
    if (n < 0)
        return std::max(v, 0);
    return v;
}

} // namespace

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
