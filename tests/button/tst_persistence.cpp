#include "drawlog.h"
#include "olecolor.h"
#include "tovabutton.h"
#include "tovapropertybag.h"

#include <QSignalSpy>
#include <QTest>

namespace {

const QStringList allKeys = {"BTYPE", "TX",     "ENAB",  "FONT", "COLTYPE", "FOCUSR", "BCOL", "BCOLO",
                             "FCOL",  "FCOLO",  "MCOL",  "MPTR", "MICON",   "PICN",   "PICH", "UMCOL",
                             "SOFT",  "PICPOS", "NGREY", "FX",   "HAND",    "CHECK",  "VALUE"};

TOVAPicture bitmap(QColor colour, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return TOVAPicture::bitmap(image);
}

TOVAPicture icon()
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    image.setPixel(8, 8, 0xFF0000FFu);
    return TOVAPicture::icon(image);
}

} // namespace

class TestPersistence : public QObject {
    Q_OBJECT
private slots:
    void emptyBagGivesDefaults();
    void readingDoesNotDraw();
    void writesEveryKeyInOrder();
    void unsetPicturesStoreNothing();
    void roundTripOfEveryKey();
    void overColoursDefaultToStoredColours();
    void pictureOverPersistsUnderPICH();
    void storedHandLoadsTheHandCursor();
    void storedPointerSurvivesHandFalse();
    void readAppliesEnabledAndAccessKey();
    void bagConvertsStoredTypes();
    void pictureKnowsKindAndSize();
};

void TestPersistence::emptyBagGivesDefaults()
{
    TOVAButton button;
    button.setButtonType(TOVAButton::OvalFlat);
    button.setCaption(QStringLiteral("Ancien"));
    button.setMaskColor(0x123456);
    button.setValue(true);
    QFont font(QStringLiteral("DejaVu Serif"), 13);
    button.setFont(font);

    button.ReadProperties(TOVAPropertyBag());
    QCOMPARE(button.ButtonType(), TOVAButton::Windows32Bit);
    QCOMPARE(button.Caption(), QString());
    QCOMPARE(button.Enabled(), true);
    QCOMPARE(button.Font(), font); // the control's current font
    QCOMPARE(button.ColorScheme(), TOVAButton::UseWindows);
    QCOMPARE(button.ShowFocusRect(), true);
    QCOMPARE(button.BackColor(), OleColor::systemColor(OleColor::ButtonFace));
    QCOMPARE(button.BackOver(), button.BackColor());
    QCOMPARE(button.ForeColor(), OleColor::systemColor(OleColor::ButtonText));
    QCOMPARE(button.ForeOver(), button.ForeColor());
    QCOMPARE(button.MaskColor(), 0xC0C0C0u);
    QCOMPARE(button.MousePointer(), TOVAButton::vbDefault);
    QVERIFY(button.MouseIcon().isNull());
    QVERIFY(button.PictureNormal().isNull());
    QVERIFY(button.PictureOver().isNull());
    QCOMPARE(button.UseMaskColor(), true);
    QCOMPARE(button.SoftBevel(), false);
    QCOMPARE(button.PicturePosition(), TOVAButton::cbLeft);
    QCOMPARE(button.UseGreyscale(), false);
    QCOMPARE(button.SpecialEffect(), TOVAButton::cbNone);
    QCOMPARE(button.HandPointer(), false);
    QCOMPARE(button.CheckBoxBehaviour(), false);
    QCOMPARE(button.Value(), false);
}

void TestPersistence::readingDoesNotDraw()
{
    QWidget form;
    TOVAButton &button = *new TOVAButton(&form);
    button.setGeometry(0, 0, 80, 24);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    TOVAPropertyBag bag;
    bag.writeProperty(QStringLiteral("TX"), QStringLiteral("Lu"));
    bag.writeProperty(QStringLiteral("HAND"), true);
    DrawLog log(button);
    button.ReadProperties(bag);
    QVERIFY(log.entries.isEmpty());
    QCOMPARE(button.Caption(), QStringLiteral("Lu"));
}

