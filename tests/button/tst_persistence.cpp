#include "buttontest.h"
#include "olecolor.h"
#include "tovapropertybag.h"

#include <QSignalSpy>

namespace {

TOVAPicture icon()
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    image.setPixel(8, 8, 0xFF0000FFu);
    return TOVAPicture::icon(image);
}

// Every persisted property away from its default.
void changeEverything(TOVAButton &button)
{
    button.setButtonType(TOVAButton::KDE2);
    button.setCaption(QStringLiteral("Dispo &1 && 2"));
    button.setEnabled(false);
    button.setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 12, QFont::Bold, true));
    button.setColorScheme(TOVAButton::Custom);
    button.setShowFocusRect(false);
    button.setBackColor(0x80000005u); // a system-colour reference is kept as such
    button.setBackOver(0x00ABCDEF);
    button.setForeColor(0x00102030);
    button.setForeOver(0x00405060);
    button.setMaskColor(0x00FF00FF);
    button.setMousePointer(TOVAButton::vbIbeam);
    button.setMouseIcon(icon());
    button.setPictureNormal(solid(3, 7, qRgb(0, 255, 0)));
    button.setPictureOver(solid(3, 7, qRgb(255, 255, 0)));
    button.setUseMaskColor(false);
    button.setSoftBevel(true);
    button.setPicturePosition(TOVAButton::cbBottom);
    button.setUseGreyscale(true);
    button.setSpecialEffect(TOVAButton::cbShadowed);
    button.setCheckBoxBehaviour(true);
    button.setValue(true);
}

const QStringList allKeys = {"BTYPE", "TX",     "ENAB",  "FONT", "COLTYPE", "FOCUSR", "BCOL", "BCOLO",
                             "FCOL",  "FCOLO",  "MCOL",  "MPTR", "MICON",   "PICN",   "PICH", "UMCOL",
                             "SOFT",  "PICPOS", "NGREY", "FX",   "HAND",    "CHECK",  "VALUE"};

} // namespace

class TestPersistence : public QObject {
    Q_OBJECT
private slots:
    void defaults_data()
    {
        QTest::addColumn<bool>("fromEmptyBag");
        QTest::newRow("new control") << false;
        QTest::newRow("empty bag read over changed properties") << true;
    }

    void defaults()
    {
        QFETCH(bool, fromEmptyBag);
        TOVAButton button;
        const QFont font = fromEmptyBag ? QFont(QStringLiteral("DejaVu Serif"), 13) : button.Font();
        if (fromEmptyBag) {
            changeEverything(button);
            button.setFont(font); // the bag gives no font: the control keeps its own
            button.ReadProperties(TOVAPropertyBag());
        }
        QStringList actual;
        for (const char *name :
             {"ButtonType", "Caption", "Enabled", "ColorScheme", "ShowFocusRect", "MousePointer",
              "UseMaskColor", "SoftBevel", "PicturePosition", "UseGreyscale", "SpecialEffect", "HandPointer",
              "CheckBoxBehaviour", "Value"})
            actual << name + QStringLiteral("=") + button.property(name).toString();
        QCOMPARE(actual.join(' '),
                 QStringLiteral("ButtonType=Windows32Bit Caption=%1 Enabled=true ColorScheme=UseWindows "
                                "ShowFocusRect=true MousePointer=vbDefault UseMaskColor=true "
                                "SoftBevel=false PicturePosition=cbLeft UseGreyscale=false "
                                "SpecialEffect=cbNone HandPointer=false CheckBoxBehaviour=false "
                                "Value=false")
                     .arg(fromEmptyBag ? "" : "TOVAButton"));
        // Colours of a new instance are RGB values, not system-colour references.
        const quint32 face = OleColor::systemColor(OleColor::ButtonFace);
        const quint32 text = OleColor::systemColor(OleColor::ButtonText);
        QCOMPARE(QList({button.BackColor(), button.BackOver(), button.ForeColor(), button.ForeOver()}),
                 QList({face, face, text, text}));
        QVERIFY(!OleColor::isSystemReference(face));
        QCOMPARE(button.MaskColor(), 0xC0C0C0u);
        QCOMPARE(button.Font(), font);
        QVERIFY(button.MouseIcon().isNull() && button.PictureNormal().isNull() &&
                button.PictureOver().isNull());
        QVERIFY(button.isEnabled());
    }

    void writesEveryKeyInOrder()
    {
        TOVAButton button;
        button.setMouseIcon(icon());
        button.setPictureNormal(solid(5, 4, qRgb(255, 0, 0)));
        button.setPictureOver(solid(5, 4, qRgb(0, 0, 255)));
        TOVAPropertyBag bag;
        button.WriteProperties(bag);
        QCOMPARE(bag.keys(), allKeys);
        QStringList types;
        for (const QString &key : allKeys)
            types << bag.value(key).metaType().name();
        QCOMPARE(types.join(' '),
                 "int QString bool QFont int bool int int int int int short TOVAPicture TOVAPicture "
                 "TOVAPicture bool bool int bool int bool bool bool");

        // Pictures not set store nothing, and what a key held before is dropped.
        TOVAButton empty;
        empty.WriteProperties(bag);
        QStringList expected = allKeys;
        expected.removeOne("MICON");
        expected.removeOne("PICN");
        expected.removeOne("PICH");
        QCOMPARE(bag.keys(), expected);
    }

