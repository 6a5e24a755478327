#pragma once

// Paints a TOVAButton's face into its back buffer: the style rows of each state, the caption with its
// relief effect and the picture. One renderer lives for one DrawButton call.

#include "gdicanvas.h"
#include "tovabutton_p.h"

#include <QRect>

class ButtonRenderer {
public:
    // How the caption is drawn: its place (up or one pixel down) and colours.
    enum class TextMode : quint8 {
        Up,
        Hovered,
        Down,
        DisabledEmbossed,
        DisabledFlat,
        DisabledXP,
        DisabledKDE,
        DownKDE,
    };
    enum class PictureState : quint8 { Up, Down, Disabled };

    explicit ButtonRenderer(TOVAButtonPrivate &d);

    // The face fill and the row of the style for the state, or the disabled row.
    void drawFace(TOVAButtonPrivate::State state);

    void DrawCaption(TextMode mode);
    void DrawCaptionEffect(const QRect &r);
    void DrawPicture(PictureState state);
    void DrawPictureEffect(int offset, const TOVAPicture &picture);
    // Composes `picture` at (x, y), w x h, with the pixel rules; tint -1 means no tint.
    void BlitPicture(int x, int y, int w, int h, const TOVAPicture &picture, int transparent, int tint,
                     bool brightOnly, bool grey, bool blend);

private:
    using Color = TovaColor::ColorRef;

    Color S(Color c, int n) const;
    Color SB(Color c, int n) const;
    void text(const QRect &r, Color c);
    void captionHover();
    void captionFocusFrame();
    void drawFocus();
    void bevel(Color c1, Color c2, Color c3, Color c4, bool inset, bool single);
    void xpOutline();
    void xpEdges(Color a, Color b, Color c);
    void xpPlainEdges();
    void macFrame(TextMode captionMode);
    void gradient(Color base, float depth, bool scaleBlue, bool upward);
    void copyBackground();
    void kdeCaption();

    void drawUp();
    void drawDown();
    void drawDisabled();

    TOVAButtonPrivate &d;
    GdiCanvas m_canvas;
    // The caption's last mode, for drawing it again over a background picture.
    TextMode m_textMode = TextMode::Up;
    int m_w;
    int m_h;
};
