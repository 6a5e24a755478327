#include "buttontest.h"
#include "colorarith.h"
#include "tovaambient.h"

#include <QFontMetrics>

using TovaColor::rgb;

namespace {

// A large, heavy font: the inside of its strokes is drawn in the exact text colour.
QFont bigFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(28);
    font.setBold(true);
    return font;
}

// A 160 x 50 button of the type with the caption "IHI" in the big font.
struct CaptionFixture : ButtonFixture {
    explicit CaptionFixture(int type) : ButtonFixture(type, 160, 50)
    {
        button->setFont(bigFont());
        button->setCaption("IHI");
    }
};

} // namespace

class TestButtonContent : public QObject {
    Q_OBJECT
private slots:
    void layoutByPicturePosition_data()
    {
        QTest::addColumn<int>("position");
        QTest::newRow("left") << int(TOVAButton::cbLeft);
        QTest::newRow("right") << int(TOVAButton::cbRight);
        QTest::newRow("top") << int(TOVAButton::cbTop);
        QTest::newRow("bottom") << int(TOVAButton::cbBottom);
        QTest::newRow("background") << int(TOVAButton::cbBackground);
    }

    void layoutByPicturePosition()
    {
        QFETCH(int, position);
        const int W = 120, H = 60, pw = 16, ph = 16;
        ButtonFixture f(2, W, H);
        f.button->setCaption("Ok");
        f.button->setPictureNormal(solid(pw, ph, qRgb(1, 1, 1)));
        f.button->setPicturePosition(TOVAButton::PicPositions(position));

        // Start rectangles (left, top, right, bottom) of the caption, which is then centred.
        const QRect start[] = {
            QRect(QPoint(pw + 1, 1), QPoint(W - 2, H - 2)), QRect(QPoint(1, 1), QPoint(W - pw - 2, H - 2)),
            QRect(QPoint(1, ph + 1), QPoint(W - 2, H - 2)), QRect(QPoint(1, 1), QPoint(W - 2, H - ph - 2)),
            QRect(QPoint(1, 1), QPoint(W - 2, H - 2))};
        // QRect's right and bottom are one less than the start rectangle's.
        const QRect s = start[position].adjusted(0, 0, -1, -1);
        const QSize text = QFontMetrics(f.button->font())
                               .boundingRect(s, Qt::TextWordWrap | Qt::TextShowMnemonic, "Ok")
                               .size();
        const int right = s.left() + text.width();
        const int bottom = s.top() + text.height();
        const int dx = position == TOVAButton::cbRight ? (W - pw - right - 4) / 2 : (W - right) / 2;
        const int dy = position == TOVAButton::cbBottom ? (H - ph - bottom - 4) / 2 : (H - bottom) / 2;
        const QRect caption(s.left() + dx, s.top() + dy, text.width(), text.height());
        QCOMPARE(f.d->CaptionRect, caption);
        QCOMPARE(f.d->CaptionRectDown, caption.translated(1, 1));
        QCOMPARE(f.d->CaptionWidth, text.width());
        QCOMPARE(f.d->CaptionHeight, text.height());

        const QPoint pictures[] = {{10, (H - ph) / 2},
                                   {W - pw - 10, (H - ph) / 2},
                                   {(W - pw) / 2, caption.top() - ph - 2},
                                   {(W - pw) / 2, caption.top() + caption.height() + 2},
                                   {(W - pw) / 2, (H - ph) / 2}};
        QCOMPARE(QPoint(f.d->PictureX, f.d->PictureY), pictures[position]);
        // The picture never covers the caption, except as a background.
        if (position != TOVAButton::cbBackground)
            QVERIFY(!QRect(f.d->PictureX, f.d->PictureY, pw, ph).intersects(caption));
    }

    void blankCaptionCentresThePicture()
    {
        ButtonFixture f(2, 100, 40);
        f.button->setCaption("   ");
        f.button->setPictureNormal(solid(10, 6, qRgb(1, 1, 1)));
        f.button->setPicturePosition(TOVAButton::cbRight);
        QCOMPARE(QRect(f.d->PictureX, f.d->PictureY, f.d->PictureWidth, f.d->PictureHeight),
                 QRect(45, 17, 10, 6));
    }

