#include "settings/ProfileValues.h"

namespace rtw::ini {
namespace {

std::optional<int> hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return std::nullopt;
}

} // namespace

bool hasOuterQuotes(std::string_view value) {
    return value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
           value.back() == value.front();
}

std::string profileString(std::string_view stored) {
    if (hasOuterQuotes(stored)) {
        stored = stored.substr(1, stored.size() - 2);
    }
    return std::string(stored.substr(0, kMaxValueLength));
}

std::string profileDefault(std::string_view defaultValue) {
    while (!defaultValue.empty() && defaultValue.back() == ' ') {
        defaultValue.remove_suffix(1);
    }
    return std::string(defaultValue.substr(0, kMaxValueLength));
}

std::optional<std::int32_t> delphiInteger(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    bool hex = false;
    if (!text.empty() && (text.front() == '$' || text.front() == 'x' || text.front() == 'X')) {
        hex = true;
        text.remove_prefix(1);
    } else if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        hex = true;
        text.remove_prefix(2);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    // Decimal numbers must fit a signed 32-bit Integer; hexadecimal ones may use all 32 bits
    // and then wrap, as in Delphi ("$FFFFFFFF" is -1).
    const std::uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    std::uint64_t value = 0;
    for (char c : text) {
        const auto digit = hexDigit(c);
        if (!digit || (!hex && *digit > 9)) {
            return std::nullopt;
        }
        value = value * (hex ? 16 : 10) + static_cast<std::uint64_t>(*digit);
        if (value > limit) {
            return std::nullopt;
        }
    }
    const auto bits = static_cast<std::uint32_t>(negative ? (~value + 1) : value);
    return static_cast<std::int32_t>(bits);
}

bool profileBool(std::optional<std::string_view> stored, bool defaultValue) {
    if (!stored) {
        return defaultValue;
    }
    const auto number = delphiInteger(profileString(*stored));
    return number ? *number != 0 : defaultValue;
}

} // namespace rtw::ini
