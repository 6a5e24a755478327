#include "buttontest.h"
#include "gdicanvas.h"

#include <QApplication>
#include <QScreen>

#include <memory>

namespace {

const auto hex = [](const QString &rrggbb) -> QRgb { return 0xFF000000u | rrggbb.toUInt(nullptr, 16); };

// How many pixels hold the colour, and the leftmost column holding it (-1 for none).
std::pair<int, int> find(const QImage &image, QRgb colour)
{
    int n = 0, left = -1;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixel(x, y) == colour && n++ == 0)
                left = x;
    return {n, left};
}

// The fixed grey palette (F face, L light, H highlight, S shadow, D dark shadow), i the face inverted, shifts
// (n S(Shadow, +13), g and d S(Shadow, -26) and +26, c S(Face, +12), p S(Face, -32), l and x S(Face, +40) and
// -40), the Office XP selection s and hover fill o, the pictures' red r and blue B, red in grey y and blended
// over the face m, v grey 129.
const QHash<QChar, QRgb> legend = {
    {'F', 0xFFC0C0C0}, {'L', 0xFFDFDFDF}, {'H', 0xFFFFFFFF}, {'S', 0xFF808080}, {'D', 0xFF000000},
    {'i', 0xFF3F3F3F}, {'n', 0xFF8D8D8D}, {'l', 0xFFE8E8E8}, {'x', 0xFF989898}, {'s', 0xFF000080},
    {'o', 0xFFADADD1}, {'r', 0xFFFF0000}, {'B', 0xFF0000FF}, {'y', 0xFF4C4C4C}, {'m', 0xFFEA4040},
    {'v', 0xFF818181}, {'g', 0xFF666666}, {'d', 0xFF9A9A9A}, {'c', 0xFFCCCCCC}, {'p', 0xFFA0A0A0}};

// A TOVAButton of the type and size "TYPE@WxH", shown off screen with the fixed grey palette and no caption,
// then set up by: "down", "hover", "focus"; "behind" (a green host with a red strip under the button, at 20,
// 20); "ihi", the caption "IHI" in a large, heavy font whose strokes are drawn inside in the exact text
// colour; "grey100", Custom colours from a face of 100 grey (Light 131, Highlight 147, Shadow 36), text
// 0000C8, hovered text C80000; "pic=WxH[#RRGGBB][/RRGGBB]" a bitmap, red unless told, its centre in the
// second colour, "over=..." the same as hover picture; "icon", 4 x 4, transparent but a blue pixel at (1, 1);
// or Property=value.
// The host goes on a screen of that device pixel ratio, 1, 1.5 or 2 (see button_draw_hidpi).
struct Look {
    explicit Look(const QStringList &t, qreal r = 1) : tokens(t), ratio(r)
    {
        const int w = t[0].section('@', 1).section('x', 0, 0).toInt(), h = t[0].section('x', 1).toInt();
        for (QScreen *screen : QGuiApplication::screens())
            if (screen->devicePixelRatio() == ratio)
                host->setScreen(screen);
        host->move(host->screen()->geometry().topLeft() + QPoint(10, 10));
        host->resize(w + 40, h + 40);
        button->setCaption(QString());
        button->setColorScheme(TOVAButton::ForceStandard);
        button->setButtonType(TOVAButton::ButtonTypes(t[0].section('@', 0, 0).toInt()));
        button->setGeometry(0, 0, w, h);
        host->show();
        const QHash<QString, QStringList> shorthands = {
            {"ihi", {"Font=DejaVu Sans,-1,28,5,700,0,0,0,0,0,0,0,0,0,0,1", "Caption=IHI"}},
            {"grey100",
             {"ColorScheme=Custom", "BackColor=#646464", "BackOver=#646464", "ForeColor=#0000C8",
              "ForeOver=#C80000"}}};
        for (const QString &word : t.mid(1))
            for (const QString &token : shorthands.value(word, {word})) {
                const QString key = token.section('=', 0, 0), value = token.section('=', 1);
                if (token == "behind") {
                    host->setPalette(QColor(10, 200, 30));
                    auto *strip = new QWidget(host.get());
                    strip->setAutoFillBackground(true);
                    strip->setPalette(QColor(200, 0, 0));
                    strip->setGeometry(30, 10, 10, 40);
                    strip->lower();
                    strip->show();
                    button->move(20, 20);
                } else if (token == "icon") {
                    QImage icon(4, 4, QImage::Format_ARGB32);
                    icon.fill(Qt::transparent);
                    icon.setPixel(1, 1, qRgba(0, 0, 255, 255));
                    button->setPictureNormal(TOVAPicture::icon(icon));
                } else if (key == "pic" || key == "over") {
                    const QString size = value.section('#', 0, 0).section('/', 0, 0);
                    const QRgb fill =
                        value.contains('#') ? hex(value.section('#', 1).section('/', 0, 0)) : 0xFFFF0000;
                    const TOVAPicture picture =
                        solid(size.section('x', 0, 0).toInt(), size.section('x', 1).toInt(), fill,
                              value.contains('/') ? hex(value.section('/', 1)) : fill);
                    key == "pic" ? button->setPictureNormal(picture) : button->setPictureOver(picture);
                } else if (token.contains('=')) {
                    QVERIFY2(setFromText(button, token), qPrintable(token));
                }
            }
    }

