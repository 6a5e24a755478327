#include "colorarith.h"

#include <QTest>

using namespace TovaColor;

class TestColorArith : public QObject {
    Q_OBJECT
private slots:
    void shift_data();
    void shift();
    void blendToWhiteChannels();
    void roundsHalvesToEven_data();
    void roundsHalvesToEven();
};

void TestColorArith::shift_data()
{
    QTest::addColumn<uint>("color");
    QTest::addColumn<int>("amount");
    QTest::addColumn<bool>("scaleBlue");
    QTest::addColumn<bool>("soft");
    QTest::addColumn<uint>("expected");
    QTest::newRow("darken -64") << uint(rgb(192, 192, 192)) << -64 << false << false
                                << uint(rgb(128, 128, 128));
    QTest::newRow("soft bevel halves -64") << uint(rgb(192, 192, 192)) << -64 << false << true
                                           << uint(rgb(160, 160, 160));
    QTest::newRow("soft bevel +47 lightens by 23") << uint(rgb(100, 110, 120)) << 47 << false << true
                                                   << uint(rgb(123, 133, 143));
    QTest::newRow("soft bevel truncates -25 toward zero") << uint(rgb(100, 100, 100)) << -25 << false
                                                          << true << uint(rgb(88, 88, 88));
    QTest::newRow("+31 on 240 stops at 255") << uint(rgb(240, 240, 240)) << 31 << false << false
                                             << uint(rgb(255, 255, 255));
    QTest::newRow("-192 stops at 0") << uint(rgb(10, 200, 250)) << -192 << false << false
                                     << uint(rgb(0, 8, 58));
    QTest::newRow("0 changes nothing") << uint(rgb(1, 254, 128)) << 0 << false << false
                                       << uint(rgb(1, 254, 128));
    QTest::newRow("scaled blue +48 of 192") << uint(rgb(100, 100, 192)) << 48 << true << false
                                            << uint(rgb(148, 148, 240));
    QTest::newRow("scaled blue -25 of 100 truncates") << uint(rgb(100, 100, 100)) << -25 << true << false
                                                      << uint(rgb(75, 75, 87));
    QTest::newRow("scaled blue clamps at 255") << uint(rgb(0, 0, 250)) << 48 << true << false
                                               << uint(rgb(48, 48, 255));
}

void TestColorArith::shift()
{
    QFETCH(uint, color);
    QFETCH(int, amount);
    QFETCH(bool, scaleBlue);
    QFETCH(bool, soft);
    QFETCH(uint, expected);
    QCOMPARE(shiftColor(color, amount, scaleBlue, soft), ColorRef(expected));
}

void TestColorArith::blendToWhiteChannels()
{
    // 176 + 128 * 79 / 255 = 176 + 39 (integer division).
    QCOMPARE(blendToWhite(0x800000, 176), rgb(176, 176, 215));
    QCOMPARE(blendToWhite(rgb(255, 0, 10), 128), rgb(255, 128, 132));
    QCOMPARE(blendToWhite(rgb(255, 255, 255), 0), rgb(255, 255, 255));
}

void TestColorArith::roundsHalvesToEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("0.5") << 0.5 << 0;
    QTest::newRow("1.5") << 1.5 << 2;
    QTest::newRow("2.5") << 2.5 << 2;
    QTest::newRow("-12.5") << -12.5 << -12;
    QTest::newRow("-13.5") << -13.5 << -14;
    QTest::newRow("-2.49") << -2.49 << -2;
}

void TestColorArith::roundsHalvesToEven()
{
    QFETCH(double, value);
    QFETCH(int, expected);
    QCOMPARE(roundHalfEven(value), expected);
}

QTEST_GUILESS_MAIN(TestColorArith)
#include "tst_colorarith.moc"
