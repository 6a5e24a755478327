#include "tabstrip.h"

#include <QSignalSpy>
#include <QTabBar>
#include <QTest>

class TestTabStrip : public QObject {
    Q_OBJECT
private slots:
    void width_data();
    void width();
    void fixedWidthApplied();
    void clickOnEveryChoice();
};

void TestTabStrip::width_data() {
    QTest::addColumn<int>("strip");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("expected");
    QTest::newRow("stored strip, two tabs") << 599 << 2 << 297;
    QTest::newRow("three tabs") << 599 << 3 << 198;
    QTest::newRow("one tab") << 599 << 1 << 593;
    QTest::newRow("exact") << 101 << 1 << 100;
}

void TestTabStrip::width() {
    QFETCH(int, strip);
    QFETCH(int, count);
    QFETCH(int, expected);
    QCOMPARE(largeurOnglet(strip, count), std::optional<int>(expected));
}

void TestTabStrip::fixedWidthApplied() {
    QVERIFY(!largeurOnglet(599, 0).has_value());
    TabStrip strip;
    strip.resize(599, 131);
    strip.addTab(QStringLiteral("Répartiteur N°1"));
    strip.addTab(QStringLiteral("Répartiteur N°2"));
    strip.setTabWidth(297);
    strip.show();
    QCOMPARE(strip.tabBar()->tabRect(0).width(), 297);
    QCOMPARE(strip.tabBar()->tabRect(1).left(), 297);
}

void TestTabStrip::clickOnEveryChoice() {
    TabStrip strip;
    strip.resize(599, 131);
    strip.addTab(QStringLiteral("A"));
    strip.addTab(QStringLiteral("B"));
    strip.setTabWidth(297);
    strip.show();
    QVERIFY(QTest::qWaitForWindowExposed(&strip));
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