    // The face after the set-up's focus, hover and press, given as events.
    QImage drawn()
    {
        QFocusEvent in(QEvent::FocusIn);
        if (tokens.contains("focus"))
            QCoreApplication::sendEvent(button, &in);
        const QPoint centre = button->rect().center();
        if (tokens.contains("hover")) {
            // The pointer may be there already, from a look before: no move would come of moving it.
            QCursor::setPos(button->mapToGlobal(centre));
            QMouseEvent move(QEvent::MouseMove, centre, button->mapToGlobal(centre), Qt::NoButton, {}, {});
            QCoreApplication::sendEvent(button, &move);
        }
        if (tokens.contains("down"))
            QTest::mousePress(button, Qt::LeftButton, {}, centre);
        return button->grab().toImage();
    }

    // Around the caption in `face` (this look drawn): what differs from the same look without a caption,
    // with a margin of two pixels; empty without a caption.
    QRect captionArea(const QImage &face) const
    {
        const QImage bare = Look(tokens + QStringList{"Caption="}, ratio).drawn();
        QRect area;
        for (int y = 0; y < face.height(); ++y)
            for (int x = 0; x < face.width(); ++x)
                if (face.pixel(x, y) != bare.pixel(x, y))
                    area |= QRect(x, y, 1, 1);
        return area.isNull() ? area : area.adjusted(-2, -2, 2, 2);
    }

    QStringList tokens;
    qreal ratio;
    std::unique_ptr<QWidget> host = std::make_unique<QWidget>();
    TOVAButton *button = new TOVAButton(host.get());
};

} // namespace

