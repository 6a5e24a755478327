// Palette, geometry, shape and background of the button, recomputed when its properties or size change.

#include "buttonregion.h"
#include "colorarith.h"
#include "gdicanvas.h"
#include "olecolor.h"
#include "tovaambient.h"
#include "tovabutton_p.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QPainter>

void TOVAButtonPrivate::ComputePalette()
{
    using namespace OleColor;
    auto S = [this](quint32 c, int n) { return TovaColor::shiftColor(c, n, false, SoftBevel); };
    auto derive = [&] {
        Pal.Shadow = S(Pal.Face, -64);
        Pal.Light = S(Pal.Face, +31);
        Pal.Highlight = S(Pal.Face, +47);
        Pal.DarkShadow = S(Pal.Face, -192);
    };
    switch (ColorScheme) {
    case TOVAButton::Custom:
        Pal.Face = translate(BackColor);
        Pal.TextOver = translate(ForeOver);
        Pal.Text = translate(ForeColor);
        derive();
        Pal.Selection = S(Pal.Face, -128);
        Pal.SelectionSoft = Pal.Face;
        break;
    case TOVAButton::ForceStandard:
        Pal.Face = 0xC0C0C0;
        Pal.TextOver = Pal.Text = 0x000000;
        Pal.Shadow = 0x808080;
        Pal.Light = 0xDFDFDF;
        Pal.Highlight = 0xFFFFFF;
        Pal.DarkShadow = 0x000000;
        Pal.Selection = 0x800000;
        Pal.SelectionSoft = 0xD1ADAD;
        break;
    case TOVAButton::UseContainer:
        Pal.Face = Ambient->backColor(q);
        Pal.TextOver = Pal.Text = Ambient->foreColor(q);
        derive();
        Pal.Selection = systemColor(Highlight);
        Pal.SelectionSoft = TovaColor::blendToWhite(Pal.Selection, 176);
        break;
    default:
        Pal.Face = systemColor(ButtonFace);
        Pal.TextOver = Pal.Text = systemColor(ButtonText);
        Pal.Shadow = systemColor(ButtonShadow);
        Pal.Light = systemColor(Light3D);
        Pal.Highlight = systemColor(ButtonHighlight);
        Pal.DarkShadow = systemColor(DarkShadow3D);
        Pal.Selection = systemColor(Highlight);
        Pal.SelectionSoft = TovaColor::blendToWhite(Pal.Selection, 176);
        break;
    }
    Pal.Mask = translate(MaskColor);
    Pal.FaceXP = TovaColor::shiftColor(Pal.Face, +48, ButtonType == TOVAButton::WindowsXP, SoftBevel);
}

void TOVAButtonPrivate::HandleResize()
{
    if (CapturingBackground)
        return;
    W = q->width();
    H = q->height();
    const QRect client(0, 0, W, H);
    if (ButtonType == TOVAButton::KDE2)
        FocusRect = client.adjusted(5, 5, -5, -5).translated(1, 1);
    else if (ButtonType >= TOVAButton::Windows16Bit && ButtonType <= TOVAButton::Netscape6)
        FocusRect = client.adjusted(4, 4, -4, -4);
    else
        FocusRect = client.adjusted(3, 3, -3, -3);
    LayoutCaption();
    BuildRegion();
    q->setMask(Region);
    if (H != 0)
        DrawButton(State::Up, true);
}

void TOVAButtonPrivate::BuildRegion()
{
    ButtonShape shape = ButtonShape::Rectangle;
    switch (ButtonType) {
    case TOVAButton::Windows16Bit:
    case TOVAButton::KDE2:
        shape = ButtonShape::CornersCut;
        break;
    case TOVAButton::JavaMetal:
        shape = ButtonShape::TwoCornersCut;
        break;
    case TOVAButton::WindowsXP:
    case TOVAButton::Mac:
        shape = ButtonShape::RoundedCorners;
        break;
    case TOVAButton::OvalFlat:
        shape = ButtonShape::Oval;
        break;
    }
    Region = buttonRegion(shape, W, H);
}