    void roundTripOfEveryKey()
    {
        TOVAButton source;
        changeEverything(source);
        TOVAPropertyBag bag;
        source.WriteProperties(bag);
        TOVAButton copy;
        copy.ReadProperties(bag);
        const QMetaObject &meta = TOVAButton::staticMetaObject;
        for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
            const char *name = meta.property(i).name();
            if (!meta.property(i).isWritable())
                continue;
            QVERIFY2(copy.property(name) == source.property(name), name);
        }
        QVERIFY(!copy.isEnabled());
        QCOMPARE(copy.AccessKeys(), QStringLiteral("1"));

        TOVAPropertyBag again;
        copy.WriteProperties(again);
        QCOMPARE(again.keys(), bag.keys());
        for (const QString &key : bag.keys())
            QVERIFY2(again.value(key) == bag.value(key), qPrintable(key));
    }

    void readingDoesNotDraw()
    {
        Form form;
        QVERIFY(form.active());
        TOVAPropertyBag bag;
        bag.writeProperty(QStringLiteral("TX"), QStringLiteral("&Quitter"));
        bag.writeProperty(QStringLiteral("HAND"), true);
        DrawLog log(*form.button);
        log.followNotifications();
        form.button->ReadProperties(bag);
        QCOMPARE(log.entries, QStringList({"Changed HAND"})); // the hand goes through its setter
        QCOMPARE(form.button->AccessKeys(), QStringLiteral("q"));
    }

    void overColoursDefaultToStoredColours()
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

    // The hand sets its own pointer and icon, set or read; without it the stored pointer stands.
    void handPointer()
    {
        TOVAButton button;
        const auto pointer = [&button] {
            return QStringLiteral("%1 %2 %3")
                .arg(button.MousePointer())
                .arg(int(button.MouseIcon().kind()))
                .arg(button.cursor().shape());
        };
        const QString custom = QStringLiteral("99 2 %1").arg(Qt::BitmapCursor);
        button.setHandPointer(true);
        QCOMPARE(pointer(), custom);
        button.setHandPointer(false);
        QCOMPARE(pointer(), QStringLiteral("1 0 %1").arg(Qt::ArrowCursor));

        TOVAPropertyBag bag;
        bag.writeProperty(QStringLiteral("MPTR"), QVariant::fromValue(short(TOVAButton::vbIbeam)));
        bag.writeProperty(QStringLiteral("HAND"), true);
        button.ReadProperties(bag);
        QCOMPARE(pointer(), custom);

        button.setHandPointer(false);
        button.setMousePointer(TOVAButton::vbCustom);
        button.setMouseIcon(icon());
        button.WriteProperties(bag);
        button.setMousePointer(TOVAButton::vbDefault);
        button.ReadProperties(bag);
        QCOMPARE(button.MouseIcon(), icon());
        QCOMPARE(pointer(), custom);
        bag.writeProperty(QStringLiteral("MPTR"), QVariant::fromValue(short(TOVAButton::vbCrosshair)));
        button.ReadProperties(bag);
        QCOMPARE(button.cursor().shape(), Qt::CrossCursor);
    }

    void bagConvertsStoredTypes()
    {
        TOVAPropertyBag bag;
        bag.writeProperty(QStringLiteral("enab"), -1); // a 16-bit True, under a key in another case
        bag.writeProperty(QStringLiteral("CHECK"), 0);
        bag.writeProperty(QStringLiteral("BTYPE"), QStringLiteral("9"));
        bag.writeProperty(QStringLiteral("COLTYPE"), QStringLiteral("not a number"));
        TOVAButton button;
        button.setEnabled(false);
        button.setCheckBoxBehaviour(true);
        button.ReadProperties(bag);
        QVERIFY(button.Enabled());
        QVERIFY(!button.CheckBoxBehaviour());
        QCOMPARE(button.ButtonType(), TOVAButton::OfficeXP);
        QCOMPARE(button.ColorScheme(), TOVAButton::UseWindows);
    }

    void pictureKnowsKindAndSize()
    {
        const TOVAPicture b = solid(3, 5, qRgb(255, 0, 0));
        QCOMPARE(b.kind(), TOVAPicture::Kind::Bitmap);
        QCOMPARE(b.size(), QSize(3, 5));
        QCOMPARE(b.sizeHiMetric(), QSize(79, 132));
        QCOMPARE(icon().kind(), TOVAPicture::Kind::Icon);
        QVERIFY(TOVAPicture::bitmap(QImage()).isNull());
        QVERIFY(TOVAPicture::fromFile(QStringLiteral("/nonexistent.bmp")).isNull());
    }
};

QTEST_MAIN(TestPersistence)
#include "tst_persistence.moc"
