#pragma once
// Writing a text into a caller's FT_GetDeviceInfo buffer: cut to the library's capacity,
// always terminated. A null buffer is skipped, as callers may not want the text.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string_view>

namespace rtw::link {

inline void writeDeviceText(std::string_view text, char* buffer, std::size_t capacity) {
    if (buffer == nullptr || capacity == 0) {
        return;
    }
    const std::size_t length = std::min(text.size(), capacity - 1);
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

} // namespace rtw::link
