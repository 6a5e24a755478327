// Paints Solvarin's artwork: solvarin-artwork OUTPUT-DIRECTORY (run with QT_QPA_PLATFORM=offscreen).
// Every picture is drawn from code so that the set can be regenerated and restyled in one place.
#include "icofile.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <functional>

namespace {

const QColor tealDark(0x0E, 0x5B, 0x55);
const QColor teal(0x16, 0x80, 0x71);
const QColor accent(0x2F, 0xB6, 0x7C);
const QColor mint(0xD4, 0xF2, 0xE8);
const QColor body(0xF1, 0xF4, 0xF5);
const QColor panel(0xFB, 0xFC, 0xFC);
const QColor panelBorder(0xD0, 0xD9, 0xDC);
const QColor face(224, 224, 224); // the picture boxes' and the buttons' grey
const QColor nearWhite(0xFE, 0xFE, 0xFE);

constexpr int skinWidth = 666;
constexpr int skinHeight = 363;
constexpr int cardWidth = 624; // the controls end at x = 613; the rest of the skin is cut away
constexpr int headerHeight = 96;

QFont font(int pixels, bool bold)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

QPainterPath plus(QPointF centre, qreal arm, qreal thickness)
{
    QPainterPath p;
    p.setFillRule(Qt::WindingFill);
    p.addRoundedRect(QRectF(centre.x() - thickness / 2, centre.y() - arm, thickness, 2 * arm), thickness / 4,
                     thickness / 4);
    p.addRoundedRect(QRectF(centre.x() - arm, centre.y() - thickness / 2, 2 * arm, thickness), thickness / 4,
                     thickness / 4);
    return p.simplified();
}

// The window's skin: a white key colour around one rounded card; every row holds one run of card
// pixels and the card holds no pixel of the key colour.
QImage skin()
{
    QImage img(skinWidth, skinHeight, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);

    // The outline is drawn without smoothing: the window's shape is cut pixel by pixel.
    QPainterPath card;
    card.addRoundedRect(QRectF(0, 0, cardWidth, skinHeight), 14, 14);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x9F, 0xAD, 0xB2));
    p.drawPath(card);
    QPainterPath inner;
    inner.addRoundedRect(QRectF(1, 1, cardWidth - 2, skinHeight - 2), 13, 13);
    p.setBrush(body);
    p.drawPath(inner);

    p.save();
    p.setClipPath(inner);
    QLinearGradient header(0, 0, cardWidth, headerHeight);
    header.setColorAt(0, tealDark);
    header.setColorAt(1, teal);
    p.fillRect(QRect(0, 0, cardWidth, headerHeight), header);
    p.fillRect(QRect(0, headerHeight, cardWidth, 3), accent);
    p.restore();

    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    // Emblem: the pharmacy cross in a soft disc at the right of the header.
    p.setBrush(QColor(0xFF, 0xFF, 0xFF, 34));
    p.drawEllipse(QPointF(574, 48), 34, 34);
    p.setBrush(mint);
    p.drawPath(plus(QPointF(574, 48), 21, 14));
    p.setBrush(accent);
    p.drawPath(plus(QPointF(574, 48), 17, 8));

    p.setPen(nearWhite);
    p.setFont(font(30, true));
    p.drawText(QPoint(24, 50), QStringLiteral("Solvarin"));
    p.setPen(mint);
    p.setFont(font(13, false));
    p.drawText(QPoint(26, 76), QStringLiteral("Disponibilité et prix chez vos répartiteurs"));

    // The seat of the help and close pictures.
    p.setPen(Qt::NoPen);
    p.setBrush(face);
    p.drawRoundedRect(QRectF(452, 43.5, 59, 32), 10, 10);

    // The lower area's panel, under the web, settings and result panes.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(panelBorder);
    p.setBrush(panel);
    p.drawRoundedRect(QRect(9, 192, 605, 133), 5, 5);
    p.end();

    // White inside the card would punch holes into the window: nudge it off the key colour.
    for (int y = 0; y < img.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        int first = 0;
        while (first < img.width() && line[first] == qRgb(255, 255, 255))
            ++first;
        int last = img.width() - 1;
        while (last > first && line[last] == qRgb(255, 255, 255))
            --last;
        for (int x = first; x <= last; ++x)
            if (line[x] == qRgb(255, 255, 255))
                line[x] = nearWhite.rgb();
    }
    return img.convertToFormat(QImage::Format_RGB888);
}

bool oneRunPerRow(const QImage &img)
{
    const QRgb key = img.pixel(0, 0);
    for (int y = 0; y < img.height(); ++y) {
        int runs = 0;
        bool open = false;
        for (int x = 0; x < img.width(); ++x) {
            const bool opaque = img.pixel(x, y) != key;
            if (opaque && !open)
                ++runs;
            open = opaque;
        }
        if (runs != 1)
            return false;
    }
    return true;
}