void TOVAButtonPrivate::MeasurePicture()
{
    if (PictureNormal.isNull()) {
        PictureWidth = PictureHeight = 0;
        return;
    }
    const QSize hiMetric = PictureNormal.sizeHiMetric();
    PictureWidth = TovaColor::roundHalfEven(hiMetric.width() * 96.0 / 2540.0);
    PictureHeight = TovaColor::roundHalfEven(hiMetric.height() * 96.0 / 2540.0);
}

void TOVAButtonPrivate::LayoutCaption()
{
    const int pw = PictureWidth;
    const int ph = PictureHeight;
    // Rectangles as left, top, right, bottom; right and bottom excluded.
    int left = 1, top = 1, right = W - 2, bottom = H - 2;
    switch (PicturePosition) {
    case TOVAButton::cbLeft:
        left = pw + 1;
        break;
    case TOVAButton::cbRight:
        right = W - pw - 2;
        break;
    case TOVAButton::cbTop:
        top = ph + 1;
        break;
    case TOVAButton::cbBottom:
        bottom = H - ph - 2;
        break;
    default:
        break;
    }

    // The caption's extent when wrapped into that width; the rectangle keeps its left and top.
    QSize extent(0, 0);
    if (!Caption.isEmpty()) {
        const QFontMetrics metrics(q->font());
        extent =
            metrics
                .boundingRect(QRect(left, top, std::max(right - left, 0), std::max(bottom - top, 0)),
                              Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic, Caption)
                .size();
    }
    right = left + extent.width();
    bottom = top + extent.height();
    CaptionWidth = right - left;
    CaptionHeight = bottom - top;

    int dx = (W - right) / 2;
    int dy = (H - bottom) / 2;
    if (PicturePosition == TOVAButton::cbRight)
        dx = (W - pw - right - 4) / 2;
    else if (PicturePosition == TOVAButton::cbBottom)
        dy = (H - ph - bottom - 4) / 2;
    CaptionRect = QRect(left + dx, top + dy, CaptionWidth, CaptionHeight);
    CaptionRectDown = CaptionRect.translated(1, 1);
    PositionPicture();
}

void TOVAButtonPrivate::PositionPicture()
{
    if (PictureNormal.isNull() && PictureOver.isNull())
        return;
    const int pw = PictureWidth;
    const int ph = PictureHeight;
    QString blanksTrimmed = Caption;
    while (blanksTrimmed.startsWith(u' '))
        blanksTrimmed.remove(0, 1);
    while (blanksTrimmed.endsWith(u' '))
        blanksTrimmed.chop(1);
    if (blanksTrimmed.isEmpty() || PicturePosition == TOVAButton::cbBackground) {
        PictureX = (W - pw) / 2;
        PictureY = (H - ph) / 2;
        return;
    }
    switch (PicturePosition) {
    case TOVAButton::cbLeft:
        PictureX = 10;
        PictureY = (H - ph) / 2;
        break;
    case TOVAButton::cbRight:
        PictureX = W - pw - 10;
        PictureY = (H - ph) / 2;
        break;
    case TOVAButton::cbTop:
        PictureX = (W - pw) / 2;
        PictureY = CaptionRect.top() - ph - 2;
        break;
    case TOVAButton::cbBottom:
        PictureX = (W - pw) / 2;
        PictureY = CaptionRect.top() + CaptionHeight + 2;
        break;
    default:
        break;
    }
}

void TOVAButtonPrivate::CaptureBackground()
{
    QWidget *parent = q->parentWidget();
    if (!parent || W == 0 || H == 0)
        return;
    CapturingBackground = true;
    const QRect area(q->pos(), QSize(W, H));
    // With no height the control shows nothing of its own while the parent's pixels are taken.
    q->resize(q->width(), 0);
    QCoreApplication::processEvents();
    // In device pixels, as the back buffer it is copied into.
    BackgroundBuffer = GdiCanvas::surface(W, H, q->devicePixelRatio());
    BackgroundBuffer.fill(Qt::black);
    QPainter(&BackgroundBuffer).drawImage(0, 0, parent->grab(area).toImage());
    q->resize(q->width(), H);
    CapturingBackground = false;
}
