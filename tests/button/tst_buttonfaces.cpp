#include "buttonfixture.h"
#include "buttonregion.h"
#include "colorarith.h"
#include "pixelmap.h"

#include <QTest>

using TovaColor::rgb;

namespace {

QRgb grey(int v)
{
    return qRgb(v, v, v);
}

// The fixed grey palette: face C0, light DF, highlight FF, shadow 80, dark shadow 00.
const QHash<QChar, QRgb> standard = {
    {'F', grey(0xC0)}, {'L', grey(0xDF)}, {'H', grey(0xFF)}, {'S', grey(0x80)}, {'D', grey(0x00)}};

} // namespace

class TestButtonFaces : public QObject {
    Q_OBJECT
private slots:
    void bevels_data();
    void bevels();
    void xpGradientRowsAndOutline();
    void xpHoverOutline();
    void macDownFrame();
    void javaMetalCornersAndRegion();
    void officeXpHoverFrame();
    void officeXpHoverDownFill();
    void ovalRegionAndFace();
    void kdeGradientAndFrames();
    void softBevelHalvesTheShifts();
    void checkBoxValueDrawsDown();
    void typeWithoutRowDrawsFaceOnly_data();
    void typeWithoutRowDrawsFaceOnly();
    void nothingDrawnWhenItCannotBe();
    void customHoverDrawsFromBackOver();
    void focusRectangle();
    void transparentShowsWhatLiesBehind();
};

void TestButtonFaces::bevels_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("state");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("1 up") << 1 << 0
                          << QStringList{"DDDDDDDD", "DHHHHHSD", "DHHHHSSD", "DHSSSSSD", "DSSSSSSD", "DDDDDDDD"};
    QTest::newRow("1 down") << 1 << 2
                            << QStringList{"DDDDDDDD", "DSSSSSHD", "DSSSSHHD", "DSHHHHHD", "DHHHHHHD", "DDDDDDDD"};
    QTest::newRow("2 up") << 2 << 0
                          << QStringList{"HHHHHHHD", "HLLLLLSD", "HLFFFFSD", "HLFFFFSD", "HSSSSSSD", "DDDDDDDD"};
    QTest::newRow("2 down") << 2 << 2
                            << QStringList{"DDDDDDDH", "DSSSSSLH", "DSFFFFLH", "DSFFFFLH", "DLLLLLLH", "HHHHHHHH"};
    QTest::newRow("6 up") << 6 << 0
                          << QStringList{"eeeeeeeS", "eeeeeeSS", "eeFFFFSS", "eeFFFFSS", "eSSSSSSS", "SSSSSSSS"};
    QTest::newRow("7 up") << 7 << 0
                          << QStringList{"HHHHHHHS", "HFFFFFFS", "HFFFFFFS", "HFFFFFFS", "HFFFFFFS", "SSSSSSSS"};
    QTest::newRow("7 down") << 7 << 2
                            << QStringList{"SSSSSSSH", "SFFFFFFH", "SFFFFFFH", "SFFFFFFH", "SFFFFFFH", "HHHHHHHH"};
    QTest::newRow("8 up without hover") << 8 << 0
                                        << QStringList{"FFFFFFFF", "FFFFFFFF", "FFFFFFFF", "FFFFFFFF", "FFFFFFFF",
                                                       "FFFFFFFF"};
    QTest::newRow("12 down") << 12 << 2
                             << QStringList{"DDDDDDDH", "DSSSSSLH", "DSFFFFLH", "DSFFFFLH", "DLLLLLLH", "HHHHHHHH"};
}

void TestButtonFaces::bevels()
{
    QFETCH(int, type);
    QFETCH(int, state);
    QFETCH(QStringList, expected);
    ButtonFixture f(type, 8, 6);
    QHash<QChar, QRgb> legend = standard;
    legend.insert('e', grey(0xE7)); // S(Light, +8)
    QCOMPARE(PixelMap::rows(f.draw(quint8(state)), legend), expected);
}