void TestPersistence::writesEveryKeyInOrder()
{
    TOVAButton button;
    button.setMouseIcon(icon());
    button.setPictureNormal(bitmap(Qt::red, {5, 4}));
    button.setPictureOver(bitmap(Qt::blue, {5, 4}));
    TOVAPropertyBag bag;
    button.WriteProperties(bag);
    QCOMPARE(bag.keys(), allKeys);

    const QList<QMetaType> types = {QMetaType::fromType<int>(),         QMetaType::fromType<QString>(),
                                    QMetaType::fromType<bool>(),        QMetaType::fromType<QFont>(),
                                    QMetaType::fromType<int>(),         QMetaType::fromType<bool>(),
                                    QMetaType::fromType<int>(),         QMetaType::fromType<int>(),
                                    QMetaType::fromType<int>(),         QMetaType::fromType<int>(),
                                    QMetaType::fromType<int>(),         QMetaType::fromType<short>(),
                                    QMetaType::fromType<TOVAPicture>(), QMetaType::fromType<TOVAPicture>(),
                                    QMetaType::fromType<TOVAPicture>(), QMetaType::fromType<bool>(),
                                    QMetaType::fromType<bool>(),        QMetaType::fromType<int>(),
                                    QMetaType::fromType<bool>(),        QMetaType::fromType<int>(),
                                    QMetaType::fromType<bool>(),        QMetaType::fromType<bool>(),
                                    QMetaType::fromType<bool>()};
    for (qsizetype i = 0; i < allKeys.size(); ++i)
        QCOMPARE(bag.value(allKeys[i]).metaType(), types[i]);
}

void TestPersistence::unsetPicturesStoreNothing()
{
    TOVAButton button;
    TOVAPropertyBag bag;
    bag.writeProperty(QStringLiteral("PICN"), QVariant::fromValue(bitmap(Qt::red, {2, 2})));
    button.WriteProperties(bag);
    QStringList expected = allKeys;
    expected.removeOne("MICON");
    expected.removeOne("PICN");
    expected.removeOne("PICH");
    QCOMPARE(bag.keys(), expected);
}

void TestPersistence::roundTripOfEveryKey()
{
    TOVAButton source;
    source.setButtonType(TOVAButton::KDE2);
    source.setCaption(QStringLiteral("Dispo &1 && 2"));
    source.setEnabled(false);
    source.setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 12, QFont::Bold, true));
    source.setColorScheme(TOVAButton::Custom);
    source.setShowFocusRect(false);
    source.setBackColor(0x80000005u); // a system-colour reference is kept as such
    source.setBackOver(0x00ABCDEF);
    source.setForeColor(0x00102030);
    source.setForeOver(0x00405060);
    source.setMaskColor(0x00FF00FF);
    source.setMousePointer(TOVAButton::vbIbeam);
    source.setMouseIcon(icon());
    source.setPictureNormal(bitmap(Qt::green, {3, 7}));
    source.setPictureOver(bitmap(Qt::yellow, {3, 7}));
    source.setUseMaskColor(false);
    source.setSoftBevel(true);
    source.setPicturePosition(TOVAButton::cbBottom);
    source.setUseGreyscale(true);
    source.setSpecialEffect(TOVAButton::cbShadowed);
    source.setCheckBoxBehaviour(true);
    source.setValue(true);

    TOVAPropertyBag bag;
    source.WriteProperties(bag);
    TOVAButton copy;
    copy.ReadProperties(bag);

    const QList<QByteArray> properties = {"ButtonType",  "Caption",           "Enabled",      "Font",
                                          "ColorScheme", "ShowFocusRect",     "BackColor",    "BackOver",
                                          "ForeColor",   "ForeOver",          "MaskColor",    "MousePointer",
                                          "MouseIcon",   "PictureNormal",     "PictureOver",  "UseMaskColor",
                                          "SoftBevel",   "PicturePosition",   "UseGreyscale", "SpecialEffect",
                                          "HandPointer", "CheckBoxBehaviour", "Value"};
    for (const QByteArray &name : properties)
        QVERIFY2(copy.property(name) == source.property(name), name.constData());
    QVERIFY(!copy.isEnabled());
    QCOMPARE(copy.AccessKeys(), QStringLiteral("1"));

    TOVAPropertyBag again;
    copy.WriteProperties(again);
    QCOMPARE(again.keys(), bag.keys());
    for (const QString &key : bag.keys())
        QVERIFY2(again.value(key) == bag.value(key), qPrintable(key));

    // The hand pointer round-trips too, with the pointer it sets.
    source.setHandPointer(true);
    source.WriteProperties(bag);
    copy.ReadProperties(bag);
    QVERIFY(copy.HandPointer());
    QCOMPARE(copy.MousePointer(), TOVAButton::vbCustom);
    QCOMPARE(copy.MouseIcon(), source.MouseIcon());
}

void TestPersistence::overColoursDefaultToStoredColours()
{
    TOVAPropertyBag bag;
    bag.writeProperty(QStringLiteral("BCOL"), 0x00336699);
    bag.writeProperty(QStringLiteral("FCOL"), 0x00996633);
    TOVAButton button;
    button.ReadProperties(bag);
    QCOMPARE(button.BackOver(), 0x00336699u);
    QCOMPARE(button.ForeOver(), 0x00996633u);

    bag.writeProperty(QStringLiteral("BCOLO"), 0x00010203);
    button.ReadProperties(bag);
    QCOMPARE(button.BackColor(), 0x00336699u);
    QCOMPARE(button.BackOver(), 0x00010203u);
}

