#include "tovabutton.h"

#include "handcursor.h"
#include "olecolor.h"
#include "tovaambient.h"
#include "tovabutton_p.h"
#include "tovapropertybag.h"

#include <QCursor>
#include <QEvent>
#include <QMetaEnum>
#include <QPainter>
#include <QPixmap>

#include <cmath>

namespace {

using State = TOVAButtonPrivate::State;
using Step = TOVAButtonPrivate::Step;

// Ambient properties of a host that supplies none: a running program, read from the parent widget.
const TOVAAmbient defaultAmbient;

TOVAPicture handPicture()
{
    return TOVAPicture::icon(HandCursor::image());
}

// Mask and greyscale change only how a picture is drawn.
TOVAButtonPrivate::Steps pictureRedraw(const TOVAButtonPrivate *d)
{
    return d->PictureNormal.isNull() ? TOVAButtonPrivate::Steps() : Step::RedrawLast;
}

} // namespace

TOVAButtonPrivate::TOVAButtonPrivate(TOVAButton *owner) : q(owner), Ambient(&defaultAmbient) {}

bool TOVAButtonPrivate::DesignMode() const
{
    return !Ambient->userMode(q);
}

void TOVAButtonPrivate::Notify(const char *key)
{
    emit q->PropertyChanged(QString::fromLatin1(key));
}

void TOVAButtonPrivate::Recompute(Steps steps)
{
    if (steps & Step::AccessKey)
        UpdateAccessKey();
    if (steps & Step::Palette)
        ComputePalette();
    if (steps & Step::MeasurePicture)
        MeasurePicture();
    if (steps & Step::Layout)
        LayoutCaption();
    if (steps & Step::Cursor)
        ApplyCursor();
    if (steps & Step::Resize)
        HandleResize();
    if (steps & Step::RedrawLast)
        DrawButton(LastState, true);
    else if (steps & Step::RedrawUp)
        DrawButton(State::Up, true);
}

void TOVAButtonPrivate::ApplyFont(const QFont &font)
{
    // A fully resolved font is the control's own: later font changes of the parent leave it alone.
    QFont own(font);
    own.setResolveMask(QFont::AllPropertiesResolved);
    ChangingWidget = true;
    q->QWidget::setFont(own);
    ChangingWidget = false;
}

void TOVAButtonPrivate::ApplyWidgetEnabled()
{
    ChangingWidget = true;
    q->QWidget::setEnabled(Enabled);
    ChangingWidget = false;
}

void TOVAButtonPrivate::ApplyCursor()
{
    static constexpr Qt::CursorShape shapes[] = {
        Qt::ArrowCursor,     Qt::ArrowCursor,   Qt::CrossCursor,     Qt::IBeamCursor,
        Qt::ArrowCursor,     Qt::SizeAllCursor, Qt::SizeBDiagCursor, Qt::SizeVerCursor,
        Qt::SizeFDiagCursor, Qt::SizeHorCursor, Qt::UpArrowCursor,   Qt::WaitCursor,
        Qt::ForbiddenCursor, Qt::BusyCursor,    Qt::WhatsThisCursor, Qt::SizeAllCursor,
    };
    if (MousePointer == TOVAButton::vbCustom && !MouseIcon.isNull()) {
        const QPixmap pixmap = QPixmap::fromImage(MouseIcon.image());
        if (MouseIcon == handPicture())
            q->setCursor(QCursor(pixmap, HandCursor::hotSpot().x(), HandCursor::hotSpot().y()));
        else
            q->setCursor(QCursor(pixmap));
    } else if (MousePointer > 0 && MousePointer < qint16(std::size(shapes))) {
        q->setCursor(shapes[MousePointer]);
    } else {
        q->unsetCursor();
    }
}

void TOVAButtonPrivate::ApplyAmbientChange()
{
    if (ColorScheme == TOVAButton::Custom)
        return;
    ComputePalette();
    DrawButton(LastState, true);
}

TOVAButton::TOVAButton(QWidget *parent) : QWidget(parent), d(std::make_unique<TOVAButtonPrivate>(this))
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    d->OverTimer.setInterval(3);
    connect(&d->OverTimer, &QTimer::timeout, this, [this] { d->OverTimerTick(); });
    d->RedrawEnabled = true;
    InitProperties();
}

TOVAButton::~TOVAButton()
{
    d->RedrawEnabled = false;
}

