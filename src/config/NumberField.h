#pragma once
// The rules of the number fields, as pure functions the window calls.
#include "config/FieldTable.h"

#include <optional>
#include <string>
#include <string_view>

namespace rtw {

enum class StepDirection { Up, Down };

// The whole number a field's text holds: optional sign, then decimal digits. Values too
// large for the type saturate; anything else is no number.
[[nodiscard]] std::optional<long long> numberValue(std::string_view text);

// Up/Down (keys or spin buttons): an empty text or one that is no number counts as the
// minimum; the result is clamped to the range.
[[nodiscard]] std::string stepNumber(const FieldInfo& field, std::string_view text,
                                     StepDirection direction);

// On losing the focus: a value outside the range becomes the nearer bound; a value in
// range keeps its text as typed ("007"); empty or no number stays unchanged.
[[nodiscard]] std::string numberAfterFocusLoss(const FieldInfo& field, std::string_view text);

} // namespace rtw
