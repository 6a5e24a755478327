// Mouse, keyboard, focus and hover behaviour of the button.

#include "tovabutton_p.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QShortcutEvent>

namespace {

// The mouse buttons and keys of the framework's events that the handlers tell apart.
enum MouseButtonCode : short { NoButton = 0, LeftButton = 1, RightButton = 2, MiddleButton = 4 };
enum VirtualKey : short { Space = 32, Left = 37, Up = 38, Right = 39, Down = 40 };

short shiftState(Qt::KeyboardModifiers modifiers)
{
    return short((modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
                 (modifiers & Qt::AltModifier ? 4 : 0));
}

short buttonCode(Qt::MouseButtons buttons)
{
    return short((buttons & Qt::LeftButton ? LeftButton : NoButton) |
                 (buttons & Qt::RightButton ? RightButton : NoButton) |
                 (buttons & Qt::MiddleButton ? MiddleButton : NoButton));
}

// The window system's virtual-key code of a key (0 for keys without one).
short virtualKeyCode(const QKeyEvent *event)
{
    const int key = event->key();
    if (event->modifiers() & Qt::KeypadModifier) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9)
            return short(96 + key - Qt::Key_0);
        switch (key) {
        case Qt::Key_Asterisk:
            return 106;
        case Qt::Key_Plus:
            return 107;
        case Qt::Key_Minus:
            return 109;
        case Qt::Key_Period:
            return 110;
        case Qt::Key_Slash:
            return 111;
        default:
            break;
        }
    }
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return short(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return short(112 + key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Alt:
        return 18;
    case Qt::Key_Pause:
        return 19;
    case Qt::Key_CapsLock:
        return 20;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Space:
        return Space;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return Left;
    case Qt::Key_Up:
        return Up;
    case Qt::Key_Right:
        return Right;
    case Qt::Key_Down:
        return Down;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    case Qt::Key_NumLock:
        return 144;
    case Qt::Key_ScrollLock:
        return 145;
    case Qt::Key_Semicolon:
        return 186;
    case Qt::Key_Equal:
        return 187;
    case Qt::Key_Comma:
        return 188;
    case Qt::Key_Minus:
        return 189;
    case Qt::Key_Period:
        return 190;
    case Qt::Key_Slash:
        return 191;
    case Qt::Key_QuoteLeft:
        return 192;
    case Qt::Key_BracketLeft:
        return 219;
    case Qt::Key_Backslash:
        return 220;
    case Qt::Key_BracketRight:
        return 221;
    case Qt::Key_Apostrophe:
        return 222;
    default:
        return 0;
    }
}

// Tab (or Shift+Tab) for the focus widget of the active window, delivered once the current handler
// has returned.
void postTab(bool backwards)
{
    QWidget *window = QApplication::activeWindow();
    if (!window)
        return;
    QWidget *target = window->focusWidget() ? window->focusWidget() : window;
    const int key = backwards ? Qt::Key_Backtab : Qt::Key_Tab;
    const Qt::KeyboardModifiers modifiers = backwards ? Qt::ShiftModifier : Qt::NoModifier;
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, modifiers));
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, key, modifiers));
}

} // namespace

void TOVAButtonPrivate::MousePressed(short button, short shift, float x, float y)
{
    emit q->MouseDown(button, shift, x, y);
    LastMouseButton = quint8(button);
    if (button != RightButton)
        DrawButton(State::Down, false);
}

void TOVAButtonPrivate::MouseReleased(short button, short shift, float x, float y)
{
    emit q->MouseUp(button, shift, x, y);
    if (button != RightButton)
        DrawButton(State::Up, false);
}

void TOVAButtonPrivate::MouseMoved(short button, short shift, float x, float y)
{
    emit q->MouseMove(button, shift, x, y);
    if (button != NoButton && button != LeftButton)
        return;
    if (!IsMouseOver()) {
        // A pressed button that the pointer left looks up while outside.
        DrawButton(State::Up, false);
        return;
    }
    if (button == NoButton && !IsOver) {
        OverTimer.start();
        IsOver = true;
        DrawButton(State::Up, true);
        emit q->MouseOver();
    } else if (button == LeftButton) {
        IsOver = true;
        DrawButton(State::Down, false);
        IsOver = false;
    }
}

