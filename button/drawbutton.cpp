// Drawing of the button: palette, geometry and the face. This plain face shows the state (up or down),
// the colours and the caption; the styles draw over the same entry points.

#include "olecolor.h"
#include "tovaambient.h"
#include "tovabutton_p.h"

#include <QCoreApplication>
#include <QPainter>

void TOVAButtonPrivate::DrawButton(quint8 state, bool force)
{
    if (DrawObserver)
        DrawObserver(state, force);
    if (CheckBoxBehaviour && Value)
        state = 2;
    if (!(force || Caption != LastCaption || state != LastState) || H == 0 || !RedrawEnabled)
        return;
    LastState = state;
    LastCaption = Caption;

    if (BackBuffer.size() != QSize(W, H))
        BackBuffer = QImage(W, H, QImage::Format_RGB32);
    BackBuffer.fill(OleColor::toQColor(Pal.Face));
    QPainter painter(&BackBuffer);
    painter.setFont(q->font());
    const bool down = Enabled && state == 2;
    painter.setPen(OleColor::toQColor(down || IsOver ? Pal.TextOver : Pal.Text));
    painter.drawText(down ? CaptionRectDown : CaptionRect,
                     Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic, Caption);
    painter.setPen(OleColor::toQColor(down ? Pal.Shadow : Pal.DarkShadow));
    painter.drawRect(0, 0, W - 1, H - 1);
    painter.end();
    q->update();
}

void TOVAButtonPrivate::ComputePalette()
{
    using namespace OleColor;
    switch (ColorScheme) {
    case TOVAButton::Custom:
        Pal.Face = translate(BackColor);
        Pal.Text = translate(ForeColor);
        Pal.TextOver = translate(ForeOver);
        break;
    case TOVAButton::ForceStandard:
        Pal.Face = 0xC0C0C0;
        Pal.Text = Pal.TextOver = 0x000000;
        break;
    case TOVAButton::UseContainer:
        Pal.Face = Ambient->backColor(q);
        Pal.Text = Pal.TextOver = Ambient->foreColor(q);
        break;
    default:
        Pal.Face = systemColor(ButtonFace);
        Pal.Text = Pal.TextOver = systemColor(ButtonText);
        break;
    }
    Pal.Shadow = systemColor(ButtonShadow);
    Pal.DarkShadow = systemColor(DarkShadow3D);
    Pal.Mask = translate(MaskColor);
}

void TOVAButtonPrivate::LayoutCaption()
{
    CaptionRect = QRect(1, 1, qMax(0, W - 2), qMax(0, H - 2));
    CaptionRectDown = CaptionRect.translated(1, 1);
    CaptionWidth = CaptionRect.width();
    CaptionHeight = CaptionRect.height();
    PositionPicture();
}

void TOVAButtonPrivate::PositionPicture()
{
    if (PictureNormal.isNull() && PictureOver.isNull())
        return;
    PictureX = (W - PictureWidth) / 2;
    PictureY = (H - PictureHeight) / 2;
}

void TOVAButtonPrivate::MeasurePicture()
{
    PictureWidth = PictureNormal.size().width();
    PictureHeight = PictureNormal.size().height();
}

void TOVAButtonPrivate::BuildRegion()
{
    Region = QRegion(0, 0, W, H);
}

void TOVAButtonPrivate::CaptureBackground()
{
    QWidget *parent = q->parentWidget();
    if (!parent || BackgroundBuffer.isNull())
        return;
    CapturingBackground = true;
    const QRect area = q->geometry();
    q->resize(area.width(), 0);
    QCoreApplication::processEvents();
    const QImage pixels = parent->grab(area).toImage();
    QPainter(&BackgroundBuffer).drawImage(0, 0, pixels);
    q->resize(area.width(), H);
    CapturingBackground = false;
}

void TOVAButtonPrivate::HandleResize()
{
    if (CapturingBackground)
        return;
    W = q->width();
    H = q->height();
    const int inset = ButtonType >= 1 && ButtonType <= 6 ? 4 : 3;
    FocusRect = QRect(0, 0, W, H).adjusted(inset, inset, -inset, -inset);
    LayoutCaption();
    BuildRegion();
    q->setMask(Region);
    if (H != 0)
        DrawButton(0, true);
}
