#include "buttonfixture.h"
#include "colorarith.h"
#include "tovaambient.h"

#include <QFontMetrics>
#include <QTest>

using TovaColor::rgb;

namespace {

QRgb grey(int v)
{
    return qRgb(v, v, v);
}

int count(const QImage &image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == colour;
    return n;
}

// A w x h bitmap of one colour with a different centre pixel.
TOVAPicture bitmap(int w, int h, QRgb fill, QRgb centre)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(fill);
    image.setPixel(w / 2, h / 2, centre);
    return TOVAPicture::bitmap(image);
}

// A large, heavy font: the inside of its strokes is drawn in the exact text colour.
QFont bigFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(28);
    font.setBold(true);
    return font;
}

} // namespace

class TestButtonContent : public QObject {
    Q_OBJECT
private slots:
    void layoutByPicturePosition_data();
    void layoutByPicturePosition();
    void blankCaptionCentresThePicture();
    void captionColours_data();
    void captionColours();
    void captionEffects_data();
    void captionEffects();
    void kdeDefaultButtonCaptionIsBold();
    void maskColour();
    void iconOverMaskColour();
    void greyscaleAndOfficeBlend();
    void officeHoverShadow();
    void pictureOverOnHoverAndDown();
    void disabledSilhouettes();
    void disabledXpPictureIsGrey();
    void pictureEffect();
    void captionDrawnAgainOverBackgroundPicture();
};

void TestButtonContent::layoutByPicturePosition_data()
{
    QTest::addColumn<int>("position");
    QTest::newRow("left") << int(TOVAButton::cbLeft);
    QTest::newRow("right") << int(TOVAButton::cbRight);
    QTest::newRow("top") << int(TOVAButton::cbTop);
    QTest::newRow("bottom") << int(TOVAButton::cbBottom);
    QTest::newRow("background") << int(TOVAButton::cbBackground);
}

void TestButtonContent::layoutByPicturePosition()
{
    QFETCH(int, position);
    const int W = 120, H = 60, pw = 16, ph = 16;
    ButtonFixture f(2, W, H);
    f.button->setCaption("Ok");
    f.button->setPictureNormal(bitmap(pw, ph, qRgb(1, 1, 1), qRgb(1, 1, 1)));
    f.button->setPicturePosition(TOVAButton::PicPositions(position));

    // Start rectangles (left, top, right, bottom) of the caption and where the caption is centred.
    struct Expect {
        int left, top, right, bottom;
    };
    const Expect start[] = {{pw + 1, 1, W - 2, H - 2}, {1, 1, W - pw - 2, H - 2}, {1, ph + 1, W - 2, H - 2},
                            {1, 1, W - 2, H - ph - 2}, {1, 1, W - 2, H - 2}};
    const Expect s = start[position];
    const QSize text = QFontMetrics(f.button->font())
                           .boundingRect(QRect(s.left, s.top, s.right - s.left, s.bottom - s.top),
                                         Qt::TextWordWrap | Qt::TextShowMnemonic, "Ok")
                           .size();
    const int right = s.left + text.width();
    const int bottom = s.top + text.height();
    int dx = (W - right) / 2;
    int dy = (H - bottom) / 2;
    if (position == TOVAButton::cbRight)
        dx = (W - pw - right - 4) / 2;
    if (position == TOVAButton::cbBottom)
        dy = (H - ph - bottom - 4) / 2;
    const QRect caption(s.left + dx, s.top + dy, text.width(), text.height());
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

void TestButtonContent::blankCaptionCentresThePicture()
{
    ButtonFixture f(2, 100, 40);
    f.button->setCaption("   ");
    f.button->setPictureNormal(bitmap(10, 6, qRgb(1, 1, 1), qRgb(1, 1, 1)));
    f.button->setPicturePosition(TOVAButton::cbRight);
    QCOMPARE(QPoint(f.d->PictureX, f.d->PictureY), QPoint(45, 17));
    QCOMPARE(f.d->PictureWidth, 10);
    QCOMPARE(f.d->PictureHeight, 6);
}

void TestButtonContent::captionColours_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("hover");
    QTest::addColumn<QList<QRgb>>("present");
    QTest::addColumn<QList<QRgb>>("absent");
    const QRgb text = qRgb(0, 0, 200);
    const QRgb over = qRgb(200, 0, 0);
    // Custom scheme from a face of 100 grey: Light 131, Highlight 147, Shadow 36.
    QTest::newRow("0 up") << 2 << true << 0 << false << QList<QRgb>{text} << QList<QRgb>{over};
    QTest::newRow("1 hovered") << 2 << true << 0 << true << QList<QRgb>{over} << QList<QRgb>{text};
    QTest::newRow("2 down") << 2 << true << 2 << false << QList<QRgb>{over} << QList<QRgb>{text};
    QTest::newRow("2 down, Mac") << 4 << true << 2 << false << QList<QRgb>{grey(131)} << QList<QRgb>{over};
    QTest::newRow("3 disabled embossed") << 1 << false << 0 << false << QList<QRgb>{grey(147), grey(36)}
                                         << QList<QRgb>{text};
    QTest::newRow("4 disabled flat") << 9 << false << 0 << false << QList<QRgb>{grey(36)}
                                     << QList<QRgb>{grey(147), text};
    // FaceXP = SB(100, +48): 148 for red and green, 100 + 25 for blue; SB(FaceXP, -104): 44 for red
    // and green, 125 - 67 = 58 for blue.
    QTest::newRow("5 disabled XP") << 3 << false << 0 << false << QList<QRgb>{qRgb(44, 44, 58)}
                                   << QList<QRgb>{text};
    QTest::newRow("6 disabled KDE") << 14 << false << 0 << false << QList<QRgb>{grey(147)} << QList<QRgb>{text};
    // S(Shadow, -50) = 0 under Highlight.
    QTest::newRow("7 down KDE") << 14 << true << 2 << false << QList<QRgb>{grey(0), grey(147)}
                                << QList<QRgb>{text, over};
}

