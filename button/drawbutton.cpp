// DrawButton and the face of each style in the up, down and disabled states.

#include "buttonrenderer.h"
#include "tovaambient.h"
#include "tovabutton_p.h"

void TOVAButtonPrivate::DrawButton(quint8 state, bool force)
{
    if (DrawObserver)
        DrawObserver(state, force);
    if (CheckBoxBehaviour && Value)
        state = 2;
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

void ButtonRenderer::drawFace(quint8 state)
{
    m_canvas.fill(0, 0, m_w, m_h, d.Pal.Face);
    const bool styled = d.ButtonType >= 1 && d.ButtonType <= 14 && d.ButtonType != 10;
    if (!d.Enabled) {
        if (styled)
            drawDisabled();
        DrawPicture(2);
    } else if (state == 2) {
        if (styled)
            drawDown();
        DrawPicture(1);
    } else {
        if (styled)
            drawUp();
        DrawPicture(0);
    }
}

void ButtonRenderer::captionHover()
{
    DrawCaption(d.IsOver ? 1 : 0);
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

void ButtonRenderer::macFrame(quint8 captionMode)
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
    case 1:
        captionHover();
        bevel(p.Highlight, p.Shadow, p.Highlight, p.Shadow, true, false);
        m_canvas.frame(0, 0, m_w, m_h, p.DarkShadow);
        drawFocus();
        break;
    case 2:
        captionHover();
        if (d.ShowFocusRect && asDefault) {
            bevel(p.Highlight, p.DarkShadow, p.Light, p.Shadow, true, false);
            drawFocus();
            m_canvas.frame(0, 0, m_w, m_h, p.DarkShadow);
        } else {
            bevel(p.Highlight, p.DarkShadow, p.Light, p.Shadow, false, false);
        }
        break;
    case 3:
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
    case 4:
        m_canvas.fill(1, 1, m_w - 2, m_h - 2, p.Light);
        macFrame(over ? 1 : 0);
        break;
    case 5:
        m_canvas.fill(1, 1, m_w - 1, m_h - 1, S(p.Face, +12));
        captionHover();
        m_canvas.frame(1, 1, m_w - 1, m_h - 1, p.Highlight);
        m_canvas.frame(0, 0, m_w - 1, m_h - 1, S(p.Shadow, -26));
        m_canvas.dot(1, m_h - 2, S(p.Shadow, +26));
        m_canvas.dot(m_w - 2, 1, S(p.Shadow, +26));
        if (d.HasFocus && d.ShowFocusRect)
            captionFocusFrame();
        break;
    case 6:
        captionHover();
        bevel(S(p.Light, +8), p.Shadow, S(p.Light, +8), p.Shadow, false, false);
        drawFocus();
        break;
    case 7:
        captionHover();
        bevel(p.Highlight, p.Shadow, 0, 0, false, true);
        drawFocus();
        break;
    case 8:
        captionHover();
        if (over)
            bevel(p.Highlight, p.Shadow, 0, 0, false, true);
        drawFocus();
        break;
    case 9:
        if (over)
            m_canvas.fill(1, 1, m_w, m_h, p.SelectionSoft);
        captionHover();
        if (over)
            m_canvas.frame(0, 0, m_w, m_h, p.Selection);
        drawFocus();
        break;
    case 11:
        copyBackground();
        captionHover();
        drawFocus();
        break;
    case 12:
        captionHover();
        if (over)
            bevel(p.Highlight, p.DarkShadow, p.Light, p.Shadow, false, false);
        drawFocus();
        break;
    case 13:
        m_canvas.oval(over ? p.Shadow : p.Face, p.Face);
        captionHover();
        break;
    case 14:
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
    case 1:
        DrawCaption(2);
        bevel(p.Shadow, p.Highlight, p.Shadow, p.Highlight, true, false);
        m_canvas.frame(0, 0, m_w, m_h, p.DarkShadow);
        drawFocus();
        break;
    case 2:
        DrawCaption(2);
        if (d.ShowFocusRect && d.Ambient->displayAsDefault(d.q)) {
            m_canvas.frame(0, 0, m_w, m_h, p.DarkShadow);
            m_canvas.frame(1, 1, m_w - 2, m_h - 2, p.Shadow);
            drawFocus();
        } else {
            bevel(p.DarkShadow, p.Highlight, p.Shadow, p.Light, false, false);
        }
        break;
    case 3: {
        const Color base = SB(p.FaceXP, -32);
        gradient(base, 25.0f, true, true);
        DrawCaption(2);
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
    case 4: {
        const Color k = S(p.Shadow, -16);
        m_canvas.fill(1, 1, m_w - 2, m_h - 2, k);
        // The relief of the pressed caption is based on the pressed face.
        d.Pal.FaceXP = k;
        DrawCaption(2);
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
    case 5:
        m_canvas.fill(1, 1, m_w - 2, m_h - 2, S(p.Shadow, +16));
        m_canvas.frame(0, 0, m_w - 1, m_h - 1, S(p.Shadow, -26));
        m_canvas.line(m_w - 1, 1, m_w - 1, m_h, p.Highlight);
        m_canvas.line(1, m_h - 1, m_w - 1, m_h - 1, p.Highlight);
        text(d.CaptionRect, p.TextOver);
        if (d.HasFocus && d.ShowFocusRect)
            captionFocusFrame();
        break;
    case 6:
        DrawCaption(2);
        bevel(p.Shadow, S(p.Light, +8), p.Shadow, S(p.Light, +8), false, false);
        drawFocus();
        break;
    case 7:
    case 8:
        DrawCaption(2);
        bevel(p.Shadow, p.Highlight, 0, 0, false, true);
        drawFocus();
        break;
    case 9:
        if (d.IsOver) {
            const Color c = d.ColorScheme == TOVAButton::Custom ? S(p.SelectionSoft, -32)
                                                                : TovaColor::blendToWhite(p.Selection, 128);
            m_canvas.fill(0, 0, m_w, m_h, c);
        }
        DrawCaption(2);
        m_canvas.frame(0, 0, m_w, m_h, p.Selection);
        drawFocus();
        break;
    case 11:
        copyBackground();
        DrawCaption(2);
        drawFocus();
        break;
    case 12:
        DrawCaption(2);
        bevel(p.DarkShadow, p.Highlight, p.Shadow, p.Light, false, false);
        drawFocus();
        break;
    case 13:
        m_canvas.oval(p.DarkShadow, S(p.Face, -32));
        DrawCaption(2);
        break;
    case 14:
        m_canvas.fill(1, 1, m_w, m_h, S(p.Face, -9));
        m_canvas.frame(0, 0, m_w, m_h, S(p.Shadow, -48));
        m_canvas.line(2, m_h - 2, m_w - 2, m_h - 2, p.Highlight);
        m_canvas.line(m_w - 2, 2, m_w - 2, m_h - 1, p.Highlight);
        DrawCaption(7);
        drawFocus();
        break;
    }
}

void ButtonRenderer::drawDisabled()
{
    const auto &p = d.Pal;
    switch (d.ButtonType) {
    case 1:
        DrawCaption(3);
        bevel(p.Highlight, p.Shadow, p.Highlight, p.Shadow, true, false);
        m_canvas.frame(0, 0, m_w, m_h, p.DarkShadow);
        break;
    case 2:
        DrawCaption(3);
        bevel(p.Highlight, p.DarkShadow, p.Light, p.Shadow, false, false);
        break;
    case 3:
        m_canvas.fill(0, 0, m_w, m_h, SB(p.FaceXP, -24));
        DrawCaption(5);
        m_canvas.frame(0, 0, m_w, m_h, SB(p.FaceXP, -84));
        for (const auto &[x, y] : {std::pair{1, 1}, {1, m_h - 2}, {m_w - 2, 1}, {m_w - 2, m_h - 2}})
            m_canvas.dot(x, y, SB(p.FaceXP, -72));
        break;
    case 4:
        m_canvas.fill(1, 1, m_w - 2, m_h - 2, p.Light);
        macFrame(3);
        break;
    case 5:
        DrawCaption(4);
        m_canvas.frame(0, 0, m_w, m_h, p.Shadow);
        break;
    case 6:
        DrawCaption(4);
        bevel(S(p.Light, +8), p.Shadow, S(p.Light, +8), p.Shadow, false, false);
        break;
    case 7:
        DrawCaption(3);
        bevel(p.Highlight, p.Shadow, 0, 0, false, true);
        break;
    case 8:
    case 12:
    case 13:
        DrawCaption(3);
        break;
    case 9:
        DrawCaption(4);
        break;
    case 11:
        copyBackground();
        DrawCaption(3);
        break;
    case 14:
        gradient(p.Highlight, 58.0f, false, false);
        m_canvas.frame(0, 0, m_w, m_h, S(p.Shadow, -50));
        m_canvas.frame(1, 1, m_w - 2, m_h - 2, S(p.Face, -9));
        m_canvas.fill(2, 2, m_w - 4, 2, p.Highlight);
        m_canvas.fill(2, 4, 2, m_h - 6, p.Highlight);
        DrawCaption(6);
        break;
    }
}
