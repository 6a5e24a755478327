#pragma once

// Paints a TOVAButton's face into its back buffer: the style rows of each state, the caption with its
// relief effect and the picture. One renderer lives for one DrawButton call.

#include "gdicanvas.h"

#include <QRect>

struct TOVAButtonPrivate;
class TOVAPicture;

class ButtonRenderer {
public:
    explicit ButtonRenderer(TOVAButtonPrivate &d);

    // The face fill and the row of the style for the state (0 up, 2 down), or the disabled row.
    void drawFace(quint8 state);

    // Caption in one of the eight text modes (0 up, 1 hovered, 2 down, 3 disabled embossed,
    // 4 disabled flat, 5 disabled XP, 6 disabled KDE, 7 down KDE).
    void DrawCaption(quint8 mode);
    void DrawCaptionEffect(const QRect &r);
    // Picture of the state: 0 up, 1 down, 2 disabled.
    void DrawPicture(quint8 pictureState);
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
    void macFrame(quint8 captionMode);
    void gradient(Color base, float depth, bool scaleBlue, bool upward);
    void copyBackground();
    void kdeCaption();

    void drawUp();
    void drawDown();
    void drawDisabled();

    TOVAButtonPrivate &d;
    GdiCanvas m_canvas;
    int m_w;
    int m_h;
};
