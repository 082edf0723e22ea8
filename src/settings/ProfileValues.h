#pragma once
// How the Windows profile functions and Delphi's TIniFile read a value as it stands in the
// file, so files written on Windows read here exactly as they read there.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rtw::ini {

// ReadString reads through a buffer of 2048 characters, the last one for the terminator.
inline constexpr std::size_t kMaxValueLength = 2047;

// The blanks the profile functions trim around keys and values.
[[nodiscard]] constexpr bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v';
}

// True when the reader would take one pair of quotes off this value: at least two
// characters, the first a double or single quote and the last the same.
[[nodiscard]] bool hasOuterQuotes(std::string_view value);

// A stored value (already trimmed) as GetPrivateProfileString returns it: one outer pair
// of matching quotes removed, then cut to kMaxValueLength.
[[nodiscard]] std::string profileString(std::string_view stored);

// The default as ReadString hands it back: trailing spaces removed.
[[nodiscard]] std::string profileDefault(std::string_view defaultValue);

// Delphi's ReadInteger on a text: an optional sign, then decimal digits, or hexadecimal
// digits after "$", "x" or "0x"; leading spaces are skipped. Anything else (an empty text,
// "42A", "true", a number beyond 32 bits) is no number.
[[nodiscard]] std::optional<std::int32_t> delphiInteger(std::string_view text);

// Delphi's ReadBool on a stored value: a number other than 0 is true; a missing value, an
// empty one or one that is no number gives the default.
[[nodiscard]] bool profileBool(std::optional<std::string_view> stored, bool defaultValue);

} // namespace rtw::ini