QString TOVAButton::displayName(ButtonTypes value)
{
    switch (value) {
    case Windows16Bit:
        return QStringLiteral("Windows 16-bit");
    case Windows32Bit:
        return QStringLiteral("Windows 32-bit");
    case WindowsXP:
        return QStringLiteral("Windows XP");
    case Mac:
        return QStringLiteral("Mac");
    case JavaMetal:
        return QStringLiteral("Java metal");
    case Netscape6:
        return QStringLiteral("Netscape 6");
    case SimpleFlat:
        return QStringLiteral("Simple Flat");
    case FlatHighlight:
        return QStringLiteral("Flat Highlight");
    case OfficeXP:
        return QStringLiteral("Office XP");
    case Transparent:
        return QStringLiteral("Transparent");
    case Hover3D:
        return QStringLiteral("3D Hover");
    case OvalFlat:
        return QStringLiteral("Oval Flat");
    case KDE2:
        return QStringLiteral("KDE 2");
    }
    return {};
}

QString TOVAButton::displayName(ColorTypes value)
{
    switch (value) {
    case UseWindows:
        return QStringLiteral("Use Windows");
    case Custom:
        return QStringLiteral("Custom");
    case ForceStandard:
        return QStringLiteral("Force Standard");
    case UseContainer:
        return QStringLiteral("Use Container");
    }
    return {};
}

QString TOVAButton::displayName(PicPositions value)
{
    return QString::fromLatin1(QMetaEnum::fromType<PicPositions>().valueToKey(value));
}

QString TOVAButton::displayName(fx value)
{
    return QString::fromLatin1(QMetaEnum::fromType<fx>().valueToKey(value));
}

void TOVAButton::setAmbient(const TOVAAmbient *ambient)
{
    d->Ambient = ambient ? ambient : &defaultAmbient;
}

void TOVAButton::AmbientChanged(const QString &)
{
    d->ApplyAmbientChange();
}

void TOVAButton::InitProperties()
{
    d->Enabled = true;
    d->ApplyWidgetEnabled();
    d->ShowFocusRect = true;
    d->UseMaskColor = true;
    d->Caption = d->Ambient->displayName(this);
    d->ApplyFont(d->Ambient->font(this));
    d->ButtonType = Windows32Bit;
    d->ColorScheme = UseWindows;
    d->ComputePalette();
    d->BackColor = d->BackOver = d->Pal.Face;
    d->ForeColor = d->ForeOver = d->Pal.Text;
    d->MaskColor = 0xC0C0C0;
    d->LayoutCaption();
}

void TOVAButton::ReadProperties(const TOVAPropertyBag &bag)
{
    const auto readInt = [&bag](const char *key, qint32 fallback) {
        return bag.readProperty(QLatin1String(key), fallback).toInt();
    };
    const auto readColour = [&](const char *key, quint32 fallback) {
        return quint32(readInt(key, qint32(fallback)));
    };
    const auto readBool = [&bag](const char *key, bool fallback) {
        return bag.readProperty(QLatin1String(key), fallback).toBool();
    };
    const auto readPicture = [&bag](const char *key) {
        return bag.readProperty(QLatin1String(key), QVariant::fromValue(TOVAPicture())).value<TOVAPicture>();
    };

    d->ButtonType = readInt("BTYPE", Windows32Bit);
    d->Caption = bag.readProperty(QStringLiteral("TX"), QString()).toString();
    d->Enabled = readBool("ENAB", true);
    d->ApplyFont(bag.readProperty(QStringLiteral("FONT"), font()).value<QFont>());
    d->ColorScheme = readInt("COLTYPE", UseWindows);
    d->ShowFocusRect = readBool("FOCUSR", true);
    d->BackColor = readColour("BCOL", OleColor::systemColor(OleColor::ButtonFace));
    d->BackOver = readColour("BCOLO", d->BackColor);
    d->ForeColor = readColour("FCOL", OleColor::systemColor(OleColor::ButtonText));
    d->ForeOver = readColour("FCOLO", d->ForeColor);
    d->MaskColor = readColour("MCOL", 0xC0C0C0);
    d->MousePointer = bag.readProperty(QStringLiteral("MPTR"), QVariant::fromValue(short(0))).value<short>();
    d->MouseIcon = readPicture("MICON");
    d->PictureNormal = readPicture("PICN");
    d->PictureOver = readPicture("PICH");
    d->UseMaskColor = readBool("UMCOL", true);
    d->SoftBevel = readBool("SOFT", false);
    d->PicturePosition = readInt("PICPOS", cbLeft);
    d->UseGreyscale = readBool("NGREY", false);
    d->SpecialEffect = readInt("FX", cbNone);
    // A stored hand pointer is applied through its setter. A stored False keeps the pointer and icon
    // read above: running the setter would replace them with the arrow and lose them on every load.
    if (readBool("HAND", false))
        setHandPointer(true);
    else
        d->HandPointer = false;
    d->CheckBoxBehaviour = readBool("CHECK", false);
    d->Value = readBool("VALUE", false);
    d->ApplyCursor();

    d->ApplyWidgetEnabled();
    d->MeasurePicture();
    d->LayoutCaption();
    d->UpdateAccessKey();
}

