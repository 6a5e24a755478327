#include "buttonregion.h"
#include "gdicanvas.h"
#include "pictureblit.h"
#include "pixelmap.h"

#include <QTest>

using namespace TovaColor;
using PictureBlit::Rules;

namespace {

constexpr ColorRef Ink = 0x0000FF;  // '#' (red) over black '.'
constexpr ColorRef Ink2 = 0x00FF00; // 'o' (green)
const QHash<QChar, QRgb> legend = {
    {'.', qRgb(0, 0, 0)}, {'#', toQRgb(Ink)}, {'o', toQRgb(Ink2)}, {'w', qRgb(255, 255, 255)}};

QImage filled(int w, int h, QRgb c = qRgb(0, 0, 0))
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(c);
    return image;
}

QString regionRows(const QRegion &region, int w, int h)
{
    return charRows(w, h, [&](int x, int y) { return region.contains(QPoint(x, y)) ? '#' : '.'; });
}

} // namespace

class TestDraw : public QObject {
    Q_OBJECT
private slots:
    void shiftColor_data()
    {
        QTest::addColumn<uint>("color");
        QTest::addColumn<int>("amount");
        QTest::addColumn<bool>("scaleBlue");
        QTest::addColumn<bool>("soft");
        QTest::addColumn<uint>("expected");
        const auto row = [](const char *name, ColorRef c, int n, bool scaleBlue, bool soft,
                            ColorRef expected) {
            QTest::newRow(name) << uint(c) << n << scaleBlue << soft << uint(expected);
        };
        row("darken -64", rgb(192, 192, 192), -64, false, false, rgb(128, 128, 128));
        row("soft bevel halves -64", rgb(192, 192, 192), -64, false, true, rgb(160, 160, 160));
        row("soft bevel +47 lightens by 23", rgb(100, 110, 120), 47, false, true, rgb(123, 133, 143));
        row("soft bevel truncates -25 toward zero", rgb(100, 100, 100), -25, false, true, rgb(88, 88, 88));
        row("+31 on 240 stops at 255", rgb(240, 240, 240), 31, false, false, rgb(255, 255, 255));
        row("-192 stops at 0", rgb(10, 200, 250), -192, false, false, rgb(0, 8, 58));
        row("0 changes nothing", rgb(1, 254, 128), 0, false, false, rgb(1, 254, 128));
        row("scaled blue +48 of 192", rgb(100, 100, 192), 48, true, false, rgb(148, 148, 240));
        row("scaled blue -25 of 100 truncates", rgb(100, 100, 100), -25, true, false, rgb(75, 75, 87));
        row("scaled blue clamps at 255", rgb(0, 0, 250), 48, true, false, rgb(48, 48, 255));
    }

    void shiftColor()
    {
        QFETCH(uint, color);
        QFETCH(int, amount);
        QFETCH(bool, scaleBlue);
        QFETCH(bool, soft);
        QFETCH(uint, expected);
        QCOMPARE(TovaColor::shiftColor(color, amount, scaleBlue, soft), ColorRef(expected));
    }

    void blendToWhiteAndRounding()
    {
        // 176 + 128 * 79 / 255 = 176 + 39 (integer division).
        QCOMPARE(blendToWhite(0x800000, 176), rgb(176, 176, 215));
        QCOMPARE(blendToWhite(rgb(255, 0, 10), 128), rgb(255, 128, 132));
        QCOMPARE(blendToWhite(rgb(255, 255, 255), 0), rgb(255, 255, 255));
        for (const auto &[value, rounded] :
             {std::pair{0.5, 0}, {1.5, 2}, {2.5, 2}, {-12.5, -12}, {-13.5, -14}, {-2.49, -2}})
            QCOMPARE(roundHalfEven(value), rounded);
    }

