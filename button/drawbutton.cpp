// DrawButton and the face of each style in the up, down and disabled states.

#include "buttonrenderer.h"
#include "tovaambient.h"
#include "tovabutton_p.h"

#include <QMetaEnum>

void TOVAButtonPrivate::DrawButton(State state, bool force)
{
    if (CheckBoxBehaviour && Value)
        state = State::Down;
    if (!(force || Caption != LastCaption || state != LastState) || H == 0 || !RedrawEnabled ||
        !q->isVisible())
        return;
    LastState = state;
    LastCaption = Caption;
    // At the screen's device pixel ratio, so that captions and pictures are drawn at the screen's own
    // resolution rather than stretched.
    const qreal ratio = q->devicePixelRatio();
    if (BackBuffer.devicePixelRatio() != ratio ||
        BackBuffer.size() != QSize(GdiCanvas::device(W, ratio), GdiCanvas::device(H, ratio)))
        BackBuffer = GdiCanvas::surface(W, H, ratio);

    // Under Custom the hovered face is drawn from BackOver, for this one drawing.
    const bool swap = IsOver && ColorScheme == TOVAButton::Custom;
    const quint32 backColor = BackColor;
    if (swap) {
        BackColor = BackOver;
        ComputePalette();
    }
    ButtonRenderer(*this).drawFace(state);
    if (swap) {
        BackColor = backColor;
        ComputePalette();
    }
    q->update();
}

ButtonRenderer::ButtonRenderer(TOVAButtonPrivate &d) : d(d), m_canvas(d.BackBuffer), m_w(d.W), m_h(d.H) {}

ButtonRenderer::Color ButtonRenderer::S(Color c, int n) const
{
    return TovaColor::shiftColor(c, n, false, d.SoftBevel);
}

ButtonRenderer::Color ButtonRenderer::SB(Color c, int n) const
{
    return TovaColor::shiftColor(c, n, true, d.SoftBevel);
}

void ButtonRenderer::drawFace(TOVAButtonPrivate::State state)
{
    m_canvas.fill(0, 0, m_w, m_h, d.Pal.Face);
    // A type outside the enumeration has the face and the picture only.
    const bool styled = QMetaEnum::fromType<TOVAButton::ButtonTypes>().valueToKey(d.ButtonType) != nullptr;
    if (!d.Enabled) {
        if (styled)
            drawDisabled();
        DrawPicture(PictureState::Disabled);
    } else if (state == TOVAButtonPrivate::State::Down) {
        if (styled)
            drawDown();
        DrawPicture(PictureState::Down);
    } else {
        if (styled)
            drawUp();
        DrawPicture(PictureState::Up);
    }
}

void ButtonRenderer::captionHover()
{
    DrawCaption(d.IsOver ? TextMode::Hovered : TextMode::Up);
}

void ButtonRenderer::drawFocus()
{
    if (d.ShowFocusRect && d.HasFocus)
        m_canvas.focusRect(d.FocusRect, d.Pal.Text);
}

void ButtonRenderer::captionFocusFrame()
{
    m_canvas.frame(d.CaptionRect.left() - 2, d.CaptionRect.top() - 1, d.CaptionWidth + 4, d.CaptionHeight + 2,
                   0xCC9999);
}

void ButtonRenderer::bevel(Color c1, Color c2, Color c3, Color c4, bool inset, bool single)
{
    const int i = inset ? 1 : 0;
    const int right = m_w - 1 - i;
    const int bottom = m_h - 1 - i;
    m_canvas.line(i, bottom, i, i, c1);
    m_canvas.line(i, i, right, i, c1);
    m_canvas.line(right, i, right, bottom, c2);
    m_canvas.line(right, bottom, i - 1, bottom, c2);
    if (single)
        return;
    m_canvas.line(i + 1, bottom - 1, i + 1, i + 1, c3);
    m_canvas.line(i + 1, i + 1, right - 1, i + 1, c3);
    m_canvas.line(right - 1, i + 1, right - 1, bottom - 1, c4);
    m_canvas.line(right - 1, bottom - 1, i, bottom - 1, c4);
}

void ButtonRenderer::xpOutline()
{
    m_canvas.frame(0, 0, m_w, m_h, 0x733C00);
    for (const auto &[x, y] : {std::pair{1, 1}, {1, m_h - 2}, {m_w - 2, 1}, {m_w - 2, m_h - 2}})
        m_canvas.dot(x, y, 0x7B4D10);
}

