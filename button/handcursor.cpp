#include "handcursor.h"

#include <iterator>

namespace HandCursor {

namespace {

// '#' outline, '.' fill, ' ' transparent.
constexpr const char *shape[] = {
    "     ##          ", "    #..#         ", "    #..#         ", "    #..#         ",
    "    #..#         ", "    #..###       ", "    #..#..###    ", "    #..#..#..##  ",
    "    #..#..#..#.# ", " ## #..#..#..#..#", "#..##...........#", "#...#...........#",
    " #..............#", "  #.............#", "  #.............#", "   #............#",
    "   #...........# ", "    #..........# ", "    #.........#  ", "     #........#  ",
    "     #........#  ", "     ##########  ",
};

} // namespace

QImage image()
{
    QImage result(32, 32, QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::transparent);
    for (int y = 0; y < int(std::size(shape)); ++y) {
        for (int x = 0; shape[y][x] != '\0'; ++x) {
            if (shape[y][x] == '#')
                result.setPixel(x, y, 0xFF000000u);
            else if (shape[y][x] == '.')
                result.setPixel(x, y, 0xFFFFFFFFu);
        }
    }
    return result;
}

QPoint hotSpot() { return {5, 0}; }

} // namespace HandCursor