void TestButtonFaces::xpGradientRowsAndOutline()
{
    ButtonFixture f(3, 12, 20);
    const QImage &img = f.draw(0);
    // FaceXP is F0F0F0; row i takes SB(FaceXP, round(-i * 1.25)), halves to even, blue scaled by 240/192.
    const QList<std::tuple<int, int, int>> rows = {
        {3, -4, 235},  {4, -5, 234},  {5, -6, 233},  {6, -8, 230},  {7, -9, 229},  {8, -10, 228},
        {9, -11, 227}, {10, -12, 225}, {11, -14, 223}, {12, -15, 222}, {13, -16, 220}, {14, -18, 218},
        {15, -19, 217}, {16, -20, 215}};
    for (const auto &[row, n, blue] : rows)
        QCOMPARE(img.pixel(5, row), qRgb(240 + n, 240 + n, blue));
    const QRgb outline = TovaColor::toQRgb(0x733C00);
    QCOMPARE(img.pixel(0, 10), outline);
    QCOMPARE(img.pixel(11, 10), outline);
    QCOMPARE(img.pixel(5, 0), outline);
    QCOMPARE(img.pixel(5, 19), outline);
    for (const QPoint p : {QPoint(1, 1), QPoint(1, 18), QPoint(10, 1), QPoint(10, 18)})
        QCOMPARE(img.pixel(p), TovaColor::toQRgb(0x7B4D10));
    // Plain edges: the top line SB(FaceXP, +16) is clamped at 255; the bottom one SB(FaceXP, -48).
    QCOMPARE(img.pixel(5, 1), qRgb(255, 255, 255));
    QCOMPARE(img.pixel(5, 18), qRgb(192, 192, 180));
    // Left edge SB(FaceXP, -5) from row 2, second column SB(FaceXP, -10) from row 3.
    QCOMPARE(img.pixel(1, 2), qRgb(235, 235, 234));
    QCOMPARE(img.pixel(2, 3), qRgb(230, 230, 228));
}

void TestButtonFaces::xpHoverOutline()
{
    ButtonFixture f(3, 12, 10);
    const QImage &img = f.draw(0, true);
    QCOMPARE(img.pixel(1, 5), TovaColor::toQRgb(0x31B2FF));  // hover frame, left side
    QCOMPARE(img.pixel(5, 8), TovaColor::toQRgb(0x0096E7));  // its bottom line
    QCOMPARE(img.pixel(5, 1), TovaColor::toQRgb(0xCEF3FF));  // edges
    QCOMPARE(img.pixel(5, 2), TovaColor::toQRgb(0x8CDBFF));
    QCOMPARE(img.pixel(2, 4), TovaColor::toQRgb(0x6BCBFF));
    QCOMPARE(img.pixel(9, 4), TovaColor::toQRgb(0x6BCBFF));
    QCOMPARE(img.pixel(0, 5), TovaColor::toQRgb(0x733C00));
}

void TestButtonFaces::macDownFrame()
{
    ButtonFixture f(4, 9, 8);
    // k = S(Shadow, -16) = 70, a = S(Shadow, -64) = 40, b = S(Shadow, -32) = 60.
    QHash<QChar, QRgb> legend = standard;
    legend.insert('k', grey(0x70));
    legend.insert('a', grey(0x40));
    legend.insert('b', grey(0x60));
    const QStringList expected = {"DDDDDDDDD", "DDaaaaSDD", "DaabbbSbD", "DabbkkSkD",
                                  "DabkkSSkD", "DSSSSSSbD", "DDbkkkbDD", "DDDDDDDDD"};
    QCOMPARE(PixelMap::rows(f.draw(2), legend), expected);
    QCOMPARE(f.d->Pal.FaceXP, TovaColor::rgb(0xF0, 0xF0, 0xF0));
}

void TestButtonFaces::javaMetalCornersAndRegion()
{
    ButtonFixture f(5, 8, 6);
    QHash<QChar, QRgb> legend = standard;
    legend.insert('c', grey(0xCC)); // S(Face, +12)
    legend.insert('g', grey(0x66)); // S(Shadow, -26)
    legend.insert('d', grey(0x9A)); // S(Shadow, +26)
    const QStringList expected = {"gggggggF", "gHHHHHdH", "gHccccgH", "gHccccgH", "gdgggggH", "FHHHHHHH"};
    QCOMPARE(PixelMap::rows(f.draw(0), legend), expected);
    QCOMPARE(f.button->mask(), QRegion(0, 0, 8, 6) - QRegion(0, 5, 1, 1) - QRegion(7, 0, 1, 1));
}

