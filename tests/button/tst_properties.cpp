#include "drawlog.h"
#include "olecolor.h"
#include "tovaambient.h"
#include "tovabutton.h"
#include "tovabutton_p.h"

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

namespace {

class DesignAmbient : public TOVAAmbient {
public:
    bool userMode(const QWidget *) const override { return false; }
    QString displayName(const QWidget *) const override { return QStringLiteral("cmdDispo"); }
    QFont font(const QWidget *) const override { return QFont(QStringLiteral("DejaVu Serif"), 11); }
};

TOVAPicture smallBitmap()
{
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::red);
    return TOVAPicture::bitmap(image);
}

} // namespace

class TestProperties : public QObject {
    Q_OBJECT
private slots:
    void newInstanceDefaults();
    void newInstanceTakesHostNameAndFont();
    void settersNotifyAndRedraw_data();
    void settersNotifyAndRedraw();
    void pictureOverRedrawsOnlyWhileHovered();
    void colourSettersInDesignAndRunMode_data();
    void colourSettersInDesignAndRunMode();
    void javaMetalTurnsFontBoldOnlyInDesignMode();
    void fontSizeRoundsOnReading_data();
    void fontSizeRoundsOnReading();
    void fontShortcutsChangeTheFont();
    void disableRefreshSuspendsDrawing();
    void valueWithoutCheckBoxDoesNotChangeTheLook();
    void drawsOnlyWhileShown();
    void enabledFollowsTheWidget();
    void ambientChangeRedrawsUnlessCustom();
    void handPointer();
    void publishedNames_data();
    void publishedNames();
};

void TestProperties::newInstanceDefaults()
{
    TOVAButton button;
    QCOMPARE(button.Enabled(), true);
    QCOMPARE(button.ShowFocusRect(), true);
    QCOMPARE(button.UseMaskColor(), true);
    QCOMPARE(button.Caption(), QStringLiteral("TOVAButton"));
    QCOMPARE(button.ButtonType(), TOVAButton::Windows32Bit);
    QCOMPARE(button.ColorScheme(), TOVAButton::UseWindows);
    // Colours of a new instance are RGB values, not system-colour references.
    QCOMPARE(button.BackColor(), OleColor::systemColor(OleColor::ButtonFace));
    QCOMPARE(button.BackOver(), button.BackColor());
    QCOMPARE(button.ForeColor(), OleColor::systemColor(OleColor::ButtonText));
    QCOMPARE(button.ForeOver(), button.ForeColor());
    QVERIFY(!OleColor::isSystemReference(button.BackColor()));
    QCOMPARE(button.MaskColor(), 0xC0C0C0u);
    QCOMPARE(button.PicturePosition(), TOVAButton::cbLeft);
    QCOMPARE(button.SpecialEffect(), TOVAButton::cbNone);
    QCOMPARE(button.MousePointer(), TOVAButton::vbDefault);
    QCOMPARE(button.HandPointer(), false);
    QCOMPARE(button.SoftBevel(), false);
    QCOMPARE(button.UseGreyscale(), false);
    QCOMPARE(button.CheckBoxBehaviour(), false);
    QCOMPARE(button.Value(), false);
    QVERIFY(button.PictureNormal().isNull());
    QVERIFY(button.PictureOver().isNull());
    QVERIFY(button.MouseIcon().isNull());
    QCOMPARE(button.Version(), QStringLiteral("2.0.6"));
    QCOMPARE(button.property("Version").toString(), QStringLiteral("2.0.6"));
}

void TestProperties::newInstanceTakesHostNameAndFont()
{
    DesignAmbient ambient;
    TOVAButton button;
    button.setAmbient(&ambient);
    button.InitProperties();
    QCOMPARE(button.Caption(), QStringLiteral("cmdDispo"));
    QCOMPARE(button.FontName(), QStringLiteral("DejaVu Serif"));
    QCOMPARE(button.FontSize(), short(11));
}

