#pragma once

#include "tovabutton_global.h"
#include "tovapicture.h"

#include <QWidget>

#include <memory>

class TOVAAmbient;
class TOVAPropertyBag;
struct TOVAButtonPrivate;

// An owner-drawn push button that can also act as a check box: 13 drawing styles, four colour schemes,
// hover colours and pictures, relief effects and shaped outlines. Colours are OLE colours (RGB values
// 0x00BBGGRR or system-colour references with the top bit set). Every setter stores its value, redraws
// as needed and emits PropertyChanged with the key the value is persisted under; but setPictureOver
// announces "PICO" (stored as "PICH"), and the Font... shortcuts announce nothing.
class TOVA_BUTTON_EXPORT TOVAButton : public QWidget {
    Q_OBJECT
    Q_PROPERTY(quint32 BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(quint32 BackOver READ BackOver WRITE setBackOver)
    Q_PROPERTY(quint32 ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(quint32 ForeOver READ ForeOver WRITE setForeOver)
    Q_PROPERTY(quint32 MaskColor READ MaskColor WRITE setMaskColor)
    Q_PROPERTY(ButtonTypes ButtonType READ ButtonType WRITE setButtonType)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled)
    Q_PROPERTY(QFont Font READ Font WRITE setFont)
    Q_PROPERTY(bool FontBold READ FontBold WRITE setFontBold DESIGNABLE false)
    Q_PROPERTY(bool FontItalic READ FontItalic WRITE setFontItalic DESIGNABLE false)
    Q_PROPERTY(bool FontUnderline READ FontUnderline WRITE setFontUnderline DESIGNABLE false)
    Q_PROPERTY(short FontSize READ FontSize WRITE setFontSize DESIGNABLE false)
    Q_PROPERTY(QString FontName READ FontName WRITE setFontName DESIGNABLE false)
    Q_PROPERTY(ColorTypes ColorScheme READ ColorScheme WRITE setColorScheme)
    Q_PROPERTY(bool ShowFocusRect READ ShowFocusRect WRITE setShowFocusRect)
    Q_PROPERTY(MousePointerConstants MousePointer READ MousePointer WRITE setMousePointer)
    Q_PROPERTY(TOVAPicture MouseIcon READ MouseIcon WRITE setMouseIcon DESIGNABLE false)
    Q_PROPERTY(bool HandPointer READ HandPointer WRITE setHandPointer)
    Q_PROPERTY(qint32 hWnd READ hWnd DESIGNABLE false)
    Q_PROPERTY(bool SoftBevel READ SoftBevel WRITE setSoftBevel)
    Q_PROPERTY(TOVAPicture PictureNormal READ PictureNormal WRITE setPictureNormal DESIGNABLE false)
    Q_PROPERTY(TOVAPicture PictureOver READ PictureOver WRITE setPictureOver DESIGNABLE false)
    Q_PROPERTY(PicPositions PicturePosition READ PicturePosition WRITE setPicturePosition)
    Q_PROPERTY(bool UseMaskColor READ UseMaskColor WRITE setUseMaskColor)
    Q_PROPERTY(bool UseGreyscale READ UseGreyscale WRITE setUseGreyscale)
    Q_PROPERTY(fx SpecialEffect READ SpecialEffect WRITE setSpecialEffect)
    Q_PROPERTY(bool CheckBoxBehaviour READ CheckBoxBehaviour WRITE setCheckBoxBehaviour)
    Q_PROPERTY(bool Value READ Value WRITE setValue)
    Q_PROPERTY(QString Version READ Version)

public:
    // Drawing styles; displayName() gives their published names ("Windows 16-bit" ...). 10 is unused.
    enum ButtonTypes {
        Windows16Bit = 1,
        Windows32Bit = 2,
        WindowsXP = 3,
        Mac = 4,
        JavaMetal = 5,
        Netscape6 = 6,
        SimpleFlat = 7,
        FlatHighlight = 8,
        OfficeXP = 9,
        Transparent = 11,
        Hover3D = 12,
        OvalFlat = 13,
        KDE2 = 14,
    };
    Q_ENUM(ButtonTypes)

    // Where the palette comes from; any value but 2, 3 and 4 behaves as UseWindows.
    enum ColorTypes { UseWindows = 1, Custom = 2, ForceStandard = 3, UseContainer = 4 };
    Q_ENUM(ColorTypes)

    enum PicPositions { cbLeft = 0, cbRight = 1, cbTop = 2, cbBottom = 3, cbBackground = 4 };
    Q_ENUM(PicPositions)

    enum fx { cbNone = 0, cbEmbossed = 1, cbEngraved = 2, cbShadowed = 3 };
    Q_ENUM(fx)

    // Pointer shapes; vbCustom shows MouseIcon.
    enum MousePointerConstants {
        vbDefault = 0,
        vbArrow = 1,
        vbCrosshair = 2,
        vbIbeam = 3,
        vbIconPointer = 4,
        vbSizePointer = 5,
        vbSizeNESW = 6,
        vbSizeNS = 7,
        vbSizeNWSE = 8,
        vbSizeWE = 9,
        vbUpArrow = 10,
        vbHourglass = 11,
        vbNoDrop = 12,
        vbArrowHourglass = 13,
        vbArrowQuestion = 14,
        vbSizeAll = 15,
        vbCustom = 99,
    };
    Q_ENUM(MousePointerConstants)

    // A new instance with the defaults of a control just placed on a form (InitProperties).
    explicit TOVAButton(QWidget *parent = nullptr);
    ~TOVAButton() override;

    // Published names of the enumerations' members (empty for a value outside them).
    static QString displayName(ButtonTypes value);
    static QString displayName(ColorTypes value);
    static QString displayName(PicPositions value);
    static QString displayName(fx value);

    // The host's ambient properties; nullptr restores the defaults. The control does not own it.
    void setAmbient(const TOVAAmbient *ambient);
    // The host reports that one of its ambient properties changed.
    void AmbientChanged(const QString &name);

    // Persistence: defaults of a new instance, and the 23 persisted keys.
    void InitProperties();
    void ReadProperties(const TOVAPropertyBag &bag);
    void WriteProperties(TOVAPropertyBag &bag) const;

    quint32 BackColor() const;
    void setBackColor(quint32 colour);
    quint32 BackOver() const;
    void setBackOver(quint32 colour);
    quint32 ForeColor() const;
    void setForeColor(quint32 colour);
    quint32 ForeOver() const;
    void setForeOver(quint32 colour);
    quint32 MaskColor() const;
    void setMaskColor(quint32 colour);
    ButtonTypes ButtonType() const;
    void setButtonType(ButtonTypes type);
    QString Caption() const;
    void setCaption(const QString &caption);
    // The control's own flag, set with QWidget::setEnabled, whatever its parent's.
    bool Enabled() const;
    // Set with QWidget::setFont, the font is the control's own, whatever its parent's later.
    QFont Font() const;
    bool FontBold() const;
    void setFontBold(bool bold);
    bool FontItalic() const;
    void setFontItalic(bool italic);
    bool FontUnderline() const;
    void setFontUnderline(bool underline);
    // Rounded to a whole point (halves to even).
    short FontSize() const;
    void setFontSize(short points);
    QString FontName() const;
    void setFontName(const QString &name);
    ColorTypes ColorScheme() const;
    void setColorScheme(ColorTypes scheme);
    bool ShowFocusRect() const;
    void setShowFocusRect(bool show);
    MousePointerConstants MousePointer() const;
    void setMousePointer(MousePointerConstants pointer);
    TOVAPicture MouseIcon() const;
    void setMouseIcon(const TOVAPicture &icon);
    bool HandPointer() const;
    void setHandPointer(bool hand);
    // The native window handle, truncated to 32 bits; asking for it makes the control a native window.
    qint32 hWnd() const;
    bool SoftBevel() const;
    void setSoftBevel(bool soft);
    TOVAPicture PictureNormal() const;
    void setPictureNormal(const TOVAPicture &picture);
    TOVAPicture PictureOver() const;
    void setPictureOver(const TOVAPicture &picture);
    PicPositions PicturePosition() const;
    void setPicturePosition(PicPositions position);
    bool UseMaskColor() const;
    void setUseMaskColor(bool use);
    bool UseGreyscale() const;
    void setUseGreyscale(bool grey);
    fx SpecialEffect() const;
    void setSpecialEffect(fx effect);
    bool CheckBoxBehaviour() const;
    void setCheckBoxBehaviour(bool check);
    bool Value() const;
    void setValue(bool value);
    QString Version() const;

    // The access key the caption gives (a lower-case letter), empty when none.
    QString AccessKeys() const;

    // Suspends all drawing; Refresh recomputes and redraws.
    void DisableRefresh();
    void Refresh();

signals:
    void PropertyChanged(const QString &key);

    void Click();
    // Button: 1 left, 2 right, 4 middle (held buttons for MouseMove); Shift: 1 Shift, 2 Ctrl, 4 Alt.
    void MouseDown(short &Button, short &Shift, float &X, float &Y);
    void MouseMove(short &Button, short &Shift, float &X, float &Y);
    void MouseUp(short &Button, short &Shift, float &X, float &Y);
    void KeyPress(short &KeyAscii);
    void KeyDown(short &KeyCode, short &Shift);
    void KeyUp(short &KeyCode, short &Shift);
    void MouseOver();
    void MouseOut();

protected:
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    friend struct TOVAButtonPrivate;
    std::unique_ptr<TOVAButtonPrivate> d;
};