void ButtonRenderer::xpEdges(Color a, Color b, Color c)
{
    m_canvas.line(2, 1, m_w - 2, 1, a);
    m_canvas.line(1, 2, m_w - 1, 2, b);
    m_canvas.line(2, 3, 2, m_h - 3, c);
    m_canvas.line(m_w - 3, 3, m_w - 3, m_h - 3, c);
}

void ButtonRenderer::xpPlainEdges()
{
    const Color xp = d.Pal.FaceXP;
    m_canvas.line(2, m_h - 2, m_w - 2, m_h - 2, SB(xp, -48));
    m_canvas.line(1, m_h - 3, m_w - 2, m_h - 3, SB(xp, -32));
    m_canvas.line(m_w - 2, 2, m_w - 2, m_h - 2, SB(xp, -36));
    m_canvas.line(m_w - 3, 3, m_w - 3, m_h - 3, SB(xp, -24));
    m_canvas.line(2, 1, m_w - 2, 1, SB(xp, +16));
    m_canvas.line(1, 2, m_w - 2, 2, SB(xp, +10));
    m_canvas.line(1, 2, 1, m_h - 2, SB(xp, -5));
    m_canvas.line(2, 3, 2, m_h - 3, SB(xp, -10));
}

void ButtonRenderer::macFrame(TextMode captionMode)
{
    const auto &p = d.Pal;
    DrawCaption(captionMode);
    m_canvas.frame(0, 0, m_w, m_h, p.DarkShadow);
    for (const auto &[x, y] : {std::pair{1, 1}, {1, m_h - 2}, {m_w - 2, 1}, {m_w - 2, m_h - 2}})
        m_canvas.dot(x, y, p.DarkShadow);
    m_canvas.line(1, 2, 2, 0, p.Face);
    m_canvas.line(3, 2, m_w - 3, 2, p.Highlight);
    m_canvas.line(2, 2, 2, m_h - 3, p.Highlight);
    m_canvas.dot(3, 3, p.Highlight);
    m_canvas.line(m_w - 3, 1, m_w - 3, m_h - 3, p.Face);
    m_canvas.line(1, m_h - 3, m_w - 3, m_h - 3, p.Face);
    m_canvas.dot(m_w - 4, m_h - 4, p.Face);
    m_canvas.line(m_w - 2, 2, m_w - 2, m_h - 2, p.Shadow);
    m_canvas.line(2, m_h - 2, m_w - 2, m_h - 2, p.Shadow);
    m_canvas.dot(m_w - 3, m_h - 3, p.Shadow);
}

void ButtonRenderer::gradient(Color base, float depth, bool scaleBlue, bool upward)
{
    // The step is held in single precision, as is its product with the row number.
    const float step = float(double(depth) / m_h);
    for (int i = 1; i <= m_h; ++i) {
        const float shift = -(step * float(i));
        const int n = TovaColor::roundHalfEven(shift);
        const int row = upward ? m_h - i : i;
        m_canvas.line(0, row, m_w, row, scaleBlue ? SB(base, n) : S(base, n));
    }
}

void ButtonRenderer::copyBackground()
{
    const QImage &background = d.BackgroundBuffer;
    const QRect area = background.rect().intersected(d.BackBuffer.rect());
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const QRgb *from = reinterpret_cast<const QRgb *>(background.constScanLine(y));
        QRgb *to = reinterpret_cast<QRgb *>(d.BackBuffer.scanLine(y));
        for (int x = area.left(); x <= area.right(); ++x)
            to[x] = from[x] | 0xFF000000u;
    }
}

void ButtonRenderer::kdeCaption()
{
    if (!d.Ambient->displayAsDefault(d.q)) {
        captionHover();
        return;
    }
    // The default button's caption is bold: the font is made bold (and the caption laid out with it)
    // for this one caption, without the redraw that changing the font asks for.
    d.RedrawEnabled = false;
    const bool bold = d.q->FontBold();
    d.q->setFontBold(true);
    captionHover();
    d.q->setFontBold(bold);
    d.RedrawEnabled = true;
}