// Each setter through the property system, from a shown button last drawn down, so that "last state"
// (2) and state 0 can be told apart.
void TestProperties::settersNotifyAndRedraw_data()
{
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QStringList>("expected");
    const QString last = QStringLiteral("Draw 2 forced");
    const QString zero = QStringLiteral("Draw 0 forced");
    const auto row = [](const char *name, const QVariant &value, const QStringList &expected) {
        QTest::newRow(name) << QByteArray(name) << value << expected;
    };
    row("BackColor", 0x112233u, {last, "Changed BCOL"});
    row("BackOver", 0x112233u, {last, "Changed BCOLO"});
    row("ForeColor", 0x112233u, {last, "Changed FCOL"});
    row("ForeOver", 0x112233u, {last, "Changed FCOLO"});
    row("MaskColor", 0x00FF00u, {last, "Changed MCOL"});
    row("ButtonType", int(TOVAButton::SimpleFlat), {zero, "Changed BTYPE"});
    row("Caption", QStringLiteral("&Envoyer"), {zero, "Changed TX"});
    row("Enabled", false, {zero, "Changed ENAB"});
    row("Font", QFont(QStringLiteral("DejaVu Sans"), 14), {zero, "Changed FONT"});
    row("FontBold", true, {zero});
    row("FontItalic", true, {zero});
    row("FontUnderline", true, {zero});
    row("FontSize", QVariant::fromValue(short(12)), {zero});
    row("FontName", QStringLiteral("DejaVu Serif"), {zero});
    row("ColorScheme", int(TOVAButton::Custom), {zero, "Changed COLTYPE"});
    row("ShowFocusRect", false, {last, "Changed FOCUSR"});
    row("MousePointer", int(TOVAButton::vbCrosshair), {"Changed MPTR"});
    row("MouseIcon", QVariant::fromValue(smallBitmap()), {"Changed MICON"});
    row("HandPointer", true, {"Changed HAND"});
    row("SoftBevel", true, {last, "Changed SOFT"});
    row("PictureNormal", QVariant::fromValue(smallBitmap()), {last, "Changed PICN"});
    row("PictureOver", QVariant::fromValue(smallBitmap()), {"Changed PICO"});
    row("PicturePosition", int(TOVAButton::cbTop), {"Changed PICPOS", last});
    row("UseMaskColor", false, {"Changed UMCOL"});
    row("UseGreyscale", true, {"Changed NGREY"});
    row("SpecialEffect", int(TOVAButton::cbEngraved), {last, "Changed FX"});
    row("CheckBoxBehaviour", true, {last, "Changed CHECK"});
    row("Value", true, {"Changed VALUE"});
}

void TestProperties::settersNotifyAndRedraw()
{
    QFETCH(QByteArray, property);
    QFETCH(QVariant, value);
    QFETCH(QStringList, expected);

    QWidget form;
    auto *edit = new QLineEdit(&form); // holds the focus, so that no focus change redraws
    TOVAButton &button = *new TOVAButton(&form);
    button.setGeometry(5, 30, 90, 25);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::mousePress(&button, Qt::LeftButton);
    QCOMPARE(TOVAButtonPrivate::get(&button)->LastState, quint8(2));
    edit->setFocus(); // the press gave the button the focus

    DrawLog log(button);
    log.followNotifications();
    QVERIFY(button.setProperty(property, value));
    QCOMPARE(log.entries, expected);
    if (value.metaType() == QMetaType::fromType<int>())
        QCOMPARE(button.property(property).toInt(), value.toInt()); // enumerations
    else
        QCOMPARE(button.property(property), value);
}

void TestProperties::pictureOverRedrawsOnlyWhileHovered()
{
    TOVAButton button;
    TOVAButtonPrivate::get(&button)->IsOver = true;
    DrawLog log(button);
    button.setPictureOver(smallBitmap());
    QCOMPARE(log.entries, QStringList({"Draw 0 forced"}));
    button.setPictureOver(TOVAPicture());
    // The getter returns the reference kept, whether in use or not.
    QVERIFY(button.PictureOver().isNull());

    button.setPictureNormal(smallBitmap());
    log.entries.clear();
    button.setUseMaskColor(false);
    button.setUseGreyscale(true);
    QCOMPARE(log.entries, QStringList({"Draw 0 forced", "Draw 0 forced"}));
}

void TestProperties::colourSettersInDesignAndRunMode_data()
{
    QTest::addColumn<bool>("designMode");
    QTest::newRow("design mode") << true;
    QTest::newRow("run time") << false;
}

