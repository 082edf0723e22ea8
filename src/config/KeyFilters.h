#pragma once
// Filters for typed characters. A filter leaves the character alone or replaces it by 0,
// which discards the keystroke. They act on typing only; pastes, Open and Read pass.

namespace rtw {

// Phone entries and DTMF codes: control characters (0-31), '+' and the digits.
void onlyNumbers(char& key);
// SMS texts: backspace (8) and 32-127.
void onlyText(char& key);
// Number fields: digits and control characters other than Enter. A refused key beeps.
[[nodiscard]] bool numberFieldAccepts(char key);

} // namespace rtw
