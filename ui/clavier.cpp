#include "clavier.h"

#include <QKeyEvent>

#include <algorithm>

namespace Clavier {

std::optional<int> caractere(const QKeyEvent &event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    const int key = event.key();
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab)
        return std::nullopt;
    if (modifiers & Qt::ControlModifier) {
        // Ctrl with a letter types its control code, whatever text the platform attached.
        if (key >= Qt::Key_A && key <= Qt::Key_Z)
            return key - Qt::Key_A + 1;
        return std::nullopt;
    }
    if (modifiers & Qt::AltModifier)
        return std::nullopt;
    switch (key) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    default:
        break;
    }
    const QString text = event.text();
    if (text.isEmpty())
        return std::nullopt;
    const char16_t first = text.front().unicode();
    // Delete and other control characters come from bare keys.
    if (first < 32 || first == 127)
        return std::nullopt;
    return int(first);
}

bool caractereRefuse(int index, int code)
{
    if (code == 8 || (index != 1 && index != 2))
        return false;
    const bool chiffre = code >= '0' && code <= '9';
    return !chiffre && code != 1 && code != 3 && code != 22 && code != 24;
}

bool toucheRefusee(int index, const QKeyEvent &event)
{
    if (index != 1 && index != 2)
        return false;
    if (const std::optional<int> code = caractere(event); code && caractereRefuse(index, *code))
        return true;
    // Ctrl alone (with or without Shift) makes commands, never text.
    if ((event.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == Qt::ControlModifier)
        return false;
    const QString text = event.text();
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.isPrint() && !(c >= u'0' && c <= u'9'); });
}

bool passeAuChampSuivant(const QKeyEvent &event)
{
    const int key = event.key();
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Down;
}

} // namespace Clavier
