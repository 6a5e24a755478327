#include "gdicanvas.h"
#include "pixelmap.h"

#include <QTest>

using namespace TovaColor;

namespace {

constexpr ColorRef Paper = 0x000000; // '.'
constexpr ColorRef Ink = 0x0000FF;   // '#' (red)
constexpr ColorRef Ink2 = 0x00FF00;  // 'o' (green)

const QHash<QChar, QRgb> legend = {{'.', toQRgb(Paper)}, {'#', toQRgb(Ink)}, {'o', toQRgb(Ink2)},
                                   {'w', qRgb(255, 255, 255)}};

QImage paper(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(toQRgb(Paper));
    return image;
}

} // namespace

class TestGdiCanvas : public QObject {
    Q_OBJECT
private slots:
    void fillExcludesRightAndBottom();
    void fillClipsAndIgnoresEmpty();
    void frameIsOnePixelBorder();
    void lines_data();
    void lines();
    void laterSegmentsOverwriteEarlierCorners();
    void ovalIsSymmetricWithTwoPixelRing();
    void ellipseRowsFollowTheInscribedEllipse();
    void focusRectangleDotsAlternate();
    void focusRectangleCombinesTextColour();
};

void TestGdiCanvas::fillExcludesRightAndBottom()
{
    QImage image = paper(5, 4);
    GdiCanvas c(image);
    c.fill(1, 1, 3, 2, Ink);
    QCOMPARE(PixelMap::rows(image, legend), QStringList({".....", ".###.", ".###.", "....."}));
}

void TestGdiCanvas::fillClipsAndIgnoresEmpty()
{
    QImage image = paper(4, 3);
    GdiCanvas c(image);
    c.fill(-2, -2, 4, 4, Ink);
    c.fill(3, 0, 0, 3, Ink2);
    c.fill(3, 0, -2, 3, Ink2);
    c.fill(3, 2, 9, 9, Ink2);
    QCOMPARE(PixelMap::rows(image, legend), QStringList({"##..", "##..", "...o"}));
}

void TestGdiCanvas::frameIsOnePixelBorder()
{
    QImage image = paper(6, 5);
    GdiCanvas c(image);
    c.frame(0, 0, 6, 5, Ink);
    c.frame(2, 2, 2, 1, Ink2);
    c.frame(1, 1, 0, 3, Ink2);
    QCOMPARE(PixelMap::rows(image, legend), QStringList({"######", "#....#", "#.oo.#", "#....#", "######"}));
}

void TestGdiCanvas::lines_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("horizontal, end left out") << QPoint(1, 1) << QPoint(4, 1)
                                              << QStringList({".....", ".###.", "....."});
    QTest::newRow("horizontal backwards") << QPoint(4, 1) << QPoint(1, 1)
                                          << QStringList({".....", "..###", "....."});
    QTest::newRow("vertical") << QPoint(0, 0) << QPoint(0, 3) << QStringList({"#....", "#....", "#...."});
    QTest::newRow("zero length draws nothing") << QPoint(2, 1) << QPoint(2, 1)
                                               << QStringList({".....", ".....", "....."});
    QTest::newRow("45 degrees down-left") << QPoint(4, 0) << QPoint(1, 3)
                                          << QStringList({"....#", "...#.", "..#.."});
    // Steep line whose middle falls exactly between two columns: the right-hand one is lit.
    QTest::newRow("steep tie") << QPoint(1, 2) << QPoint(2, 0) << QStringList({".....", "..#..", ".#..."});
    // Shallow line whose middle falls exactly between two rows: the upper one is lit.
    QTest::newRow("shallow tie") << QPoint(0, 0) << QPoint(2, 1) << QStringList({"##...", ".....", "....."});
    QTest::newRow("shallow tie backwards") << QPoint(2, 1) << QPoint(0, 0)
                                           << QStringList({".#...", "..#..", "....."});
    QTest::newRow("shallow slope") << QPoint(0, 0) << QPoint(5, 2)
                                   << QStringList({"##...", "..##.", "....#"});
}

void TestGdiCanvas::lines()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(QStringList, expected);
    QImage image = paper(5, 3);
    GdiCanvas(image).line(from.x(), from.y(), to.x(), to.y(), Ink);
    QCOMPARE(PixelMap::rows(image, legend), expected);
}

void TestGdiCanvas::laterSegmentsOverwriteEarlierCorners()
{
    QImage image = paper(4, 3);
    GdiCanvas c(image);
    c.line(0, 2, 0, 0, Ink);
    c.line(0, 0, 3, 0, Ink);
    c.line(3, 0, 3, 2, Ink2);
    c.line(3, 2, -1, 2, Ink2);
    QCOMPARE(PixelMap::rows(image, legend), QStringList({"###o", "#..o", "oooo"}));
}

void TestGdiCanvas::ovalIsSymmetricWithTwoPixelRing()
{
    QImage image = paper(12, 8);
    GdiCanvas(image).oval(Ink, Ink2);
    const QStringList r = PixelMap::rows(image, legend);
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

void TestGdiCanvas::ellipseRowsFollowTheInscribedEllipse()
{
    const auto rows = ellipseRows(10, 6);
    QCOMPARE(rows.size(), 6);
    const QVector<QPair<int, int>> expected = {{2, 8}, {1, 9}, {0, 10}, {0, 10}, {1, 9}, {2, 8}};
    QCOMPARE(rows, expected);
}

void TestGdiCanvas::focusRectangleDotsAlternate()
{
    QImage image = paper(6, 5);
    GdiCanvas(image).focusRect(QRect(1, 1, 4, 3), 0x000000);
    QCOMPARE(PixelMap::rows(image, legend), QStringList({"......", ".w.w..", "....w.", ".w.w..", "......"}));
}

void TestGdiCanvas::focusRectangleCombinesTextColour()
{
    QImage image(3, 3, QImage::Format_RGB32);
    image.fill(qRgb(0x10, 0x20, 0x30));
    GdiCanvas(image).focusRect(QRect(0, 0, 3, 3), rgb(0xFF, 0, 0));
    QCOMPARE(image.pixel(0, 0), qRgb(0xEF, 0xDF, 0xCF)); // inverted
    QCOMPARE(image.pixel(1, 0), qRgb(0xEF, 0x20, 0x30)); // combined with the text colour
    QCOMPARE(image.pixel(1, 1), qRgb(0x10, 0x20, 0x30)); // inside untouched
}

QTEST_GUILESS_MAIN(TestGdiCanvas)
#include "tst_gdicanvas.moc"