void TestPersistence::pictureOverPersistsUnderPICH()
{
    TOVAButton button;
    QSignalSpy changed(&button, &TOVAButton::PropertyChanged);
    const TOVAPicture over = bitmap(Qt::cyan, {6, 6});
    button.setPictureOver(over);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().first().toString(), QStringLiteral("PICO"));

    TOVAPropertyBag bag;
    button.WriteProperties(bag);
    QVERIFY(!bag.contains(QStringLiteral("PICO")));
    QCOMPARE(bag.value(QStringLiteral("PICH")).value<TOVAPicture>(), over);

    TOVAButton copy;
    copy.ReadProperties(bag);
    QCOMPARE(copy.PictureOver(), over);
}

void TestPersistence::storedHandLoadsTheHandCursor()
{
    TOVAPropertyBag bag;
    bag.writeProperty(QStringLiteral("MPTR"), QVariant::fromValue(short(TOVAButton::vbIbeam)));
    bag.writeProperty(QStringLiteral("HAND"), true);
    TOVAButton button;
    button.ReadProperties(bag);
    QVERIFY(button.HandPointer());
    QCOMPARE(button.MousePointer(), TOVAButton::vbCustom);
    QCOMPARE(button.MouseIcon().kind(), TOVAPicture::Kind::Icon);
    QCOMPARE(button.cursor().shape(), Qt::BitmapCursor);
}

void TestPersistence::storedPointerSurvivesHandFalse()
{
    TOVAButton source;
    source.setMousePointer(TOVAButton::vbCustom);
    source.setMouseIcon(icon());
    TOVAPropertyBag bag;
    source.WriteProperties(bag);
    QCOMPARE(bag.value(QStringLiteral("HAND")).toBool(), false);

    TOVAButton copy;
    copy.ReadProperties(bag);
    QCOMPARE(copy.MousePointer(), TOVAButton::vbCustom);
    QCOMPARE(copy.MouseIcon(), icon());
    QCOMPARE(copy.cursor().shape(), Qt::BitmapCursor);

    bag.writeProperty(QStringLiteral("MPTR"), QVariant::fromValue(short(TOVAButton::vbCrosshair)));
    copy.ReadProperties(bag);
    QCOMPARE(copy.MousePointer(), TOVAButton::vbCrosshair);
    QCOMPARE(copy.cursor().shape(), Qt::CrossCursor);
}

void TestPersistence::readAppliesEnabledAndAccessKey()
{
    TOVAPropertyBag bag;
    bag.writeProperty(QStringLiteral("ENAB"), false);
    bag.writeProperty(QStringLiteral("TX"), QStringLiteral("&Quitter"));
    TOVAButton button;
    QSignalSpy changed(&button, &TOVAButton::PropertyChanged);
    button.ReadProperties(bag);
    QVERIFY(!button.isEnabled());
    QCOMPARE(button.AccessKeys(), QStringLiteral("q"));
    QCOMPARE(changed.count(), 0);
}

void TestPersistence::bagConvertsStoredTypes()
{
    TOVAPropertyBag bag;
    bag.writeProperty(QStringLiteral("enab"), -1); // a 16-bit True
    bag.writeProperty(QStringLiteral("CHECK"), 0);
    bag.writeProperty(QStringLiteral("BTYPE"), QStringLiteral("9"));
    bag.writeProperty(QStringLiteral("COLTYPE"), QStringLiteral("not a number"));
    TOVAButton button;
    button.ReadProperties(bag);
    QVERIFY(button.Enabled());
    QVERIFY(!button.CheckBoxBehaviour());
    QCOMPARE(button.ButtonType(), TOVAButton::OfficeXP);
    QCOMPARE(button.ColorScheme(), TOVAButton::UseWindows);
}

void TestPersistence::pictureKnowsKindAndSize()
{
    const TOVAPicture b = bitmap(Qt::red, {3, 5});
    QCOMPARE(b.kind(), TOVAPicture::Kind::Bitmap);
    QCOMPARE(b.size(), QSize(3, 5));
    QCOMPARE(b.sizeHiMetric(), QSize(79, 132));
    QCOMPARE(icon().kind(), TOVAPicture::Kind::Icon);
    QVERIFY(TOVAPicture::bitmap(QImage()).isNull());
    QVERIFY(TOVAPicture::fromFile(QStringLiteral("/nonexistent.bmp")).isNull());
}

QTEST_MAIN(TestPersistence)
#include "tst_persistence.moc"
