#include "buttonregion.h"

#include "gdicanvas.h"

#include <initializer_list>
#include <utility>

namespace {

QRegion withoutCells(int w, int h, std::initializer_list<std::pair<int, int>> cells)
{
    QRegion region(0, 0, w, h);
    for (const auto &[x, y] : cells)
        region -= QRegion(x, y, 1, 1);
    return region;
}

QRegion ellipse(int w, int h)
{
    // Built run by run; rows with the same columns are joined into one rectangle.
    QRegion region;
    const auto rows = ellipseRows(w, h);
    int start = 0;
    for (int y = 1; y <= h; ++y) {
        if (y < h && rows[y] == rows[start])
            continue;
        const auto [first, end] = rows[start];
        if (end > first)
            region += QRegion(first, start, end - first, y - start);
        start = y;
    }
    return region;
}

} // namespace

QRegion buttonRegion(ButtonShape shape, int w, int h)
{
    if (w <= 0 || h <= 0)
        return QRegion();
    switch (shape) {
    case ButtonShape::CornersCut:
        return withoutCells(w, h, {{0, h - 1}, {w - 1, 0}, {0, 0}, {w - 1, h - 1}});
    case ButtonShape::TwoCornersCut:
        return withoutCells(w, h, {{0, h - 1}, {w - 1, 0}});
    case ButtonShape::RoundedCorners:
        return withoutCells(w, h,
                            {{0, 0},
                             {1, 0},
                             {0, 1},
                             {0, h - 1},
                             {1, h - 1},
                             {0, h - 2},
                             {w - 1, 0},
                             {w - 2, 0},
                             {w - 1, 1},
                             {w - 1, h - 1},
                             {w - 2, h - 1},
                             {w - 1, h - 2}});
    case ButtonShape::Oval:
        return ellipse(w, h);
    case ButtonShape::Rectangle:
        break;
    }
    return QRegion(0, 0, w, h);
}