// 19 x 19 pictures on the grey of their picture boxes.
QImage roundPicture(const QColor &disc, const std::function<void(QPainter &)> &glyph)
{
    QImage img(19, 19, QImage::Format_RGB32);
    img.fill(face);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(disc);
    p.drawEllipse(QRectF(0.5, 0.5, 18, 18));
    glyph(p);
    return img.convertToFormat(QImage::Format_RGB888);
}

QImage closePicture()
{
    return roundPicture(QColor(0xD2, 0x4B, 0x45), [](QPainter &p) {
        p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(6.2, 6.2), QPointF(12.8, 12.8));
        p.drawLine(QPointF(12.8, 6.2), QPointF(6.2, 12.8));
    });
}

QImage helpPicture()
{
    return roundPicture(teal, [](QPainter &p) {
        p.setPen(Qt::white);
        p.setFont(font(14, true));
        p.drawText(QRectF(0, 0, 19, 19), Qt::AlignCenter, QStringLiteral("?"));
    });
}

// 16 x 16 badges of the two availability buttons, opaque on the buttons' grey.
QImage badge(const QColor &colour, const QString &digit)
{
    QImage img(16, 16, QImage::Format_ARGB32);
    img.fill(face);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    p.setPen(nearWhite);
    p.setFont(font(11, true));
    p.drawText(QRectF(0, 0, 16, 16.5), Qt::AlignCenter, digit);
    return img;
}

QImage programIcon(int size)
{
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    QLinearGradient g(0, 0, s, s);
    g.setColorAt(0, teal);
    g.setColorAt(1, tealDark);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0, 0, s, s), s * 0.22, s * 0.22);
    p.setBrush(mint);
    p.drawPath(plus(QPointF(s / 2, s / 2), s * 0.34, s * 0.26));
    if (size >= 32) {
        p.setBrush(accent);
        p.drawPath(plus(QPointF(s / 2, s / 2), s * 0.27, s * 0.13));
    }
    return img;
}

// The link's pointer: a pointing hand, its finger tip at (11, 1).
QImage handPointer()
{
    QImage img(32, 32, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath hand;
    hand.setFillRule(Qt::WindingFill);
    hand.addRoundedRect(QRectF(8.5, 0.5, 5, 18), 2.5, 2.5);   // index finger
    hand.addRoundedRect(QRectF(13.5, 8.5, 4.5, 9), 2.2, 2.2); // middle finger
    hand.addRoundedRect(QRectF(18, 9.5, 4.5, 9), 2.2, 2.2);   // ring finger
    hand.addRoundedRect(QRectF(22.5, 11, 4, 8.5), 2, 2);      // little finger
    hand.addRoundedRect(QRectF(2.5, 14, 9, 4.5), 2.2, 2.2);   // thumb
    hand.addRoundedRect(QRectF(6.5, 13, 20, 16.5), 5, 5);     // palm
    p.setPen(QPen(Qt::black, 1.2));
    p.setBrush(Qt::white);
    p.drawPath(hand.simplified());
    return img;
}

bool write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

// The menu entry's icon in the sizes a desktop's icon theme (hicolor) asks for.
bool menuIcons(const QDir &out)
{
    if (!out.mkpath(QStringLiteral("icons")))
        return false;
    for (const int size : {16, 32, 48, 64, 128, 256})
        if (!programIcon(size).save(out.filePath(QStringLiteral("icons/solvarin-%1.png").arg(size))))
            return false;
    return true;
}

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: solvarin-artwork OUTPUT-DIRECTORY\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));

    const QImage skinImage = skin();
    if (!oneRunPerRow(skinImage)) {
        std::fprintf(stderr, "the skin must hold one run of non-key pixels per row\n");
        return 1;
    }
    const bool ok = skinImage.save(out.filePath(QStringLiteral("skin.png"))) &&
                    closePicture().save(out.filePath(QStringLiteral("close.png"))) &&
                    helpPicture().save(out.filePath(QStringLiteral("aide.png"))) &&
                    write(out.filePath(QStringLiteral("dispo1.ico")),
                          iconFile({{badge(teal, QStringLiteral("1")), 24}})) &&
                    write(out.filePath(QStringLiteral("dispo2.ico")),
                          iconFile({{badge(QColor(0x3F, 0x5B, 0xA9), QStringLiteral("2")), 24}})) &&
                    write(out.filePath(QStringLiteral("solvarin.ico")), iconFile({{programIcon(16), 8},
                                                                                  {programIcon(32), 8},
                                                                                  {programIcon(48), 32},
                                                                                  {programIcon(128), 32}})) &&
                    write(out.filePath(QStringLiteral("HandIE53232.ico")), iconFile({{handPointer(), 32}})) &&
                    menuIcons(out);
    if (!ok) {
        std::fprintf(stderr, "cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