void ButtonRenderer::drawUp()
{
    const auto &p = d.Pal;
    const bool over = d.IsOver;
    const bool asDefault = d.Ambient->displayAsDefault(d.q);
    switch (d.ButtonType) {
    case TOVAButton::Windows16Bit:
        captionHover();
        bevel(p.Highlight, p.Shadow, p.Highlight, p.Shadow, true, false);
        m_canvas.frame(0, 0, m_w, m_h, p.DarkShadow);
        drawFocus();
        break;
    case TOVAButton::Windows32Bit:
        captionHover();
        if (d.ShowFocusRect && asDefault) {
            bevel(p.Highlight, p.DarkShadow, p.Light, p.Shadow, true, false);
            drawFocus();
            m_canvas.frame(0, 0, m_w, m_h, p.DarkShadow);
        } else {
            bevel(p.Highlight, p.DarkShadow, p.Light, p.Shadow, false, false);
        }
        break;
    case TOVAButton::WindowsXP:
        gradient(p.FaceXP, 25.0f, true, false);
        captionHover();
        xpOutline();
        if (over) {
            m_canvas.frame(1, 2, m_w - 2, m_h - 4, 0x31B2FF);
            m_canvas.line(2, m_h - 2, m_w - 2, m_h - 2, 0x0096E7);
            xpEdges(0xCEF3FF, 0x8CDBFF, 0x6BCBFF);
        } else if (d.ShowFocusRect && (d.HasFocus || asDefault)) {
            m_canvas.frame(1, 2, m_w - 2, m_h - 4, 0xE7AE8C);
            m_canvas.line(2, m_h - 2, m_w - 2, m_h - 2, 0xEF826B);
            xpEdges(0xFFE7CE, 0xF7D7BD, 0xF0D1B5);
        } else {
            xpPlainEdges();
        }
        break;
    case TOVAButton::Mac:
        m_canvas.fill(1, 1, m_w - 2, m_h - 2, p.Light);
        macFrame(over ? TextMode::Hovered : TextMode::Up);
        break;
    case TOVAButton::JavaMetal:
        m_canvas.fill(1, 1, m_w - 1, m_h - 1, S(p.Face, +12));
        captionHover();
        m_canvas.frame(1, 1, m_w - 1, m_h - 1, p.Highlight);
        m_canvas.frame(0, 0, m_w - 1, m_h - 1, S(p.Shadow, -26));
        m_canvas.dot(1, m_h - 2, S(p.Shadow, +26));
        m_canvas.dot(m_w - 2, 1, S(p.Shadow, +26));
        if (d.HasFocus && d.ShowFocusRect)
            captionFocusFrame();
        break;
    case TOVAButton::Netscape6:
        captionHover();
        bevel(S(p.Light, +8), p.Shadow, S(p.Light, +8), p.Shadow, false, false);
        drawFocus();
        break;
    case TOVAButton::SimpleFlat:
        captionHover();
        bevel(p.Highlight, p.Shadow, 0, 0, false, true);
        drawFocus();
        break;
    case TOVAButton::FlatHighlight:
        captionHover();
        if (over)
            bevel(p.Highlight, p.Shadow, 0, 0, false, true);
        drawFocus();
        break;
    case TOVAButton::OfficeXP:
        if (over)
            m_canvas.fill(1, 1, m_w, m_h, p.SelectionSoft);
        captionHover();
        if (over)
            m_canvas.frame(0, 0, m_w, m_h, p.Selection);
        drawFocus();
        break;
    case TOVAButton::Transparent:
        copyBackground();
        captionHover();
        drawFocus();
        break;
    case TOVAButton::Hover3D:
        captionHover();
        if (over)
            bevel(p.Highlight, p.DarkShadow, p.Light, p.Shadow, false, false);
        drawFocus();
        break;
    case TOVAButton::OvalFlat:
        m_canvas.oval(over ? p.Shadow : p.Face, p.Face);
        captionHover();
        break;
    case TOVAButton::KDE2:
        if (over)
            m_canvas.fill(0, 0, m_w, m_h, p.Light);
        else
            gradient(p.Highlight, 58.0f, false, false);
        kdeCaption();
        m_canvas.frame(0, 0, m_w, m_h, S(p.Shadow, -50));
        m_canvas.frame(1, 1, m_w - 2, m_h - 2, S(p.Face, -9));
        m_canvas.fill(2, 2, m_w - 4, 2, p.Highlight);
        m_canvas.fill(2, 4, 2, m_h - 6, p.Highlight);
        drawFocus();
        break;
    }
}