    void fillsAndFrames()
    {
        // Right and bottom edges excluded, clipped at the surface, nothing for an empty rectangle.
        QImage image = filled(6, 4);
        GdiCanvas c(image);
        c.fill(1, 1, 3, 2, Ink);
        c.fill(-2, -2, 3, 3, Ink);
        c.fill(3, 0, 0, 3, Ink2);
        c.fill(3, 0, -2, 3, Ink2);
        c.fill(5, 3, 9, 9, Ink2);
        QCOMPARE(pixelRows(image, legend), "#..... .###.. .###.. .....o");

        image = filled(6, 5);
        c.frame(0, 0, 6, 5, Ink);
        c.frame(2, 2, 2, 1, Ink2);
        c.frame(1, 1, 0, 3, Ink2);
        QCOMPARE(pixelRows(image, legend), "###### #....# #.oo.# #....# ######");
    }

    void lines_data()
    {
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, QPoint from, QPoint to, const char *expected) {
            QTest::newRow(name) << from << to << QString(expected);
        };
        row("horizontal, end left out", {1, 1}, {4, 1}, "..... .###. .....");
        row("horizontal backwards", {4, 1}, {1, 1}, "..... ..### .....");
        row("vertical", {0, 0}, {0, 3}, "#.... #.... #....");
        row("zero length draws nothing", {2, 1}, {2, 1}, "..... ..... .....");
        row("45 degrees down-left", {4, 0}, {1, 3}, "....# ...#. ..#..");
        // Middle exactly between two columns of a steep line: the right-hand one; between two rows of a
        // shallow one: the upper one.
        row("steep tie", {1, 2}, {2, 0}, "..... ..#.. .#...");
        row("shallow tie", {0, 0}, {2, 1}, "##... ..... .....");
        row("shallow tie backwards", {2, 1}, {0, 0}, ".#... ..#.. .....");
        row("shallow slope", {0, 0}, {5, 2}, "##... ..##. ....#");
    }

    void lines()
    {
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        QFETCH(QString, expected);
        QImage image = filled(5, 3);
        GdiCanvas(image).line(from.x(), from.y(), to.x(), to.y(), Ink);
        QCOMPARE(pixelRows(image, legend), expected);
    }

    void laterSegmentsOverwriteEarlierCorners()
    {
        QImage image = filled(4, 3);
        GdiCanvas c(image);
        c.line(0, 2, 0, 0, Ink);
        c.line(0, 0, 3, 0, Ink);
        c.line(3, 0, 3, 2, Ink2);
        c.line(3, 2, -1, 2, Ink2);
        QCOMPARE(pixelRows(image, legend), "###o #..o oooo");
    }

    void ovalIsSymmetricWithTwoPixelRing()
    {
        QImage image = filled(12, 8);
        GdiCanvas(image).oval(Ink, Ink2);
        const QStringList r = pixelRows(image, legend).split(' ');
        for (int y = 0; y < 8; ++y) {
            QString mirrored = r[y];
            std::reverse(mirrored.begin(), mirrored.end());
            QCOMPARE(mirrored, r[y]);
            QCOMPARE(r[7 - y], r[y]);
        }
        // Along the middle row the ring is two pixels thick on each side and the brush fills between.
        QCOMPARE(r[3], QString("##oooooooo##"));
        QCOMPARE(r[0].count('o'), 0);
        QVERIFY(r[0].count('#') > 0);
    }

    void focusRectangle()
    {
        QImage image = filled(6, 5);
        GdiCanvas(image).focusRect(QRect(1, 1, 4, 3), 0x000000);
        QCOMPARE(pixelRows(image, legend), "...... .w.w.. ....w. .w.w.. ......");

        image = filled(3, 3, qRgb(0x10, 0x20, 0x30));
        GdiCanvas(image).focusRect(QRect(0, 0, 3, 3), rgb(0xFF, 0, 0));
        // Inverted, combined with the text colour, inside untouched.
        QCOMPARE(probed(image, "0,0 1,0 1,1"), "0,0=EFDFCF 1,0=EF2030 1,1=102030");
    }

    void pixelRules_data()
    {
        QTest::addColumn<QRgb>("source");
        QTest::addColumn<QRgb>("destination");
        QTest::addColumn<int>("transparent");
        QTest::addColumn<int>("tint");
        QTest::addColumn<QString>("flags");
        QTest::addColumn<QRgb>("expected");
        const auto row = [](const char *name, QRgb source, QRgb destination, int transparent, int tint,
                            const char *flags, QRgb expected) {
            QTest::newRow(name) << source << destination << transparent << tint << QString(flags) << expected;
        };
        const QRgb silver = qRgb(192, 192, 192);
        const QRgb bg = qRgb(1, 2, 3);
        const int key = int(rgb(192, 192, 192));
        row("mask colour not drawn", silver, bg, key, -1, "", bg);
        row("no mask: mask colour drawn", silver, bg, -1, -1, "", silver);
        row("key is blue*65536+green*256+red", qRgb(0x11, 0x22, 0x33), bg, 0x332211, -1, "", bg);
        row("other colour drawn", qRgb(10, 20, 30), bg, key, -1, "", qRgb(10, 20, 30));
        row("tint silhouette", qRgb(10, 20, 30), bg, -1, int(rgb(0x80, 0x40, 0x20)), "",
            qRgb(0x80, 0x40, 0x20));
        row("tint 0 is black", qRgb(10, 20, 30), bg, -1, 0, "", qRgb(0, 0, 0));
        row("tint keeps the mask hole", silver, bg, key, 0x808080, "", bg);
        row("bright only: sum 384 drawn", qRgb(128, 128, 128), bg, -1, 0x808080, "bright",
            qRgb(128, 128, 128));
        row("bright only: sum 385 left", qRgb(129, 128, 128), bg, -1, 0x808080, "bright", bg);
        row("bright only without tint: no effect", qRgb(255, 255, 255), bg, -1, -1, "bright",
            qRgb(255, 255, 255));
        row("tint wins over grey", qRgb(10, 20, 30), bg, -1, 0x0000FF, "grey", qRgb(255, 0, 0));
        row("blend 255 over 0 gives 170", qRgb(255, 255, 255), qRgb(0, 0, 0), -1, -1, "blend", grey(170));
        row("blend truncates", qRgb(100, 0, 1), qRgb(0, 200, 1), -1, -1, "blend", qRgb(66, 66, 1));
        row("grey wins over blend", qRgb(255, 0, 0), bg, -1, -1, "grey blend", grey(76));
        row("grey of white", qRgb(255, 255, 255), bg, -1, -1, "grey", grey(254));
        row("grey of green", qRgb(0, 255, 0), bg, -1, -1, "grey", grey(150));
        row("grey of blue", qRgb(0, 0, 255), bg, -1, -1, "grey", grey(28));
        row("grey of mid grey", qRgb(128, 128, 128), bg, -1, -1, "grey", grey(128));
    }

    void pixelRules()
    {
        QFETCH(QRgb, source);
        QFETCH(QRgb, destination);
        QFETCH(int, transparent);
        QFETCH(int, tint);
        QFETCH(QString, flags);
        QFETCH(QRgb, expected);
        const Rules rules{transparent, tint, flags.contains("bright"), flags.contains("grey"),
                          flags.contains("blend")};
        QImage target = filled(1, 1, destination);
        PictureBlit::blit(target, 0, 0, 1, 1, filled(1, 1, source), rules);
        QCOMPARE(target.pixel(0, 0), expected);
    }

    void threePixelWidePicture()
    {
        // Nine pixels of different colours, the middle column in the mask colour: every other pixel must
        // land exactly where it was in the picture, row after row (24-bit rows are padded).
        QImage picture(3, 3, QImage::Format_RGB32);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 3; ++x)
                picture.setPixel(x, y, x == 1 ? qRgb(192, 192, 192) : qRgb(10 * x + 1, 10 * y + 2, 50));
        QImage target = filled(5, 4, qRgb(7, 7, 7));
        PictureBlit::blit(target, 1, 1, 3, 3, picture, Rules{int(rgb(192, 192, 192))});
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 5; ++x) {
                const int px = x - 1, py = y - 1;
                const bool inside = px >= 0 && px < 3 && py >= 0 && py < 3 && px != 1;
                QCOMPARE(target.pixel(x, y), inside ? qRgb(10 * px + 1, 10 * py + 2, 50) : qRgb(7, 7, 7));
            }
    }

    void clipsAtTheSurfaceAndPadsTheSource()
    {
        // The 2 x 2 picture drawn 3 x 3 at (-1, -1): only its bottom-right pixel and the black padding
        // to its right and below fall on the surface.
        QImage picture = filled(2, 2, qRgb(50, 60, 70));
        picture.setPixel(1, 1, qRgb(200, 100, 0));
        QImage target = filled(3, 3, qRgb(7, 7, 7));
        PictureBlit::blit(target, -1, -1, 3, 3, picture, Rules{});
        QCOMPARE(probed(target, "0,0 1,0 0,1 1,1 2,2"),
                 "0,0=C86400 1,0=000000 0,1=000000 1,1=000000 2,2=070707");
        // A zero width or height draws nothing.
        PictureBlit::blit(target, 0, 0, 0, 2, picture, Rules{});
        PictureBlit::blit(target, 2, 2, 2, 0, picture, Rules{});
        QCOMPARE(probed(target, "2,2"), "2,2=070707");
    }

    void iconComposedOverMaskSquare()
    {
        // An icon: opaque red in its top-left pixel, fully transparent elsewhere.
        QImage icon(2, 2, QImage::Format_ARGB32);
        icon.fill(Qt::transparent);
        icon.setPixel(0, 0, qRgba(255, 0, 0, 255));
        const ColorRef mask = rgb(192, 192, 192);
        const QImage square = PictureBlit::overSquare(icon, 3, 2, mask);
        QCOMPARE(square.size(), QSize(3, 2));
        QCOMPARE(probed(square, "0,0 1,0 2,1"), "0,0=FF0000 1,0=C0C0C0 2,1=C0C0C0");

        // With the same mask colour as transparent colour, only the icon's own pixel is drawn.
        QImage target = filled(3, 2, qRgb(7, 7, 7));
        PictureBlit::blit(target, 0, 0, 3, 2, square, Rules{int(mask)});
        QCOMPARE(pixelRows(target, {{'r', qRgb(255, 0, 0)}, {'.', qRgb(7, 7, 7)}}), "r.. ...");
    }

    void regions_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QString>("expected");
        const QString full = "###### ###### ###### ###### ######";
        const QString fourDots = ".####. ###### ###### ###### .####.";
        const QString rounded = "..##.. .####. ###### .####. ..##..";
        const QString java = "#####. ###### ###### ###### .#####";
        const QList<std::pair<int, QString>> shapes = {
            {1, fourDots}, {2, full}, {3, rounded}, {4, rounded}, {5, java},  {6, full},      {7, full},
            {8, full},     {9, full}, {10, full},   {11, full},   {12, full}, {14, fourDots}, {99, full}};
        for (const auto &[type, expected] : shapes)
            QTest::addRow("%d", type) << type << QSize(6, 5) << expected;
        // The inscribed ellipse.
        QTest::newRow("13 oval")
            << 13 << QSize(12, 6)
            << "...######... .##########. ############ ############ .##########. ...######...";
        QTest::newRow("no width") << 2 << QSize(0, 2) << " ";
        QTest::newRow("no height") << 13 << QSize(10, 0) << "";
    }

    void regions()
    {
        QFETCH(int, type);
        QFETCH(QSize, size);
        QFETCH(QString, expected);
        const QRegion region = buttonRegion(type, size.width(), size.height());
        QCOMPARE(regionRows(region, size.width(), size.height()), expected);
        QVERIFY(region.subtracted(QRect(QPoint(0, 0), size)).isEmpty()); // nothing outside the control
        QCOMPARE(region.isEmpty(), size.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestDraw)
#include "tst_draw.moc"