void TOVAButton::WriteProperties(TOVAPropertyBag &bag) const
{
    const auto colour = [](quint32 value) { return QVariant(qint32(value)); };
    bag.writeProperty(QStringLiteral("BTYPE"), qint32(d->ButtonType));
    bag.writeProperty(QStringLiteral("TX"), d->Caption);
    bag.writeProperty(QStringLiteral("ENAB"), Enabled());
    bag.writeProperty(QStringLiteral("FONT"), font());
    bag.writeProperty(QStringLiteral("COLTYPE"), qint32(d->ColorScheme));
    bag.writeProperty(QStringLiteral("FOCUSR"), d->ShowFocusRect);
    bag.writeProperty(QStringLiteral("BCOL"), colour(d->BackColor));
    bag.writeProperty(QStringLiteral("BCOLO"), colour(d->BackOver));
    bag.writeProperty(QStringLiteral("FCOL"), colour(d->ForeColor));
    bag.writeProperty(QStringLiteral("FCOLO"), colour(d->ForeOver));
    bag.writeProperty(QStringLiteral("MCOL"), colour(d->MaskColor));
    bag.writeProperty(QStringLiteral("MPTR"), QVariant::fromValue(short(d->MousePointer)));
    bag.writeProperty(QStringLiteral("MICON"), QVariant::fromValue(d->MouseIcon));
    bag.writeProperty(QStringLiteral("PICN"), QVariant::fromValue(d->PictureNormal));
    bag.writeProperty(QStringLiteral("PICH"), QVariant::fromValue(d->PictureOver));
    bag.writeProperty(QStringLiteral("UMCOL"), d->UseMaskColor);
    bag.writeProperty(QStringLiteral("SOFT"), d->SoftBevel);
    bag.writeProperty(QStringLiteral("PICPOS"), qint32(d->PicturePosition));
    bag.writeProperty(QStringLiteral("NGREY"), d->UseGreyscale);
    bag.writeProperty(QStringLiteral("FX"), qint32(d->SpecialEffect));
    bag.writeProperty(QStringLiteral("HAND"), d->HandPointer);
    bag.writeProperty(QStringLiteral("CHECK"), d->CheckBoxBehaviour);
    bag.writeProperty(QStringLiteral("VALUE"), d->Value);
}

quint32 TOVAButton::BackColor() const
{
    return d->BackColor;
}

void TOVAButton::setBackColor(quint32 colour)
{
    if (d->DesignMode())
        d->BackOver = colour;
    d->Change(d->BackColor, colour, "BCOL", Step::Palette | Step::RedrawLast);
}

quint32 TOVAButton::BackOver() const
{
    return d->BackOver;
}

void TOVAButton::setBackOver(quint32 colour)
{
    d->Change(d->BackOver, colour, "BCOLO", Step::Palette | Step::RedrawLast);
}

quint32 TOVAButton::ForeColor() const
{
    return d->ForeColor;
}

void TOVAButton::setForeColor(quint32 colour)
{
    if (d->DesignMode())
        d->ForeOver = colour;
    d->Change(d->ForeColor, colour, "FCOL", Step::Palette | Step::RedrawLast);
}

quint32 TOVAButton::ForeOver() const
{
    return d->ForeOver;
}

void TOVAButton::setForeOver(quint32 colour)
{
    d->Change(d->ForeOver, colour, "FCOLO", Step::Palette | Step::RedrawLast);
}

quint32 TOVAButton::MaskColor() const
{
    return d->MaskColor;
}

void TOVAButton::setMaskColor(quint32 colour)
{
    d->Change(d->MaskColor, colour, "MCOL", Step::Palette | Step::RedrawLast);
}

