#include "buttonregion.h"

#include <QTest>

namespace {

// The region as rows of '#' (inside) and '.' (outside).
QStringList picture(const QRegion &region, int w, int h)
{
    QStringList rows;
    for (int y = 0; y < h; ++y) {
        QString row;
        for (int x = 0; x < w; ++x)
            row += region.contains(QPoint(x, y)) ? '#' : '.';
        rows << row;
    }
    return rows;
}

} // namespace

class TestButtonRegion : public QObject {
    Q_OBJECT
private slots:
    void shapes_data();
    void shapes();
    void ovalIsInscribedEllipse();
    void emptyControlHasEmptyRegion();
};

void TestButtonRegion::shapes_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QStringList>("expected");
    const QStringList full = {"######", "######", "######", "######", "######"};
    const QStringList fourDots = {".####.", "######", "######", "######", ".####."};
    const QStringList rounded = {"..##..", ".####.", "######", ".####.", "..##.."};
    const QStringList java = {"#####.", "######", "######", "######", ".#####"};
    QTest::newRow("1 Windows 16-bit") << 1 << fourDots;
    QTest::newRow("2 Windows 32-bit") << 2 << full;
    QTest::newRow("3 Windows XP") << 3 << rounded;
    QTest::newRow("4 Mac") << 4 << rounded;
    QTest::newRow("5 Java metal") << 5 << java;
    QTest::newRow("6 Netscape 6") << 6 << full;
    QTest::newRow("7 Simple Flat") << 7 << full;
    QTest::newRow("8 Flat Highlight") << 8 << full;
    QTest::newRow("9 Office XP") << 9 << full;
    QTest::newRow("10 without a style") << 10 << full;
    QTest::newRow("11 Transparent") << 11 << full;
    QTest::newRow("12 3D Hover") << 12 << full;
    QTest::newRow("14 KDE 2") << 14 << fourDots;
    QTest::newRow("out of range") << 99 << full;
}

void TestButtonRegion::shapes()
{
    QFETCH(int, type);
    QFETCH(QStringList, expected);
    QCOMPARE(picture(buttonRegion(type, 6, 5), 6, 5), expected);
}

void TestButtonRegion::ovalIsInscribedEllipse()
{
    const QStringList expected = {"...######...", ".##########.", "############", "############",
                                  ".##########.", "...######..."};
    QCOMPARE(picture(buttonRegion(13, 12, 6), 12, 6), expected);
    // Nothing of the region lies outside the control.
    QCOMPARE(buttonRegion(13, 12, 6).boundingRect(), QRect(0, 0, 12, 6));
}

void TestButtonRegion::emptyControlHasEmptyRegion()
{
    QVERIFY(buttonRegion(2, 0, 10).isEmpty());
    QVERIFY(buttonRegion(13, 10, 0).isEmpty());
}

QTEST_GUILESS_MAIN(TestButtonRegion)
#include "tst_buttonregion.moc"
