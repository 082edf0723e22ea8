#pragma once
// Windows code page 1252, the single-byte text of the unit and of the settings files.
#include <string>
#include <string_view>

namespace rtw {

// The Unicode code point of a CP1252 byte. The five bytes CP1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same value, as Windows
// does, so that every byte survives a round trip.
[[nodiscard]] char32_t unicodeFromCp1252(unsigned char byte);

// The CP1252 byte of a code point, or '?' when CP1252 cannot hold it.
[[nodiscard]] char cp1252FromUnicode(char32_t codePoint);

// Whole-string conversions. Invalid UTF-8 sequences become '?'.
[[nodiscard]] std::string cp1252FromUtf8(std::string_view utf8);
[[nodiscard]] std::string utf8FromCp1252(std::string_view cp1252);

} // namespace rtw
