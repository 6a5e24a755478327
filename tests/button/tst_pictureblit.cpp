#include "pictureblit.h"

#include <QTest>

using namespace TovaColor;
using PictureBlit::Rules;

namespace {

QImage filled(int w, int h, QRgb c)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(c);
    return image;
}

// Composes one source pixel over one destination pixel and returns the result.
QRgb composeOne(QRgb source, QRgb destination, const Rules &rules)
{
    QImage target = filled(1, 1, destination);
    PictureBlit::blit(target, 0, 0, 1, 1, filled(1, 1, source), rules);
    return target.pixel(0, 0);
}

} // namespace

class TestPictureBlit : public QObject {
    Q_OBJECT
private slots:
    void pixelRules_data();
    void pixelRules();
    void greyLevels_data();
    void greyLevels();
    void rowsArePaddedToFourBytes();
    void threePixelWidePicture();
    void clipsAtTheSurfaceAndPadsTheSource();
    void zeroSizeDrawsNothing();
    void iconComposedOverMaskSquare();
};

void TestPictureBlit::pixelRules_data()
{
    QTest::addColumn<QRgb>("source");
    QTest::addColumn<QRgb>("destination");
    QTest::addColumn<int>("transparent");
    QTest::addColumn<int>("tint");
    QTest::addColumn<bool>("brightOnly");
    QTest::addColumn<bool>("grey");
    QTest::addColumn<bool>("blend");
    QTest::addColumn<QRgb>("expected");
    const QRgb silver = qRgb(192, 192, 192);
    const QRgb bg = qRgb(1, 2, 3);
    const int silverKey = int(rgb(192, 192, 192));
    QTest::newRow("mask colour not drawn") << silver << bg << silverKey << -1 << false << false << false << bg;
    QTest::newRow("no mask: mask colour drawn") << silver << bg << -1 << -1 << false << false << false
                                                << silver;
    QTest::newRow("key is blue*65536+green*256+red")
        << qRgb(0x11, 0x22, 0x33) << bg << 0x332211 << -1 << false << false << false << bg;
    QTest::newRow("other colour drawn") << qRgb(10, 20, 30) << bg << silverKey << -1 << false << false << false
                                        << qRgb(10, 20, 30);
    QTest::newRow("tint silhouette") << qRgb(10, 20, 30) << bg << -1 << int(rgb(0x80, 0x40, 0x20)) << false
                                     << false << false << qRgb(0x80, 0x40, 0x20);
    QTest::newRow("tint 0 is black") << qRgb(10, 20, 30) << bg << -1 << 0 << false << false << false
                                     << qRgb(0, 0, 0);
    QTest::newRow("tint keeps the mask hole") << silver << bg << silverKey << 0x808080 << false << false << false
                                              << bg;
    QTest::newRow("brightOnly: sum 384 drawn") << qRgb(128, 128, 128) << bg << -1 << 0x808080 << true << false
                                               << false << qRgb(128, 128, 128);
    QTest::newRow("brightOnly: sum 385 left") << qRgb(129, 128, 128) << bg << -1 << 0x808080 << true << false
                                              << false << bg;
    QTest::newRow("brightOnly without tint has no effect")
        << qRgb(255, 255, 255) << bg << -1 << -1 << true << false << false << qRgb(255, 255, 255);
    QTest::newRow("tint wins over grey") << qRgb(10, 20, 30) << bg << -1 << 0x0000FF << false << true << false
                                         << qRgb(255, 0, 0);
    QTest::newRow("blend 255 over 0 gives 170") << qRgb(255, 255, 255) << qRgb(0, 0, 0) << -1 << -1 << false
                                                << false << true << qRgb(170, 170, 170);
    QTest::newRow("blend truncates") << qRgb(100, 0, 1) << qRgb(0, 200, 1) << -1 << -1 << false << false << true
                                     << qRgb(66, 66, 1);
    QTest::newRow("grey wins over blend") << qRgb(255, 0, 0) << bg << -1 << -1 << false << true << true
                                          << qRgb(76, 76, 76);
}

void TestPictureBlit::pixelRules()
{
    QFETCH(QRgb, source);
    QFETCH(QRgb, destination);
    QFETCH(int, transparent);
    QFETCH(int, tint);
    QFETCH(bool, brightOnly);
    QFETCH(bool, grey);
    QFETCH(bool, blend);
    QFETCH(QRgb, expected);
    const Rules rules{transparent, tint, brightOnly, grey, blend};
    QCOMPARE(composeOne(source, destination, rules), expected);
}

