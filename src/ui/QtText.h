#pragma once
// The window's side of the text convention: the model holds CP1252 bytes, Qt holds
// Unicode. One small table (the core's) converts both ways.
#include <QString>

#include <string>
#include <string_view>

namespace rtw::ui {

[[nodiscard]] QString qStringFromCp1252(std::string_view cp1252);
// A character CP1252 cannot hold becomes '?'.
[[nodiscard]] std::string cp1252FromQString(const QString& text);
// One typed character as the model's filters see it; '?' when CP1252 cannot hold it.
[[nodiscard]] char cp1252FromQChar(char32_t codePoint);

// Multi-line fields: the model keeps CR LF, the text widgets keep LF.
[[nodiscard]] QString displayFromModelLines(const QString& modelText);

} // namespace rtw::ui
