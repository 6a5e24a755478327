#include "buttonregion.h"
#include "buttontest.h"
#include "colorarith.h"

using TovaColor::rgb;

class TestButtonFaces : public QObject {
    Q_OBJECT
private slots:
    void faces_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("state");
        QTest::addColumn<bool>("hover");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, int type, int state, bool hover, const char *expected) {
            QTest::newRow(name) << type << state << hover << QString(expected);
        };
        row("1 up", 1, 0, false, "DDDDDDDD DHHHHHSD DHHHHSSD DHSSSSSD DSSSSSSD DDDDDDDD");
        row("1 down", 1, 2, false, "DDDDDDDD DSSSSSHD DSSSSHHD DSHHHHHD DHHHHHHD DDDDDDDD");
        row("2 up", 2, 0, false, "HHHHHHHD HLLLLLSD HLFFFFSD HLFFFFSD HSSSSSSD DDDDDDDD");
        row("2 down", 2, 2, false, "DDDDDDDH DSSSSSLH DSFFFFLH DSFFFFLH DLLLLLLH HHHHHHHH");
        row("4 down", 4, 2, false,
            "DDDDDDDDD DDaaaaSDD DaabbbSbD DabbkkSkD DabkkSSkD DSSSSSSbD DDbkkkbDD DDDDDDDDD");
        row("5 up", 5, 0, false, "gggggggF gHHHHHdH gHccccgH gHccccgH gdgggggH FHHHHHHH");
        row("6 up", 6, 0, false, "eeeeeeeS eeeeeeSS eeFFFFSS eeFFFFSS eSSSSSSS SSSSSSSS");
        row("7 up", 7, 0, false, "HHHHHHHS HFFFFFFS HFFFFFFS HFFFFFFS HFFFFFFS SSSSSSSS");
        row("7 down", 7, 2, false, "SSSSSSSH SFFFFFFH SFFFFFFH SFFFFFFH SFFFFFFH HHHHHHHH");
        row("8 up", 8, 0, false, "FFFFFFFF FFFFFFFF FFFFFFFF FFFFFFFF");
        row("9 up", 9, 0, false, "FFFFFF FFFFFF FFFFFF FFFFFF");
        row("9 hovered", 9, 0, true, "ssssss soooos soooos ssssss");
        row("12 down", 12, 2, false, "DDDDDDDH DSSSSSLH DSFFFFLH DSFFFFLH DLLLLLLH HHHHHHHH");
    }

    void faces()
    {
        QFETCH(int, type);
        QFETCH(int, state);
        QFETCH(bool, hover);
        QFETCH(QString, expected);
        ButtonFixture f(type, int(expected.indexOf(' ')), int(expected.count(' ')) + 1);
        QCOMPARE(pixelRows(f.draw(quint8(state), hover), legend), expected);
    }

    void windowsXp()
    {
        ButtonFixture f(3, 12, 20);
        // FaceXP is F0F0F0; row i takes SB(FaceXP, round(-i * 1.25)), halves to even, blue scaled by 240/192.
        QString rows =
            "5,3=ECECEB 5,4=EBEBEA 5,5=EAEAE9 5,6=E8E8E6 5,7=E7E7E5 5,8=E6E6E4 5,9=E5E5E3 5,10=E4E4E1 "
            "5,11=E2E2DF 5,12=E1E1DE 5,13=E0E0DC 5,14=DEDEDA 5,15=DDDDD9 5,16=DCDCD7";
        QCOMPARE(probed(f.draw(0), rows), rows);
        // Outline and corners; plain edges: the top line SB(FaceXP, +16) clamped at 255, the bottom one
        // SB(FaceXP, -48); the left edge SB(FaceXP, -5) from row 2, the second column SB(FaceXP, -10) from
        // row 3.
        QString edges = "0,10=003C73 11,10=003C73 5,0=003C73 5,19=003C73 1,1=104D7B 1,18=104D7B 10,1=104D7B "
                        "10,18=104D7B 5,1=FFFFFF 5,18=C0C0B4 1,2=EBEBEA 2,3=E6E6E4";
        QCOMPARE(probed(f.draw(0), edges), edges);
        // Hovered: the frame's sides and bottom line, its edges.
        ButtonFixture h(3, 12, 10);
        edges = "1,5=FFB231 5,8=E79600 5,1=FFF3CE 5,2=FFDB8C 2,4=FFCB6B 9,4=FFCB6B 0,5=003C73";
        QCOMPARE(probed(h.draw(0, true), edges), edges);
    }

    void officeXpHoverDownFill()
    {
        ButtonFixture f(9, 6, 4);
        // BlendToWhite(Selection 0x800000, 128): red and green 128, blue 128 + 128 * 127 / 255 = 191.
        QCOMPARE(probed(f.draw(2, true), "2,2 0,0"), "2,2=8080BF 0,0=000080");
        // Under Custom the pressed fill is S(SelectionSoft, -32), SelectionSoft being the face.
        f.button->setColorScheme(TOVAButton::Custom);
        f.button->setBackColor(rgb(100, 150, 200));
        f.button->setBackOver(rgb(100, 150, 200));
        QCOMPARE(probed(f.draw(2, true), "2,2"), "2,2=4476A8");
    }

    void ovalRegionAndFace()
    {
        ButtonFixture f(13, 12, 6);
        QCOMPARE(f.button->mask(), buttonRegion(13, 12, 6));
        // Up, not hovered: pen and brush are the face.
        QCOMPARE(count(f.draw(0), grey(0xC0)), 12 * 6);
        // Down: a dark two-pixel ring around S(Face, -32); hovered, the ring in the shadow colour.
        QCOMPARE(probed(f.draw(2), "0,3 1,3 2,3 6,0 6,2 11,2"),
                 "0,3=000000 1,3=000000 2,3=A0A0A0 6,0=000000 6,2=A0A0A0 11,2=000000");
        QCOMPARE(probed(f.draw(0, true), "0,3"), "0,3=808080");
    }

    void kdeGradientAndFrames()
    {
        ButtonFixture f(14, 10, 16);
        // Row i: S(Highlight, round(-i * 3.625)), halves to even (14.5 -> 14, 43.5 -> 44); the left
        // highlight strip runs down to row H - 3.
        const QString up =
            "5,4=F1F1F1 5,5=EDEDED 5,6=E9E9E9 5,7=E6E6E6 5,8=E2E2E2 5,9=DEDEDE 5,10=DBDBDB "
            "5,11=D7D7D7 5,12=D3D3D3 5,13=D0D0D0 2,12=FFFFFF 3,11=FFFFFF 2,14=B7B7B7 9,8=4E4E4E 5,15=4E4E4E";
        QCOMPARE(probed(f.draw(0), up), up);
        QCOMPARE(pixelRows(f.draw(0).copy(0, 0, 10, 4), legend),
                 "qqqqqqqqqq qffffffffq qfHHHHHHfq qfHHHHHHfq");
        // Down: S(Face, -9) inside, S(Shadow, -48) frame, highlight lines at the bottom and right.
        const QString down = "5,5=B7B7B7 0,5=505050 5,14=FFFFFF 8,5=FFFFFF 8,15=505050";
        QCOMPARE(probed(f.draw(2), down), down);
    }

    void customColours()
    {
        ButtonFixture f(7, 6, 4);
        f.button->setColorScheme(TOVAButton::Custom);
        f.button->setBackColor(rgb(100, 100, 100));
        f.button->setBackOver(rgb(200, 100, 0));
        // Hovered, the face is BackOver for that drawing only.
        QCOMPARE(probed(f.draw(0, true), "2,2"), "2,2=C86400");
        QCOMPARE(f.button->BackColor(), rgb(100, 100, 100));
        QCOMPARE(f.d->Pal.Face, rgb(100, 100, 100));
        QCOMPARE(probed(f.draw(0), "2,2"), "2,2=646464");
        // Soft bevel: Highlight S(Face, +47) lightens by 23, Shadow S(Face, -64) darkens by 32.
        f.button->setSoftBevel(true);
        QCOMPARE(probed(f.draw(0), "0,0 5,3 2,2"), "0,0=7B7B7B 5,3=444444 2,2=646464");
        // Under the other schemes BackOver changes nothing.
        f.button->setColorScheme(TOVAButton::ForceStandard);
        QCOMPARE(probed(f.draw(0, true), "2,2"), "2,2=C0C0C0");
    }

    void typeWithoutRowDrawsFaceOnly_data()
    {
        QTest::addColumn<int>("type");
        QTest::newRow("10") << 10;
        QTest::newRow("0") << 0;
        QTest::newRow("15") << 15;
    }

    // A red picture at (10, 3), left of the caption, pressed one pixel further; everything else is the
    // face, where the caption would be too. Disabled, the shadow silhouette over the highlight one.
    void typeWithoutRowDrawsFaceOnly()
    {
        QFETCH(int, type);
        ButtonFixture f(type, 40, 8);
        f.button->setCaption("Ok");
        f.button->setPictureNormal(solid(2, 2, qRgb(255, 0, 0)));
        QCOMPARE(pixelRows(f.draw(0).copy(9, 2, 4, 4), legend), "FFFF FrrF FrrF FFFF");
        QCOMPARE(pixelRows(f.draw(2).copy(9, 2, 4, 4), legend), "FFFF FFFF FFrr FFrr");
        QCOMPARE(count(f.draw(2), grey(0xC0)), 40 * 8 - 4);
        f.button->setEnabled(false);
        QCOMPARE(pixelRows(f.draw(2).copy(9, 2, 4, 4), legend), "FFFF FSSF FSSH FFHH");
        QCOMPARE(count(f.draw(0), grey(0xC0)), 40 * 8 - 7);
    }

    void focusRectangle()
    {
        ButtonFixture f(7, 12, 10);
        f.d->HasFocus = true;
        // Shrunk by 3 for this style: the dotted frame runs from (3, 3) to (8, 6); even pixels inverted.
        const QHash<QChar, QRgb> dots = {{'F', grey(0xC0)}, {'x', grey(0x3F)}};
        QCOMPARE(pixelRows(f.draw(0).copy(3, 3, 6, 4), dots), "xFxFxF FFFFFx xFFFFF FxFxFx");
        f.button->setShowFocusRect(false);
        QCOMPARE(count(f.draw(0), grey(0x3F)), 0);
        // KDE 2: shrunk by 5 and moved one pixel right and down.
        ButtonFixture k(14, 20, 16);
        QCOMPARE(k.d->FocusRect, QRect(6, 6, 10, 6));
    }

    void transparentShowsWhatLiesBehind()
    {
        QWidget host;
        host.setPalette(QColor(10, 200, 30));
        host.resize(100, 60);
        auto *sibling = new QWidget(&host);
        sibling->setAutoFillBackground(true);
        sibling->setPalette(QColor(200, 0, 0));
        sibling->setGeometry(30, 10, 10, 40);
        auto *button = new TOVAButton(&host);
        button->setCaption(QString());
        button->setButtonType(TOVAButton::Transparent);
        button->setGeometry(20, 20, 40, 20);
        host.show();
        QCOMPARE(probed(TOVAButtonPrivate::get(button)->BackBuffer, "2,2 12,2 25,15"),
                 "2,2=0AC81E 12,2=C80000 25,15=0AC81E");
        // A control shown in another style and made Transparent afterwards gets its background too.
        auto *late = new TOVAButton(&host);
        late->setCaption(QString());
        late->setGeometry(25, 5, 20, 10);
        late->show();
        late->setButtonType(TOVAButton::Transparent);
        QCOMPARE(probed(TOVAButtonPrivate::get(late)->BackBuffer, "1,1 7,7"), "1,1=0AC81E 7,7=C80000");
    }
};

QTEST_MAIN(TestButtonFaces)
#include "tst_buttonfaces.moc"
