#pragma once
// Which character a key press types, as an edit field of the unit's original platform
// would receive it: Ctrl+letter arrives as its control code (Ctrl+C as 3), Enter as 13,
// Backspace as 8; navigation keys, Delete and Tab type nothing.
#include <optional>

class QKeyEvent;

namespace rtw::ui {

// The typed character as a CP1252 byte ('?' for a character CP1252 cannot hold), or
// nothing when the key types no character.
[[nodiscard]] std::optional<char> typedCharacter(const QKeyEvent& event);

enum class KeyFilter { Numbers, Text };

// Whether the field's filter lets the typed character through.
[[nodiscard]] bool filterKeeps(KeyFilter filter, char key);

// The sound of a refused key in a number field; tests replace it to count refusals.
using RefusedKeySound = void (*)();
void setRefusedKeySound(RefusedKeySound sound);
void playRefusedKeySound();

} // namespace rtw::ui