void TestPictureBlit::greyLevels_data()
{
    QTest::addColumn<QRgb>("source");
    QTest::addColumn<int>("level");
    QTest::newRow("white") << qRgb(255, 255, 255) << 254;
    QTest::newRow("red") << qRgb(255, 0, 0) << 76;
    QTest::newRow("green") << qRgb(0, 255, 0) << 150;
    QTest::newRow("blue") << qRgb(0, 0, 255) << 28;
    QTest::newRow("mid grey") << qRgb(128, 128, 128) << 128;
    QTest::newRow("black") << qRgb(0, 0, 0) << 0;
}

void TestPictureBlit::greyLevels()
{
    QFETCH(QRgb, source);
    QFETCH(int, level);
    Rules rules;
    rules.grey = true;
    QCOMPARE(composeOne(source, qRgb(9, 9, 9), rules), qRgb(level, level, level));
}

void TestPictureBlit::rowsArePaddedToFourBytes()
{
    QCOMPARE(PictureBlit::rowStride(1), 4);
    QCOMPARE(PictureBlit::rowStride(3), 12);
    QCOMPARE(PictureBlit::rowStride(5), 16);
    QCOMPARE(PictureBlit::rowStride(16), 48);
}

void TestPictureBlit::threePixelWidePicture()
{
    // Nine pixels of different colours, the middle column in the mask colour: every other pixel must
    // land exactly where it was in the picture, row after row.
    QImage picture(3, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            picture.setPixel(x, y, x == 1 ? qRgb(192, 192, 192) : qRgb(10 * x + 1, 10 * y + 2, 50));
    QImage target = filled(5, 4, qRgb(7, 7, 7));
    PictureBlit::blit(target, 1, 1, 3, 3, picture, Rules{int(rgb(192, 192, 192)), -1, false, false, false});
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 5; ++x) {
            const int px = x - 1;
            const int py = y - 1;
            const bool inside = px >= 0 && px < 3 && py >= 0 && py < 3 && px != 1;
            const QRgb expected = inside ? qRgb(10 * px + 1, 10 * py + 2, 50) : qRgb(7, 7, 7);
            QCOMPARE(target.pixel(x, y), expected);
        }
    }
}

void TestPictureBlit::clipsAtTheSurfaceAndPadsTheSource()
{
    // The 2 x 2 picture drawn 3 x 3 at (-1, -1): only its bottom-right pixel and the black padding
    // to its right and below fall on the surface.
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.fill(qRgb(50, 60, 70));
    picture.setPixel(1, 1, qRgb(200, 100, 0));
    QImage target = filled(3, 3, qRgb(7, 7, 7));
    PictureBlit::blit(target, -1, -1, 3, 3, picture, Rules{});
    QCOMPARE(target.pixel(0, 0), qRgb(200, 100, 0));
    QCOMPARE(target.pixel(1, 0), qRgb(0, 0, 0));
    QCOMPARE(target.pixel(0, 1), qRgb(0, 0, 0));
    QCOMPARE(target.pixel(1, 1), qRgb(0, 0, 0));
    QCOMPARE(target.pixel(2, 2), qRgb(7, 7, 7));
}

void TestPictureBlit::zeroSizeDrawsNothing()
{
    QImage target = filled(2, 2, qRgb(7, 7, 7));
    PictureBlit::blit(target, 0, 0, 0, 2, filled(2, 2, qRgb(1, 1, 1)), Rules{});
    PictureBlit::blit(target, 0, 0, 2, 0, filled(2, 2, qRgb(1, 1, 1)), Rules{});
    QCOMPARE(target, filled(2, 2, qRgb(7, 7, 7)));
}

void TestPictureBlit::iconComposedOverMaskSquare()
{
    // An icon: opaque red in its top-left pixel, fully transparent elsewhere.
    QImage icon(2, 2, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    icon.setPixel(0, 0, qRgba(255, 0, 0, 255));
    const ColorRef mask = rgb(192, 192, 192);
    const QImage square = PictureBlit::overSquare(icon, 3, 2, mask);
    QCOMPARE(square.size(), QSize(3, 2));
    QCOMPARE(square.pixel(0, 0), qRgb(255, 0, 0));
    QCOMPARE(square.pixel(1, 0), toQRgb(mask));
    QCOMPARE(square.pixel(2, 1), toQRgb(mask));

    // With the same mask colour as transparent colour, only the icon's own pixel is drawn.
    QImage target = filled(3, 2, qRgb(7, 7, 7));
    PictureBlit::blit(target, 0, 0, 3, 2, square, Rules{int(mask), -1, false, false, false});
    QCOMPARE(target.pixel(0, 0), qRgb(255, 0, 0));
    QCOMPARE(target.pixel(1, 0), qRgb(7, 7, 7));
    QCOMPARE(target.pixel(2, 1), qRgb(7, 7, 7));
}

QTEST_GUILESS_MAIN(TestPictureBlit)
#include "tst_pictureblit.moc"
