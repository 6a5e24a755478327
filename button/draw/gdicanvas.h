#pragma once

#include "colorarith.h"

#include <QImage>
#include <QRect>
#include <QVector>

// Drawing primitives over an RGB32 image that put exactly the pixels that the classic Windows drawing
// calls put: solid fills with the right and bottom edges excluded, one-pixel pens whose lines leave out
// their end point, single dots, the ellipse with a two-pixel pen and the dotted focus rectangle.
// Everything outside the image is clipped. Coordinates are logical pixels: on an image whose device
// pixel ratio is above 1 each one covers a block of device pixels, so that the drawing is the same
// drawing scaled, with hard edges.
class GdiCanvas {
public:
    explicit GdiCanvas(QImage &image);

    QImage &image() { return m_image; }

    // The device pixel where the logical coordinate `logical` begins at that ratio.
    static int device(int logical, qreal ratio);
    // An RGB32 image of w x h logical pixels at that ratio.
    static QImage surface(int w, int h, qreal ratio);
    // The device pixels of a logical rectangle of this image.
    QRect deviceRect(const QRect &logical) const;

    // The rectangle (x, y) to (x + w, y + h), right and bottom excluded; nothing when empty.
    void fill(int x, int y, int w, int h, TovaColor::ColorRef c);
    // The one-pixel border of that rectangle.
    void frame(int x, int y, int w, int h, TovaColor::ColorRef c);
    // One-pixel line from (x1, y1) toward (x2, y2); the end point is not drawn.
    void line(int x1, int y1, int x2, int y2, TovaColor::ColorRef c);
    void dot(int x, int y, TovaColor::ColorRef c);
    // Ellipse over (0, 0, width, height) of the image: a two-pixel outline in `pen`, the inside in `brush`.
    void oval(TovaColor::ColorRef pen, TovaColor::ColorRef brush);
    // The dotted focus rectangle: every other pixel of the border, in a checkerboard fixed to the
    // surface, is inverted; the pixels in between are combined (exclusive or) with `textColor`.
    void focusRect(const QRect &r, TovaColor::ColorRef textColor);

    TovaColor::ColorRef pixel(int x, int y) const;

private:
    void put(int x, int y, QRgb c);
    void xorPixel(int x, int y, QRgb mask);

    QImage &m_image;
    qreal m_ratio;
    int m_width; // in logical pixels
    int m_height;
};

// The rows of an ellipse: for each row y of 0..height-1 the half-open column range [first, second)
// whose pixel centres lie inside the ellipse inscribed in the rectangle (0, 0, width, height).
QVector<QPair<int, int>> ellipseRows(int width, int height);