void ButtonRenderer::drawDown()
{
    const auto &p = d.Pal;
    switch (d.ButtonType) {
    case TOVAButton::Windows16Bit:
        DrawCaption(TextMode::Down);
        bevel(p.Shadow, p.Highlight, p.Shadow, p.Highlight, true, false);
        m_canvas.frame(0, 0, m_w, m_h, p.DarkShadow);
        drawFocus();
        break;
    case TOVAButton::Windows32Bit:
        DrawCaption(TextMode::Down);
        if (d.ShowFocusRect && d.Ambient->displayAsDefault(d.q)) {
            m_canvas.frame(0, 0, m_w, m_h, p.DarkShadow);
            m_canvas.frame(1, 1, m_w - 2, m_h - 2, p.Shadow);
            drawFocus();
        } else {
            bevel(p.DarkShadow, p.Highlight, p.Shadow, p.Light, false, false);
        }
        break;
    case TOVAButton::WindowsXP: {
        const Color base = SB(p.FaceXP, -32);
        gradient(base, 25.0f, true, true);
        DrawCaption(TextMode::Down);
        xpOutline();
        m_canvas.line(2, m_h - 2, m_w - 2, m_h - 2, SB(base, +16));
        m_canvas.line(1, m_h - 3, m_w - 2, m_h - 3, SB(base, +10));
        m_canvas.line(m_w - 2, 2, m_w - 2, m_h - 2, SB(base, +5));
        m_canvas.line(m_w - 3, 3, m_w - 3, m_h - 3, p.FaceXP);
        m_canvas.line(2, 1, m_w - 2, 1, SB(base, -32));
        m_canvas.line(1, 2, m_w - 2, 2, SB(base, -24));
        m_canvas.line(1, 2, 1, m_h - 2, SB(base, -32));
        m_canvas.line(2, 2, 2, m_h - 2, SB(base, -22));
        break;
    }
    case TOVAButton::Mac: {
        const Color k = S(p.Shadow, -16);
        m_canvas.fill(1, 1, m_w - 2, m_h - 2, k);
        // The relief of the pressed caption is based on the pressed face.
        d.Pal.FaceXP = k;
        DrawCaption(TextMode::Down);
        d.Pal.FaceXP = S(p.Face, +48);
        m_canvas.frame(0, 0, m_w, m_h, p.DarkShadow);
        m_canvas.frame(1, 1, m_w - 2, m_h - 2, S(p.Shadow, -64));
        m_canvas.frame(2, 2, m_w - 4, m_h - 4, S(p.Shadow, -32));
        m_canvas.dot(2, 2, S(p.Shadow, -64));
        m_canvas.dot(3, 3, S(p.Shadow, -32));
        for (const auto &[x, y] : {std::pair{1, 1}, {1, m_h - 2}, {m_w - 2, 1}, {m_w - 2, m_h - 2}})
            m_canvas.dot(x, y, p.DarkShadow);
        m_canvas.line(m_w - 3, 1, m_w - 3, m_h - 3, p.Shadow);
        m_canvas.line(1, m_h - 3, m_w - 2, m_h - 3, p.Shadow);
        m_canvas.dot(m_w - 4, m_h - 4, p.Shadow);
        m_canvas.line(m_w - 2, 3, m_w - 2, m_h - 2, S(p.Shadow, -16));
        m_canvas.line(3, m_h - 2, m_w - 2, m_h - 2, S(p.Shadow, -16));
        m_canvas.line(m_w - 2, m_h - 3, m_w - 4, m_h - 1, S(p.Shadow, -32));
        m_canvas.dot(2, m_h - 2, S(p.Shadow, -32));
        m_canvas.dot(m_w - 2, 2, S(p.Shadow, -32));
        break;
    }
    case TOVAButton::JavaMetal:
        m_canvas.fill(1, 1, m_w - 2, m_h - 2, S(p.Shadow, +16));
        m_canvas.frame(0, 0, m_w - 1, m_h - 1, S(p.Shadow, -26));
        m_canvas.line(m_w - 1, 1, m_w - 1, m_h, p.Highlight);
        m_canvas.line(1, m_h - 1, m_w - 1, m_h - 1, p.Highlight);
        text(d.CaptionRect, p.TextOver);
        if (d.HasFocus && d.ShowFocusRect)
            captionFocusFrame();
        break;
    case TOVAButton::Netscape6:
        DrawCaption(TextMode::Down);
        bevel(p.Shadow, S(p.Light, +8), p.Shadow, S(p.Light, +8), false, false);
        drawFocus();
        break;
    case TOVAButton::SimpleFlat:
    case TOVAButton::FlatHighlight:
        DrawCaption(TextMode::Down);
        bevel(p.Shadow, p.Highlight, 0, 0, false, true);
        drawFocus();
        break;
    case TOVAButton::OfficeXP:
        if (d.IsOver) {
            const Color c = d.ColorScheme == TOVAButton::Custom ? S(p.SelectionSoft, -32)
                                                                : TovaColor::blendToWhite(p.Selection, 128);
            m_canvas.fill(0, 0, m_w, m_h, c);
        }
        DrawCaption(TextMode::Down);
        m_canvas.frame(0, 0, m_w, m_h, p.Selection);
        drawFocus();
        break;
    case TOVAButton::Transparent:
        copyBackground();
        DrawCaption(TextMode::Down);
        drawFocus();
        break;
    case TOVAButton::Hover3D:
        DrawCaption(TextMode::Down);
        bevel(p.DarkShadow, p.Highlight, p.Shadow, p.Light, false, false);
        drawFocus();
        break;
    case TOVAButton::OvalFlat:
        m_canvas.oval(p.DarkShadow, S(p.Face, -32));
        DrawCaption(TextMode::Down);
        break;
    case TOVAButton::KDE2:
        m_canvas.fill(1, 1, m_w, m_h, S(p.Face, -9));
        m_canvas.frame(0, 0, m_w, m_h, S(p.Shadow, -48));
        m_canvas.line(2, m_h - 2, m_w - 2, m_h - 2, p.Highlight);
        m_canvas.line(m_w - 2, 2, m_w - 2, m_h - 1, p.Highlight);
        DrawCaption(TextMode::DownKDE);
        drawFocus();
        break;
    }
}

