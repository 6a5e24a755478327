#include "buttontest.h"
#include "olecolor.h"
#include "tovaambient.h"

#include <QSignalSpy>

namespace {

class DesignAmbient : public TOVAAmbient {
public:
    bool userMode(const QWidget *) const override { return false; }
    QString displayName(const QWidget *) const override { return QStringLiteral("cmdDispo"); }
    QFont font(const QWidget *) const override { return QFont(QStringLiteral("DejaVu Serif"), 11); }
};

} // namespace

class TestProperties : public QObject {
    Q_OBJECT
private slots:
    // Each setter through the property system, from a shown button last drawn down, so that "last state"
    // (2) and state 0 can be told apart.
    void settersNotifyAndRedraw_data()
    {
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QStringList>("expected");
        const QString last = QStringLiteral("Draw 2 forced");
        const QString zero = QStringLiteral("Draw 0 forced");
        const auto row = [](const char *name, const QVariant &value, const QStringList &expected) {
            QTest::newRow(name) << QByteArray(name) << value << expected;
        };
        const QVariant picture = QVariant::fromValue(solid(4, 3, qRgb(255, 0, 0)));
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
        row("MouseIcon", picture, {"Changed MICON"});
        row("HandPointer", true, {"Changed HAND"});
        row("SoftBevel", true, {last, "Changed SOFT"});
        row("PictureNormal", picture, {last, "Changed PICN"});
        row("PictureOver", picture, {"Changed PICO"});
        row("PicturePosition", int(TOVAButton::cbTop), {"Changed PICPOS", last});
        row("UseMaskColor", false, {"Changed UMCOL"});
        row("UseGreyscale", true, {"Changed NGREY"});
        row("SpecialEffect", int(TOVAButton::cbEngraved), {last, "Changed FX"});
        row("CheckBoxBehaviour", true, {last, "Changed CHECK"});
        row("Value", true, {"Changed VALUE"});
    }

    void settersNotifyAndRedraw()
    {
        QFETCH(QByteArray, property);
        QFETCH(QVariant, value);
        QFETCH(QStringList, expected);
        Form form;
        QVERIFY(form.active());
        QTest::mousePress(form.button, Qt::LeftButton);
        QCOMPARE(form.d->LastState, quint8(2));
        form.first->setFocus(); // the press gave the button the focus; no focus change may redraw now
        const QFont font = form.button->Font();

        DrawLog log(*form.button);
        log.followNotifications();
        QVERIFY(form.button->setProperty(property, value));
        QCOMPARE(log.entries, expected);
        if (value.metaType() == QMetaType::fromType<int>())
            QCOMPARE(form.button->property(property).toInt(), value.toInt()); // enumerations
        else
            QCOMPARE(form.button->property(property), value);
        if (property.startsWith("Font"))
            QVERIFY(form.button->Font() != font);
    }

    void pictureOptionsRedrawOnlyWhenTheyShow()
    {
        TOVAButton button;
        DrawLog log(button);
        TOVAButtonPrivate::get(&button)->IsOver = true; // the hover picture shows
        button.setPictureOver(solid(4, 3, qRgb(255, 0, 0)));
        QCOMPARE(log.entries, QStringList({"Draw 0 forced"}));
        button.setPictureNormal(solid(4, 3, qRgb(255, 0, 0)));
        log.entries.clear();
        button.setUseMaskColor(false);
        button.setUseGreyscale(true);
        QCOMPARE(log.entries, QStringList({"Draw 0 forced", "Draw 0 forced"}));
    }

    void designMode_data()
    {
        QTest::addColumn<bool>("design");
        QTest::newRow("design mode") << true;
        QTest::newRow("run time") << false;
    }

    void designMode()
    {
        QFETCH(bool, design);
        DesignAmbient ambient;
        TOVAButton button;
        if (design) {
            button.setAmbient(&ambient);
            button.InitProperties();
            QCOMPARE(button.Caption(), QStringLiteral("cmdDispo"));
            QCOMPARE(button.FontName(), QStringLiteral("DejaVu Serif"));
            QCOMPARE(button.FontSize(), short(11));
        }
        // New colours become the hover colours too while the form is designed.
        button.setBackOver(0x000001);
        button.setForeOver(0x000002);
        button.setBackColor(0x445566);
        button.setForeColor(0x778899);
        QCOMPARE(button.BackOver(), design ? 0x445566u : 0x000001u);
        QCOMPARE(button.ForeOver(), design ? 0x778899u : 0x000002u);
        // Java metal's bold caption is a design-time choice.
        button.setFontBold(false);
        button.setButtonType(TOVAButton::JavaMetal);
        QCOMPARE(button.FontBold(), design);
    }

    void fontSizeRoundsOnReading_data()
    {
        QTest::addColumn<double>("points");
        QTest::addColumn<short>("read");
        QTest::newRow("whole") << 9.0 << short(9);
        QTest::newRow("9.75") << 9.75 << short(10);
        QTest::newRow("8.25") << 8.25 << short(8);
        QTest::newRow("half to even, down") << 8.5 << short(8);
        QTest::newRow("half to even, up") << 9.5 << short(10);
    }

    void fontSizeRoundsOnReading()
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

    // Not while refreshing is suspended, nor hidden, nor without an area; the changes show afterwards.
    void drawsOnlyWhenAllowed()
    {
        ButtonFixture f(2, 100, 30);
        f.button->setCaption(QStringLiteral("Avant"));
        const QImage before = f.d->BackBuffer;
        f.button->DisableRefresh();
        f.button->setCaption(QStringLiteral("Après"));
        f.button->setColorScheme(TOVAButton::Custom);
        QCOMPARE(f.d->BackBuffer, before);
        QCOMPARE(f.d->LastCaption, QStringLiteral("Avant"));
        f.button->Refresh();
        QCOMPARE(f.d->LastCaption, QStringLiteral("Après"));
        QVERIFY(f.d->BackBuffer != before);

        f.button->hide();
        f.button->setCaption(QStringLiteral("Caché"));
        QCOMPARE(f.d->LastCaption, QStringLiteral("Après"));
        DrawLog log(*f.button);
        f.button->show();
        QCOMPARE(log.entries, QStringList({"Draw 0 forced"}));
        QCOMPARE(f.d->LastCaption, QStringLiteral("Caché"));

        ButtonFixture flat(2, 8, 0);
        flat.d->DrawButton(0, true);
        QVERIFY(flat.d->BackBuffer.isNull());
    }

    void valueDrawsDownOnlyAsCheckBox()
    {
        ButtonFixture f(1, 8, 6);
        const QImage up = f.draw(0);
        const QImage down = f.draw(2);
        f.button->setValue(true);
        QCOMPARE(f.draw(0), up);
        f.button->setCheckBoxBehaviour(true);
        QCOMPARE(f.d->LastState, quint8(2)); // redrawn at once
        QCOMPARE(f.draw(0), down);
        f.button->setValue(false);
        QCOMPARE(f.draw(0), up);
    }

    void enabledFollowsTheWidget()
    {
        QWidget parent;
        TOVAButton &button = *new TOVAButton(&parent);
        QSignalSpy changed(&button, &TOVAButton::PropertyChanged);
        button.setEnabled(false);
        QVERIFY(!button.isEnabled());
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

    void ambientChangeRedrawsUnlessCustom()
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
};

QTEST_MAIN(TestProperties)
#include "tst_properties.moc"