TOVAButton::ButtonTypes TOVAButton::ButtonType() const
{
    return ButtonTypes(d->ButtonType);
}

void TOVAButton::setButtonType(ButtonTypes type)
{
    if (type == JavaMetal && d->DesignMode()) {
        QFont bold = font();
        bold.setBold(true);
        d->ApplyFont(bold);
    } else if (type == Transparent && d->RedrawEnabled) {
        d->CaptureBackground();
    }
    d->Change(d->ButtonType, type, "BTYPE", Step::Resize);
}

QString TOVAButton::Caption() const
{
    return d->Caption;
}

void TOVAButton::setCaption(const QString &caption)
{
    d->Change(d->Caption, caption, "TX", Step::AccessKey | Step::Layout | Step::RedrawUp);
}

bool TOVAButton::Enabled() const
{
    return !testAttribute(Qt::WA_ForceDisabled);
}

QFont TOVAButton::Font() const
{
    return font();
}

namespace {

// Font shortcuts change one attribute of the current font and redraw, without a change notification.
template <typename Change> void changeFont(TOVAButtonPrivate *d, Change change)
{
    QFont changed = d->q->font();
    change(changed);
    d->ApplyFont(changed);
    d->Recompute(Step::Layout | Step::RedrawUp);
}

} // namespace

bool TOVAButton::FontBold() const
{
    return font().bold();
}
void TOVAButton::setFontBold(bool bold)
{
    changeFont(d.get(), [bold](QFont &f) { f.setBold(bold); });
}
bool TOVAButton::FontItalic() const
{
    return font().italic();
}
void TOVAButton::setFontItalic(bool italic)
{
    changeFont(d.get(), [italic](QFont &f) { f.setItalic(italic); });
}
bool TOVAButton::FontUnderline() const
{
    return font().underline();
}

void TOVAButton::setFontUnderline(bool underline)
{
    changeFont(d.get(), [underline](QFont &f) { f.setUnderline(underline); });
}

short TOVAButton::FontSize() const
{
    return short(std::nearbyint(font().pointSizeF()));
}
void TOVAButton::setFontSize(short points)
{
    changeFont(d.get(), [points](QFont &f) { f.setPointSize(points); });
}
QString TOVAButton::FontName() const
{
    return font().family();
}
void TOVAButton::setFontName(const QString &name)
{
    changeFont(d.get(), [&name](QFont &f) { f.setFamily(name); });
}

TOVAButton::ColorTypes TOVAButton::ColorScheme() const
{
    return ColorTypes(d->ColorScheme);
}

void TOVAButton::setColorScheme(ColorTypes scheme)
{
    d->Change(d->ColorScheme, scheme, "COLTYPE", Step::Palette | Step::RedrawUp);
}

bool TOVAButton::ShowFocusRect() const
{
    return d->ShowFocusRect;
}

void TOVAButton::setShowFocusRect(bool show)
{
    d->Change(d->ShowFocusRect, show, "FOCUSR", Step::RedrawLast);
}

TOVAButton::MousePointerConstants TOVAButton::MousePointer() const
{
    return MousePointerConstants(d->MousePointer);
}

void TOVAButton::setMousePointer(MousePointerConstants pointer)
{
    d->Change(d->MousePointer, qint16(pointer), "MPTR", Step::Cursor);
}

TOVAPicture TOVAButton::MouseIcon() const
{
    return d->MouseIcon;
}

void TOVAButton::setMouseIcon(const TOVAPicture &icon)
{
    d->Change(d->MouseIcon, icon, "MICON", Step::Cursor);
}

bool TOVAButton::HandPointer() const
{
    return d->HandPointer;
}

void TOVAButton::setHandPointer(bool hand)
{
    d->MouseIcon = hand ? handPicture() : TOVAPicture();
    d->MousePointer = hand ? vbCustom : vbArrow;
    d->Change(d->HandPointer, hand, "HAND", Step::Cursor);
}

qint32 TOVAButton::hWnd() const
{
    return qint32(quintptr(winId()));
}

bool TOVAButton::SoftBevel() const
{
    return d->SoftBevel;
}

void TOVAButton::setSoftBevel(bool soft)
{
    d->Change(d->SoftBevel, soft, "SOFT", Step::Palette | Step::RedrawLast);
}

TOVAPicture TOVAButton::PictureNormal() const
{
    return d->PictureNormal;
}