void TestButtonFaces::officeXpHoverFrame()
{
    ButtonFixture f(9, 6, 4);
    const QHash<QChar, QRgb> legend = {{'s', TovaColor::toQRgb(0x800000)}, {'o', TovaColor::toQRgb(0xD1ADAD)},
                                       {'F', grey(0xC0)}};
    QCOMPARE(PixelMap::rows(f.draw(0, true), legend), QStringList({"ssssss", "soooos", "soooos", "ssssss"}));
    QCOMPARE(PixelMap::rows(f.draw(0, false), legend), QStringList({"FFFFFF", "FFFFFF", "FFFFFF", "FFFFFF"}));
}

void TestButtonFaces::officeXpHoverDownFill()
{
    ButtonFixture f(9, 6, 4);
    // BlendToWhite(Selection 0x800000, 128): red and green 128, blue 128 + 128 * 127 / 255 = 191.
    const QImage &img = f.draw(2, true);
    QCOMPARE(img.pixel(2, 2), qRgb(128, 128, 191));
    QCOMPARE(img.pixel(0, 0), TovaColor::toQRgb(0x800000));
    // Under Custom the pressed fill is S(SelectionSoft, -32), SelectionSoft being the face.
    f.button->setColorScheme(TOVAButton::Custom);
    f.button->setBackColor(rgb(100, 150, 200));
    f.button->setBackOver(rgb(100, 150, 200));
    QCOMPARE(f.draw(2, true).pixel(2, 2), qRgb(68, 118, 168));
}

void TestButtonFaces::ovalRegionAndFace()
{
    ButtonFixture f(13, 12, 6);
    QCOMPARE(f.button->mask(), buttonRegion(13, 12, 6));
    QCOMPARE(f.button->mask().boundingRect(), QRect(0, 0, 12, 6));
    QVERIFY(!f.button->mask().contains(QPoint(0, 0)));
    // Up, not hovered: pen and brush are the face.
    const QImage &up = f.draw(0);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 12; ++x)
            QCOMPARE(up.pixel(x, y), grey(0xC0));
    // Down: a dark two-pixel ring around S(Face, -32).
    const QImage &down = f.draw(2);
    QCOMPARE(down.pixel(0, 3), grey(0x00));
    QCOMPARE(down.pixel(1, 3), grey(0x00));
    QCOMPARE(down.pixel(2, 3), grey(0xA0));
    QCOMPARE(down.pixel(6, 0), grey(0x00));
    QCOMPARE(down.pixel(6, 2), grey(0xA0));
    QCOMPARE(down.pixel(11, 2), grey(0x00));
    // Hovered: the ring in the shadow colour.
    QCOMPARE(f.draw(0, true).pixel(0, 3), grey(0x80));
}

void TestButtonFaces::kdeGradientAndFrames()
{
    ButtonFixture f(14, 10, 16);
    const QImage &img = f.draw(0);
    // Row i: S(Highlight, round(-i * 3.625)), halves to even (14.5 -> 14, 43.5 -> 44).
    const QList<std::pair<int, int>> rows = {{4, -14}, {5, -18}, {6, -22}, {7, -25}, {8, -29},
                                             {9, -33}, {10, -36}, {11, -40}, {12, -44}, {13, -47}};
    for (const auto &[row, n] : rows)
        QCOMPARE(img.pixel(5, row), grey(255 + n));
    QHash<QChar, QRgb> legend = standard;
    legend.insert('o', grey(0x4E)); // S(Shadow, -50)
    legend.insert('f', grey(0xB7)); // S(Face, -9)
    const QStringList top = PixelMap::rows(img.copy(0, 0, 10, 4), legend);
    QCOMPARE(top, QStringList({"oooooooooo", "offffffffo", "ofHHHHHHfo", "ofHHHHHHfo"}));
    QCOMPARE(img.pixel(2, 12), grey(0xFF)); // left highlight strip runs down to row H - 3
    QCOMPARE(img.pixel(3, 11), grey(0xFF));
    QCOMPARE(img.pixel(2, 14), grey(0xB7));
    QCOMPARE(img.pixel(9, 8), grey(0x4E));
    QCOMPARE(img.pixel(5, 15), grey(0x4E));

    // Down: S(Face, -9) inside, S(Shadow, -48) frame, highlight lines at the bottom and right.
    const QImage &down = f.draw(2);
    QCOMPARE(down.pixel(5, 5), grey(0xB7));
    QCOMPARE(down.pixel(0, 5), grey(0x50));
    QCOMPARE(down.pixel(5, 14), grey(0xFF));
    QCOMPARE(down.pixel(8, 5), grey(0xFF));
    QCOMPARE(down.pixel(8, 15), grey(0x50));
}