class TestButtonDraw : public QObject {
    Q_OBJECT
private slots:
    // "SETUP | EXPECTED | ...", each expectation: "x,y=RRGGBB ..." probes; "@x,y ROWS" the pixels from (x, y)
    // as legend characters, '.' outside the window region; around the caption "+RRGGBB" more than 10 pixels
    // of the colour, "-RRGGBB" none, "<RRGGBB" and ">RRGGBB" its leftmost pixel left or right of the text's.
    void looks_data()
    {
        QTest::addColumn<QString>("look");
        const QString picture = " | @17,7 FFFFFFF FrrrrFF FrrrrFF FrrrrFF FrrrrFF FFFFFFF FFFFFFF";
        const QStringList rows = {
            // Bevels inset within a frame, full, single; a fill and a frame reaching past the surface.
            // Outside the window region, '.': a cell off each corner (style 1), three (3), two (5); the
            // pressed oval, a two-pixel dark ring around S(Face, -32).
            "1@8x6 | @0,0 .DDDDDD. DHHHHHSD DHHHHSSD DHSSSSSD DSSSSSSD .DDDDDD.",
            "3@6x5 | @0,0 ..??.. .?HH?. ?????? .????. ..??..",
            "5@6x5 | @0,0 ggggg. gHHHdH gHccgH gdgggH .HHHHH",
            "13@12x6 down | @0,0 ...DDDDDD... .DDDDDDDDDD. DDppppppppDD DDppppppppDD .DDDDDDDDDD. "
            "...DDDDDD...",
            "2@8x6 | @0,0 HHHHHHHD HLLLLLSD HLFFFFSD HLFFFFSD HSSSSSSD DDDDDDDD",
            "7@8x6 down | @0,0 SSSSSSSH SFFFFFFH SFFFFFFH SFFFFFFH SFFFFFFH HHHHHHHH",
            "9@6x4 hover | @0,0 ssssss soooos soooos ssssss",
            // Windows XP: FaceXP F0F0F0, row i SB(FaceXP, round(-i * 25 / 20)), the outline 0x733C00 with
            // corners 0x7B4D10, top line SB(FaceXP, +16), bottom SB(FaceXP, -48), left SB(FaceXP, -5), -10.
            "3@12x20 | 5,3=ECECEB 5,7=E7E7E5 5,10=E4E4E1 5,13=E0E0DC 5,16=DCDCD7 0,10=003C73 5,0=003C73 "
            "5,19=003C73 1,1=104D7B 10,18=104D7B 5,1=FFFFFF 5,18=C0C0B4 1,2=EBEBEA 2,3=E6E6E4",
            // Pressed, from the bottom up: row H - i is SB(D0D0C8, round(-i * 1.25)), -12.5 giving -12.
            "3@12x20 down | 5,16=CBCBC3 5,10=C4C4BC 11,10=003C73 10,1=104D7B",
            "3@12x10 hover | 1,5=FFB231 5,8=E79600 5,1=FFF3CE 5,2=FFDB8C 2,4=FFCB6B",
            // KDE 2: row i S(Highlight, round(-i * 3.625)), 14.5 -> 14, 43.5 -> 44; S(Shadow, -50) outside,
            // S(Face, -9) within, highlight strips; its focus rectangle shrunk by 5 and moved by one.
            "14@10x16 | 5,4=F1F1F1 5,5=EDEDED 5,12=D3D3D3 5,13=D0D0D0 2,12=FFFFFF 3,11=FFFFFF 2,14=B7B7B7 "
            "9,8=4E4E4E",
            "14@10x16 down | 5,5=B7B7B7 0,5=505050 5,14=FFFFFF 8,5=FFFFFF 8,15=505050",
            "14@20x16 focus | 6,6=161616 7,6=E9E9E9 15,11=282828",
            // The oval hovered: the ring in the shadow colour.
            "13@12x6 hover | 0,3=808080 1,3=808080 2,3=C0C0C0",
            // The focus rectangle, with the focus and ShowFocusRect only; shrunk by 3 for style 7, every
            // other pixel inverted, the ones between combined with the text colour.
            "7@12x10 | 3,3=C0C0C0 4,3=C0C0C0", "7@12x10 focus ShowFocusRect=false | 3,3=C0C0C0 4,3=C0C0C0",
            "7@12x10 focus | @3,3 iFiFiF FFFFFi iFFFFF FiFiFi",
            "7@12x10 focus ColorScheme=Custom BackColor=#C0C0C0 ForeColor=#FF0000 | 3,3=3F3F3F 4,3=3FC0C0",
            // Under Custom the hovered palette comes from BackOver; a soft bevel halves the shifts (Highlight
            // +23, Shadow -32). Office XP pressed and hovered: S(SelectionSoft, -32) under Custom, else
            // BlendToWhite(Selection, 128), blue 128 + 128 * 127 / 255.
            "7@6x4 ColorScheme=Custom BackColor=#646464 BackOver=#C86400 hover | 2,2=C86400",
            "7@6x4 ColorScheme=Custom BackColor=#646464 SoftBevel=true | 0,0=7B7B7B 5,3=444444 2,2=646464",
            "9@6x4 ColorScheme=Custom BackColor=#646464 BackOver=#C86400 down hover | 2,2=A84400",
            "9@6x4 BackOver=#C86400 down hover | 2,2=8080BF 0,0=000080",
            // Types without a row of their own: the face, the picture pressed one pixel further, its disabled
            // silhouettes, nothing else.
            "10@8x6 pic=2x2 down | @0,0 FFFFFFFF FFFFFFFF FFFFFFFF FFFFrrFF FFFFrrFF FFFFFFFF",
            "15@8x6 pic=2x2 Enabled=false | @0,0 FFFFFFFF FFFFFFFF FFFSSFFF FFFSSHFF FFFFHHFF FFFFFFFF",
            "0@8x6 pic=2x2 | @0,0 FFFFFFFF FFFFFFFF FFFrrFFF FFFrrFFF FFFFFFFF FFFFFFFF",
            // A red 4 x 4 picture on a 40 x 20 button, from one pixel above left of it: centred, also when
            // the caption is blank, else 10 pixels in from its side.
            "7@40x20 pic=4x4" + picture, "7@40x20 pic=4x4 UseGreyscale=true hover" + picture,
            "2@40x20 Caption= pic=4x4 PicturePosition=cbRight" + picture,
            "2@60x20 Caption=Ok pic=4x4 | @9,7 FFFFFFF FrrrrFF FrrrrFF FrrrrFF FrrrrFF FFFFFFF",
            "2@60x20 Caption=Ok pic=4x4 PicturePosition=cbRight | @45,7 FFFFFFF FrrrrFF FrrrrFF FrrrrFF "
            "FrrrrFF",
            "7@40x20 pic=4x4 down | @17,7 FFFFFFF FFFFFFF FFrrrrF FFrrrrF FFrrrrF FFrrrrF FFFFFFF",
            "7@40x20 pic=4x4 UseGreyscale=true | @17,7 FFFFFFF FyyyyFF FyyyyFF FyyyyFF FyyyyFF FFFFFFF",
            "9@40x20 pic=4x4 | @17,7 FFFFFFF FmmmmFF FmmmmFF FmmmmFF FmmmmFF FFFFFFF FFFFFFF",
            "9@40x20 pic=4x4 hover | @17,7 rrrrooo rrrrooo rrrrSSo rrrrSSo ooSSSSo ooSSSSo ooooooo",
            "2@40x20 pic=4x4 over=4x4#0000FF hover | @17,7 FFFFFFF FBBBBFF FBBBBFF FBBBBFF FBBBBFF FFFFFFF",
            "5@40x20 pic=4x4 over=4x4#0000FF down | @17,7 ??????? ?BBBB?? ?BBBB?? ?BBBB?? ?BBBB?? ???????",
            // Disabled, the bright centre (channel sum over 384) leaves no silhouette.
            "7@40x20 pic=4x4/818080 Enabled=false | @17,7 FFFFFFF FSSSSFF FSSSSHF FSSHSHF FSSSSHF FFHHHHF "
            "FFFFFFF",
            "9@40x20 pic=4x4/818080 Enabled=false | @17,7 FFFFFFF FnnnnFF FnnnnFF FnnFnFF FnnnnFF FFFFFFF",
            "3@40x20 pic=4x4/818080 Enabled=false | @17,7 ??????? ??????? ??yyyy? ??yyyy? ??yyvy? ??yyyy? "
            "???????",
            "7@40x20 pic=4x4 SpecialEffect=cbEmbossed | @17,7 llllFFF lrrrrFF lrrrrxF lrrrrxF FrrrrxF "
            "FFxxxxF",
            "7@40x20 pic=4x4 SpecialEffect=cbEmbossed down | @17,7 FFFFFFF FllllFF FlrrrrF Flrrrrx Flrrrrx "
            "FFrrrrx",
            // The pixel rules: the key of the mask colour blue * 65536 + green * 256 + red; a tint of 0 is
            // black (Shadow S(40, -64)); the bright-only silhouette takes channel sums up to 384; grey is
            // round(round(red * 0.3) + green * 0.59 + blue * 0.11), white 76 + 178.5 -> 254, and wins over
            // the Office XP blend, two thirds picture and one third face, truncated.
            "7@40x20 pic=4x4#112233 MaskColor=#112233 | 18,8=C0C0C0",
            "6@40x20 pic=4x4 Enabled=false ColorScheme=Custom BackColor=#404040 | 18,8=000000",
            "7@40x20 pic=4x4/808080 Enabled=false | 20,10=808080",
            "7@40x20 pic=4x4#FFFFFF UseGreyscale=true | 18,8=FEFEFE",
            "9@40x20 pic=4x4 UseGreyscale=true | 18,8=4C4C4C", "9@40x20 pic=4x4#646464 | 18,8=828282",
            // The mask colour is left out, unless UseMaskColor is cleared; an icon is composed over a square
            // of the mask colour.
            "7@40x20 pic=4x4#C0C0C0 ColorScheme=Custom BackColor=#0A141E | 18,8=0A141E",
            "7@40x20 pic=4x4#C0C0C0 ColorScheme=Custom BackColor=#0A141E UseMaskColor=false | 18,8=C0C0C0",
            "7@40x20 icon MaskColor=#00FF00 UseMaskColor=false | 18,8=00FF00 19,9=0000FF",
            "7@40x20 icon MaskColor=#00FF00 | 18,8=C0C0C0 19,9=0000FF",
            // The caption in each text mode; FaceXP SB(100, +48) = (148, 148, 125), SB(FaceXP, -104) = (44,
            // 44, 58); S(Shadow, -50) = 0.
            "2@160x50 ihi grey100 | +0000C8 -C80000", "2@160x50 ihi grey100 hover | +C80000 -0000C8",
            "4@160x50 ihi grey100 down | +838383 -C80000",
            "1@160x50 ihi grey100 Enabled=false | +939393 +242424 -0000C8",
            "9@160x50 ihi grey100 Enabled=false | +242424 -939393 -0000C8",
            "3@160x50 ihi grey100 Enabled=false | +2C2C3A -0000C8",
            "14@160x50 ihi grey100 Enabled=false | +939393",
            "14@160x50 ihi grey100 down | +000000 +939393 -0000C8 -C80000",
            // Caption effects from the face C0: the light copy S(Face, +40), the dark one S(Face, -40).
            "7@160x50 ihi | +000000 -E8E8E8 -989898",
            "7@160x50 ihi SpecialEffect=cbEmbossed | <E8E8E8 >989898",
            "7@160x50 ihi SpecialEffect=cbEngraved | >E8E8E8 <989898",
            "7@160x50 ihi SpecialEffect=cbShadowed | -E8E8E8 >989898",
            // The Transparent style shows the parent's pixels under the control.
            "2@40x20 behind ButtonType=Transparent | 2,2=0AC81E 12,2=C80000 25,15=0AC81E",
            // A background picture lies under the caption, which is drawn again over it.
            "7@160x50 ihi pic=150x40#FFFF00 PicturePosition=cbBackground | +FFFF00 +000000"};
        for (const QString &row : rows)
            QTest::newRow(qPrintable(row)) << row;
    }