    void captionColours_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("state");
        QTest::addColumn<bool>("hover");
        QTest::addColumn<QList<QRgb>>("present");
        QTest::addColumn<QList<QRgb>>("absent");
        const auto row = [](const char *name, int type, bool enabled, int state, bool hover,
                            const QList<QRgb> &present, const QList<QRgb> &absent) {
            QTest::newRow(name) << type << enabled << state << hover << present << absent;
        };
        const QRgb text = qRgb(0, 0, 200);
        const QRgb over = qRgb(200, 0, 0);
        // Custom scheme from a face of 100 grey: Light 131, Highlight 147, Shadow 36.
        row("0 up", 2, true, 0, false, {text}, {over});
        row("1 hovered", 2, true, 0, true, {over}, {text});
        row("2 down", 2, true, 2, false, {over}, {text});
        row("2 down, Mac", 4, true, 2, false, {grey(131)}, {over});
        row("3 disabled embossed", 1, false, 0, false, {grey(147), grey(36)}, {text});
        row("4 disabled flat", 9, false, 0, false, {grey(36)}, {grey(147), text});
        // FaceXP = SB(100, +48): 148 for red and green, 100 + 25 for blue; SB(FaceXP, -104): 44 for red
        // and green, 125 - 67 = 58 for blue.
        row("5 disabled XP", 3, false, 0, false, {qRgb(44, 44, 58)}, {text});
        row("6 disabled KDE", 14, false, 0, false, {grey(147)}, {text});
        // S(Shadow, -50) = 0 under Highlight.
        row("7 down KDE", 14, true, 2, false, {grey(0), grey(147)}, {text, over});
    }

    void captionColours()
    {
        QFETCH(int, type);
        QFETCH(bool, enabled);
        QFETCH(int, state);
        QFETCH(bool, hover);
        QFETCH(QList<QRgb>, present);
        QFETCH(QList<QRgb>, absent);
        CaptionFixture f(type);
        f.button->setColorScheme(TOVAButton::Custom);
        f.button->setBackColor(rgb(100, 100, 100));
        f.button->setBackOver(rgb(100, 100, 100));
        f.button->setForeColor(rgb(0, 0, 200));
        f.button->setForeOver(rgb(200, 0, 0));
        f.button->setEnabled(enabled);
        const QImage &img = f.draw(quint8(state), hover);
        // Only the caption's inside: the style's frames and bevels stay out of the count.
        const QImage caption = img.copy(f.d->CaptionRect.adjusted(-1, -1, 2, 2));
        for (const QRgb c : present)
            QVERIFY2(count(caption, c) > 10, qPrintable(QString::number(c, 16)));
        for (const QRgb c : absent)
            QVERIFY2(count(caption, c) == 0, qPrintable(QString::number(c, 16)));
    }

    void captionEffects_data()
    {
        QTest::addColumn<int>("effect");
        QTest::addColumn<bool>("light");
        QTest::addColumn<bool>("dark");
        QTest::newRow("none") << int(TOVAButton::cbNone) << false << false;
        QTest::newRow("embossed") << int(TOVAButton::cbEmbossed) << true << true;
        QTest::newRow("engraved") << int(TOVAButton::cbEngraved) << true << true;
        QTest::newRow("shadowed") << int(TOVAButton::cbShadowed) << false << true;
    }

    void captionEffects()
    {
        QFETCH(int, effect);
        QFETCH(bool, light);
        QFETCH(bool, dark);
        CaptionFixture f(7);
        f.button->setSpecialEffect(TOVAButton::fx(effect));
        const QImage caption = f.draw(0).copy(f.d->CaptionRect.adjusted(-2, -2, 2, 2));
        // Face C0: light copy S(Face, +40) = E8, dark copy S(Face, -40) = 98.
        QCOMPARE(count(caption, grey(0xE8)) > 0, light);
        QCOMPARE(count(caption, grey(0x98)) > 0, dark);
        QVERIFY(count(caption, grey(0)) > 10);
        if (effect == TOVAButton::cbNone)
            return;
        // The dark copy lies below right (embossed, shadowed) or above left (engraved) of the caption.
        int darkX = 0, textX = 0, nDark = 0, nText = 0;
        for (int y = 0; y < caption.height(); ++y)
            for (int x = 0; x < caption.width(); ++x) {
                if (caption.pixel(x, y) == grey(0x98))
                    darkX += x, ++nDark;
                if (caption.pixel(x, y) == grey(0))
                    textX += x, ++nText;
            }
        const double shift = double(darkX) / nDark - double(textX) / nText;
        QVERIFY2(effect == TOVAButton::cbEngraved ? shift < 0 : shift > 0,
                 qPrintable(QString::number(shift)));
    }

    void kdeDefaultButtonCaptionIsBold()
    {
        struct DefaultHost : TOVAAmbient {
            bool displayAsDefault(const QWidget *) const override { return true; }
        } host;
        int inked[2] = {0, 0};
        for (const bool asDefault : {false, true}) {
            CaptionFixture f(14);
            f.button->setFontBold(false);
            f.button->setAmbient(asDefault ? &host : nullptr);
            const QRect before = f.d->CaptionRect;
            inked[asDefault] = count(f.draw(0), grey(0));
            // The bold state and the layout are put back after the caption.
            QVERIFY(!f.button->FontBold());
            QCOMPARE(f.d->CaptionRect, before);
            QVERIFY(f.d->RedrawEnabled);
            f.button->setAmbient(nullptr);
        }
        QVERIFY2(inked[1] > inked[0] * 5 / 4,
                 qPrintable(QStringLiteral("%1 %2").arg(inked[0]).arg(inked[1])));
    }

    void captionDrawnAgainOverBackgroundPicture()
    {
        CaptionFixture f(7);
        f.button->setPictureNormal(solid(150, 40, qRgb(255, 255, 0)));
        f.button->setPicturePosition(TOVAButton::cbBackground);
        const QImage caption = f.draw(0).copy(f.d->CaptionRect);
        QVERIFY(count(caption, qRgb(255, 255, 0)) > 0);
        QVERIFY(count(caption, grey(0)) > 10);
    }

    // A red 4 x 4 picture on a 40 x 20 button: the 7 x 7 pixels from one above left of the picture; '?' is
    // a colour of the style's face other than the plain one.
    void picture_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("setup");
        QTest::addColumn<int>("state");
        QTest::addColumn<bool>("hover");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, int type, const char *setup, int state, bool hover,
                            const char *expected) {
            QTest::newRow(name) << type << QString(setup) << state << hover << QString(expected);
        };
        row("plain", 7, "", 0, false, "FFFFFFF FrrrrFF FrrrrFF FrrrrFF FrrrrFF FFFFFFF FFFFFFF");
        row("pressed", 7, "", 2, false, "FFFFFFF FFFFFFF FFrrrrF FFrrrrF FFrrrrF FFrrrrF FFFFFFF");
        row("greyscale", 7, "grey", 0, false, "FFFFFFF FyyyyFF FyyyyFF FyyyyFF FyyyyFF FFFFFFF FFFFFFF");
        row("grey hovered: colour", 7, "grey", 0, true,
            "FFFFFFF FrrrrFF FrrrrFF FrrrrFF FrrrrFF FFFFFFF FFFFFFF");
        // Two thirds picture, one third face C0.
        row("Office XP blend", 9, "", 0, false, "FFFFFFF FmmmmFF FmmmmFF FmmmmFF FmmmmFF FFFFFFF FFFFFFF");
        // Raised, with its shadow below right, over the hover fill.
        row("Office XP hovered", 9, "", 0, true, "rrrrooo rrrrooo rrrrSSo rrrrSSo ooSSSSo ooSSSSo ooooooo");
        row("over", 2, "over", 0, true, "FFFFFFF FBBBBFF FBBBBFF FBBBBFF FBBBBFF FFFFFFF FFFFFFF");
        row("over pressed", 2, "over", 2, false, "FFFFFFF FFFFFFF FFBBBBF FFBBBBF FFBBBBF FFBBBBF FFFFFFF");
        // Java metal presses the hover picture in place.
        row("5 over pressed", 5, "over", 2, false, "??????? ?BBBB?? ?BBBB?? ?BBBB?? ?BBBB?? ??????? ???????");
        // Disabled: a highlight silhouette below right under a shadow one; in Netscape 6 the shadow one
        // alone, in Office XP in S(Shadow, +13), in Windows XP the picture in grey, down and right.
        row("disabled", 7, "disabled", 0, false, "FFFFFFF FSSSSFF FSSSSHF FSSHSHF FSSSSHF FFHHHHF FFFFFFF");
        row("disabled 6", 6, "disabled", 0, false, "FFFFFFF FSSSSFF FSSSSFF FSSFSFF FSSSSFF FFFFFFF FFFFFFF");
        row("disabled 9", 9, "disabled", 0, false, "FFFFFFF FnnnnFF FnnnnFF FnnFnFF FnnnnFF FFFFFFF FFFFFFF");
        row("disabled 3", 3, "disabled", 0, false, "??????? ??????? ??yyyy? ??yyyy? ??yyvy? ??yyyy? ???????");
        // Light copy above left, dark copy below right.
        row("embossed", 7, "embossed", 0, false, "llllFFF lrrrrFF lrrrrxF lrrrrxF FrrrrxF FFxxxxF FFFFFFF");
        // Pressed, the whole relief moves with the picture.
        row("embossed down", 7, "embossed", 2, false,
            "FFFFFFF FllllFF FlrrrrF Flrrrrx Flrrrrx FFrrrrx FFFxxxx");
    }

    void picture()
    {
        QFETCH(int, type);
        QFETCH(QString, setup);
        QFETCH(int, state);
        QFETCH(bool, hover);
        QFETCH(QString, expected);
        ButtonFixture f(type, 40, 20);
        // Disabled, its bright centre (channel sum over 384) leaves no silhouette.
        f.button->setPictureNormal(
            solid(4, 4, qRgb(255, 0, 0), setup == "disabled" ? qRgb(129, 128, 128) : qRgb(255, 0, 0)));
        if (setup == "over")
            f.button->setPictureOver(solid(4, 4, qRgb(0, 0, 255)));
        f.button->setUseGreyscale(setup == "grey");
        f.button->setEnabled(setup != "disabled");
        if (setup == "embossed")
            f.button->setSpecialEffect(TOVAButton::cbEmbossed);
        QCOMPARE(QPoint(f.d->PictureX, f.d->PictureY), QPoint(18, 8));
        QCOMPARE(pixelRows(f.draw(quint8(state), hover).copy(17, 7, 7, 7), legend), expected);
    }

    void maskColour()
    {
        ButtonFixture f(7, 40, 20);
        f.button->setPictureNormal(solid(4, 4, qRgb(192, 192, 192), qRgb(255, 0, 0)));
        f.button->setMaskColor(rgb(192, 192, 192));
        f.button->setBackColor(rgb(10, 20, 30));
        f.button->setColorScheme(TOVAButton::Custom);
        QCOMPARE(probed(f.draw(0), "18,8 20,10"), "18,8=0A141E 20,10=FF0000");
        f.button->setUseMaskColor(false);
        QCOMPARE(probed(f.draw(0), "18,8"), "18,8=C0C0C0");

        // An icon is composed over a square of the mask colour, which is then left out again.
        QImage icon(4, 4, QImage::Format_ARGB32);
        icon.fill(Qt::transparent);
        icon.setPixel(1, 1, qRgba(0, 0, 255, 255));
        f.button->setPictureNormal(TOVAPicture::icon(icon));
        f.button->setColorScheme(TOVAButton::ForceStandard);
        f.button->setMaskColor(rgb(0, 255, 0));
        QCOMPARE(probed(f.draw(0), "18,8 19,9"), "18,8=00FF00 19,9=0000FF");
        f.button->setUseMaskColor(true);
        QCOMPARE(probed(f.draw(0), "18,8 19,9"), "18,8=C0C0C0 19,9=0000FF");
        // A mask colour given as a system colour: the square takes the colour it stands for.
        f.button->setMaskColor(0x80000000u | 13u);
        QCOMPARE(probed(f.draw(0), "18,8 19,9"), "18,8=C0C0C0 19,9=0000FF");
    }
};

QTEST_MAIN(TestButtonContent)
#include "tst_buttoncontent.moc"
