#pragma once

#include <QRegion>

// The window shapes of the button styles: the rectangle, with one pixel cut off each corner, or off
// the bottom-left and top-right corners only, or three pixels off each corner; or the inscribed ellipse.
enum class ButtonShape { Rectangle, CornersCut, TwoCornersCut, RoundedCorners, Oval };

// The shape for a control of w x h pixels.
QRegion buttonRegion(ButtonShape shape, int w, int h);