void TestButtonContent::captionColours()
{
    QFETCH(int, type);
    QFETCH(bool, enabled);
    QFETCH(int, state);
    QFETCH(bool, hover);
    QFETCH(QList<QRgb>, present);
    QFETCH(QList<QRgb>, absent);
    ButtonFixture f(type, 160, 50);
    f.button->setColorScheme(TOVAButton::Custom);
    f.button->setBackColor(rgb(100, 100, 100));
    f.button->setBackOver(rgb(100, 100, 100));
    f.button->setForeColor(rgb(0, 0, 200));
    f.button->setForeOver(rgb(200, 0, 0));
    f.button->setFont(bigFont());
    f.button->setCaption("IHI");
    f.button->setEnabled(enabled);
    const QImage &img = f.draw(quint8(state), hover);
    // Only the caption's inside: the style's frames and bevels stay out of the count.
    const QImage caption = img.copy(f.d->CaptionRect.adjusted(-1, -1, 2, 2));
    for (const QRgb c : present)
        QVERIFY2(count(caption, c) > 10, qPrintable(QString::number(c, 16)));
    for (const QRgb c : absent)
        QVERIFY2(count(caption, c) == 0, qPrintable(QString::number(c, 16)));
}

void TestButtonContent::captionEffects_data()
{
    QTest::addColumn<int>("effect");
    QTest::addColumn<bool>("light");
    QTest::addColumn<bool>("dark");
    QTest::newRow("none") << int(TOVAButton::cbNone) << false << false;
    QTest::newRow("embossed") << int(TOVAButton::cbEmbossed) << true << true;
    QTest::newRow("engraved") << int(TOVAButton::cbEngraved) << true << true;
    QTest::newRow("shadowed") << int(TOVAButton::cbShadowed) << false << true;
}

void TestButtonContent::captionEffects()
{
    QFETCH(int, effect);
    QFETCH(bool, light);
    QFETCH(bool, dark);
    ButtonFixture f(7, 160, 50);
    f.button->setFont(bigFont());
    f.button->setCaption("IHI");
    f.button->setSpecialEffect(TOVAButton::fx(effect));
    const QImage &img = f.draw(0);
    const QImage caption = img.copy(f.d->CaptionRect.adjusted(-2, -2, 2, 2));
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
    QVERIFY2(effect == TOVAButton::cbEngraved ? shift < 0 : shift > 0, qPrintable(QString::number(shift)));
}

void TestButtonContent::kdeDefaultButtonCaptionIsBold()
{
    struct DefaultHost : TOVAAmbient {
        bool displayAsDefault(const QWidget *) const override { return true; }
    };
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(28);
    int inked[2] = {0, 0};
    for (const bool asDefault : {false, true}) {
        ButtonFixture f(14, 200, 50);
        DefaultHost host;
        if (asDefault)
            f.button->setAmbient(&host);
        f.button->setFont(font);
        f.button->setCaption("IHI");
        f.button->setColorScheme(TOVAButton::ForceStandard);
        const QRect before = f.d->CaptionRect;
        const QImage &img = f.draw(0);
        inked[asDefault] = count(img, grey(0));
        // The bold state and the layout are put back after the caption.
        QVERIFY(!f.button->FontBold());
        QCOMPARE(f.d->CaptionRect, before);
        QVERIFY(f.d->RedrawEnabled);
        f.button->setAmbient(nullptr);
    }
    QVERIFY2(inked[1] > inked[0] * 5 / 4, qPrintable(QStringLiteral("%1 %2").arg(inked[0]).arg(inked[1])));
}