void TestButtonFaces::softBevelHalvesTheShifts()
{
    ButtonFixture f(7, 6, 4);
    f.button->setColorScheme(TOVAButton::Custom);
    f.button->setBackColor(rgb(100, 100, 100));
    f.button->setSoftBevel(true);
    // Highlight S(Face, +47) lightens by 23, Shadow S(Face, -64) darkens by 32.
    const QImage &img = f.draw(0);
    QCOMPARE(img.pixel(0, 0), grey(123));
    QCOMPARE(img.pixel(5, 3), grey(68));
    QCOMPARE(img.pixel(2, 2), grey(100));
}

void TestButtonFaces::checkBoxValueDrawsDown()
{
    ButtonFixture f(1, 8, 6);
    const QImage down = f.draw(2);
    f.button->setCheckBoxBehaviour(true);
    f.button->setValue(true);
    QCOMPARE(f.draw(0), down);
    QCOMPARE(f.d->LastState, quint8(2));
    f.button->setValue(false);
    QVERIFY(f.draw(0) != down);
}

void TestButtonFaces::typeWithoutRowDrawsFaceOnly_data()
{
    QTest::addColumn<int>("type");
    QTest::newRow("10") << 10;
    QTest::newRow("0") << 0;
    QTest::newRow("15") << 15;
}

void TestButtonFaces::typeWithoutRowDrawsFaceOnly()
{
    QFETCH(int, type);
    ButtonFixture f(type, 40, 8);
    f.button->setCaption("Ok");
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.fill(qRgb(255, 0, 0));
    f.button->setPictureNormal(TOVAPicture::bitmap(picture));
    for (const bool enabled : {true, false}) {
        f.button->setEnabled(enabled);
        for (const quint8 state : {quint8(0), quint8(2)}) {
            const QImage &img = f.draw(state);
            // A red picture at (10, 3), left of the caption, pressed one pixel further; everything else
            // is the face, where the caption would be too. Disabled, it is the shadow silhouette over
            // the highlight one.
            const int at = enabled && state == 2 ? 11 : 10;
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 40; ++x) {
                    const bool inPicture = x >= at && x < at + 2 && y >= at - 7 && y < at - 5;
                    const bool belowRight = x >= 11 && x < 13 && y >= 4 && y < 6;
                    QRgb expected = grey(0xC0);
                    if (inPicture)
                        expected = enabled ? qRgb(255, 0, 0) : grey(0x80);
                    else if (belowRight && !enabled)
                        expected = grey(0xFF);
                    QCOMPARE(img.pixel(x, y), expected);
                }
        }
    }
}

void TestButtonFaces::nothingDrawnWhenItCannotBe()
{
    ButtonFixture f(2, 8, 6);
    const QImage before = f.draw(0);

    f.button->DisableRefresh();
    f.button->setBackColor(rgb(1, 2, 3));
    f.button->setColorScheme(TOVAButton::Custom);
    QCOMPARE(f.d->BackBuffer, before);
    f.button->Refresh();
    QCOMPARE(f.d->BackBuffer.pixel(3, 3), qRgb(1, 2, 3));

    const QImage shown = f.d->BackBuffer;
    f.host->hide();
    f.button->setBackColor(rgb(9, 9, 9));
    QCOMPARE(f.d->BackBuffer, shown);

    ButtonFixture flat(2, 8, 0);
    QVERIFY(flat.d->BackBuffer.isNull());
    flat.d->DrawButton(0, true);
    QVERIFY(flat.d->BackBuffer.isNull());
}

