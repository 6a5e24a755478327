#include "gdicanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

using TovaColor::ColorRef;
using TovaColor::toQRgb;

namespace {

// Integer division rounding toward minus infinity.
int floorDiv(int a, int b)
{
    const int q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// Rows of the ellipse with centre (cx, cy) and semi-axes (a, b), all in pixel-edge coordinates, for
// the pixel rows 0..rows-1: the columns whose centres lie inside.
QVector<QPair<int, int>> ellipseSpans(double cx, double cy, double a, double b, int rows)
{
    QVector<QPair<int, int>> spans(rows, {0, 0});
    if (a <= 0 || b <= 0)
        return spans;
    for (int y = 0; y < rows; ++y) {
        const double t = (y + 0.5 - cy) / b;
        const double q = 1.0 - t * t;
        if (q <= 0)
            continue;
        const double half = a * std::sqrt(q);
        // Pixel x is inside when its centre x + 0.5 lies in (cx - half, cx + half).
        const int first = int(std::floor(cx - half - 0.5)) + 1;
        const int last = int(std::ceil(cx + half - 0.5)) - 1;
        if (last >= first)
            spans[y] = {first, last + 1};
    }
    return spans;
}

} // namespace

QVector<QPair<int, int>> ellipseRows(int width, int height)
{
    return ellipseSpans(width / 2.0, height / 2.0, width / 2.0, height / 2.0, std::max(height, 0));
}

GdiCanvas::GdiCanvas(QImage &image)
    : m_image(image), m_ratio(image.devicePixelRatio()), m_width(int(std::lround(image.width() / m_ratio))),
      m_height(int(std::lround(image.height() / m_ratio)))
{}

int GdiCanvas::device(int logical, qreal ratio)
{
    return int(std::floor(logical * ratio + 0.5));
}

QImage GdiCanvas::surface(int w, int h, qreal ratio)
{
    QImage image(device(w, ratio), device(h, ratio), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    return image;
}

QRect GdiCanvas::deviceRect(const QRect &logical) const
{
    const int left = device(logical.x(), m_ratio);
    const int top = device(logical.y(), m_ratio);
    return QRect(left, top, device(logical.x() + logical.width(), m_ratio) - left,
                 device(logical.y() + logical.height(), m_ratio) - top);
}

void GdiCanvas::put(int x, int y, QRgb c)
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return;
    const QRect block = deviceRect(QRect(x, y, 1, 1)).intersected(m_image.rect());
    for (int row = block.top(); row <= block.bottom(); ++row) {
        QRgb *line = reinterpret_cast<QRgb *>(m_image.scanLine(row));
        std::fill(line + block.left(), line + block.right() + 1, c);
    }
}

void GdiCanvas::xorPixel(int x, int y, QRgb mask)
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return;
    const QRect block = deviceRect(QRect(x, y, 1, 1)).intersected(m_image.rect());
    for (int row = block.top(); row <= block.bottom(); ++row) {
        QRgb *line = reinterpret_cast<QRgb *>(m_image.scanLine(row));
        for (int col = block.left(); col <= block.right(); ++col)
            line[col] = (line[col] ^ mask) | 0xFF000000u;
    }
}

ColorRef GdiCanvas::pixel(int x, int y) const
{
    return TovaColor::fromQRgb(m_image.pixel(device(x, m_ratio), device(y, m_ratio)));
}

void GdiCanvas::fill(int x, int y, int w, int h, ColorRef c)
{
    if (w <= 0 || h <= 0)
        return;
    const QRect r = deviceRect(QRect(x, y, w, h)).intersected(m_image.rect());
    if (r.isEmpty())
        return;
    const QRgb q = toQRgb(c);
    for (int row = r.top(); row <= r.bottom(); ++row) {
        QRgb *line = reinterpret_cast<QRgb *>(m_image.scanLine(row));
        std::fill(line + r.left(), line + r.right() + 1, q);
    }
}

void GdiCanvas::frame(int x, int y, int w, int h, ColorRef c)
{
    if (w <= 0 || h <= 0)
        return;
    fill(x, y, w, 1, c);
    fill(x, y + h - 1, w, 1, c);
    fill(x, y + 1, 1, h - 2, c);
    fill(x + w - 1, y + 1, 1, h - 2, c);
}

void GdiCanvas::dot(int x, int y, ColorRef c)
{
    put(x, y, toQRgb(c));
}

void GdiCanvas::line(int x1, int y1, int x2, int y2, ColorRef c)
{
    const QRgb q = toQRgb(c);
    const int dx = x2 - x1;
    const int dy = y2 - y1;
    const int adx = std::abs(dx);
    const int ady = std::abs(dy);
    if (adx >= ady) {
        // Along x; where the line passes exactly between two rows the upper pixel is lit.
        for (int k = 0; k < adx; ++k) {
            const int x = x1 + (dx > 0 ? k : -k);
            const int y = y1 - floorDiv(adx - 2 * k * dy, 2 * adx);
            put(x, y, q);
        }
    } else {
        // Along y; where the line passes exactly between two columns the right-hand pixel is lit.
        for (int k = 0; k < ady; ++k) {
            const int y = y1 + (dy > 0 ? k : -k);
            const int x = x1 + floorDiv(2 * k * dx + ady, 2 * ady);
            put(x, y, q);
        }
    }
}

void GdiCanvas::oval(ColorRef pen, ColorRef brush)
{
    const int w = m_width;
    const int h = m_height;
    // The pen follows the ellipse through the centres of the outermost pixels and is two pixels wide,
    // one on each side of that path; inside the pen's inner edge lies the brush.
    const double cx = w / 2.0;
    const double cy = h / 2.0;
    const double a = (w - 1) / 2.0;
    const double b = (h - 1) / 2.0;
    const auto outer = ellipseSpans(cx, cy, a + 1, b + 1, h);
    const auto inner = ellipseSpans(cx, cy, a - 1, b - 1, h);
    const QRgb p = toQRgb(pen);
    const QRgb f = toQRgb(brush);
    for (int y = 0; y < h; ++y) {
        for (int x = outer[y].first; x < outer[y].second; ++x)
            put(x, y, p);
        for (int x = inner[y].first; x < inner[y].second; ++x)
            put(x, y, f);
    }
}

void GdiCanvas::focusRect(const QRect &r, ColorRef textColor)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    const QRgb text = toQRgb(textColor) & 0xFFFFFF;
    auto mark = [&](int x, int y) { xorPixel(x, y, ((x + y) & 1) == 0 ? 0xFFFFFFu : text); };
    const int left = r.left();
    const int top = r.top();
    const int right = r.left() + r.width() - 1;
    const int bottom = r.top() + r.height() - 1;
    for (int x = left; x <= right; ++x) {
        mark(x, top);
        if (bottom != top)
            mark(x, bottom);
    }
    for (int y = top + 1; y < bottom; ++y) {
        mark(left, y);
        if (right != left)
            mark(right, y);
    }
}
