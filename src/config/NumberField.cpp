#include "config/NumberField.h"

#include <algorithm>
#include <limits>

namespace rtw {

std::optional<long long> numberValue(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    constexpr long long kLimit = std::numeric_limits<long long>::max() / 10 - 9;
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        if (value < kLimit) {
            value = value * 10 + (c - '0');
        }
    }
    return negative ? -value : value;
}

std::string stepNumber(const FieldInfo& field, std::string_view text, StepDirection direction) {
    const long long base = numberValue(text).value_or(field.minimum);
    const long long delta = direction == StepDirection::Up ? field.step : -field.step;
    const long long stepped = std::clamp<long long>(base + delta, field.minimum, field.maximum);
    return std::to_string(stepped);
}

std::string numberAfterFocusLoss(const FieldInfo& field, std::string_view text) {
    const auto value = numberValue(text);
    if (value && *value < field.minimum) {
        return std::to_string(field.minimum);
    }
    if (value && *value > field.maximum) {
        return std::to_string(field.maximum);
    }
    return std::string(text);
}

} // namespace rtw