void TestButtonFaces::customHoverDrawsFromBackOver()
{
    ButtonFixture f(7, 6, 4);
    f.button->setColorScheme(TOVAButton::Custom);
    f.button->setBackColor(rgb(100, 100, 100));
    f.button->setBackOver(rgb(200, 100, 0));
    QCOMPARE(f.draw(0, true).pixel(2, 2), qRgb(200, 100, 0));
    // The swap lasts for one drawing only.
    QCOMPARE(f.button->BackColor(), rgb(100, 100, 100));
    QCOMPARE(f.d->Pal.Face, rgb(100, 100, 100));
    QCOMPARE(f.draw(0, false).pixel(2, 2), qRgb(100, 100, 100));
    // Under the other schemes BackOver changes nothing.
    f.button->setColorScheme(TOVAButton::ForceStandard);
    QCOMPARE(f.draw(0, true).pixel(2, 2), grey(0xC0));
}

void TestButtonFaces::focusRectangle()
{
    ButtonFixture f(7, 12, 10);
    f.d->HasFocus = true;
    const QImage &img = f.draw(0);
    // Shrunk by 3 for this style: the dotted frame runs from (3, 3) to (8, 6); even pixels inverted.
    QCOMPARE(img.pixel(3, 3), grey(0x3F));
    QCOMPARE(img.pixel(4, 3), grey(0xC0));
    QCOMPARE(img.pixel(8, 6), grey(0x3F));
    QCOMPARE(img.pixel(8, 5), grey(0xC0));
    QCOMPARE(img.pixel(5, 5), grey(0xC0));
    f.button->setShowFocusRect(false);
    QCOMPARE(f.draw(0).pixel(3, 3), grey(0xC0));
    // KDE 2: shrunk by 5 and moved one pixel right and down.
    ButtonFixture k(14, 20, 16);
    k.d->HandleResize();
    QCOMPARE(k.d->FocusRect, QRect(6, 6, 10, 6));
}

void TestButtonFaces::transparentShowsWhatLiesBehind()
{
    QWidget host;
    QPalette palette = host.palette();
    palette.setColor(QPalette::Window, QColor(10, 200, 30));
    host.setPalette(palette);
    host.resize(100, 60);
    auto *sibling = new QWidget(&host);
    sibling->setAutoFillBackground(true);
    QPalette red = sibling->palette();
    red.setColor(QPalette::Window, QColor(200, 0, 0));
    sibling->setPalette(red);
    sibling->setGeometry(30, 10, 10, 40);
    auto *button = new TOVAButton(&host);
    button->setCaption(QString());
    button->setButtonType(TOVAButton::Transparent);
    button->setGeometry(20, 20, 40, 20);
    button->raise();
    host.show();
    TOVAButtonPrivate *d = TOVAButtonPrivate::get(button);
    QCOMPARE(button->height(), 20);
    QCOMPARE(d->BackBuffer.pixel(2, 2), qRgb(10, 200, 30));
    QCOMPARE(d->BackBuffer.pixel(12, 2), qRgb(200, 0, 0));
    QCOMPARE(d->BackBuffer.pixel(25, 15), qRgb(10, 200, 30));

    // A control shown in another style and made Transparent afterwards gets its background too.
    auto *late = new TOVAButton(&host);
    late->setCaption(QString());
    late->setGeometry(25, 5, 20, 10);
    late->show();
    late->setButtonType(TOVAButton::Transparent);
    TOVAButtonPrivate *l = TOVAButtonPrivate::get(late);
    QCOMPARE(l->BackBuffer.pixel(1, 1), qRgb(10, 200, 30));
    QCOMPARE(l->BackBuffer.pixel(7, 7), qRgb(200, 0, 0));
}

QTEST_MAIN(TestButtonFaces)
#include "tst_buttonfaces.moc"