void TestProperties::colourSettersInDesignAndRunMode()
{
    QFETCH(bool, designMode);
    DesignAmbient design;
    TOVAButton button;
    if (designMode)
        button.setAmbient(&design);
    button.setBackOver(0x000001);
    button.setForeOver(0x000002);
    button.setBackColor(0x445566);
    button.setForeColor(0x778899);
    QCOMPARE(button.BackColor(), 0x445566u);
    QCOMPARE(button.ForeColor(), 0x778899u);
    QCOMPARE(button.BackOver(), designMode ? 0x445566u : 0x000001u);
    QCOMPARE(button.ForeOver(), designMode ? 0x778899u : 0x000002u);
}

void TestProperties::javaMetalTurnsFontBoldOnlyInDesignMode()
{
    DesignAmbient design;
    TOVAButton designed;
    designed.setAmbient(&design);
    designed.setFontBold(false);
    designed.setButtonType(TOVAButton::JavaMetal);
    QVERIFY(designed.FontBold());

    TOVAButton running;
    running.setFontBold(false);
    running.setButtonType(TOVAButton::JavaMetal);
    QVERIFY(!running.FontBold());
    QCOMPARE(running.ButtonType(), TOVAButton::JavaMetal);
}

void TestProperties::fontSizeRoundsOnReading_data()
{
    QTest::addColumn<double>("points");
    QTest::addColumn<short>("read");
    QTest::newRow("whole") << 9.0 << short(9);
    QTest::newRow("9.75") << 9.75 << short(10);
    QTest::newRow("8.25") << 8.25 << short(8);
    QTest::newRow("half to even, down") << 8.5 << short(8);
    QTest::newRow("half to even, up") << 9.5 << short(10);
}

void TestProperties::fontSizeRoundsOnReading()
{
    QFETCH(double, points);
    QFETCH(short, read);
    TOVAButton button;
    QFont font = button.Font();
    font.setPointSizeF(points);
    button.setFont(font);
    QCOMPARE(button.FontSize(), read);
    QCOMPARE(button.Font().pointSizeF(), points);
}

void TestProperties::fontShortcutsChangeTheFont()
{
    TOVAButton button;
    button.setFontName(QStringLiteral("DejaVu Sans Mono"));
    button.setFontSize(9);
    button.setFontBold(true);
    button.setFontItalic(true);
    button.setFontUnderline(true);
    const QFont font = button.Font();
    QCOMPARE(font.family(), QStringLiteral("DejaVu Sans Mono"));
    QCOMPARE(font.pointSize(), 9);
    QVERIFY(font.bold() && font.italic() && font.underline());
    QCOMPARE(button.FontSize(), short(9));
    button.setFontBold(false);
    QVERIFY(!button.Font().bold());
    QVERIFY(button.Font().italic());
}

void TestProperties::disableRefreshSuspendsDrawing()
{
    QWidget form;
    TOVAButton &button = *new TOVAButton(&form);
    button.setCaption(QStringLiteral("Avant"));
    button.setGeometry(0, 0, 100, 30);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto *d = TOVAButtonPrivate::get(&button);
    const QImage before = d->BackBuffer;
    QVERIFY(!before.isNull());

    button.DisableRefresh();
    button.setCaption(QStringLiteral("Après"));
    button.setColorScheme(TOVAButton::ForceStandard);
    QCOMPARE(button.Caption(), QStringLiteral("Après"));
    QCOMPARE(button.ColorScheme(), TOVAButton::ForceStandard);
    QCOMPARE(d->BackBuffer, before);
    QCOMPARE(d->LastCaption, QStringLiteral("Avant"));

    button.Refresh();
    QCOMPARE(d->LastCaption, QStringLiteral("Après"));
    QVERIFY(d->BackBuffer != before);
}

void TestProperties::drawsOnlyWhileShown()
{
    QWidget form;
    TOVAButton &button = *new TOVAButton(&form);
    button.setGeometry(0, 0, 100, 30);
    auto *d = TOVAButtonPrivate::get(&button);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(d->RedrawEnabled);
    QCOMPARE(d->LastCaption, button.Caption());

    button.hide();
    QVERIFY(!d->RedrawEnabled);
    button.setCaption(QStringLiteral("Caché"));
    QCOMPARE(d->LastCaption, QStringLiteral("TOVAButton"));

    DrawLog log(button);
    button.show();
    QVERIFY(d->RedrawEnabled);
    QCOMPARE(log.entries, QStringList({"Draw 0 forced"}));
    QCOMPARE(d->LastCaption, QStringLiteral("Caché"));
}

