#include "buttonshot.h"
#include "tovapropertybag.h"

#include <QTest>

class TestButtonShot : public QObject {
    Q_OBJECT
private slots:
    void outsideTheRegionIsTransparent()
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

    void propertiesFromArguments()
    {
        TOVAPropertyBag bag;
        QVERIFY(ButtonShot::parseProperties({"btype=14", "TX=&Ok", "BCOL=0xE0E0E0", "FCOL=-2147483630",
                                             "ENAB=0", "SOFT=-1", "FONT=DejaVu Sans,12,bold"},
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

    void badArguments()
    {
        for (const QString argument :
             {"BTYPE", "COLOUR=1", "BCOL=red", "ENAB=yes", "PICN=/nonexistent/picture.png"}) {
            TOVAPropertyBag bag;
            QVERIFY2(!ButtonShot::parseProperties({argument}, bag).isEmpty(), qPrintable(argument));
        }
    }
};

QTEST_MAIN(TestButtonShot)
#include "tst_buttonshot.moc"