void TOVAButtonPrivate::Clicked()
{
    if (LastMouseButton != LeftButton || !Enabled)
        return;
    if (CheckBoxBehaviour)
        Value = !Value;
    DrawButton(State::Up, true);
    q->repaint();
    emit q->Click();
}

void TOVAButtonPrivate::DoubleClicked()
{
    if (LastMouseButton != LeftButton)
        return;
    // The widget pressed keeps the mouse until the release (Qt's implicit grab): that is the capture.
    MousePressed(LeftButton, 0, 0, 0);
}

void TOVAButtonPrivate::KeyPressedDown(short keyCode, short shift)
{
    emit q->KeyDown(keyCode, shift);
    LastKeyCode = quint8(keyCode & 0xFF);
    switch (keyCode) {
    case Space:
        DrawButton(State::Down, false);
        break;
    case Left:
    case Up:
        postTab(true);
        break;
    case Right:
    case Down:
        postTab(false);
        break;
    default:
        break;
    }
}

void TOVAButtonPrivate::KeyReleased(short keyCode, short shift)
{
    emit q->KeyUp(keyCode, shift);
    if (keyCode != Space || LastKeyCode != Space)
        return;
    if (CheckBoxBehaviour)
        Value = !Value;
    DrawButton(State::Up, false);
    q->repaint();
    emit q->Click();
}

void TOVAButtonPrivate::AccessKeyPressed()
{
    LastMouseButton = LeftButton;
    Clicked();
}

void TOVAButtonPrivate::OverTimerTick()
{
    if (IsMouseOver())
        return;
    OverTimer.stop();
    IsOver = false;
    DrawButton(State::Up, true);
    emit q->MouseOut();
}

bool TOVAButtonPrivate::IsMouseOver() const
{
    return QApplication::widgetAt(QCursor::pos()) == q;
}

bool TOVAButton::event(QEvent *event)
{
    if (event->type() == QEvent::Shortcut &&
        static_cast<QShortcutEvent *>(event)->shortcutId() == d->ShortcutId && d->ShortcutId != 0) {
        d->AccessKeyPressed();
        return true;
    }
    return QWidget::event(event);
}

void TOVAButton::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    d->HasFocus = true;
    d->DrawButton(d->LastState, true);
}

void TOVAButton::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    d->HasFocus = false;
    d->DrawButton(d->LastState, true);
}

void TOVAButton::mousePressEvent(QMouseEvent *event)
{
    // The second press of a double click is announced by the double-click event alone.
    if (event->flags() & Qt::MouseEventCreatedDoubleClick)
        return;
    d->ClickPending = true;
    const QPointF at = event->position();
    d->MousePressed(buttonCode(event->button()), shiftState(event->modifiers()), float(at.x()),
                    float(at.y()));
}

void TOVAButton::mouseReleaseEvent(QMouseEvent *event)
{
    const QPointF at = event->position();
    d->MouseReleased(buttonCode(event->button()), shiftState(event->modifiers()), float(at.x()),
                     float(at.y()));
    // The framework's click: a press and a release of a button on the control.
    const bool click = d->ClickPending && rect().contains(at.toPoint());
    d->ClickPending = false;
    if (click)
        d->Clicked();
}

void TOVAButton::mouseDoubleClickEvent(QMouseEvent *)
{
    d->DoubleClicked();
}

void TOVAButton::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF at = event->position();
    d->MouseMoved(buttonCode(event->buttons()), shiftState(event->modifiers()), float(at.x()), float(at.y()));
}

void TOVAButton::keyPressEvent(QKeyEvent *event)
{
    d->KeyPressedDown(virtualKeyCode(event), shiftState(event->modifiers()));
    const QString text = event->text();
    if (!text.isEmpty()) {
        // Characters outside the single-byte range arrive as "?", as the window system sends them.
        const char16_t unit = text.at(0).unicode();
        short keyAscii = short(unit < 256 ? unit : u'?');
        emit KeyPress(keyAscii);
    }
}

void TOVAButton::keyReleaseEvent(QKeyEvent *event)
{
    if (event->isAutoRepeat())
        return;
    d->KeyReleased(virtualKeyCode(event), shiftState(event->modifiers()));
}
