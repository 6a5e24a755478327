#pragma once

#include <QRegion>

// The window shape of each button style for a control of w x h pixels: the rectangle with some corner
// pixels cut off, or the inscribed ellipse for the oval style.
QRegion buttonRegion(int buttonType, int w, int h);