    // At 150 % and 200 % the drawing is the 100 % drawing with each pixel a block of device pixels, but
    // for the caption, drawn at the screen's resolution: within a tolerance of the blocks, and finer.
    void ratios_data()
    {
        QTest::addColumn<QString>("look");
        QTest::addColumn<qreal>("ratio");
        for (const qreal ratio : {2.0, 1.5})
            for (const char *look : {"1@8x6", "3@40x20", "13@12x6 down", "14@20x16 focus", "7@40x20 pic=4x4",
                                     "9@40x20 pic=4x4 hover", "7@40x20 icon MaskColor=#00FF00",
                                     "2@160x50 ihi grey100", "7@160x50 ihi SpecialEffect=cbEmbossed",
                                     "7@160x50 ihi pic=150x40#FFFF00 PicturePosition=cbBackground"})
                QTest::addRow("%s at %g", look, ratio) << QString(look) << ratio;
    }

    void ratios()
    {
        QFETCH(QString, look);
        QFETCH(qreal, ratio);
        Look x1(look.split(' '));
        Look scaled(look.split(' '), ratio);
        if (scaled.button->devicePixelRatio() != ratio)
            QSKIP("no screen at that ratio (the test button_draw_hidpi runs this with them)");
        const QImage one = x1.drawn(), image = scaled.drawn();

        QCOMPARE(one.devicePixelRatio(), 1.0);
        QCOMPARE(image.devicePixelRatio(), ratio);
        QCOMPARE(image.size(),
                 QSize(GdiCanvas::device(one.width(), ratio), GdiCanvas::device(one.height(), ratio)));
        // The logical pixel each device pixel of a row or a column belongs to.
        const auto logical = [ratio](int n) {
            QList<int> of(GdiCanvas::device(n, ratio));
            for (int l = 0; l < n; ++l)
                for (int d = GdiCanvas::device(l, ratio); d < GdiCanvas::device(l + 1, ratio); ++d)
                    of[d] = l;
            return of;
        };
        const QList<int> lx = logical(one.width()), ly = logical(one.height());
        const QRect caption = x1.captionArea(one);
        int apart = 0, fine = 0, inCaption = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb a = image.pixel(x, y), b = one.pixel(lx[x], ly[y]);
                if (!caption.contains(lx[x], ly[y])) {
                    QVERIFY2(a == b, qPrintable(QString::asprintf("(%d, %d) %06X, not %06X", x, y,
                                                                  a & 0xFFFFFF, b & 0xFFFFFF)));
                    continue;
                }
                ++inCaption;
                apart += std::abs(qGray(a) - qGray(b)) > 96;
                // A pixel unlike another of its block: drawn finer than the blocks.
                fine += (x + 1 < image.width() && lx[x + 1] == lx[x] && a != image.pixel(x + 1, y)) ||
                        (y + 1 < image.height() && ly[y + 1] == ly[y] && a != image.pixel(x, y + 1));
            }
        }
        if (inCaption > 0) {
            QVERIFY2(apart * 8 < inCaption, qPrintable(QString("%1 of %2").arg(apart).arg(inCaption)));
            QVERIFY2(fine > 0, "the caption is made of blocks");
        }
    }

    void looks()
    {
        QFETCH(QString, look);
        const QStringList parts = look.split(" | ");
        Look f(parts[0].split(' '));
        const QImage image = f.drawn();
        for (const QString &expected : parts.mid(1)) {
            const QStringList words = expected.split(' ');
            if (words[0].startsWith('@')) {
                const QPoint at(words[0].mid(1).section(',', 0, 0).toInt(), words[0].section(',', 1).toInt());
                QStringList rows(words.size() - 1);
                for (int y = 0; y < rows.size(); ++y)
                    for (int x = 0; x < words[1].size(); ++x) {
                        const QPoint p = at + QPoint(x, y);
                        rows[y] +=
                            f.button->mask().contains(p) ? legend.key(image.pixel(p), '?') : QChar('.');
                    }
                QCOMPARE(rows, words.mid(1));
            } else if (expected.contains('=')) {
                QStringList actual;
                for (const QString &probe : words) {
                    const QString at = probe.section('=', 0, 0);
                    const QRgb pixel = image.pixel(at.section(',', 0, 0).toInt(), at.section(',', 1).toInt());
                    actual << at + QString::asprintf("=%06X", pixel & 0xFFFFFFu);
                }
                QCOMPARE(actual, words);
            } else {
                const QImage caption = image.copy(f.captionArea(image));
                const int text = find(caption, hex("000000")).second;
                for (const QString &c : words) {
                    const auto [n, x] = find(caption, hex(c.mid(1)));
                    const bool holds = c[0] == '+'   ? n > 10
                                       : c[0] == '-' ? n == 0
                                       : c[0] == '<' ? x >= 0 && x < text
                                                     : x > text;
                    QVERIFY2(holds, qPrintable(c));
                }
            }
        }
    }
};

QTEST_MAIN(TestButtonDraw)
#include "tst_draw.moc"
