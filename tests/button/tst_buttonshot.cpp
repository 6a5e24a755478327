#include "buttonshot.h"
#include "tovapropertybag.h"

#include <QTest>

class TestButtonShot : public QObject {
    Q_OBJECT
private slots:
    void outsideTheRegionIsTransparent();
    void propertiesFromArguments();
    void badArguments_data();
    void badArguments();
};

void TestButtonShot::outsideTheRegionIsTransparent()
{
    TOVAPropertyBag bag;
    QVERIFY(ButtonShot::parseProperties({"BTYPE=13", "COLTYPE=3", "TX="}, bag).isEmpty());
    ButtonShot::Look look;
    look.size = QSize(40, 20);
    const QImage oval = ButtonShot::render(bag, look);
    QCOMPARE(oval.size(), QSize(40, 20));
    QCOMPARE(qAlpha(oval.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(oval.pixel(39, 19)), 0);
    QCOMPARE(oval.pixel(20, 10), qRgb(0xC0, 0xC0, 0xC0));

    TOVAPropertyBag kde;
    ButtonShot::parseProperties({"BTYPE=14"}, kde);
    look.down = true;
    const QImage pressed = ButtonShot::render(kde, look);
    QCOMPARE(qAlpha(pressed.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(pressed.pixel(1, 0)), 255);
}

void TestButtonShot::propertiesFromArguments()
{
    TOVAPropertyBag bag;
    QVERIFY(ButtonShot::parseProperties({"btype=14", "TX=&Ok", "BCOL=0xE0E0E0", "FCOL=-2147483630", "ENAB=0",
                                         "SOFT=-1", "FONT=DejaVu Sans,12,bold"},
                                        bag)
                .isEmpty());
    QCOMPARE(bag.value("BTYPE").toInt(), 14);
    QCOMPARE(bag.value("TX").toString(), QString("&Ok"));
    QCOMPARE(bag.value("BCOL").toInt(), 0xE0E0E0);
    QCOMPARE(quint32(bag.value("FCOL").toInt()), 0x80000012u);
    QCOMPARE(bag.value("ENAB").toBool(), false);
    QCOMPARE(bag.value("SOFT").toBool(), true);
    QCOMPARE(bag.value("FONT").value<QFont>().pointSize(), 12);
    QVERIFY(bag.value("FONT").value<QFont>().bold());
}

void TestButtonShot::badArguments_data()
{
    QTest::addColumn<QString>("argument");
    QTest::newRow("no value") << "BTYPE";
    QTest::newRow("unknown key") << "COLOUR=1";
    QTest::newRow("not a number") << "BCOL=red";
    QTest::newRow("not a Boolean") << "ENAB=yes";
    QTest::newRow("missing picture") << "PICN=/nonexistent/picture.png";
}

void TestButtonShot::badArguments()
{
    QFETCH(QString, argument);
    TOVAPropertyBag bag;
    QVERIFY(!ButtonShot::parseProperties({argument}, bag).isEmpty());
}

QTEST_MAIN(TestButtonShot)
#include "tst_buttonshot.moc"