void TestProperties::valueWithoutCheckBoxDoesNotChangeTheLook()
{
    QWidget form;
    TOVAButton &button = *new TOVAButton(&form);
    button.setGeometry(0, 0, 100, 30);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto *d = TOVAButtonPrivate::get(&button);
    const QImage up = d->BackBuffer;
    button.setValue(true);
    QVERIFY(button.Value());
    QCOMPARE(d->BackBuffer, up);
    QCOMPARE(d->LastState, quint8(0));

    // A check box with Value set draws down even when asked for the up state.
    button.setCheckBoxBehaviour(true);
    QCOMPARE(d->LastState, quint8(2));
    QVERIFY(d->BackBuffer != up);
}

void TestProperties::enabledFollowsTheWidget()
{
    QWidget parent;
    TOVAButton &button = *new TOVAButton(&parent);
    QSignalSpy changed(&button, &TOVAButton::PropertyChanged);
    button.setEnabled(false);
    QVERIFY(!button.isEnabled());
    QCOMPARE(changed.count(), 1);

    // A host calling QWidget::setEnabled directly still changes the property.
    static_cast<QWidget &>(button).setEnabled(true);
    QVERIFY(button.Enabled());
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.last().first().toString(), QStringLiteral("ENAB"));

    // A parent disabled does not change the control's own property.
    parent.setEnabled(false);
    QVERIFY(!button.isEnabled());
    QVERIFY(button.Enabled());
    QCOMPARE(changed.count(), 2);
}

void TestProperties::ambientChangeRedrawsUnlessCustom()
{
    QWidget parent;
    auto *button = new TOVAButton(&parent);
    DrawLog log(*button);
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, Qt::darkCyan);
    parent.setPalette(palette);
    QCOMPARE(log.entries, QStringList({"Draw 0 forced"}));

    button->setColorScheme(TOVAButton::Custom);
    log.entries.clear();
    palette.setColor(QPalette::Window, Qt::darkRed);
    parent.setPalette(palette);
    button->AmbientChanged(QStringLiteral("BackColor"));
    QVERIFY(log.entries.isEmpty());
}

void TestProperties::handPointer()
{
    TOVAButton button;
    button.setHandPointer(true);
    QCOMPARE(button.MousePointer(), TOVAButton::vbCustom);
    QCOMPARE(button.MouseIcon().kind(), TOVAPicture::Kind::Icon);
    QCOMPARE(button.cursor().shape(), Qt::BitmapCursor);

    button.setHandPointer(false);
    QCOMPARE(button.MousePointer(), TOVAButton::vbArrow);
    QVERIFY(button.MouseIcon().isNull());
    QCOMPARE(button.cursor().shape(), Qt::ArrowCursor);
}

void TestProperties::publishedNames_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("name");
    QTest::newRow("1") << 1 << "Windows 16-bit";
    QTest::newRow("2") << 2 << "Windows 32-bit";
    QTest::newRow("3") << 3 << "Windows XP";
    QTest::newRow("4") << 4 << "Mac";
    QTest::newRow("5") << 5 << "Java metal";
    QTest::newRow("6") << 6 << "Netscape 6";
    QTest::newRow("7") << 7 << "Simple Flat";
    QTest::newRow("8") << 8 << "Flat Highlight";
    QTest::newRow("9") << 9 << "Office XP";
    QTest::newRow("10 is not assigned") << 10 << "";
    QTest::newRow("11") << 11 << "Transparent";
    QTest::newRow("12") << 12 << "3D Hover";
    QTest::newRow("13") << 13 << "Oval Flat";
    QTest::newRow("14") << 14 << "KDE 2";
}

void TestProperties::publishedNames()
{
    QFETCH(int, value);
    QFETCH(QString, name);
    QCOMPARE(TOVAButton::displayName(TOVAButton::ButtonTypes(value)), name);
    QCOMPARE(TOVAButton::displayName(TOVAButton::UseContainer), QStringLiteral("Use Container"));
    QCOMPARE(TOVAButton::displayName(TOVAButton::ForceStandard), QStringLiteral("Force Standard"));
    QCOMPARE(TOVAButton::displayName(TOVAButton::cbBackground), QStringLiteral("cbBackground"));
    QCOMPARE(TOVAButton::displayName(TOVAButton::cbShadowed), QStringLiteral("cbShadowed"));
}

QTEST_MAIN(TestProperties)
#include "tst_properties.moc"