void TestButtonContent::maskColour()
{
    ButtonFixture f(7, 40, 20);
    f.button->setPictureNormal(bitmap(4, 4, qRgb(192, 192, 192), qRgb(255, 0, 0)));
    f.button->setMaskColor(rgb(192, 192, 192));
    f.button->setBackColor(rgb(10, 20, 30));
    f.button->setColorScheme(TOVAButton::Custom);
    const int x = f.d->PictureX, y = f.d->PictureY;
    QCOMPARE(QPoint(x, y), QPoint(18, 8));
    QCOMPARE(f.draw(0).pixel(x, y), qRgb(10, 20, 30));
    QCOMPARE(f.draw(0).pixel(x + 2, y + 2), qRgb(255, 0, 0));
    f.button->setUseMaskColor(false);
    QCOMPARE(f.draw(0).pixel(x, y), qRgb(192, 192, 192));
}

void TestButtonContent::iconOverMaskColour()
{
    QImage image(4, 4, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    image.setPixel(1, 1, qRgba(0, 0, 255, 255));
    ButtonFixture f(7, 40, 20);
    f.button->setMaskColor(rgb(0, 255, 0));
    f.button->setPictureNormal(TOVAPicture::icon(image));
    const int x = f.d->PictureX, y = f.d->PictureY;
    QCOMPARE(f.draw(0).pixel(x + 1, y + 1), qRgb(0, 0, 255));
    QCOMPARE(f.draw(0).pixel(x, y), grey(0xC0)); // transparent: the face shows
    f.button->setUseMaskColor(false);
    QCOMPARE(f.draw(0).pixel(x, y), qRgb(0, 255, 0)); // the square it was composed over

    // A mask colour given as a system colour: the square takes the colour it stands for, so the
    // icon's transparent area still matches it.
    f.button->setUseMaskColor(true);
    f.button->setMaskColor(0x80000000u | 13u);
    QCOMPARE(f.draw(0).pixel(x, y), grey(0xC0));
    QCOMPARE(f.draw(0).pixel(x + 1, y + 1), qRgb(0, 0, 255));
}

void TestButtonContent::greyscaleAndOfficeBlend()
{
    ButtonFixture f(7, 40, 20);
    f.button->setPictureNormal(bitmap(4, 4, qRgb(255, 0, 0), qRgb(255, 0, 0)));
    const int x = f.d->PictureX, y = f.d->PictureY;
    f.button->setUseGreyscale(true);
    QCOMPARE(f.draw(0).pixel(x, y), grey(76));
    QCOMPARE(f.draw(0, true).pixel(x, y), qRgb(255, 0, 0)); // hovered: in colour
    f.button->setUseGreyscale(false);
    f.button->setButtonType(TOVAButton::OfficeXP);
    // Two thirds picture, one third face C0.
    QCOMPARE(f.draw(0).pixel(x, y), qRgb(234, 64, 64));
}

void TestButtonContent::officeHoverShadow()
{
    ButtonFixture f(9, 40, 20);
    f.button->setPictureNormal(bitmap(4, 4, qRgb(255, 0, 0), qRgb(255, 0, 0)));
    const int x = f.d->PictureX, y = f.d->PictureY;
    const QImage &img = f.draw(0, true);
    QCOMPARE(img.pixel(x - 1, y - 1), qRgb(255, 0, 0)); // the picture, raised
    QCOMPARE(img.pixel(x + 2, y + 2), qRgb(255, 0, 0));
    QCOMPARE(img.pixel(x + 3, y + 3), grey(0x80));      // its shadow below right
    QCOMPARE(img.pixel(x + 3, y - 1), TovaColor::toQRgb(0xD1ADAD)); // hover fill beside
}

void TestButtonContent::pictureOverOnHoverAndDown()
{
    ButtonFixture f(2, 40, 20);
    f.button->setPictureNormal(bitmap(4, 4, qRgb(255, 0, 0), qRgb(255, 0, 0)));
    f.button->setPictureOver(bitmap(4, 4, qRgb(0, 0, 255), qRgb(0, 0, 255)));
    const int x = f.d->PictureX, y = f.d->PictureY;
    QCOMPARE(f.draw(0).pixel(x, y), qRgb(255, 0, 0));
    QCOMPARE(f.draw(0, true).pixel(x, y), qRgb(0, 0, 255));
    const QImage &down = f.draw(2);
    QCOMPARE(down.pixel(x, y), grey(0xC0));
    QCOMPARE(down.pixel(x + 1, y + 1), qRgb(0, 0, 255));
    // Java metal presses the hover picture in place.
    f.button->setButtonType(TOVAButton::JavaMetal);
    QCOMPARE(f.draw(2).pixel(x, y), qRgb(0, 0, 255));
}

void TestButtonContent::disabledSilhouettes()
{
    // Dark pixels (channel sum up to 384) give a highlight copy below right under a shadow copy;
    // bright pixels are never painted.
    QImage image(3, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(128, 128, 128)); // sum 384: painted
    image.setPixel(1, 0, qRgb(129, 128, 128)); // sum 385: left alone
    image.setPixel(2, 0, qRgb(192, 192, 192)); // mask colour
    ButtonFixture f(7, 40, 20);
    f.button->setPictureNormal(TOVAPicture::bitmap(image));
    f.button->setEnabled(false);
    const int x = f.d->PictureX, y = f.d->PictureY;
    const QImage &img = f.draw(0);
    QCOMPARE(img.pixel(x, y), grey(0x80));
    QCOMPARE(img.pixel(x + 1, y), grey(0xC0));
    QCOMPARE(img.pixel(x + 2, y), grey(0xC0));
    QCOMPARE(img.pixel(x + 1, y + 1), grey(0xFF));
    QCOMPARE(img.pixel(x + 2, y + 1), grey(0xC0));
    // Netscape 6: the shadow copy alone, in place.
    f.button->setButtonType(TOVAButton::Netscape6);
    QCOMPARE(f.draw(0).pixel(x + 1, y + 1), grey(0xC0));
    QCOMPARE(f.draw(0).pixel(x, y), grey(0x80));
    // Office XP: in S(Shadow, +13).
    f.button->setButtonType(TOVAButton::OfficeXP);
    QCOMPARE(f.draw(0).pixel(x, y), grey(0x8D));
}

void TestButtonContent::disabledXpPictureIsGrey()
{
    ButtonFixture f(3, 40, 20);
    f.button->setPictureNormal(bitmap(4, 4, qRgb(0, 255, 0), qRgb(0, 255, 0)));
    f.button->setEnabled(false);
    const int x = f.d->PictureX, y = f.d->PictureY;
    QCOMPARE(f.draw(0).pixel(x + 4, y + 4), grey(150));
    QVERIFY(f.draw(0).pixel(x, y) != grey(150));
}

void TestButtonContent::pictureEffect()
{
    ButtonFixture f(7, 40, 20);
    f.button->setPictureNormal(bitmap(4, 4, qRgb(255, 0, 0), qRgb(255, 0, 0)));
    f.button->setSpecialEffect(TOVAButton::cbEmbossed);
    const int x = f.d->PictureX, y = f.d->PictureY;
    const QImage &img = f.draw(0);
    QCOMPARE(img.pixel(x + 4, y + 4), grey(0x98)); // dark silhouette below right
    QCOMPARE(img.pixel(x - 1, y - 1), grey(0xE8)); // light silhouette above left
    QCOMPARE(img.pixel(x + 3, y + 3), qRgb(255, 0, 0));
    // Pressed, the whole relief moves with the picture.
    const QImage &down = f.draw(2);
    QCOMPARE(down.pixel(x + 5, y + 5), grey(0x98));
    QCOMPARE(down.pixel(x, y), grey(0xE8));
}

void TestButtonContent::captionDrawnAgainOverBackgroundPicture()
{
    ButtonFixture f(7, 160, 50);
    f.button->setFont(bigFont());
    f.button->setCaption("IHI");
    f.button->setPictureNormal(bitmap(150, 40, qRgb(255, 255, 0), qRgb(255, 255, 0)));
    f.button->setPicturePosition(TOVAButton::cbBackground);
    const QImage &img = f.draw(0);
    const QImage caption = img.copy(f.d->CaptionRect);
    QVERIFY(count(caption, qRgb(255, 255, 0)) > 0);
    QVERIFY(count(caption, grey(0)) > 10);
}

QTEST_MAIN(TestButtonContent)
#include "tst_buttoncontent.moc"