void TOVAButton::setPictureNormal(const TOVAPicture &picture)
{
    d->Change(d->PictureNormal, picture, "PICN", Step::MeasurePicture | Step::Layout | Step::RedrawLast);
}

TOVAPicture TOVAButton::PictureOver() const
{
    return d->PictureOver;
}

void TOVAButton::setPictureOver(const TOVAPicture &picture)
{
    // Stored under "PICH", announced as "PICO", as hosts have always been told.
    d->Change(d->PictureOver, picture, "PICO", d->IsOver ? Step::RedrawLast : TOVAButtonPrivate::Steps());
}

TOVAButton::PicPositions TOVAButton::PicturePosition() const
{
    return PicPositions(d->PicturePosition);
}

void TOVAButton::setPicturePosition(PicPositions position)
{
    d->Change(d->PicturePosition, position, "PICPOS", Step::AnnounceFirst | Step::Layout | Step::RedrawLast);
}

bool TOVAButton::UseMaskColor() const
{
    return d->UseMaskColor;
}

void TOVAButton::setUseMaskColor(bool use)
{
    d->Change(d->UseMaskColor, use, "UMCOL", pictureRedraw(d.get()));
}

bool TOVAButton::UseGreyscale() const
{
    return d->UseGreyscale;
}

void TOVAButton::setUseGreyscale(bool grey)
{
    d->Change(d->UseGreyscale, grey, "NGREY", pictureRedraw(d.get()));
}

TOVAButton::fx TOVAButton::SpecialEffect() const
{
    return fx(d->SpecialEffect);
}

void TOVAButton::setSpecialEffect(fx effect)
{
    d->Change(d->SpecialEffect, effect, "FX", Step::RedrawLast);
}

bool TOVAButton::CheckBoxBehaviour() const
{
    return d->CheckBoxBehaviour;
}

void TOVAButton::setCheckBoxBehaviour(bool check)
{
    d->Change(d->CheckBoxBehaviour, check, "CHECK", Step::RedrawLast);
}

bool TOVAButton::Value() const
{
    return d->Value;
}

void TOVAButton::setValue(bool value)
{
    d->Change(d->Value, value, "VALUE", d->CheckBoxBehaviour ? Step::RedrawUp : TOVAButtonPrivate::Steps());
}

QString TOVAButton::Version() const
{
    return QStringLiteral(TOVA_BUTTON_VERSION);
}

QString TOVAButton::AccessKeys() const
{
    return d->AccessKey;
}

void TOVAButton::DisableRefresh()
{
    d->RedrawEnabled = false;
}

void TOVAButton::Refresh()
{
    if (d->ButtonType == Transparent)
        d->CaptureBackground();
    d->ComputePalette();
    d->LayoutCaption();
    d->RedrawEnabled = true;
    d->DrawButton(d->LastState, true);
}

void TOVAButton::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (d->ChangingWidget)
        return;
    switch (event->type()) {
    case QEvent::EnabledChange:
        // The control's own flag changed (setEnabled), not only its parent's: the property follows it.
        if (testAttribute(Qt::WA_ForceDisabled) == d->Enabled) {
            d->Change(d->Enabled, !d->Enabled, "ENAB", Step::RedrawUp);
            return;
        }
        d->ApplyAmbientChange();
        break;
    case QEvent::FontChange:
        // setFont: the font becomes the control's own, which later changes of its parent's leave alone.
        d->ApplyFont(font());
        d->Recompute(Step::Layout | Step::RedrawUp);
        d->Notify("FONT");
        break;
    case QEvent::PaletteChange:
        d->ApplyAmbientChange();
        break;
    default:
        break;
    }
}

void TOVAButton::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (d->ButtonType == Transparent) {
        d->CaptureBackground();
    }
    d->RedrawEnabled = true;
    d->ComputePalette();
    d->DrawButton(State::Up, true);
}

void TOVAButton::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    d->RedrawEnabled = false;
}

void TOVAButton::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    d->HandleResize();
}

void TOVAButton::paintEvent(QPaintEvent *)
{
    // Moved to a screen of another pixel ratio: drawn anew at that ratio.
    if (!d->BackBuffer.isNull() && d->BackBuffer.devicePixelRatio() != devicePixelRatio())
        d->DrawButton(d->LastState, true);
    if (!d->BackBuffer.isNull())
        QPainter(this).drawImage(0, 0, d->BackBuffer);
}