void ButtonRenderer::drawDisabled()
{
    const auto &p = d.Pal;
    switch (d.ButtonType) {
    case TOVAButton::Windows16Bit:
        DrawCaption(TextMode::DisabledEmbossed);
        bevel(p.Highlight, p.Shadow, p.Highlight, p.Shadow, true, false);
        m_canvas.frame(0, 0, m_w, m_h, p.DarkShadow);
        break;
    case TOVAButton::Windows32Bit:
        DrawCaption(TextMode::DisabledEmbossed);
        bevel(p.Highlight, p.DarkShadow, p.Light, p.Shadow, false, false);
        break;
    case TOVAButton::WindowsXP:
        m_canvas.fill(0, 0, m_w, m_h, SB(p.FaceXP, -24));
        DrawCaption(TextMode::DisabledXP);
        m_canvas.frame(0, 0, m_w, m_h, SB(p.FaceXP, -84));
        for (const auto &[x, y] : {std::pair{1, 1}, {1, m_h - 2}, {m_w - 2, 1}, {m_w - 2, m_h - 2}})
            m_canvas.dot(x, y, SB(p.FaceXP, -72));
        break;
    case TOVAButton::Mac:
        m_canvas.fill(1, 1, m_w - 2, m_h - 2, p.Light);
        macFrame(TextMode::DisabledEmbossed);
        break;
    case TOVAButton::JavaMetal:
        DrawCaption(TextMode::DisabledFlat);
        m_canvas.frame(0, 0, m_w, m_h, p.Shadow);
        break;
    case TOVAButton::Netscape6:
        DrawCaption(TextMode::DisabledFlat);
        bevel(S(p.Light, +8), p.Shadow, S(p.Light, +8), p.Shadow, false, false);
        break;
    case TOVAButton::SimpleFlat:
        DrawCaption(TextMode::DisabledEmbossed);
        bevel(p.Highlight, p.Shadow, 0, 0, false, true);
        break;
    case TOVAButton::FlatHighlight:
    case TOVAButton::Hover3D:
    case TOVAButton::OvalFlat:
        DrawCaption(TextMode::DisabledEmbossed);
        break;
    case TOVAButton::OfficeXP:
        DrawCaption(TextMode::DisabledFlat);
        break;
    case TOVAButton::Transparent:
        copyBackground();
        DrawCaption(TextMode::DisabledEmbossed);
        break;
    case TOVAButton::KDE2:
        gradient(p.Highlight, 58.0f, false, false);
        m_canvas.frame(0, 0, m_w, m_h, S(p.Shadow, -50));
        m_canvas.frame(1, 1, m_w - 2, m_h - 2, S(p.Face, -9));
        m_canvas.fill(2, 2, m_w - 4, 2, p.Highlight);
        m_canvas.fill(2, 4, 2, m_h - 6, p.Highlight);
        DrawCaption(TextMode::DisabledKDE);
        break;
    }
}
