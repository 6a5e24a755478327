// The caption and the picture on the button's face.

#include "buttonrenderer.h"
#include "pictureblit.h"
#include "tovabutton_p.h"

#include <QPainter>

void ButtonRenderer::text(const QRect &r, Color c)
{
    QPainter painter(&d.BackBuffer);
    painter.setFont(d.q->font());
    painter.setPen(TovaColor::toQRgb(c));
    painter.drawText(r, Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic, d.Caption);
}

void ButtonRenderer::DrawCaption(TextMode mode)
{
    const auto &p = d.Pal;
    m_textMode = mode;
    switch (mode) {
    case TextMode::Up:
    case TextMode::Hovered:
        DrawCaptionEffect(d.CaptionRect);
        text(d.CaptionRect, mode == TextMode::Up ? p.Text : p.TextOver);
        break;
    case TextMode::Down:
        DrawCaptionEffect(d.CaptionRectDown);
        text(d.CaptionRectDown, d.ButtonType == TOVAButton::Mac ? p.Light : p.TextOver);
        break;
    case TextMode::DisabledEmbossed:
        text(d.CaptionRectDown, p.Highlight);
        text(d.CaptionRect, p.Shadow);
        break;
    case TextMode::DisabledFlat:
        text(d.CaptionRect, p.Shadow);
        break;
    case TextMode::DisabledXP:
        text(d.CaptionRect, SB(p.FaceXP, -104));
        break;
    case TextMode::DisabledKDE:
        text(d.CaptionRectDown, p.Highlight);
        text(d.CaptionRect, p.Face);
        break;
    case TextMode::DownKDE:
        text(d.CaptionRectDown, S(p.Shadow, -50));
        text(d.CaptionRect, p.Highlight);
        break;
    }
}

void ButtonRenderer::DrawCaptionEffect(const QRect &r)
{
    const int effect = d.SpecialEffect;
    if (effect == TOVAButton::cbNone)
        return;
    const auto &p = d.Pal;
    const int type = d.ButtonType;
    Color base = p.Face;
    if (type == TOVAButton::WindowsXP || type == TOVAButton::Mac || type == TOVAButton::KDE2)
        base = p.FaceXP;
    else if (type == TOVAButton::OfficeXP && d.IsOver && d.LastState == TOVAButtonPrivate::State::Up &&
             d.ColorScheme != TOVAButton::Custom)
        base = p.SelectionSoft;
    const bool engraved = effect == TOVAButton::cbEngraved;
    text(r.translated(1, 1), S(base, engraved ? +40 : -40));
    if (effect == TOVAButton::cbEmbossed || engraved)
        text(r.translated(-1, -1), S(base, engraved ? -40 : +40));
}

void ButtonRenderer::DrawPicture(PictureState state)
{
    const TOVAPicture &normal = d.PictureNormal;
    if (normal.isNull())
        return;
    const TOVAPicture &over = d.PictureOver;
    const auto &p = d.Pal;
    const int type = d.ButtonType;
    const int x = d.PictureX;
    const int y = d.PictureY;
    const int w = d.PictureWidth;
    const int h = d.PictureHeight;
    const int mask = int(p.Mask);
    auto plain = [&](const TOVAPicture &picture, int px, int py) {
        BlitPicture(px, py, w, h, picture, mask, -1, false, false, false);
    };
    auto silhouette = [&](int px, int py, Color tint) {
        BlitPicture(px, py, w, h, normal, mask, int(tint), true, false, false);
    };

    switch (state) {
    case PictureState::Up:
        if (!d.IsOver) {
            DrawPictureEffect(0, normal);
            BlitPicture(x, y, w, h, normal, mask, -1, false, d.UseGreyscale, type == TOVAButton::OfficeXP);
        } else if (type == TOVAButton::OfficeXP) {
            DrawPictureEffect(-1, normal);
            BlitPicture(x + 1, y + 1, w, h, normal, mask, int(p.Shadow), false, false, false);
            plain(normal, x - 1, y - 1);
        } else if (!over.isNull()) {
            DrawPictureEffect(0, over);
            plain(over, x, y);
        } else {
            DrawPictureEffect(0, normal);
            plain(normal, x, y);
        }
        break;
    case PictureState::Down:
        if (over.isNull() || type == TOVAButton::OfficeXP) {
            if (type == TOVAButton::JavaMetal || type == TOVAButton::OfficeXP) {
                DrawPictureEffect(0, normal);
                plain(normal, x, y);
            } else {
                DrawPictureEffect(1, normal);
                plain(normal, x + 1, y + 1);
            }
        } else {
            const int shift = type == TOVAButton::JavaMetal ? 0 : 1;
            plain(over, x + shift, y + shift);
        }
        break;
    case PictureState::Disabled:
        if (type == TOVAButton::WindowsXP) {
            BlitPicture(x + 1, y + 1, w, h, normal, mask, -1, false, true, false);
        } else if (type == TOVAButton::JavaMetal || type == TOVAButton::Netscape6 ||
                   type == TOVAButton::OfficeXP) {
            silhouette(x, y, type == TOVAButton::OfficeXP ? S(p.Shadow, +13) : p.Shadow);
        } else {
            silhouette(x + 1, y + 1, p.Highlight);
            silhouette(x, y, p.Shadow);
        }
        break;
    }

    // A background picture lies under the caption: the caption is drawn again over it.
    if (d.PicturePosition == TOVAButton::cbBackground)
        DrawCaption(m_textMode);
}

void ButtonRenderer::DrawPictureEffect(int offset, const TOVAPicture &picture)
{
    const int effect = d.SpecialEffect;
    if (effect == TOVAButton::cbNone)
        return;
    const auto &p = d.Pal;
    Color base = p.SelectionSoft;
    if (d.ButtonType == TOVAButton::WindowsXP)
        base = p.FaceXP;
    else if (offset != -1 || d.ColorScheme == TOVAButton::Custom)
        base = p.Face;
    const bool engraved = effect == TOVAButton::cbEngraved;
    const int x = d.PictureX + offset;
    const int y = d.PictureY + offset;
    const int mask = int(p.Mask);
    BlitPicture(x + 1, y + 1, d.PictureWidth, d.PictureHeight, picture, mask,
                int(S(base, engraved ? +40 : -40)), false, false, false);
    if (effect == TOVAButton::cbEmbossed || engraved)
        BlitPicture(x - 1, y - 1, d.PictureWidth, d.PictureHeight, picture, mask,
                    int(S(base, engraved ? -40 : +40)), false, false, false);
}

void ButtonRenderer::BlitPicture(int x, int y, int w, int h, const TOVAPicture &picture, int transparent,
                                 int tint, bool brightOnly, bool grey, bool blend)
{
    if (w == 0 || h == 0)
        return;
    const PictureBlit::Rules rules{d.UseMaskColor ? transparent : -1, tint, brightOnly, grey, blend};
    // Pictures with their own transparency are first drawn over a square of the mask colour.
    QImage source = picture.kind() == TOVAPicture::Kind::Bitmap
                        ? picture.image()
                        : PictureBlit::overSquare(picture.image(), w, h, d.Pal.Mask);
    const QRect area = m_canvas.deviceRect(QRect(x, y, w, h));
    // Above 1x each picture pixel becomes a block of device pixels, as the frames' pixels do.
    if (area.size() != QSize(w, h))
        source = source.copy(0, 0, w, h).scaled(area.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    PictureBlit::blit(d.BackBuffer, area.x(), area.y(), area.width(), area.height(), source, rules);
}
