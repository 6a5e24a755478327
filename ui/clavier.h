#pragma once

#include <optional>

class QKeyEvent;

// The keyboard as the entry fields see it: a key press either types a character (letters, digits,
// backspace, Enter, Escape, control combinations such as Ctrl+V) or is a bare key (arrows, function
// keys, Delete), and the ADELI and CIP fields take digits only.
namespace Clavier {

// The character a key press types, as its code (8 backspace, 13 Enter, 3 Ctrl+C, 22 Ctrl+V...);
// none for a bare key, for Tab (it moves the focus) and for Alt combinations (access keys).
std::optional<int> caractere(const QKeyEvent &event);

// Whether the entry field `index` drops that character: the ADELI (1) and CIP (2) fields keep only
// the digits, backspace and the select-all (1), copy (3), paste (22) and cut (24) controls.
bool caractereRefuse(int index, int code);

// Whether the entry field `index` drops the key: its character is refused, or, whatever the
// modifiers (Alt combinations have no character), the key would put text other than digits in the
// ADELI or CIP field.
bool toucheRefusee(int index, const QKeyEvent &event);

// Enter and Down arrow move to the next field instead of acting in the field.
bool passeAuChampSuivant(const QKeyEvent &event);

} // namespace Clavier
