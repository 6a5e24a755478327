#include "tabstrip.h"

#include <QSignalSpy>
#include <QTabBar>
#include <QTest>

class TestTabStrip : public QObject {
    Q_OBJECT
private slots:
    void width_data();
    void width();
    void twoTabsClicked();
};

void TestTabStrip::width_data() {
    QTest::addColumn<int>("strip");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("expected");
    QTest::newRow("stored strip, two tabs") << 599 << 2 << 297;
    QTest::newRow("three tabs") << 599 << 3 << 198;
    QTest::newRow("one tab") << 599 << 1 << 593;
    QTest::newRow("exact") << 101 << 1 << 100;
    QTest::newRow("no tab") << 599 << 0 << -1;
}

void TestTabStrip::width() {
    QFETCH(int, strip);
    QFETCH(int, count);
    QFETCH(int, expected);
    QCOMPARE(largeurOnglet(strip, count).value_or(-1), expected);
}

void TestTabStrip::twoTabsClicked() {
    TabStrip strip;
    strip.resize(599, 131);
    strip.addTab(QStringLiteral("A"));
    strip.addTab(QStringLiteral("B"));
    strip.setTabWidth(297);
    strip.show();
    QVERIFY(QTest::qWaitForWindowExposed(&strip));
    QCOMPARE(strip.tabBar()->tabRect(0).width(), 297);
    QCOMPARE(strip.tabBar()->tabRect(1).left(), 297);
    QCOMPARE(strip.SelectedIndex(), 1);
    QSignalSpy clicks(&strip, &TabStrip::Click);
    QTest::mouseClick(strip.tabBar(), Qt::LeftButton, {}, strip.tabBar()->tabRect(1).center());
    QCOMPARE(clicks.size(), 1);
    QCOMPARE(strip.SelectedIndex(), 2);
    // The tab already chosen, clicked again, is a click too.
    QTest::mouseClick(strip.tabBar(), Qt::LeftButton, {}, strip.tabBar()->tabRect(1).center());
    QCOMPARE(clicks.size(), 2);
    strip.setSelectedIndex(1);
    QCOMPARE(clicks.size(), 3);
}

QTEST_MAIN(TestTabStrip)
#include "tst_tabstrip.moc"
