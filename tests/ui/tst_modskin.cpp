#include "modskin.h"

#include <QTest>

namespace {

// A picture from rows of characters: '.' the key colour (whatever colour (0, 0) has), '#' drawing.
QImage picture(const QStringList &rows, QColor key = Qt::white) {
    QImage img(int(rows.first().size()), int(rows.size()), QImage::Format_RGB888);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixelColor(x, y, rows[y][x] == u'#' ? QColor(20, 110, 100) : key);
    return img;
}

QList<QRect> rects(const QRegion &region) {
    return {region.begin(), region.end()};
}

} // namespace

class TestModSkin : public QObject {
    Q_OBJECT
private slots:
    void runsPerRow_data();
    void runsPerRow();
    void keyColourIsTopLeftPixel();
    void storedSkinIsOneRunPerRow();
};

void TestModSkin::runsPerRow_data() {
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QList<QRect>>("expected");

    QTest::newRow("run reaching the last column")
        << QStringList{"..###", "#...."} << QList<QRect>{{2, 0, 3, 1}, {0, 1, 1, 1}};
    QTest::newRow("hole inside the drawing")
        << QStringList{".....", ".#.##", "....."} << QList<QRect>{{1, 1, 1, 1}, {3, 1, 2, 1}};
    QTest::newRow("single pixel between key pixels")
        << QStringList{"...", ".#.", "..."} << QList<QRect>{{1, 1, 1, 1}};
    QTest::newRow("full rows") << QStringList{".###", "####", "####"}
                               << QList<QRect>{{1, 0, 3, 1}, {0, 1, 4, 2}};
    QTest::newRow("key colour only") << QStringList{"....", "...."} << QList<QRect>{};
}

void TestModSkin::runsPerRow() {
    QFETCH(QStringList, rows);
    QFETCH(QList<QRect>, expected);
    const QRegion region = modSkin::RegionDepuisImage(picture(rows));
    QRegion want;
    for (const QRect &r : expected)
        want += r;
    QCOMPARE(rects(region), rects(want));
    // Pixel by pixel, the region is exactly the drawing.
    for (int y = 0; y < rows.size(); ++y)
        for (int x = 0; x < rows[y].size(); ++x)
            QCOMPARE(region.contains(QPoint(x, y)), rows[y][x] == u'#');
}

void TestModSkin::keyColourIsTopLeftPixel() {
    // With a black key, white pixels belong to the drawing; the top-left pixel never does.
    QImage img = picture({"..#", "..."}, Qt::black);
    img.setPixelColor(1, 1, Qt::white);
    const QRegion region = modSkin::RegionDepuisImage(img);
    QCOMPARE(rects(region), (QList<QRect>{{2, 0, 1, 1}, {1, 1, 1, 1}}));
    QVERIFY(!region.contains(QPoint(0, 0)));

    // Colours that differ in one channel only are not the key.
    QImage near(3, 1, QImage::Format_RGB32);
    near.fill(Qt::white);
    near.setPixel(2, 0, qRgb(255, 255, 254));
    QCOMPARE(rects(modSkin::RegionDepuisImage(near)), (QList<QRect>{{2, 0, 1, 1}}));
    QVERIFY(modSkin::RegionDepuisImage(QImage()).isEmpty());
}

void TestModSkin::storedSkinIsOneRunPerRow() {
    const QImage skin(QStringLiteral(SOLVARIN_SOURCE_DIR "/ui/artwork/skin.png"));
    QVERIFY(!skin.isNull());
    const QRegion region = modSkin::RegionDepuisImage(skin);
    for (int y = 0; y < skin.height(); ++y) {
        const QRegion row = region.intersected(QRect(0, y, skin.width(), 1));
        QCOMPARE(row.rectCount(), 1);
    }
}

QTEST_GUILESS_MAIN(TestModSkin)
#include "tst_modskin.moc"
