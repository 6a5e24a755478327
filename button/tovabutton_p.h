#pragma once

// The whole state of a TOVAButton, shared by its property, interaction and drawing code. Not part of
// the library's interface: neither exported nor installed.

#include "tovabutton.h"

#include <QImage>
#include <QRect>
#include <QRegion>
#include <QString>
#include <QTimer>

class TOVAAmbient;

struct TOVAButtonPrivate {
    // The face DrawButton is asked for; a disabled control shows its disabled face whatever this says.
    enum class State : quint8 { Up, Down };

    // What a property change sets off between storing the value and announcing it, in this order.
    enum class Step {
        AccessKey = 0x1,
        Palette = 0x2,
        MeasurePicture = 0x4,
        Layout = 0x8,
        Cursor = 0x10,
        Resize = 0x20,
        RedrawLast = 0x40, // the state last drawn, forced
        RedrawUp = 0x80,
        AnnounceFirst = 0x100, // the key is announced before the steps
    };
    Q_DECLARE_FLAGS(Steps, Step)

    explicit TOVAButtonPrivate(TOVAButton *owner);

    // Colours in RGB 0x00BBGGRR, derived from the colour scheme by ComputePalette.
    struct Palette {
        quint32 Face = 0;
        quint32 Light = 0;
        quint32 Highlight = 0;
        quint32 Shadow = 0;
        quint32 DarkShadow = 0;
        quint32 Text = 0;
        quint32 TextOver = 0;
        quint32 Mask = 0;
        quint32 FaceXP = 0;
        quint32 Selection = 0;
        quint32 SelectionSoft = 0;
    };

    TOVAButton *q;
    const TOVAAmbient *Ambient;

    // Properties. Font, MousePointer and MouseIcon live in the widget (cursor and font) and here.
    quint32 BackColor = 0;
    quint32 BackOver = 0;
    quint32 ForeColor = 0;
    quint32 ForeOver = 0;
    quint32 MaskColor = 0;
    qint32 ButtonType = 0;
    QString Caption;
    bool Enabled = false;
    qint32 ColorScheme = 0;
    bool ShowFocusRect = false;
    qint16 MousePointer = 0;
    TOVAPicture MouseIcon;
    bool HandPointer = false;
    bool SoftBevel = false;
    TOVAPicture PictureNormal;
    TOVAPicture PictureOver;
    qint32 PicturePosition = 0;
    bool UseMaskColor = false;
    bool UseGreyscale = false;
    qint32 SpecialEffect = 0;
    bool CheckBoxBehaviour = false;
    bool Value = false;

    // Drawing and interaction state.
    bool RedrawEnabled = false;
    bool IsOver = false;
    bool HasFocus = false;
    State LastState = State::Up;
    QString LastCaption;
    quint8 LastMouseButton = 0;
    quint8 LastKeyCode = 0;
    bool CapturingBackground = false;
    QString AccessKey;
    QTimer OverTimer;
    // A framework click (press and release on the control) is pending after a press.
    bool ClickPending = false;
    int ShortcutId = 0;
    // Set while the control itself changes its widget's font or enabled state.
    bool ChangingWidget = false;

    // Geometry in pixels, recomputed on every resize.
    int W = 0;
    int H = 0;
    QRect FocusRect;
    QRect CaptionRect;
    QRect CaptionRectDown;
    int CaptionWidth = 0;
    int CaptionHeight = 0;
    int PictureWidth = 0;
    int PictureHeight = 0;
    int PictureX = 0;
    int PictureY = 0;
    QRegion Region;

    Palette Pal;
    // What paintEvent shows; every drawing goes here.
    QImage BackBuffer;
    // The parent's pixels under a Transparent control, captured once the control is shown.
    QImage BackgroundBuffer;

    // Drawing entry points.
    void DrawButton(State state, bool force);
    void ComputePalette();
    void LayoutCaption();
    void PositionPicture();
    void MeasurePicture();
    void BuildRegion();
    void CaptureBackground();
    void HandleResize();

    // Access key of the caption.
    void UpdateAccessKey();

    // Interaction handlers, in the framework's terms.
    void MousePressed(short button, short shift, float x, float y);
    void MouseReleased(short button, short shift, float x, float y);
    void MouseMoved(short button, short shift, float x, float y);
    void Clicked();
    void DoubleClicked();
    void KeyPressedDown(short keyCode, short shift);
    void KeyReleased(short keyCode, short shift);
    void AccessKeyPressed();
    void OverTimerTick();
    bool IsMouseOver() const;

    // Stores a property's value, runs its steps and announces the key the value is stored under.
    template <typename T, typename V> void Change(T &member, const V &value, const char *key, Steps steps)
    {
        member = value;
        if (steps & Step::AnnounceFirst)
            Notify(key);
        Recompute(steps);
        if (!(steps & Step::AnnounceFirst))
            Notify(key);
    }
    void Recompute(Steps steps);

    void ApplyFont(const QFont &font);
    void ApplyWidgetEnabled();
    void ApplyCursor();
    void ApplyAmbientChange();
    bool DesignMode() const;
    void Notify(const char *key);
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TOVAButtonPrivate::Steps)

// The access key a caption gives: the letter after its first "&" that is not part of "&&" (a single
// "&&" pair is looked past once), in lower case; empty when there is none.
QString accessKeyOf(const QString &caption);
